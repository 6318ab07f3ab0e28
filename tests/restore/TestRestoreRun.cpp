// The restore run against a stand-in client: what it is given, how its exit code
// and error stream are told, and the failures before and around it.
#include "backup/uBackupLogic.h"
#include "restore/uRestoreLogic.h"
#include "tests/common/TestSunucu.h"
#include "tests/restore/RestoreTestYardimci.h"

#include <QFileInfo>

namespace {

const QString kAyirici(50, QLatin1Char('='));
const QByteArray kBasliklar = "--\n-- Table structure for table `a`\n--\nCREATE TABLE `a` (x int);\n";

QStringList Satirlar(const QString& metin) { return metin.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }

} // namespace

class TestRestoreRun : public QObject {
    Q_OBJECT
    OzelTmp m_tmp;
    QTemporaryDir m_dir;
    QStringList m_satirlar;
    TLogProc m_log = [this](const QString& s) { m_satirlar << s; };

    QString Kayit() const { return m_dir.filePath(QStringLiteral("kayit")); }
    QString Dosya(const QString& ad, const QByteArray& icerik)
    {
        const QString yol = m_dir.filePath(ad);
        DosyaYaz(yol, icerik);
        return yol;
    }
    // A request for the stand-in client; the server is never asked (DBOlustur off).
    TRestoreIstegi Istek(const QString& kaynak)
    {
        TRestoreIstegi i;
        i.Ayar.Host = QStringLiteral("127.0.0.1");
        i.Ayar.Port = 1;
        i.Ayar.Kullanici = QStringLiteral("geri");
        i.Ayar.Sifre = QStringLiteral("p\"a\\ss");
        i.Ayar.BinYolu = QStringLiteral(KELMOR_FAKE_TOOLS_DIR "/client");
        i.KaynakDosya = kaynak;
        i.HedefVeritabani = QStringLiteral("hedef db");
        return i;
    }
    QStringList Baslik(const QString& kaynak) const
    {
        return {kAyirici, QStringLiteral("Geri yukleme basliyor"),
                QStringLiteral("  Kaynak: ") + QFileInfo(kaynak).fileName(), QStringLiteral("  Hedef DB: hedef db")};
    }

private Q_SLOTS:
    void init()
    {
        m_satirlar.clear();
        QDir(Kayit()).removeRecursively();
        qputenv("KELMOR_FAKE_KAYIT", QFile::encodeName(Kayit()));
        qunsetenv("KELMOR_FAKE_CIKIS");
        qunsetenv("KELMOR_FAKE_STDERR");
    }
    // No option file and no work folder survives a run, whatever its outcome.
    void cleanup()
    {
        const QStringList kalan = KalanGeciciler();
        for (const QString& ad : kalan)
            QDir(QDir::temp().filePath(ad)).removeRecursively(), QFile::remove(QDir::temp().filePath(ad));
        QCOMPARE(kalan, QStringList());
    }

    void failsBeforeHeader_data()
    {
        QTest::addColumn<QString>("binYolu");
        QTest::addColumn<bool>("kaynakVar");
        QTest::addColumn<QString>("hata");
        QTest::newRow("no client in the folder") << m_dir.path() << true << "mysql.exe veya mariadb.exe bulunamadi";
        QTest::newRow("empty tool folder") << QString() << true << "mysql.exe veya mariadb.exe bulunamadi";
        QTest::newRow("missing backup") << QStringLiteral(KELMOR_FAKE_TOOLS_DIR "/client") << false
                                        << "Kaynak dosya yok: ";
    }
    void failsBeforeHeader()
    {
        QFETCH(QString, binYolu);
        QFETCH(bool, kaynakVar);
        QFETCH(QString, hata);
        const QString kaynak = kaynakVar ? Dosya(QStringLiteral("v.sql"), "SELECT 1;\n") : m_dir.filePath("yok.zip");
        TRestoreIstegi i = Istek(kaynak);
        i.Ayar.BinYolu = binYolu;
        const TRestoreSonuc s = GeriYukle(i, m_log);
        if (!kaynakVar)
            hata += kaynak;
        QVERIFY(!s.Basarili);
        QCOMPARE(s.Hata, hata);
        QCOMPARE(m_satirlar, QStringList{QStringLiteral("HATA: ") + hata});
        QVERIFY(!QFileInfo::exists(Kayit()));
    }

