#pragma once
#include <QString>

// The program's settings and their file "ayarlar.ini" next to the executable.
// Passwords are plain in memory and scrambled (not encrypted) in the file.
struct TKelmorAyar {
    QString Host;
    qint32 Port = 0;
    QString Kullanici;
    QString Sifre;
    QString BinYolu;
    QString YedekKlasoru;
    bool ZipYap = false;
    QString AyarSifresi;
    QString SonYedek;      // "dd.mm.yyyy hh:nn" of the last wizard backup
    QString SonYedekDosya; // its full path

    bool operator==(const TKelmorAyar&) const = default;
};

void VarsayilanAyar(TKelmorAyar& ayar);
QString AyarDosyasi();
bool AyarDosyasiVarMi();
// Never fails: what is missing or unreadable gives its default.
void AyarlariYukle(TKelmorAyar& ayar);
// Replaces the file as a whole (other sections and lines kept); throws KelmorHata
// naming the file when it cannot be written, and then the old file stays as it was.
void AyarlariKaydet(const TKelmorAyar& ayar);

QString SifreKodla(const QString& duz);
QString SifreCoz(const QString& kodlu);
