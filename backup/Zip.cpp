// Packing a finished dump: one deflated entry under the dump's bare name, streamed
// from disk in chunks, then read back and checked before anyone deletes the dump.
#include "backup/uBackupLogic.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

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
    bool zip64 = false;
};

Ozet Yaz(const QString& kaynak, const QString& zipYolu, const QString& ad)
{
    QFile src(kaynak);
    if (!src.open(QIODevice::ReadOnly))
        throw KelmorHata(kaynak + QStringLiteral(": ") + src.errorString());

    Ozet o;
    QuaZip zip(zipYolu);
    zip.setUtf8Enabled(true);
    o.zip64 = Zip64Gerekli(src.size());
    zip.setZip64Enabled(o.zip64);
    if (!zip.open(QuaZip::mdCreate))
        Hata(zipYolu + QStringLiteral(": arsiv olusturulamadi"), zip.getZipError());

    QuaZipNewInfo bilgi(ad, kaynak); // carries the dump's modification time
    QuaZipFile giris(&zip);
    if (!giris.open(QIODevice::WriteOnly, bilgi, nullptr, 0, Z_DEFLATED, Z_DEFAULT_COMPRESSION))
        Hata(ad + QStringLiteral(": arsive eklenemedi"), giris.getZipError());

    QuaCrc32 crc;
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

quint16 Oku16(const QByteArray& b, qsizetype at) { return qFromLittleEndian<quint16>(b.constData() + at); }
quint32 Oku32(const QByteArray& b, qsizetype at) { return qFromLittleEndian<quint32>(b.constData() + at); }
quint64 Oku64(const QByteArray& b, qsizetype at) { return qFromLittleEndian<quint64>(b.constData() + at); }

QByteArray Oku(QFile& f, qint64 at, qint64 n)
{
    if (at < 0 || !f.seek(at))
        return QByteArray();
    return f.read(n);
}

void Yaz16(QFile& f, qint64 at, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    if (!f.seek(at) || f.write(b, 2) != 2)
        throw KelmorHata(f.fileName() + QStringLiteral(": ") + f.errorString());
}

// The zip writer marks its entries "version 6.3 needed to extract". Readers such as
// Info-ZIP unzip 6 then refuse a ZIP64 entry; what the entry really needs is 4.5
// (ZIP64) or 2.0 (deflate). The one entry's two headers are set to that.
void SurumDuzelt(const QString& zipYolu, bool zip64)
{
    QFile f(zipYolu);
    if (!f.open(QIODevice::ReadWrite))
        throw KelmorHata(zipYolu + QStringLiteral(": ") + f.errorString());
    const qint64 boyut = f.size();
    const qint64 kuyrukBas = qMax<qint64>(0, boyut - (0xFFFF + 22));
    const QByteArray kuyruk = Oku(f, kuyrukBas, boyut - kuyrukBas);
    const qsizetype eocd = kuyruk.lastIndexOf(QByteArrayLiteral("PK\x05\x06"));
    if (eocd < 0 || kuyruk.size() - eocd < 22)
        throw KelmorHata(zipYolu + QStringLiteral(": arsiv sonu bulunamadi"));
    quint64 dizin = Oku32(kuyruk, eocd + 16);
    if (dizin == 0xFFFFFFFFu) {
        const QByteArray bulucu = Oku(f, kuyrukBas + eocd - 20, 20);
        if (bulucu.size() != 20 || !bulucu.startsWith(QByteArrayLiteral("PK\x06\x07")))
            throw KelmorHata(zipYolu + QStringLiteral(": ZIP64 dizin bulucusu yok"));
        const QByteArray son64 = Oku(f, qint64(Oku64(bulucu, 8)), 56);
        if (son64.size() != 56 || !son64.startsWith(QByteArrayLiteral("PK\x06\x06")))
            throw KelmorHata(zipYolu + QStringLiteral(": ZIP64 arsiv sonu yok"));
        dizin = Oku64(son64, 48);
    }
    const QByteArray merkez = Oku(f, qint64(dizin), 46);
    const QByteArray yerel = Oku(f, 0, 30);
    if (merkez.size() != 46 || !merkez.startsWith(QByteArrayLiteral("PK\x01\x02")) || yerel.size() != 30 ||
        !yerel.startsWith(QByteArrayLiteral("PK\x03\x04")) || Oku32(merkez, 42) != 0)
        throw KelmorHata(zipYolu + QStringLiteral(": arsiv basligi okunamadi"));
    const quint16 gereken = zip64 ? 45 : 20;
    if (Oku16(merkez, 6) > gereken)
        Yaz16(f, qint64(dizin) + 6, gereken);
    if (Oku16(yerel, 4) > gereken)
        Yaz16(f, 4, gereken);
    if (!f.flush())
        throw KelmorHata(zipYolu + QStringLiteral(": ") + f.errorString());
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
        SurumDuzelt(zipYolu, o.zip64);
        Dogrula(zipYolu, ad, o);
        return true;
    } catch (const std::exception& e) {
        Bildir(log, QStringLiteral("  HATA: ZIP olusturulamadi: ") + HataMesaji(e));
        // A half-written or unverified archive must not pass for a backup.
        QFile::remove(zipYolu);
        return false;
    }
}