    void clientGetsScriptAndOptionFile_data()
    {
        QTest::addColumn<int>("mod");
        QTest::newRow("rmTam") << int(rmTam);
        QTest::newRow("rmSadeceDB") << int(rmSadeceDB);
    }
    void clientGetsScriptAndOptionFile()
    {
        // A script with nothing to clean is fed as the user's own file.
        QFETCH(int, mod);
        const QByteArray betik = "CREATE TABLE t (x int);\nINSERT INTO t VALUES (1);\n";
        const QString kaynak = Dosya(QStringLiteral("yedek.sql"), betik);
        TRestoreIstegi i = Istek(kaynak);
        i.RestoreMod = TRestoreMod(mod);
        const TRestoreSonuc s = GeriYukle(i, m_log);
        QVERIFY(s.Basarili);
        QCOMPARE(s.Hata, QString());
        QCOMPARE(m_satirlar, (Baslik(kaynak) + QStringList{QStringLiteral("  SQL calistiriliyor (0 KB)..."), QString(),
                                                           QStringLiteral("GERI YUKLEME TAMAM"), kAyirici}));

        const QStringList args = Satirlar(QString::fromUtf8(DosyaOku(Kayit() + QStringLiteral("/args"))));
        QCOMPARE(args.size(), 3);
        const QString onEk = QStringLiteral("--defaults-extra-file=") + QDir::temp().filePath(QStringLiteral("kelmor_r_"));
        QVERIFY2(args[0].startsWith(onEk) && args[0].endsWith(QStringLiteral(".cnf")), qPrintable(args[0]));
        QCOMPARE(args.mid(1), (QStringList{QStringLiteral("--default-character-set=utf8mb4"), QStringLiteral("hedef db")}));
        QCOMPARE(DosyaOku(Kayit() + QStringLiteral("/stdin")), betik);
        QCOMPARE(DosyaOku(Kayit() + QStringLiteral("/cnf")), CnfIcerigi(i.Ayar));
        QCOMPARE(DosyaOku(Kayit() + QStringLiteral("/cnf_mode")).trimmed(), QByteArray("600"));
    }

    void cleanedScriptFromZipIsFed()
    {
        const QString kaynak = m_dir.filePath(QStringLiteral("yedek.zip"));
        ZipYaz(kaynak, {{"alt/yedek.sql", "CREATE DATABASE `x`;\nUSE `x`;\nSELECT 1;\n"}});
        const TRestoreSonuc s = GeriYukle(Istek(kaynak), m_log);
        QVERIFY(s.Basarili);
        QCOMPARE(DosyaOku(Kayit() + QStringLiteral("/stdin")), QByteArray("\xEF\xBB\xBF" "SELECT 1;\r\n"));
        QCOMPARE(m_satirlar.mid(4, 3),
                 (QStringList{QStringLiteral("  ZIP acildi: yedek.sql"),
                              QStringLiteral("  2 satir temizlendi (CREATE DATABASE / USE)"),
                              QStringLiteral("  SQL calistiriliyor (0 KB)...")}));
    }

