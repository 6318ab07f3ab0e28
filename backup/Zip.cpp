// Packing a finished dump: one deflated entry under the dump's bare name, streamed
// from disk in chunks, then read back and checked before anyone deletes the dump.
#include "backup/uBackupLogic.h"

#include <QFile>
#include <QFileInfo>

#include <quazip/quacrc32.h>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>
#include <quazip/quazipnewinfo.h>

namespace {

constexpr qint64 kParca = 1 << 20;

// Sizes from 4 GiB up need ZIP64 fields. Deflate may grow incompressible data by a
// hair, so an entry just below the limit gets them too rather than overflow.
bool Zip64Gerekli(qint64 boyut) { return boyut + boyut / 1000 + 65536 >= qint64(0xFFFFFFFFLL); }

[[noreturn]] void Hata(const QString& ne, int kod)
{
    throw KelmorHata(ne + QStringLiteral(" (zip hata kodu ") + QString::number(kod) + QLatin1Char(')'));
}

struct Ozet {
    quint32 crc = 0;
    quint64 boyut = 0;
};

Ozet Yaz(const QString& kaynak, const QString& zipYolu, const QString& ad)
{
    QFile src(kaynak);
    if (!src.open(QIODevice::ReadOnly))
        throw KelmorHata(kaynak + QStringLiteral(": ") + src.errorString());

    QuaZip zip(zipYolu);
    zip.setUtf8Enabled(true);
    zip.setZip64Enabled(Zip64Gerekli(src.size()));
    if (!zip.open(QuaZip::mdCreate))
        Hata(zipYolu + QStringLiteral(": arsiv olusturulamadi"), zip.getZipError());

    QuaZipNewInfo bilgi(ad, kaynak); // carries the dump's modification time
    QuaZipFile giris(&zip);
    if (!giris.open(QIODevice::WriteOnly, bilgi, nullptr, 0, Z_DEFLATED, Z_DEFAULT_COMPRESSION))
        Hata(ad + QStringLiteral(": arsive eklenemedi"), giris.getZipError());

    QuaCrc32 crc;
    Ozet o;
    QByteArray buf;
    for (;;) {
        buf = src.read(kParca);
        if (buf.isEmpty())
            break;
        crc.update(buf);
        o.boyut += quint64(buf.size());
        if (giris.write(buf) != buf.size())
            Hata(zipYolu + QStringLiteral(": yazilamadi"), giris.getZipError());
    }
    if (src.error() != QFileDevice::NoError)
        throw KelmorHata(kaynak + QStringLiteral(": ") + src.errorString());
    giris.close();
    if (giris.getZipError() != ZIP_OK)
        Hata(zipYolu + QStringLiteral(": yazilamadi"), giris.getZipError());
    zip.close();
    if (zip.getZipError() != ZIP_OK)
        Hata(zipYolu + QStringLiteral(": kapatilamadi"), zip.getZipError());
    o.crc = crc.value();
    return o;
}

// Reads the whole entry back through inflate; the archive counts only when name,
// size and CRC all match what went in.
void Dogrula(const QString& zipYolu, const QString& ad, const Ozet& beklenen)
{
    QuaZip zip(zipYolu);
    if (!zip.open(QuaZip::mdUnzip))
        Hata(zipYolu + QStringLiteral(": arsiv okunamadi"), zip.getZipError());
    if (zip.getEntriesCount() != 1 || !zip.goToFirstFile())
        throw KelmorHata(zipYolu + QStringLiteral(": arsivde tek dosya yok"));
    QuaZipFileInfo64 bilgi;
    if (!zip.getCurrentFileInfo(&bilgi) || bilgi.name != ad || bilgi.crc != beklenen.crc ||
        bilgi.uncompressedSize != beklenen.boyut)
        throw KelmorHata(zipYolu + QStringLiteral(": arsiv dizini dosyayla uyusmuyor"));

    QuaZipFile giris(&zip);
    if (!giris.open(QIODevice::ReadOnly))
        Hata(zipYolu + QStringLiteral(": arsiv okunamadi"), giris.getZipError());
    QuaCrc32 crc;
    quint64 boyut = 0;
    QByteArray buf(int(kParca), Qt::Uninitialized);
    for (;;) {
        const qint64 n = giris.read(buf.data(), kParca);
        if (n < 0)
            Hata(zipYolu + QStringLiteral(": arsiv okunamadi"), giris.getZipError());
        if (n == 0)
            break;
        crc.update(QByteArray::fromRawData(buf.constData(), qsizetype(n)));
        boyut += quint64(n);
    }
    giris.close();
    if (giris.getZipError() != UNZ_OK || crc.value() != beklenen.crc || boyut != beklenen.boyut)
        throw KelmorHata(zipYolu + QStringLiteral(": CRC veya boyut tutmuyor"));
}

} // namespace

bool ZipOlustur(const QString& kaynak, const QString& zipYolu, const TLogProc& log)
{
    const QString ad = QFileInfo(kaynak).fileName();
    try {
        const Ozet o = Yaz(kaynak, zipYolu, ad);
        Dogrula(zipYolu, ad, o);
        return true;
    } catch (const std::exception& e) {
        Bildir(log, QStringLiteral("  HATA: ZIP olusturulamadi: ") + HataMesaji(e));
        // A half-written or unverified archive must not pass for a backup.
        QFile::remove(zipYolu);
        return false;
    }
}
