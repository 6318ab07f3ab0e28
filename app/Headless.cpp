#include "app/Headless.h"

#include "backup/uBackupLogic.h"
#include "core/uConfig.h"
#include "core/uLog.h"

#include <QCollator>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

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
    const TLogProc log = [](const QString& satir) { LogYaz(QStringLiteral("[yedek] ") + satir); };
    if (KirpAscii(dbAdi).isEmpty()) {
        LogYaz(QStringLiteral("BASSIZ YEDEK HATA: DB adi bos. Kullanim: KelmorBackup.exe /yedek <dbadi>"));
        return 2;
    }
    LogYaz(QStringLiteral("BASSIZ YEDEK basliyor: db=") + dbAdi);
    TKelmorAyar ayar;
    AyarlariYukle(ayar);

    TYedekIstegi istek;
    istek.Ayar = ayar;
    istek.Veritabani = dbAdi;
    istek.YedekMod = bmTam;
    istek.HedefKlasor = ayar.YedekKlasoru;
    istek.ZipYap = ayar.ZipYap;

    TYedekSonuc sonuc;
    try {
        sonuc = YedekAl(istek, log);
    } catch (const std::exception& e) {
        // A path the run could not use, or a file it could not delete: still a failed run.
        LogYaz(QStringLiteral("BASSIZ YEDEK HATA: ") + HataMesaji(e));
        return 1;
    }
    if (!sonuc.Basarili) {
        LogYaz(QStringLiteral("BASSIZ YEDEK HATA: ") + sonuc.Hata);
        return 1;
    }
    EskiYedekleriSil(istek.HedefKlasor, dbAdi, 10);
    LogYazF("BASSIZ YEDEK OK: %s (%d bytes)", sonuc.DosyaYolu, sonuc.Boyut);
    return 0;
}

void EskiYedekleriSil(const QString& klasor, const QString& dbAdi, int tutulacak)
{
    try {
        if (tutulacak <= 0 || klasor.isEmpty() || !QFileInfo(klasor).isDir())
            return;
        // Only this database's own backups: "<name>_<mode>_<yyyy-mm-dd_hh-nn-ss>.sql|.zip".
        // A bare "<name>_*" would also take another database's ("shop" and "shop_test").
        const QRegularExpression desen(
            QStringLiteral("^") + QRegularExpression::escape(DosyaAdiTemizle(dbAdi)) +
                QStringLiteral("_(tam|db|tablolar|yedek)_\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d\\.(sql|zip)$"),
            QRegularExpression::CaseInsensitiveOption);
        QStringList yollar;
        QDirIterator it(klasor, QDir::Files | QDir::Hidden | QDir::System);
        while (it.hasNext()) {
            it.next();
            if (desen.match(it.fileName()).hasMatch())
                yollar << it.filePath();
        }
        QCollator siralama;
        siralama.setCaseSensitivity(Qt::CaseInsensitive);
        std::sort(yollar.begin(), yollar.end(),
                  [&](const QString& x, const QString& y) { return siralama.compare(x, y) < 0; });
        for (qsizetype i = 0; i < yollar.size() - tutulacak; ++i)
            QFile::remove(yollar.at(i)); // one that will not go is skipped
    } catch (...) {
        // The retention never fails the backup that ran before it.
    }
}
