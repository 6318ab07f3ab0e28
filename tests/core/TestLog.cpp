#include "core/uLog.h"
#include "platform/AppPaths.h"
#include "tests/common/TestSunucu.h"

#include <QRegularExpression>
#include <QTest>
#include <QThread>

#include <unistd.h>

class TestLog : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    void init()
    {
        ExeKlasoruAyarla(m_dir.path());
        QFile::remove(LogDosyasi());
    }

    void headerBlockAndLineFormat()
    {
        QVERIFY(LogBaslat());
        LogYaz(QStringLiteral("şık ıİ"));
        LogYaz(QString());
        LogYaz(QStringLiteral("a\r\nb"));
        LogYazF("TDB.Test -> %s:%d kullanici=%s", QStringLiteral("h"), 3307, QStringLiteral("u"));
        LogYazF("YedekAl BASARILI: %s (%d bytes)", QStringLiteral("/x.zip"), qint64(5000000000LL));
        const QByteArray b = DosyaOku(LogDosyasi());
        QVERIFY(!b.startsWith("\xEF\xBB\xBF"));
        const QStringList s = QString::fromUtf8(b).split(QStringLiteral("\r\n"));
        QCOMPARE(s.at(0), QString(43, QLatin1Char('=')));
        QCOMPARE(s.at(1), QStringLiteral("KELMOR DEBUG LOG"));
        QVERIFY2(QRegularExpression(QStringLiteral("^Başlangıç: \\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d$"))
                     .match(s.at(2))
                     .hasMatch(),
                 qPrintable(s.at(2)));
        QCOMPARE(s.at(3), QStringLiteral("Exe: ") + ExeYolu());
        QCOMPARE(s.at(4), QString(43, QLatin1Char('=')));
        QCOMPARE(s.at(5), QString());
        const QRegularExpression damga(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} \\| "));
        QVERIFY(damga.match(s.at(6)).hasMatch());
        QVERIFY(s.at(6).endsWith(QStringLiteral(" | şık ıİ")));
        QVERIFY(b.contains("\xC5\x9F")); // ş as two UTF-8 bytes
        QVERIFY(s.at(7).endsWith(QStringLiteral(" | ")));
        QVERIFY(s.at(8).endsWith(QStringLiteral(" | a")));
        QCOMPARE(s.at(9), QStringLiteral("b")); // the text's own second line has no stamp
        QVERIFY(s.at(10).endsWith(QStringLiteral(" | TDB.Test -> h:3307 kullanici=u")));
        QVERIFY(s.at(11).endsWith(QStringLiteral(" | YedekAl BASARILI: /x.zip (5000000000 bytes)")));
        QCOMPARE(s.at(12), QString());
        QCOMPARE(s.size(), 13);
    }

    void everyStartReplacesTheLog()
    {
        LogBaslat();
        LogYaz(QStringLiteral("first run"));
        LogBaslat();
        LogYaz(QStringLiteral("second run"));
        const QString t = QString::fromUtf8(DosyaOku(LogDosyasi()));
        QVERIFY(!t.contains(QStringLiteral("first run")));
        QCOMPARE(t.count(QStringLiteral("KELMOR DEBUG LOG")), 1);
    }

    void deletedLogIsRecreatedWithoutHeader()
    {
        LogBaslat();
        QFile::remove(LogDosyasi());
        LogYaz(QStringLiteral("after delete"));
        const QString t = QString::fromUtf8(DosyaOku(LogDosyasi()));
        QVERIFY(t.endsWith(QStringLiteral(" | after delete\r\n")));
        QVERIFY(!t.contains(QStringLiteral("KELMOR")));
    }

    void unwritableFolderNeverThrows()
    {
        if (geteuid() == 0)
            QSKIP("root writes everywhere; the read-only case needs an ordinary user");
        QTemporaryDir ro;
        QFile::setPermissions(ro.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        ExeKlasoruAyarla(ro.path());
        QVERIFY(!LogBaslat());
        LogYaz(QStringLiteral("lost"));
        QVERIFY(!QFile::exists(LogDosyasi()));
        QFile::setPermissions(ro.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void headerOnADirectoryFailsQuietly()
    {
        // A path that cannot be a file (works as root too): the start goes on without a log.
        QDir(m_dir.path()).mkdir(QStringLiteral("kelmor_debug.log"));
        QVERIFY(!LogBaslat());
        LogYaz(QStringLiteral("lost"));
        QDir(m_dir.path()).rmdir(QStringLiteral("kelmor_debug.log"));
    }

    void twoThreadsWriteWholeLines()
    {
        LogBaslat();
        auto yaz = [](char harf) {
            return QThread::create([harf] {
                for (int i = 0; i < 1000; ++i)
                    LogYaz(QString(60, QLatin1Char(harf)) + QString::number(i));
            });
        };
        QThread* a = yaz('a');
        QThread* b = yaz('b');
        a->start();
        b->start();
        a->wait();
        b->wait();
        delete a;
        delete b;
        const QStringList s = QString::fromUtf8(DosyaOku(LogDosyasi())).split(QStringLiteral("\r\n"));
        const QRegularExpression satir(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} \\| (a{60}|b{60})\\d{1,3}$"));
        int tam = 0;
        for (const QString& l : s.mid(6))
            if (!l.isEmpty()) {
                QVERIFY2(satir.match(l).hasMatch(), qPrintable(l));
                ++tam;
            }
        QCOMPARE(tam, 2000);
    }
};

QTEST_GUILESS_MAIN(TestLog)
#include "TestLog.moc"