    void clientOutcomeIsTold_data()
    {
        QTest::addColumn<int>("cikis");
        QTest::addColumn<QString>("stderr");
        QTest::addColumn<QString>("anlatilan"); // what follows "  Cikti:", empty: no such line
        QTest::newRow("quiet success") << 0 << QString() << QString();
        QTest::newRow("warning, success") << 0 << "  Warning: x\n\n" << "Warning: x";
        QTest::newRow("two lines, exit 1")
            << 1 << "ERROR 1049 (42000): Unknown database 'hedef db'\nsecond line\n"
            << "ERROR 1049 (42000): Unknown database 'hedef db'\n     second line";
        QTest::newRow("CR LF lines, exit 255") << 255 << "a\r\nb\r\n" << "a\r\n     b";
        QTest::newRow("silent failure") << 7 << QString() << QString();
    }
    void clientOutcomeIsTold()
    {
        QFETCH(int, cikis);
        QFETCH(QString, stderr);
        QFETCH(QString, anlatilan);
        qputenv("KELMOR_FAKE_CIKIS", QByteArray::number(cikis));
        qputenv("KELMOR_FAKE_STDERR", stderr.toUtf8());
        const QString kaynak = Dosya(QStringLiteral("c.sql"), "SELECT 1;\n");
        const TRestoreSonuc s = GeriYukle(Istek(kaynak), m_log);
        QStringList beklenen = Baslik(kaynak) << QStringLiteral("  SQL calistiriliyor (0 KB)...");
        if (!anlatilan.isEmpty())
            beklenen << QStringLiteral("  Cikti:") << anlatilan;
        if (cikis == 0)
            beklenen << QString() << QStringLiteral("GERI YUKLEME TAMAM") << kAyirici;
        QCOMPARE(m_satirlar, beklenen);
        QCOMPARE(s.Basarili, cikis == 0);
        QCOMPARE(s.Hata, cikis == 0 ? QString() : QStringLiteral("Geri yukleme basarisiz (cikis kodu %1)").arg(cikis));
    }

    void sizeInWholeKilobytes_data()
    {
        QTest::addColumn<int>("boyut");
        QTest::addColumn<QString>("satir");
        QTest::newRow("1023") << 1023 << "  SQL calistiriliyor (0 KB)...";
        QTest::newRow("1024") << 1024 << "  SQL calistiriliyor (1 KB)...";
        QTest::newRow("2047") << 2047 << "  SQL calistiriliyor (1 KB)...";
    }
    void sizeInWholeKilobytes()
    {
        QFETCH(int, boyut);
        QFETCH(QString, satir);
        const QString kaynak = Dosya(QStringLiteral("k.sql"), "-- " + QByteArray(boyut - 4, 'x') + "\n");
        QVERIFY(GeriYukle(Istek(kaynak), m_log).Basarili);
        QVERIFY2(m_satirlar.contains(satir), qPrintable(m_satirlar.join(QLatin1Char('|'))));
    }

    void failuresInPreparation_data()
    {
        QTest::addColumn<QString>("ad");
        QTest::addColumn<QByteArray>("icerik");
        QTest::addColumn<QStringList>("tablolar");
        QTest::addColumn<QString>("hata");
        QTest::addColumn<QStringList>("anlatilan"); // after the header
        QTest::newRow("no table chosen") << "t.zip" << kBasliklar << QStringList{}
                                         << "Tablolar modunda en az bir tablo secilmeli"
                                         << QStringList{"  ZIP acildi: t.sql"};
        QTest::newRow("no headers to filter by")
            << "t.sql" << QByteArray("CREATE TABLE a (x int);\n") << QStringList{"a"} << "Tablo filtreleme basarisiz"
            << QStringList{"  Tablolar filtreleniyor...", "  UYARI: SQL formati tanınmadı, filtreleme yapılamadı"};
        QTest::newRow("archive without script") << "t.zip" << QByteArray() << QStringList{"a"} << "ZIP acilamadi"
                                                << QStringList{"  HATA: ZIP icinde .sql dosyasi yok"};
        QTest::newRow("not an archive") << "t.zip" << QByteArray("CREATE TABLE a (x int);\n") << QStringList{"a"}
                                        << "ZIP acilamadi"
                                        << QStringList{"  HATA: ZIP acilamadi: gecerli bir ZIP arsivi degil (kod -103)"};
    }
    void failuresInPreparation()
    {
        QFETCH(QString, ad);
        QFETCH(QByteArray, icerik);
        QFETCH(QStringList, tablolar);
        QFETCH(QString, hata);
        QFETCH(QStringList, anlatilan);
        const QString kaynak = m_dir.filePath(ad);
        const bool zipIcinde = ad.endsWith(QLatin1String(".zip")) && !hata.startsWith(QLatin1String("ZIP"));
        if (zipIcinde)
            ZipYaz(kaynak, {{"t.sql", icerik}});
        else if (ad.endsWith(QLatin1String(".zip")) && icerik.isEmpty())
            ZipYaz(kaynak, {{"oku.txt", "x"}});
        else
            DosyaYaz(kaynak, icerik);
        TRestoreIstegi i = Istek(kaynak);
        i.RestoreMod = rmTablolar;
        i.SeciliTablolar = tablolar;
        const TRestoreSonuc s = GeriYukle(i, m_log);
        QVERIFY(!s.Basarili);
        QCOMPARE(s.Hata, hata);
        QCOMPARE(m_satirlar, Baslik(kaynak) + anlatilan);
        QVERIFY(!QFileInfo::exists(Kayit())); // nothing was replayed
    }

