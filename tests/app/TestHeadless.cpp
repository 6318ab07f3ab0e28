// "KelmorBackup /yedek <db>" end to end: a copy of the real executable with an
// ayarlar.ini next to it that points at the suite's server, the real dump tool, and
// the archive replayed with the real client into a new database.
#include "backup/uBackupLogic.h"
#include "core/uConfig.h"
#include "platform/AppPaths.h"
#include "tests/common/LogSatirlari.h"
#include "tests/common/TestSunucu.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace {

QByteArray ZipIcerigi(const QString& zip, QString& ad)
{
    QuaZip z(zip);
    if (!z.open(QuaZip::mdUnzip) || z.getEntriesCount() != 1 || !z.goToFirstFile())
        return QByteArray();
    ad = z.getCurrentFileName();
    QuaZipFile f(&z);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

// Feeds the script to the real client as bytes: a dump holds binary column data
// that is no valid UTF-8, so it must not pass through a QString.
bool ScriptCalistir(const QByteArray& script, const QString& veritabani)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MYSQL_PWD"), qEnvironmentVariable("KELMOR_TEST_PASS"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("mariadb"),
            {QStringLiteral("--no-defaults"), QStringLiteral("--protocol=TCP"),
             QStringLiteral("-h") + qEnvironmentVariable("KELMOR_TEST_HOST"),
             QStringLiteral("-P") + qEnvironmentVariable("KELMOR_TEST_PORT"),
             QStringLiteral("-u") + qEnvironmentVariable("KELMOR_TEST_USER"), veritabani});
    if (!p.waitForStarted())
        return false;
    p.write(script);
    p.closeWriteChannel();
    p.waitForFinished(-1);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning("%s", p.readAllStandardError().constData());
        return false;
    }
    return true;
}

} // namespace

