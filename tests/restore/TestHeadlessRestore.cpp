// "/geriyukle <dosya> <dbadi> [tablo ...]": a restore without a window, reported
// through the debug log and the exit code.
#include "app/HeadlessRestore.h"
#include "core/uConfig.h"
#include "core/uLog.h"
#include "platform/AppPaths.h"
#include "tests/common/TestSunucu.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

namespace {

const QString kKullanim =
    QStringLiteral("BASSIZ GERI YUKLEME HATA: Kullanim: KelmorBackup.exe /geriyukle <dosya> <dbadi> [tablo ...]");

// Two tables with the dump tool's headers, and a line that would switch databases.
const QByteArray kBetik = "-- dump\n"
                          "USE `baska_db_hic_olmayan`;\n"
                          "--\n-- Table structure for table `a`\n--\n"
                          "CREATE TABLE `a` (x INT);\nINSERT INTO `a` VALUES (1);\n"
                          "--\n-- Table structure for table `b`\n--\n"
                          "CREATE TABLE `b` (x INT);\nINSERT INTO `b` VALUES (2);\n";

} // namespace

class TestHeadlessRestore : public QObject {
    Q_OBJECT
    QTemporaryDir m_exe;  // the executable's folder: settings and debug log
    QTemporaryDir m_is;   // the current folder of the command
    QTemporaryDir m_tmp;
    QString m_eskiKlasor;

    // The log lines without their time stamps.
    QStringList Log() const
    {
        QStringList s;
        for (const QString& l : QString::fromUtf8(DosyaOku(LogDosyasi())).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            s << l.mid(15);
        return s;
    }
    QStringList Tablolar(const QString& db) const
    {
        return TestSunucu::Sql(QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_schema='%1' "
                                              "ORDER BY table_name")
                                   .arg(db))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private Q_SLOTS:
    void initTestCase()
    {
        ExeKlasoruAyarla(m_exe.path());
        m_eskiKlasor = QDir::currentPath();
        QDir::setCurrent(m_is.path());
        qputenv("TMPDIR", QFile::encodeName(m_tmp.path()));
        DosyaYaz(m_is.filePath(QStringLiteral("yedek.sql")), kBetik);
    }
    void cleanupTestCase() { QDir::setCurrent(m_eskiKlasor); }
    void init()
    {
        QFile::remove(LogDosyasi());
        QFile::remove(AyarDosyasi());
    }
    void cleanup()
    {
        QCOMPARE(QDir(m_tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("argumanlar");
        QTest::newRow("nothing") << QStringList{};
        QTest::newRow("file only") << QStringList{"yedek.sql"};
        QTest::newRow("blank name") << QStringList{"yedek.sql", "  "};
        QTest::newRow("blank then one") << QStringList{"", "yedek.sql", "\t"};
    }
    void usage()
    {
        QFETCH(QStringList, argumanlar);
        QCOMPARE(BassizGeriYukle(argumanlar), 2);
        QCOMPARE(Log(), QStringList{kKullanim});
    }

    void restoresWholeAndChosenTables()
    {
        SUNUCU_GEREKLI();
        AyarlariKaydet(TestSunucu::Ayar());
        const QByteArray ayarlar = DosyaOku(AyarDosyasi());
        const QString db = TestSunucu::YeniAd(QStringLiteral("bassiz"));

        // A relative path is taken from the current folder; the database is created.
        QCOMPARE(BassizGeriYukle({QStringLiteral("yedek.sql"), db}), 0);
        QStringList log = Log();
        QCOMPARE(log.first(), QStringLiteral("BASSIZ GERI YUKLEME basliyor: dosya=yedek.sql db=") + db);
        QVERIFY(log.contains(QStringLiteral("[geri] Geri yukleme basliyor")));
        QVERIFY(log.contains(QStringLiteral("[geri]   Hedef DB yok, olusturuluyor: ") + db));
        QVERIFY(log.contains(QStringLiteral("[geri]   1 satir temizlendi (CREATE DATABASE / USE)")));
        QCOMPARE(log.last(), QStringLiteral("BASSIZ GERI YUKLEME OK: ") + db);
        QCOMPARE(Tablolar(db), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));

        // Named tables into an existing database: replayed into without asking.
        const QString db2 = TestSunucu::YeniAd(QStringLiteral("bassiz"));
        TestSunucu::Sql(QStringLiteral("CREATE DATABASE `%1`").arg(db2));
        QFile::remove(LogDosyasi());
        QCOMPARE(BassizGeriYukle({QStringLiteral("yedek.sql"), db2, QStringLiteral("b")}), 0);
        log = Log();
        QVERIFY(log.contains(QStringLiteral("[geri]   1 tablo seçildi")));
        QVERIFY(!log.join(QLatin1Char('\n')).contains(QStringLiteral("Hedef DB yok")));
        QCOMPARE(log.last(), QStringLiteral("BASSIZ GERI YUKLEME OK: ") + db2);
        QCOMPARE(Tablolar(db2), QStringList{QStringLiteral("b")});

        QCOMPARE(DosyaOku(AyarDosyasi()), ayarlar); // only read
    }

    void failuresExitWithOne()
    {
        // No settings file: the defaults serve and no file is written.
        QCOMPARE(BassizGeriYukle({QStringLiteral("yok.zip"), QStringLiteral("db")}), 1);
        QCOMPARE(Log().last(), QStringLiteral("BASSIZ GERI YUKLEME HATA: Kaynak dosya yok: ") +
                                   QDir(m_is.path()).absoluteFilePath(QStringLiteral("yok.zip")));
        QVERIFY(!QFileInfo::exists(AyarDosyasi()));
    }

    void escapingErrorIsCaught()
    {
        // A temporary folder that is a file: the run's own error reaches the command.
        TKelmorAyar ayar;
        VarsayilanAyar(ayar);
        ayar.BinYolu = QStringLiteral(KELMOR_FAKE_TOOLS_DIR "/client");
        AyarlariKaydet(ayar);
        const QString dosya = m_is.filePath(QStringLiteral("tmp-dosya"));
        DosyaYaz(dosya, "x");
        qputenv("TMPDIR", QFile::encodeName(dosya));
        const int kod = BassizGeriYukle({QStringLiteral("yedek.sql"), QStringLiteral("db")});
        qputenv("TMPDIR", QFile::encodeName(m_tmp.path()));
        QCOMPARE(kod, 1);
        const QString son = Log().last();
        QVERIFY2(son.startsWith(QStringLiteral("BASSIZ GERI YUKLEME HATA: ")) && son.contains(dosya), qPrintable(son));
    }
};

QTEST_GUILESS_MAIN(TestHeadlessRestore)
#include "TestHeadlessRestore.moc"
