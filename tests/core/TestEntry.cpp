// Runs a copy of the real executable from a folder of its own, where it writes
// its debug log and would look for its settings.
#include "tests/common/TestSunucu.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

class TestEntry : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_exe;

    int calistir(const QStringList& args, bool pencereBekle = false)
    {
        QProcess p;
        p.setProgram(m_exe);
        p.setArguments(args);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.start();
        if (!p.waitForStarted())
            return -1;
        if (pencereBekle) {
            // The windowed mode runs until closed: give it time to start, then end it.
            QTest::qWait(1500);
            const bool bitti = p.state() == QProcess::NotRunning;
            p.kill();
            p.waitForFinished();
            return bitti ? -2 : 0;
        }
        p.waitForFinished(60000);
        return p.exitCode();
    }
    QString log() const { return QString::fromUtf8(DosyaOku(m_dir.filePath(QStringLiteral("kelmor_debug.log")))); }

private Q_SLOTS:
    void initTestCase()
    {
        m_exe = m_dir.filePath(QStringLiteral("KelmorBackup"));
        QVERIFY(QFile::copy(QStringLiteral(KELMOR_EXE), m_exe));
    }

    void slashYedekAloneExitsTwo()
    {
        QCOMPARE(calistir({QStringLiteral("/yedek")}), 2);
        const QByteArray ham = DosyaOku(m_dir.filePath(QStringLiteral("kelmor_debug.log")));
        QVERIFY(!ham.startsWith("\xEF\xBB\xBF"));
        const QStringList s = QString::fromUtf8(ham).split(QStringLiteral("\r\n"));
        QCOMPARE(s.value(0), QString(43, QLatin1Char('=')));
        QCOMPARE(s.value(1), QStringLiteral("KELMOR DEBUG LOG"));
        QVERIFY(s.value(2).startsWith(QStringLiteral("Başlangıç: ")));
        QCOMPARE(s.value(3), QStringLiteral("Exe: ") + m_exe);
        QCOMPARE(s.value(4), QString(43, QLatin1Char('=')));
        QCOMPARE(s.value(5), QString());
        QVERIFY(QRegularExpression(QStringLiteral(
                                       "^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} \\| BASSIZ YEDEK HATA: DB adi bos\\. Kullanim: "
                                       "KelmorBackup\\.exe /yedek <dbadi>$"))
                    .match(s.value(6))
                    .hasMatch());
        QCOMPARE(s.value(7), QString());
        QCOMPARE(s.size(), 8);
        QCOMPARE(calistir({QStringLiteral("/yedek"), QStringLiteral("  \t")}), 2);
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("ayarlar.ini"))));
    }

    void headlessWordInAnyCase_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("capitals") << QStringList{QStringLiteral("/YEDEK"), QStringLiteral("shop")};
        QTest::newRow("mixed, extra ignored")
            << QStringList{QStringLiteral("/YeDeK"), QStringLiteral("shop"), QStringLiteral("other")};
    }

    void headlessWordInAnyCase()
    {
        QFETCH(QStringList, args);
        // Settings whose tool folder is empty: the run fails at once and touches nothing.
        const QString ini = m_dir.filePath(QStringLiteral("ayarlar.ini"));
        QTemporaryDir bosBin;
        const QByteArray icerik = "[Baglanti]\r\nBinYolu=" + bosBin.path().toUtf8() + "\r\n";
        DosyaYaz(ini, icerik);
        QCOMPARE(calistir(args), 1);
        QVERIFY(log().contains(QStringLiteral(" | BASSIZ YEDEK basliyor: db=shop\r\n")));
        QVERIFY(!log().contains(QStringLiteral("other")));
        QCOMPARE(DosyaOku(ini), icerik); // a headless run never writes the settings
        QFile::remove(ini);
    }

    void otherWordsOpenTheWindow_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("none") << QStringList{};
        QTest::newRow("hyphen") << QStringList{QStringLiteral("-yedek"), QStringLiteral("shop")};
        QTest::newRow("no solidus") << QStringList{QStringLiteral("yedek"), QStringLiteral("shop")};
        QTest::newRow("dotless i") << QStringList{QStringLiteral("/YEDEK\u0130"), QStringLiteral("shop")};
    }

    void otherWordsOpenTheWindow()
    {
        QFETCH(QStringList, args);
        QCOMPARE(calistir(args, true), 0);
        QVERIFY(log().startsWith(QString(43, QLatin1Char('='))));
        QVERIFY(!log().contains(QStringLiteral("BASSIZ")));
    }
};

QTEST_GUILESS_MAIN(TestEntry)
#include "TestEntry.moc"
