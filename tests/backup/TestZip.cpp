// Packing a dump: what the archive holds, what other tools think of it, and that a
// failed packing leaves no archive behind.
#include "backup/uBackupLogic.h"
#include "tests/common/TestSunucu.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QtEndian>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>

namespace {

// unzip -t: the reference tool's own check of every entry.
QString UnzipTest(const QString& zip)
{
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-t"), zip});
    if (!p.waitForFinished(-1))
        return QStringLiteral("unzip did not run");
    const QString cikti = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    return p.exitCode() == 0 ? QString() : cikti;
}

quint16 U16(const QByteArray& b, qsizetype at) { return qFromLittleEndian<quint16>(b.constData() + at); }

} // namespace

class TestZip : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    void oneDeflatedEntryWithUtf8NameAndTime()
    {
        const QString ad = QStringLiteral("şirket_tam_2026-08-23_20-49-32.sql");
        const QString sql = m_dir.filePath(ad);
        QByteArray icerik;
        for (int i = 0; i < 20000; ++i)
            icerik += "INSERT INTO `t` VALUES (" + QByteArray::number(i) + ",'çalışkan öğrenci');\n";
        DosyaYaz(sql, icerik);
        const QDateTime zaman(QDate(2026, 8, 23), QTime(20, 49, 32));
        {
            QFile f(sql);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(zaman, QFileDevice::FileModificationTime));
        }
        const QString zip = m_dir.filePath(QStringLiteral("out.zip"));
        DosyaYaz(m_dir.filePath(QStringLiteral("out.zip")), "an older file of that name is replaced");
        QStringList cb;
        QVERIFY(ZipOlustur(sql, zip, [&](const QString& s) { cb << s; }));
        QVERIFY(cb.isEmpty());
        QVERIFY(QFile::exists(sql)); // deleting the dump is the caller's decision

        QuaZip z(zip);
        QVERIFY(z.open(QuaZip::mdUnzip));
        QCOMPARE(z.getEntriesCount(), 1);
        QVERIFY(z.goToFirstFile());
        QuaZipFileInfo64 bilgi;
        QVERIFY(z.getCurrentFileInfo(&bilgi));
        QCOMPARE(bilgi.name, ad);
        QCOMPARE(bilgi.method, quint16(8));
        QCOMPARE(bilgi.dateTime, zaman);
        QCOMPARE(bilgi.uncompressedSize, quint64(icerik.size()));
        QVERIFY(bilgi.compressedSize < quint64(icerik.size() / 5));
        QuaZipFile f(&z);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), icerik);
        f.close();
        z.close();

        // Raw bytes: the UTF-8 name and flag bit 11 in the local header; no ZIP64 fields
        // on a small entry, which older readers would stumble over.
        const QByteArray ham = DosyaOku(zip);
        QVERIFY(ham.startsWith("PK\x03\x04"));
        QVERIFY(U16(ham, 6) & 0x0800);
        QCOMPARE(U16(ham, 4), quint16(20)); // deflate needs 2.0, nothing newer
        const qsizetype merkez = ham.lastIndexOf("PK\x01\x02");
        QVERIFY(merkez > 0);
        QVERIFY(U16(ham, merkez + 8) & 0x0800);
        QCOMPARE(U16(ham, merkez + 6), quint16(20));
        const quint16 adUzun = U16(ham, 26), ekUzun = U16(ham, 28);
        QCOMPARE(ham.mid(30, adUzun), ad.toUtf8());
        const QByteArray ek = ham.mid(30 + adUzun, ekUzun);
        for (qsizetype i = 0; i + 4 <= ek.size(); i += 4 + U16(ek, i + 2))
            QVERIFY(U16(ek, i) != 0x0001);
        const QString hata = UnzipTest(zip);
        QVERIFY2(hata.isEmpty(), qPrintable(hata));
    }

    void failedPackingLeavesNoArchive_data()
    {
        QTest::addColumn<QString>("kaynak");
        QTest::newRow("missing dump") << m_dir.filePath(QStringLiteral("yok.sql"));
        // Opens, then fails on the first read: the archive is half written by then.
        QTest::newRow("read error midway") << QStringLiteral("/proc/self/mem");
    }

    void failedPackingLeavesNoArchive()
    {
        QFETCH(QString, kaynak);
        const QString zip = m_dir.filePath(QStringLiteral("bozuk.zip"));
        DosyaYaz(zip, "old");
        QStringList cb;
        QVERIFY(!ZipOlustur(kaynak, zip, [&](const QString& s) { cb << s; }));
        QCOMPARE(cb.size(), 1);
        QVERIFY2(cb.first().startsWith(QStringLiteral("  HATA: ZIP olusturulamadi: ")) && cb.first().size() > 29,
                 qPrintable(cb.first()));
        QVERIFY(!QFile::exists(zip));
        QVERIFY(!ZipOlustur(kaynak, zip, TLogProc()));
    }

    void unwritableArchivePath()
    {
        const QString sql = m_dir.filePath(QStringLiteral("x.sql"));
        DosyaYaz(sql, "x");
        QStringList cb;
        QVERIFY(!ZipOlustur(sql, m_dir.filePath(QStringLiteral("klasor/yok/x.zip")), [&](const QString& s) { cb << s; }));
        QCOMPARE(cb.size(), 1);
        QVERIFY(cb.first().startsWith(QStringLiteral("  HATA: ZIP olusturulamadi: ")));
    }
};

QTEST_GUILESS_MAIN(TestZip)
#include "TestZip.moc"