class TestHeadless : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_exe, m_tmp, m_yedek;

    // Writes ayarlar.ini next to the copied executable.
    void AyarYaz(const std::function<void(TKelmorAyar&)>& degistir = {})
    {
        TKelmorAyar a = TestSunucu::Ayar();
        a.YedekKlasoru = m_yedek;
        a.ZipYap = true;
        a.SonYedek = QStringLiteral("01.02.2026 10:30");
        a.SonYedekDosya = QStringLiteral("/eski/yedek.zip");
        if (degistir)
            degistir(a);
        ExeKlasoruAyarla(m_dir.filePath(QStringLiteral("exe")));
        AyarlariKaydet(a);
        ExeKlasoruAyarla(QString());
    }

    int Calistir(const QStringList& args)
    {
        QProcess p;
        p.setProgram(m_exe);
        p.setArguments(args);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TMPDIR"), m_tmp);
        p.setProcessEnvironment(env);
        p.start();
        if (!p.waitForStarted() || !p.waitForFinished(300000) || p.exitStatus() != QProcess::NormalExit)
            return -1;
        return p.exitCode();
    }

    QByteArray HamLog() const { return DosyaOku(m_dir.filePath(QStringLiteral("exe/kelmor_debug.log"))); }

    QStringList Log() const { return LogOlaylari(HamLog()); }

    QStringList Dosyalar() const { return QDir(m_yedek).entryList(QDir::Files, QDir::Name); }

    QString Ini() const { return m_dir.filePath(QStringLiteral("exe/ayarlar.ini")); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("exe")));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("tmp")));
        m_tmp = m_dir.filePath(QStringLiteral("tmp"));
        m_exe = m_dir.filePath(QStringLiteral("exe/KelmorBackup"));
        QVERIFY(QFile::copy(QStringLiteral(KELMOR_EXE), m_exe));
    }

    void init() { m_yedek = m_dir.filePath(QStringLiteral("yedek_%1").arg(QTest::currentTestFunction())); }

    // No option file may ever stay behind in the temporary folder.
    void cleanup()
    {
        const QStringList kalan = QDir(m_tmp).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        QVERIFY2(kalan.isEmpty(), qPrintable(kalan.join(u' ')));
    }

    void fullBackupReplaysToTheSameData()
    {
        SUNUCU_GEREKLI();
        const QString db = TestSunucu::YeniAd(QStringLiteral("hl"));
        TestSunucu::Sql(QStringLiteral(
            "CREATE DATABASE %1 CHARACTER SET utf8mb4 COLLATE utf8mb4_turkish_ci;\n"
            "USE %1;\n"
            "CREATE TABLE musteri (id INT PRIMARY KEY AUTO_INCREMENT, ad VARCHAR(60) NOT NULL, sehir VARCHAR(40), "
            "  bakiye DECIMAL(12,2) DEFAULT 0, notlar TEXT, resim BLOB, kayit DATETIME) ENGINE=InnoDB;\n"
            "CREATE TABLE hareket (id INT PRIMARY KEY AUTO_INCREMENT, musteri_id INT NOT NULL, tutar DECIMAL(12,2), "
            "  FOREIGN KEY (musteri_id) REFERENCES musteri(id)) ENGINE=InnoDB;\n"
            "CREATE TABLE gunluk (id INT PRIMARY KEY AUTO_INCREMENT, olay VARCHAR(100)) ENGINE=MyISAM;\n"
            "INSERT INTO musteri (ad, sehir, bakiye, notlar, resim, kayit) VALUES "
            "  ('Şükrü Çağlar', 'İstanbul', 1500.75, 'ığüşöç ĞÜŞİÖÇ \\'tırnak\\' \"çift\" \\\\ ters', "
            "   0x00FF10E2, '2026-08-23 20:49:32'),"
            "  ('Ayşe Yılmaz', 'Iğdır', -20.50, NULL, NULL, NULL),"
            "  ('Emoji 😀', 'Muş', 0, 'satır1\\nsatır2\\ttab', '', '1999-12-31 23:59:59');\n"
            "INSERT INTO hareket (musteri_id, tutar) SELECT id, bakiye / 3 FROM musteri;\n"
            "CREATE VIEW v_bakiye AS SELECT m.ad, SUM(h.tutar) AS toplam FROM musteri m JOIN hareket h "
            "  ON h.musteri_id = m.id GROUP BY m.ad;\n"
            "CREATE TRIGGER trg_hareket AFTER INSERT ON hareket FOR EACH ROW "
            "  INSERT INTO gunluk (olay) VALUES (CONCAT('hareket eklendi: ', NEW.tutar));\n"
            "CREATE PROCEDURE p_ekle(IN m INT, IN t DECIMAL(12,2)) INSERT INTO hareket (musteri_id, tutar) VALUES (m, t);\n"
            "CREATE FUNCTION f_kare(x INT) RETURNS INT DETERMINISTIC RETURN x * x;\n"
            "CREATE EVENT e_temizle ON SCHEDULE EVERY 1 DAY DISABLE DO DELETE FROM gunluk WHERE id < 0;\n"
            "CALL p_ekle(1, 99.99);\n")
                            .arg(db));
        AyarYaz();
        QVERIFY(!QFileInfo::exists(m_yedek));
        const QByteArray iniOnce = DosyaOku(Ini());

        QCOMPARE(Calistir({QStringLiteral("/yedek"), db}), 0);

        const QStringList dosyalar = Dosyalar();
        QCOMPARE(dosyalar.size(), 1);
        const QString zipAdi = dosyalar.first();
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(
                                        L(db) + QStringLiteral("_tam_\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d\\.zip")))
                     .match(zipAdi)
                     .hasMatch(),
                 qPrintable(zipAdi));
        const QString zipYolu = m_yedek + QLatin1Char('/') + zipAdi;
        const QString sqlAdi = zipAdi.chopped(4) + QStringLiteral(".sql");
        QString girdi;
        const QByteArray sql = ZipIcerigi(zipYolu, girdi);
        QCOMPARE(girdi, sqlAdi);

        // The log: the start line, the run's trace and its progress lines interleaved, the end line.
        const QString cnf = L(m_tmp) + QStringLiteral("/kelmor_\\d+(_\\d+)?\\.cnf");
        const QString hata = Uyusmazlik(
            Log(),
            {L("BASSIZ YEDEK basliyor: db=" + db), L("---------- YedekAl baslatildi ----------"),
             L("Veritabani: " + db + ", Mod: tam, Hedef: " + m_yedek),
             L(QStringLiteral("Host: 127.0.0.1:%1, Kullanici: root, Bin: /usr/bin").arg(TestSunucu::Ayar().Port)),
             L("DumpExeBul -> \"/usr/bin/mariadb-dump\""), L("Hedef klasor yok, olusturuluyor: " + m_yedek),
             L("Cikti SQL: " + m_yedek + "/" + sqlAdi), L("[yedek] " + QString(50, u'=')),
             L("[yedek] Yedekleme basliyor: " + db), L("[yedek]   Mod: tam"), L("[yedek]   Hedef: " + sqlAdi),
             "CNF olusturuldu: " + cnf, L("Komut: /usr/bin/mariadb-dump --defaults-extra-file=") + cnf + ".* " + L(db),
             L("Process bitti, exit code: 0"), L(QStringLiteral("[yedek]   SQL tamam: %1 KB").arg(sql.size() / 1024)),
             L("[yedek]   ZIP olusturuluyor..."),
             L(QStringLiteral("[yedek]   ZIP tamam: %1 KB").arg(QFileInfo(zipYolu).size() / 1024)),
             L(QStringLiteral("YedekAl BASARILI: %1 (%2 bytes)").arg(zipYolu).arg(QFileInfo(zipYolu).size())),
             L("[yedek] "), L("[yedek] YEDEK TAMAM"), L("[yedek]   Dosya: " + zipAdi), L("[yedek]   Konum: " + m_yedek),
             L("[yedek] " + QString(50, u'=')), "CNF silindi: " + cnf, L("---------- YedekAl bitti ----------"),
             L(QStringLiteral("BASSIZ YEDEK OK: %1 (%2 bytes)").arg(zipYolu).arg(QFileInfo(zipYolu).size()))});
        QVERIFY2(hata.isEmpty(), qPrintable(hata));
        QVERIFY(!HamLog().contains(TestSunucu::Ayar().Sifre.toUtf8()));
        QCOMPARE(DosyaOku(Ini()), iniOnce); // the headless run never writes the settings

        // Replay into a new database: the same rows and the same objects.
        const QString hedef = TestSunucu::YeniAd(QStringLiteral("hl_geri"));
        TestSunucu::Sql(QStringLiteral("CREATE DATABASE %1 CHARACTER SET utf8mb4 COLLATE utf8mb4_turkish_ci").arg(hedef));
        QVERIFY2(ScriptCalistir(sql, hedef), "replaying the backup failed");
        for (const char* t : {"musteri", "hareket", "gunluk"}) {
            const QString kaynakSum =
                TestSunucu::Sql(QStringLiteral("CHECKSUM TABLE %1.%2").arg(db, QLatin1String(t))).section(u'\t', 1);
            const QString hedefSum =
                TestSunucu::Sql(QStringLiteral("CHECKSUM TABLE %1.%2").arg(hedef, QLatin1String(t))).section(u'\t', 1);
            QVERIFY2(!kaynakSum.trimmed().isEmpty() && kaynakSum.trimmed() != QLatin1String("NULL"), t);
            QCOMPARE(hedefSum, kaynakSum);
        }
        const QString nesneler = QStringLiteral(
            "SELECT (SELECT COUNT(*) FROM information_schema.VIEWS WHERE TABLE_SCHEMA='%1'), "
            "(SELECT COUNT(*) FROM information_schema.TRIGGERS WHERE TRIGGER_SCHEMA='%1'), "
            "(SELECT COUNT(*) FROM information_schema.ROUTINES WHERE ROUTINE_SCHEMA='%1'), "
            "(SELECT COUNT(*) FROM information_schema.EVENTS WHERE EVENT_SCHEMA='%1')");
        QCOMPARE(TestSunucu::Sql(nesneler.arg(hedef)), QStringLiteral("1\t1\t2\t1\n"));
        QCOMPARE(TestSunucu::Sql(QStringLiteral("SELECT * FROM v_bakiye ORDER BY ad"), hedef),
                 TestSunucu::Sql(QStringLiteral("SELECT * FROM v_bakiye ORDER BY ad"), db));
        QCOMPARE(TestSunucu::Sql(QStringLiteral("SELECT ad FROM musteri WHERE id = 3"), hedef),
                 QStringLiteral("Emoji 😀\n"));
        // The trigger came back alive.
        TestSunucu::Sql(QStringLiteral("CALL p_ekle(2, 5)"), hedef);
        QCOMPARE(TestSunucu::Sql(QStringLiteral("SELECT COUNT(*) FROM gunluk"), hedef),
                 TestSunucu::Sql(QStringLiteral("SELECT COUNT(*) + 1 FROM gunluk"), db));
        TestSunucu::Sql(QStringLiteral("DROP DATABASE %1; DROP DATABASE %2").arg(db, hedef));
    }

    void successKeepsTheTenNewestOwnBackups()
    {
        SUNUCU_GEREKLI();
        const QString db = TestSunucu::YeniAd(QStringLiteral("hl_ret"));
        TestSunucu::Sql(QStringLiteral("CREATE DATABASE %1; CREATE TABLE %1.t (a INT); INSERT INTO %1.t VALUES (1)").arg(db));
        AyarYaz([](TKelmorAyar& a) { a.ZipYap = false; });
        QStringList eski, baskasi;
        for (int i = 0; i < 11; ++i)
            eski << QStringLiteral("%1_tam_2020-01-%2_00-00-00.zip").arg(db).arg(i + 10);
        for (int i = 0; i < 3; ++i)
            baskasi << QStringLiteral("%1_test_tam_2019-01-0%2_00-00-00.zip").arg(db).arg(i + 1);
        for (const QString& f : eski + baskasi)
            DosyaYaz(m_yedek + QLatin1Char('/') + f, "old");

        QCOMPARE(Calistir({QStringLiteral("/yedek"), db}), 0);
        QVERIFY2(Log().last().startsWith(QStringLiteral("BASSIZ YEDEK OK: ") + m_yedek + QLatin1Char('/') + db +
                                         QStringLiteral("_tam_")),
                 qPrintable(Log().last()));
        QVERIFY(Log().last().contains(QStringLiteral(".sql (")));
        const QStringList kalan = Dosyalar();
        QCOMPARE(kalan.size(), 10 + 3);
        for (const QString& f : baskasi)
            QVERIFY(kalan.contains(f));
        QVERIFY(!kalan.contains(eski.at(0)));
        QVERIFY(!kalan.contains(eski.at(1)));
        for (const QString& f : eski.mid(2))
            QVERIFY(kalan.contains(f));
        TestSunucu::Sql(QStringLiteral("DROP DATABASE %1").arg(db));
    }

    void failedRunDeletesNothing()
    {
        SUNUCU_GEREKLI();
        AyarYaz([](TKelmorAyar& a) { a.Sifre = QStringLiteral("yanlis-sifre"); });
        QStringList eski;
        for (int i = 0; i < 12; ++i) {
            eski << QStringLiteral("mysql_tam_2020-01-%1_00-00-00.zip").arg(i + 10);
            DosyaYaz(m_yedek + QLatin1Char('/') + eski.last(), "old");
        }
        QCOMPARE(Calistir({QStringLiteral("/yedek"), QStringLiteral("mysql")}), 1);
        QCOMPARE(Log().last(), QStringLiteral("BASSIZ YEDEK HATA: Dump basarisiz (cikis kodu: 2)"));
        QVERIFY(Log().contains(QStringLiteral("[yedek] HATA: Dump basarisiz (cikis kodu: 2)")));
        QCOMPARE(Dosyalar(), eski);
        QVERIFY(!HamLog().contains("yanlis-sifre"));
    }

    void errorsEscapingTheRunEndAsFailure_data()
    {
        QTest::addColumn<QString>("db");
        QTest::addColumn<QString>("binYolu");
        QTest::addColumn<QString>("son");
        QTest::newRow("control character in the name")
            << "sh\x01op" << "/usr/bin" << "BASSIZ YEDEK HATA: Yolda gecersiz karakter var: sh\x01op_tam_.*\\.sql";
        QTest::newRow("quote in the tool folder")
            << "shop" << "/usr/\"bin" << "BASSIZ YEDEK HATA: Yolda gecersiz karakter var: /usr/\"bin";
        QTest::newRow("no dump tool") << "shop" << "/yok/bin"
                                      << "BASSIZ YEDEK HATA: mysqldump\\.exe veya mariadb-dump\\.exe bulunamadi: /yok/bin";
    }

    void errorsEscapingTheRunEndAsFailure()
    {
        QFETCH(QString, db);
        QFETCH(QString, binYolu);
        QFETCH(QString, son);
        AyarYaz([&](TKelmorAyar& a) { a.BinYolu = binYolu; });
        QCOMPARE(Calistir({QStringLiteral("/yedek"), db}), 1);
        const QStringList log = Log();
        QCOMPARE(log.first(), QStringLiteral("BASSIZ YEDEK basliyor: db=") + db);
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(son)).match(log.last()).hasMatch(),
                 qPrintable(log.last()));
        QVERIFY(!log.contains(QStringLiteral("---------- YedekAl bitti ----------")));
    }
};

QTEST_GUILESS_MAIN(TestHeadless)
#include "TestHeadless.moc"
