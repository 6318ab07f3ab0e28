#pragma once
#include "core/Ortak.h"
#include "core/uConfig.h"

#include <QString>
#include <QStringList>

// The backup engine: finding the server's tools, the temporary option file that
// carries the credentials, the dump command line, judging the dump tool's error
// stream, the backup run itself and its ZIP packing.

enum TYedekMod : quint8 { bmTam = 0, bmSadeceDB = 1, bmTablolar = 2 };

struct TYedekIstegi {
    TKelmorAyar Ayar;
    QString Veritabani;
    TYedekMod YedekMod = bmTam;
    QStringList Tablolar;
    QString HedefKlasor;
    bool ZipYap = false;
};

struct TYedekSonuc {
    bool Basarili = false;
    QString DosyaYolu;
    qint64 Boyut = 0;
    QString Hata;
};

// --- Client tools and option file ---
QString DumpExeBul(const QString& binYolu);
QString ClientExeBul(const QString& binYolu);
qint64 DosyaBoyutu(const QString& yol);
// Joins folder and name with "/" unless the folder already ends in "/", "\" or ":";
// throws KelmorHata for control characters, '"', '<', '>' or '|' in either part.
QString YolBirlestir(const QString& klasor, const QString& ad);
// The [client] option file's bytes (host, port, user, escaped password; CR LF).
QByteArray CnfIcerigi(const TKelmorAyar& ayar);
// Writes a new option file "kelmor_<tick>.cnf" (mode 0600) in the temporary folder; throws KelmorHata.
QString CnfOlustur(const TKelmorAyar& ayar);
QString ArgTirnakla(const QString& arg);
// The dump tool's options and names in order (what follows the tool's path).
QStringList DumpArgumanlari(const TYedekIstegi& istek, const QString& cnfYolu);
// The whole command line as logged (and as started on Windows).
QString DumpKomutuOlustur(const TYedekIstegi& istek, const QString& cnfYolu, const QString& exeYolu);
bool StderrHataVarMi(const QString& stderrMetni, const TLogProc& log);

// --- Backup run ---
QString YedekModAdi(TYedekMod mod);
QString DosyaAdiTemizle(const QString& ad);
// Runs the dump tool with standard output into `ciktiDosyasi`.
bool ProcessCalistir(const QString& exeYolu, const QStringList& argumanlar, const QString& komutSatiri,
                     const QString& ciktiDosyasi, QString& stderrMetni, quint32& cikisKodu,
                     quint32& sistemHatasi);
bool ZipOlustur(const QString& kaynak, const QString& zipYolu, const TLogProc& log);
TYedekSonuc YedekAl(const TYedekIstegi& istek, const TLogProc& log);
