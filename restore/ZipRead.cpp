#include "restore/RestoreYardimci.h"
#include "restore/uRestoreLogic.h"

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <QFile>

using namespace restore_detail;

namespace {

QString ZipHataMetni(int kod, const QString& ayrinti = QString())
{
    QString metin;
    switch (kod) {
    case UNZ_BADZIPFILE: metin = QStringLiteral("gecerli bir ZIP arsivi degil"); break;
    case UNZ_CRCERROR: metin = QStringLiteral("CRC uyusmuyor, arsiv bozuk"); break;
    case Z_DATA_ERROR: metin = QStringLiteral("sikistirilmis veri bozuk"); break;
    case Z_MEM_ERROR: metin = QStringLiteral("bellek yetersiz"); break;
    case UNZ_PARAMERROR: metin = QStringLiteral("gecersiz parametre"); break;
    case UNZ_INTERNALERROR: metin = QStringLiteral("ic hata"); break;
    case UNZ_OPENERROR: metin = QStringLiteral("dosya acilamadi"); break;
    case UNZ_ERRNO: metin = QStringLiteral("okuma hatasi"); break;
    default: metin = QStringLiteral("hata"); break;
    }
    metin += QStringLiteral(" (kod ") + QString::number(kod) + QLatin1Char(')');
    if (!ayrinti.isEmpty())
        metin += QStringLiteral(": ") + ayrinti;
    return metin;
}

// Why an archive could not be opened: the file itself, or what is in it.
QString AcmaHatasi(const QuaZip& zip, const QString& yol)
{
    QFile f(yol);
    if (!f.open(QIODevice::ReadOnly))
        return ZipHataMetni(UNZ_OPENERROR, f.errorString());
    return ZipHataMetni(zip.getZipError() == UNZ_OPENERROR ? UNZ_BADZIPFILE : zip.getZipError());
}

// The entry's bare file name: folders dropped ("/" and "\" both separate), so the
// file always lands directly in the work folder. Empty when nothing usable is left.
QString YalinAd(const QString& girdi)
{
    const qsizetype kes = std::max(girdi.lastIndexOf(QLatin1Char('/')), girdi.lastIndexOf(QLatin1Char('\\')));
    const QString ad = girdi.mid(kes + 1);
    if (ad.isEmpty() || ad == QLatin1String(".") || ad == QLatin1String(".."))
        return QString();
    for (const QChar c : ad) {
        // Characters that would name a drive, a device or nothing valid on Windows.
        if (c.unicode() < 32 || QStringView(u":*?\"<>|").contains(c))
            return QString();
    }
    return ad;
}

// Copies the current entry to `hedef`, reading it to its end so that the CRC is
// checked when the entry is closed.
void GirdiyiCikar(QuaZip& zip, const QString& hedef)
{
    QuaZipFile girdi(&zip);
    if (!girdi.open(QIODevice::ReadOnly))
        throw KelmorHata(ZipHataMetni(girdi.getZipError()));
    QFile cikti(hedef);
    if (!cikti.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw KelmorHata(hedef + QStringLiteral(": ") + cikti.errorString());
    static constexpr qint64 kParca = 64 * 1024;
    QByteArray buf(kParca, Qt::Uninitialized);
    for (;;) {
        const qint64 n = girdi.read(buf.data(), kParca);
        if (n < 0)
            throw KelmorHata(ZipHataMetni(girdi.getZipError() != UNZ_OK ? girdi.getZipError() : UNZ_ERRNO));
        if (n == 0)
            break;
        if (cikti.write(buf.constData(), n) != n)
            throw KelmorHata(hedef + QStringLiteral(": ") + cikti.errorString());
    }
    girdi.close();
    if (girdi.getZipError() != UNZ_OK)
        throw KelmorHata(ZipHataMetni(girdi.getZipError()));
    if (!cikti.flush())
        throw KelmorHata(hedef + QStringLiteral(": ") + cikti.errorString());
    cikti.close();
}

} // namespace

QString ZipAc(const QString& zipYolu, const TLogProc& log)
{
    QString klasor;
    try {
        QuaZip zip(zipYolu);
        if (!zip.open(QuaZip::mdUnzip))
            throw KelmorHata(AcmaHatasi(zip, zipYolu));
        for (bool var = zip.goToFirstFile(); var; var = zip.goToNextFile()) {
            const QString girdiAdi = zip.getCurrentFileName();
            if (!AsciiSonEk(girdiAdi, ".sql"))
                continue;
            const QString ad = YalinAd(girdiAdi);
            if (ad.isEmpty())
                continue;
            klasor = GeciciKlasorOlustur();
            const QString yol = klasor + QLatin1Char('/') + ad;
            GirdiyiCikar(zip, yol);
            Bildir(log, QStringLiteral("  ZIP acildi: ") + ad);
            return yol;
        }
        const int kod = zip.getZipError();
        if (kod != UNZ_OK && kod != UNZ_END_OF_LIST_OF_FILE)
            throw KelmorHata(ZipHataMetni(kod));
        Bildir(log, QStringLiteral("  HATA: ZIP icinde .sql dosyasi yok"));
    } catch (const std::exception& e) {
        // A half-written script must never be replayed: its folder goes with it.
        KlasorSil(klasor);
        Bildir(log, QStringLiteral("  HATA: ZIP acilamadi: ") + HataMesaji(e));
    }
    return QString();
}

QStringList DosyadakiTablolar(const QString& dosya, const TLogProc& log)
{
    if (!DosyaVar(dosya))
        return {};
    if (!AsciiSonEk(dosya, ".zip"))
        return SqldekiTablolar(dosya);
    const QString betik = ZipAc(dosya, log);
    if (betik.isEmpty())
        return {};
    KlasorBekcisi bekci(UstKlasor(betik));
    return SqldekiTablolar(betik);
}