    void databaseCreationFails()
    {
        // The existence check cannot reach the server either, so creation is tried.
        const QString kaynak = Dosya(QStringLiteral("d.sql"), "SELECT 1;\n");
        TRestoreIstegi i = Istek(kaynak);
        i.DBOlustur = true;
        const TRestoreSonuc s = GeriYukle(i, m_log);
        QVERIFY(!s.Basarili);
        QVERIFY2(s.Hata.startsWith(QStringLiteral("DB olusturulamadi: ")) && s.Hata.size() > 19, qPrintable(s.Hata));
        QCOMPARE(m_satirlar, Baslik(kaynak) << QStringLiteral("  Hedef DB yok, olusturuluyor: hedef db"));
        QVERIFY(!QFileInfo::exists(Kayit()));
    }

    void errorsOfFileStepsReachTheCaller()
    {
        // A temporary folder that cannot hold work folders: the run lets the error go.
        const QString kaynak = Dosya(QStringLiteral("e.sql"), "SELECT 1;\n");
        const QString dosya = Dosya(QStringLiteral("tmp-dosya"), "not a folder");
        const QByteArray eski = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(dosya));
        QVERIFY_THROWS_EXCEPTION(KelmorHata, GeriYukle(Istek(kaynak), m_log));
        qputenv("TMPDIR", eski);
        QCOMPARE(m_satirlar, Baslik(kaynak));
        QVERIFY(!QFileInfo::exists(Kayit()));
    }

    void clientThatCannotStart()
    {
        QString hata;
        quint32 kod = 99;
        const QString betik = Dosya(QStringLiteral("s.sql"), "SELECT 1;\n");
        QVERIFY(!ClientCalistir(QStringLiteral(KELMOR_FAKE_TOOLS_DIR "/client/mariadb"), QStringLiteral("x.cnf"),
                                QStringLiteral("db"), m_dir.filePath(QStringLiteral("yok.sql")), hata, kod));
        QVERIFY(!ClientCalistir(betik, QStringLiteral("x.cnf"), QStringLiteral("db"), betik, hata, kod));
        QCOMPARE(hata, QString());
        QCOMPARE(kod, 0u);
    }

    void nothingToldWithoutCallback()
    {
        const QString kaynak = Dosya(QStringLiteral("n.sql"), "USE x;\nSELECT 1;\n");
        QVERIFY(GeriYukle(Istek(kaynak), TLogProc()).Basarili);
        QCOMPARE(DosyaOku(Kayit() + QStringLiteral("/stdin")), QByteArray("\xEF\xBB\xBF" "SELECT 1;\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestRestoreRun)
#include "TestRestoreRun.moc"
