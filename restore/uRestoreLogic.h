#pragma once
#include "core/Ortak.h"
#include "core/uConfig.h"

#include <QString>
#include <QStringList>

// The restore engine: looking into a backup (.sql or .zip) without running it,
// and replaying it into a database through the server's client tool.

enum TRestoreMod : quint8 { rmTam = 0, rmSadeceDB = 1, rmTablolar = 2 };

struct TRestoreIstegi {
    TKelmorAyar Ayar;
    QString KaynakDosya;
    QString HedefVeritabani;
    TRestoreMod RestoreMod = rmTam;
    QStringList SeciliTablolar;
    bool DBOlustur = false;
};

struct TRestoreSonuc {
    bool Basarili = false;
    QString Hata;
};

// --- Dump script analysis ---
// A new work folder "kelmor_restore_<tick>" (mode 0700, never shared) in the temporary folder.
QString GeciciKlasorOlustur();
QString ZipAc(const QString& zipYolu, const TLogProc& log);
QStringList SqldekiTablolar(const QString& sqlYolu);
QStringList DosyadakiTablolar(const QString& dosya, const TLogProc& log);
QString SqlFiltrele(const QString& sqlYolu, const QStringList& tablolar, const TLogProc& log);
QString SqlTemizle(const QString& sqlYolu, const TLogProc& log);

// --- Restore run ---
QString RestoreCnfOlustur(const TKelmorAyar& ayar, QString& yol);
bool ClientCalistir(const QString& clientYolu, const QString& cnfYolu, const QString& veritabani,
                    const QString& sqlYolu, QString& stderrMetni, quint32& cikisKodu);
TRestoreSonuc GeriYukle(const TRestoreIstegi& istek, const TLogProc& log);
