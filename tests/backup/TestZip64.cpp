// A dump over 4 GiB needs ZIP64 fields; the archive must still pass unzip -t.
// The dump is a sparse file of zeros, so it costs no disk and compresses fast.
#include "backup/uBackupLogic.h"
#include "tests/common/TestSunucu.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <quazip/quazip.h>
#include <quazip/quazipfileinfo.h>

class TestZip64 : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    void entryOver4GiB()
    {
        const qint64 boyut = (qint64(4) << 30) + 12345;
        const QString sql = m_dir.filePath(QStringLiteral("buyuk_tam_2026-01-01_00-00-00.sql"));
        {
            QFile f(sql);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.resize(boyut));
        }
        const QString zip = m_dir.filePath(QStringLiteral("buyuk.zip"));
        QElapsedTimer t;
        t.start();
        QStringList cb;
        QVERIFY2(ZipOlustur(sql, zip, [&](const QString& s) { cb << s; }), qPrintable(cb.join(u'\n')));
        qInfo("packed and verified in %lld ms", t.elapsed());

        QuaZip z(zip);
        QVERIFY(z.open(QuaZip::mdUnzip));
        QVERIFY(z.goToFirstFile());
        QuaZipFileInfo64 bilgi;
        QVERIFY(z.getCurrentFileInfo(&bilgi));
        QCOMPARE(bilgi.uncompressedSize, quint64(boyut));
        z.close();

        QProcess p;
        p.start(QStringLiteral("unzip"), {QStringLiteral("-t"), zip});
        QVERIFY(p.waitForFinished(-1));
        QVERIFY2(p.exitCode() == 0, p.readAll().constData());
        qInfo("with unzip -t: %lld ms", t.elapsed());
    }
};

QTEST_GUILESS_MAIN(TestZip64)
#include "TestZip64.moc"
