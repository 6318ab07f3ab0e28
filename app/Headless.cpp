#include "app/Headless.h"

#include "core/uConfig.h"
#include "core/uLog.h"

namespace {

// Only the letters A-Z fold; Qt's case-insensitive compare would fold others too.
bool AsciiEsit(const QString& a, const char* b)
{
    const qsizetype n = qsizetype(qstrlen(b));
    if (a.size() != n)
        return false;
    for (qsizetype i = 0; i < n; ++i) {
        char16_t c = a.at(i).unicode();
        if (c >= 'A' && c <= 'Z')
            c = char16_t(c + 32);
        if (c != char16_t(b[i]))
            return false;
    }
    return true;
}

} // namespace

KomutModu KomutModuBul(const QStringList& argumanlar)
{
    if (argumanlar.isEmpty())
        return KomutModu::Pencereli;
    if (AsciiEsit(argumanlar.first(), "/yedek"))
        return KomutModu::Yedek;
    if (AsciiEsit(argumanlar.first(), "/geriyukle"))
        return KomutModu::GeriYukle;
    return KomutModu::Pencereli;
}

int BassizYedek(const QString& dbAdi)
{
    if (KirpAscii(dbAdi).isEmpty()) {
        LogYaz(QStringLiteral("BASSIZ YEDEK HATA: DB adi bos. Kullanim: KelmorBackup.exe /yedek <dbadi>"));
        return 2;
    }
    LogYaz(QStringLiteral("BASSIZ YEDEK basliyor: db=") + dbAdi);
    TKelmorAyar ayar;
    AyarlariYukle(ayar);
    LogYaz(QStringLiteral("BASSIZ YEDEK HATA: yedekleme henuz yok"));
    return 1;
}

void EskiYedekleriSil(const QString&, const QString&, int) {}
