// The backup run: the real dump tool against the suite's server for the main path,
// a scripted stand-in (tests/fake-tools/dump) for what a real tool cannot be made to
// do. Both channels are checked line by line: the debug log and the callback.
#include "backup/uBackupLogic.h"
#include "core/uLog.h"
#include "platform/AppPaths.h"
#include "tests/common/LogSatirlari.h"
#include "tests/common/TestSunucu.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>

namespace {

const QString kSifre = QStringLiteral("Gizli\"Sifre\\42");
const QString kAyirici(50, QLatin1Char('='));
const QString kSahteBin = QStringLiteral(KELMOR_FAKE_TOOLS_DIR "/dump");
const QString kZaman = QStringLiteral("\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d");

// Debug-log lines after the header, without their time stamps.
QStringList LogSatirlari() { return LogOlaylari(DosyaOku(LogDosyasi())); }

QStringList CnfDosyalari()
{
    return QDir(QDir::tempPath()).entryList({QStringLiteral("kelmor_*")}, QDir::AllEntries | QDir::Hidden | QDir::System);
}

QStringList Yedekler(const QString& klasor)
{
    return QDir(klasor).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

void Ortam(const char* ad, const QByteArray& deger)
{
    if (deger.isNull())
        qunsetenv(ad);
    else
        qputenv(ad, deger);
}

} // namespace

class TestBackupRun : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_tmp;
    int m_sayac = 0;

    QString YeniKlasor(const QString& ad) { return m_dir.filePath(ad + QString::number(++m_sayac)); }

    TYedekIstegi SahteIstek()
    {
        TYedekIstegi i;
        VarsayilanAyar(i.Ayar);
        i.Ayar.Host = QStringLiteral("127.0.0.1");
        i.Ayar.Port = 3307;
        i.Ayar.Kullanici = QStringLiteral("root");
        i.Ayar.Sifre = kSifre;
        i.Ayar.BinYolu = kSahteBin;
        i.Veritabani = QStringLiteral("shop");
        i.YedekMod = bmTam;
        i.HedefKlasor = YeniKlasor(QStringLiteral("hedef"));
        i.ZipYap = false;
        return i;
    }

    QString Dosya(const QString& ad, const QByteArray& icerik)
    {
        const QString yol = m_dir.filePath(ad);
        DosyaYaz(yol, icerik);
        return yol;
    }

    // The dump the stand-in writes, the error stream it writes and its exit code.
    void Sahte(const QByteArray& dump, const QByteArray& stderrMetni = QByteArray(), int kod = 0)
    {
        Ortam("KELMOR_FAKE_STDOUT", QFile::encodeName(Dosya(QStringLiteral("dump.out"), dump)));
        Ortam("KELMOR_FAKE_STDERR", QFile::encodeName(Dosya(QStringLiteral("dump.err"), stderrMetni)));
        Ortam("KELMOR_FAKE_EXIT", QByteArray::number(kod));
    }

    static TYedekSonuc Calistir(const TYedekIstegi& i, QStringList& satirlar)
    {
        return YedekAl(i, [&](const QString& s) { satirlar << s; });
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_tmp = m_dir.filePath(QStringLiteral("tmp"));
        QVERIFY(QDir().mkpath(m_tmp));
        qputenv("TMPDIR", QFile::encodeName(m_tmp));
        ExeKlasoruAyarla(m_dir.path());
    }

    void init()
    {
        for (const char* ad : {"KELMOR_FAKE_KAYIT", "KELMOR_FAKE_STDERR", "KELMOR_FAKE_STDOUT", "KELMOR_FAKE_ZIP_ENGEL",
                               "KELMOR_FAKE_CNF_KILITLE", "KELMOR_FAKE_EXIT"})
            qunsetenv(ad);
        qputenv("TMPDIR", QFile::encodeName(m_tmp));
        QVERIFY(LogBaslat());
    }

    // Whatever happened, no option file may be left behind.
    void cleanup() { QVERIFY2(CnfDosyalari().isEmpty(), qPrintable(CnfDosyalari().join(u' '))); }

    void realDumpBothChannelsInOrder()
    {
        SUNUCU_GEREKLI();
        const QString db = TestSunucu::YeniAd(QStringLiteral("run"));
        TestSunucu::Sql(QStringLiteral("CREATE DATABASE %1; CREATE TABLE %1.t (id INT PRIMARY KEY, ad VARCHAR(40)) "
                                       "CHARSET utf8mb4; INSERT INTO %1.t VALUES (1, 'çalışkan öğrenci');")
                            .arg(db));
        TYedekIstegi i;
        i.Ayar = TestSunucu::Ayar();
        i.Veritabani = db;
        i.YedekMod = bmTam;
        i.HedefKlasor = YeniKlasor(QStringLiteral("yeni")) + QStringLiteral("/alt/klasor");
        i.ZipYap = true;
        QStringList cb;
        const QDateTime once = QDateTime::currentDateTime();
        const TYedekSonuc s = Calistir(i, cb);
        QVERIFY2(s.Basarili, qPrintable(s.Hata + QLatin1Char('\n') + LogSatirlari().join(QLatin1Char('\n'))));
        QVERIFY(s.Hata.isEmpty());

        const QStringList dosyalar = Yedekler(i.HedefKlasor);
        QCOMPARE(dosyalar.size(), 1);
        const QString zipAdi = dosyalar.first();
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(L(db) + "_tam_" + kZaman + "\\.zip"))
                     .match(zipAdi)
                     .hasMatch(),
                 qPrintable(zipAdi));
        const QDateTime damga =
            QDateTime::fromString(zipAdi.mid(db.size() + 5, 19), QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
        QVERIFY(damga.isValid());
        QVERIFY(damga.secsTo(once) <= 1 && once.secsTo(damga) <= 5);
        const QString zipYolu = i.HedefKlasor + QLatin1Char('/') + zipAdi;
        const QString sqlAdi = zipAdi.chopped(4) + QStringLiteral(".sql");
        QCOMPARE(s.DosyaYolu, zipYolu);
        QCOMPARE(s.Boyut, QFileInfo(zipYolu).size());

        // The archive: one deflated entry under the bare .sql name, UTF-8 flag set.
        QuaZip z(zipYolu);
        QVERIFY(z.open(QuaZip::mdUnzip));
        QCOMPARE(z.getEntriesCount(), 1);
        QVERIFY(z.goToFirstFile());
        QuaZipFileInfo64 bilgi;
        QVERIFY(z.getCurrentFileInfo(&bilgi));
        QCOMPARE(bilgi.name, sqlAdi);
        QCOMPARE(bilgi.method, quint16(8));
        QVERIFY(bilgi.flags & 0x0800);
        QuaZipFile giris(&z);
        QVERIFY(giris.open(QIODevice::ReadOnly));
        const QByteArray sql = giris.readAll();
        giris.close();
        QCOMPARE(giris.getZipError(), UNZ_OK);
        QVERIFY(sql.contains("çalışkan öğrenci"));
        QVERIFY(!sql.contains("CREATE DATABASE"));

        const QString cnfDesen = L(m_tmp) + "/kelmor_\\d+(_\\d+)?\\.cnf";
        QString hata = Uyusmazlik(cb, {L(kAyirici), L("Yedekleme basliyor: " + db), L("  Mod: tam"),
                                       L("  Hedef: " + sqlAdi), L(QStringLiteral("  SQL tamam: %1 KB").arg(sql.size() / 1024)),
                                       L("  ZIP olusturuluyor..."), L(QStringLiteral("  ZIP tamam: %1 KB").arg(s.Boyut / 1024)),
                                       QString(), L("YEDEK TAMAM"), L("  Dosya: " + zipAdi), L("  Konum: " + i.HedefKlasor),
                                       L(kAyirici)});
        QVERIFY2(hata.isEmpty(), qPrintable(hata));
        const QStringList log = LogSatirlari();
        hata = Uyusmazlik(
            log,
            {L("---------- YedekAl baslatildi ----------"),
             L("Veritabani: " + db + ", Mod: tam, Hedef: " + i.HedefKlasor),
             L(QStringLiteral("Host: 127.0.0.1:%1, Kullanici: root, Bin: /usr/bin").arg(i.Ayar.Port)),
             L("DumpExeBul -> \"/usr/bin/mariadb-dump\""), L("Hedef klasor yok, olusturuluyor: " + i.HedefKlasor),
             L("Cikti SQL: " + i.HedefKlasor + "/" + sqlAdi), "CNF olusturuldu: (" + cnfDesen + ")",
             L("Komut: /usr/bin/mariadb-dump --defaults-extra-file=") + cnfDesen +
                 L(" --single-transaction --quick --no-create-db --default-character-set=utf8mb4 --set-charset "
                   "--routines --triggers --events " +
                   db),
             L("Process bitti, exit code: 0"),
             L(QStringLiteral("YedekAl BASARILI: %1 (%2 bytes)").arg(zipYolu).arg(s.Boyut)), "CNF silindi: " + cnfDesen,
             L("---------- YedekAl bitti ----------")});
        QVERIFY2(hata.isEmpty(), qPrintable(hata));
        QVERIFY(!DosyaOku(LogDosyasi()).contains(i.Ayar.Sifre.toUtf8()));
        TestSunucu::Sql(QStringLiteral("DROP DATABASE %1").arg(db));
    }

    // The option file says protocol=TCP, so "localhost" with a port reaches that port
    // and not the local socket of some other server.
    void localhostMeansTheConfiguredPort()
    {
        SUNUCU_GEREKLI();
        TYedekIstegi i;
        i.Ayar = TestSunucu::Ayar();
        i.Ayar.Host = QStringLiteral("localhost");
        i.Veritabani = QStringLiteral("mysql");
        i.YedekMod = bmTablolar;
        i.Tablolar = {QStringLiteral("db")};
        i.HedefKlasor = YeniKlasor(QStringLiteral("lh"));
        const TYedekSonuc s = YedekAl(i, TLogProc());
        QVERIFY2(s.Basarili, qPrintable(s.Hata + QLatin1Char('\n') + LogSatirlari().join(QLatin1Char('\n'))));
        QVERIFY(QFileInfo(s.DosyaYolu).fileName().startsWith(QStringLiteral("mysql_tablolar_")));
        QVERIFY(s.DosyaYolu.endsWith(QStringLiteral(".sql")));
        QVERIFY(DosyaOku(s.DosyaYolu).contains("CREATE TABLE `db`"));
    }

    void failureRows_data()
    {
        QTest::addColumn<QString>("durum");
        QTest::addColumn<QString>("hata");      // pattern of TYedekSonuc::Hata
        QTest::addColumn<QStringList>("logSon"); // log lines after "Host: ...", patterns
        QTest::addColumn<bool>("basladi");      // the callback had its four opening lines

        const QString cnf = QStringLiteral("(.*/kelmor_\\d+(_\\d+)?\\.cnf)");
        const QString son = L("---------- YedekAl bitti ----------");
        QTest::newRow("no tool folder")
            << "bin-bos" << L("mysqldump.exe veya mariadb-dump.exe bulunamadi: ")
            << QStringList{L("DumpExeBul -> \"\""), L("HATA: mysqldump.exe veya mariadb-dump.exe bulunamadi: ")}
            << false;
        QTest::newRow("no tool in the folder")
            << "bin-aracsiz" << L("mysqldump.exe veya mariadb-dump.exe bulunamadi: ") + ".*/aracsiz\\d+"
            << QStringList{L("DumpExeBul -> \"\""), L("HATA: mysqldump.exe veya mariadb-dump.exe bulunamadi: ") + ".*"}
            << false;
        QTest::newRow("target blocked by a file")
            << "hedef-dosya" << L("Hedef klasor olusturulamadi: ") + ".+"
            << QStringList{"DumpExeBul -> .*", L("Hedef klasor yok, olusturuluyor: ") + ".*/engel/alt",
                           L("HATA: Hedef klasor olusturulamadi: ") + ".+"}
            << false;
        QTest::newRow("blank target") << "hedef-bos" << L("Hedef klasor olusturulamadi: ") + ".+"
                                      << QStringList{"DumpExeBul -> .*", L("Hedef klasor yok, olusturuluyor:   "),
                                                     L("HATA: Hedef klasor olusturulamadi: ") + ".+"}
                                      << false;
        QTest::newRow("option file cannot be written")
            << "tmp-yok" << L("Gecici config olusturulamadi: ") + ".+"
            << QStringList{"DumpExeBul -> .*", "Hedef klasor yok.*", "Cikti SQL: .*",
                           L("HATA: Gecici config olusturulamadi: ") + ".+", son}
            << true;
        QTest::newRow("tool cannot be started")
            << "calismaz" << L("mysqldump baslatilamadi (CreateProcess hatasi)")
            << QStringList{"DumpExeBul -> .*", "Hedef klasor yok.*", "Cikti SQL: .*", "CNF olusturuldu: " + cnf,
                           "Komut: .*", L("HATA: mysqldump baslatilamadi (CreateProcess hatasi) GetLastError=13"),
                           "CNF silindi: " + cnf, son}
            << true;
        QTest::newRow("exit code 2, silent")
            << "kod2" << L("Dump basarisiz (cikis kodu: 2)")
            << QStringList{"DumpExeBul -> .*", "Hedef klasor yok.*", "Cikti SQL: .*", "CNF olusturuldu: " + cnf,
                           "Komut: .*", L("Process bitti, exit code: 2"), "CNF silindi: " + cnf, son}
            << true;
        QTest::newRow("exit code 0 with an error line")
            << "stderr-hata" << L("Dump basarisiz (cikis kodu: 0)")
            << QStringList{"DumpExeBul -> .*", "Hedef klasor yok.*", "Cikti SQL: .*", "CNF olusturuldu: " + cnf,
                           "Komut: .*", L("Process bitti, exit code: 0"),
                           L("STDERR: mariadb-dump: Got error: 1045: Access denied | [Warning] x | "),
                           "CNF silindi: " + cnf, son}
            << true;
        QTest::newRow("exit code 255 shown signed in the log")
            << "kod255" << L("Dump basarisiz (cikis kodu: 255)")
            << QStringList{"DumpExeBul -> .*", "Hedef klasor yok.*", "Cikti SQL: .*", "CNF olusturuldu: " + cnf,
                           "Komut: .*", L("Process bitti, exit code: 255"), "CNF silindi: " + cnf, son}
            << true;
        QTest::newRow("empty dump") << "bos" << L("Yedek dosyasi olusmadi veya bos")
                                    << QStringList{"DumpExeBul -> .*", "Hedef klasor yok.*", "Cikti SQL: .*",
                                                   "CNF olusturuldu: " + cnf, "Komut: .*",
                                                   L("Process bitti, exit code: 0"), "CNF silindi: " + cnf, son}
                                    << true;
    }

    void failureRows()
    {
        QFETCH(QString, durum);
        QFETCH(QString, hata);
        QFETCH(QStringList, logSon);
        QFETCH(bool, basladi);
        TYedekIstegi i = SahteIstek();
        Sahte("-- dump\n");
        if (durum == QLatin1String("bin-bos")) {
            i.Ayar.BinYolu.clear();
        } else if (durum == QLatin1String("bin-aracsiz")) {
            i.Ayar.BinYolu = YeniKlasor(QStringLiteral("aracsiz"));
            QDir().mkpath(i.Ayar.BinYolu);
            DosyaYaz(i.Ayar.BinYolu + QStringLiteral("/mariadb.exe"), "x");
        } else if (durum == QLatin1String("hedef-dosya")) {
            DosyaYaz(m_dir.filePath(QStringLiteral("engel")), "file in the way");
            i.HedefKlasor = m_dir.filePath(QStringLiteral("engel/alt"));
        } else if (durum == QLatin1String("hedef-bos")) {
            i.HedefKlasor = QStringLiteral("  ");
        } else if (durum == QLatin1String("tmp-yok")) {
            qputenv("TMPDIR", QFile::encodeName(m_dir.filePath(QStringLiteral("tmp-yok"))));
        } else if (durum == QLatin1String("calismaz")) {
            i.Ayar.BinYolu = YeniKlasor(QStringLiteral("calismaz"));
            DosyaYaz(i.Ayar.BinYolu + QStringLiteral("/mariadb-dump"), "#!/bin/sh\nexit 0\n"); // not executable
        } else if (durum == QLatin1String("kod2")) {
            Sahte("-- dump\n", QByteArray(), 2);
        } else if (durum == QLatin1String("kod255")) {
            Sahte("-- dump\n", QByteArray(), 255);
        } else if (durum == QLatin1String("stderr-hata")) {
            Sahte("-- dump\n", "mariadb-dump: Got error: 1045: Access denied\n[Warning] x\n", 0);
        } else if (durum == QLatin1String("bos")) {
            Sahte(QByteArray());
        }

        QStringList cb;
        const TYedekSonuc s = Calistir(i, cb);
        qputenv("TMPDIR", QFile::encodeName(m_tmp));
        QVERIFY(!s.Basarili);
        QVERIFY(s.DosyaYolu.isEmpty());
        QCOMPARE(s.Boyut, 0);
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(hata)).match(s.Hata).hasMatch(),
                 qPrintable(s.Hata));
        const QStringList log = LogSatirlari();
        const QString uyusmazlik =
            Uyusmazlik(log, QStringList{L("---------- YedekAl baslatildi ----------"), "Veritabani: .*", "Host: .*"} + logSon);
        QVERIFY2(uyusmazlik.isEmpty(), qPrintable(uyusmazlik));

        // Callback: the opening lines once the file name is known, the tool's lines, then the error.
        QCOMPARE(cb.last(), QStringLiteral("HATA: ") + s.Hata);
        if (basladi) {
            QCOMPARE(cb.value(0), kAyirici);
            QCOMPARE(cb.value(1), QStringLiteral("Yedekleme basliyor: shop"));
        } else {
            QCOMPARE(cb.size(), 1);
        }
        if (durum == QLatin1String("stderr-hata"))
            QCOMPARE(cb.mid(4), (QStringList{QStringLiteral("     mariadb-dump: Got error: 1045: Access denied"),
                                             QStringLiteral("     [Warning] x"), QStringLiteral("HATA: ") + s.Hata}));
        // No backup file stays, not even an empty one.
        if (QFileInfo(i.HedefKlasor).isDir())
            QCOMPARE(Yedekler(i.HedefKlasor), QStringList());
        QVERIFY(!DosyaOku(LogDosyasi()).contains(kSifre.toUtf8()));
    }

    void warningsAndNotesPassAndSizesRoundDown_data()
    {
        QTest::addColumn<int>("bayt");
        QTest::addColumn<QString>("kb");
        QTest::newRow("1000 bytes") << 1000 << "  SQL tamam: 0 KB";
        QTest::newRow("2047 bytes") << 2047 << "  SQL tamam: 1 KB";
    }

    void warningsAndNotesPassAndSizesRoundDown()
    {
        QFETCH(int, bayt);
        QFETCH(QString, kb);
        TYedekIstegi i = SahteIstek();
        Sahte(QByteArray(bayt, 'x'), "Warning: ERROR ignored\r\n\r\n  [Note] Error log  \r\nmariadb-dump: Deprecated "
                                     "program name. Using a password on the command line may be insecure\r\n");
        QStringList cb;
        const TYedekSonuc s = Calistir(i, cb);
        QVERIFY2(s.Basarili, qPrintable(s.Hata));
        QVERIFY(s.DosyaYolu.endsWith(QStringLiteral(".sql")));
        QCOMPARE(s.Boyut, bayt);
        QCOMPARE(DosyaOku(s.DosyaYolu).size(), bayt);
        QCOMPARE(cb.mid(4, 3), (QStringList{QStringLiteral("     Warning: ERROR ignored"),
                                            QStringLiteral("     [Note] Error log"), kb}));
        QVERIFY(LogSatirlari().contains(
            QStringLiteral("STDERR: Warning: ERROR ignored |  |   [Note] Error log   | mariadb-dump: Deprecated "
                           "program name. Using a password on the command line may be insecure | ")));
    }

    void hugeErrorStreamDoesNotBlock()
    {
        TYedekIstegi i = SahteIstek();
        QByteArray err;
        int n = 0;
        while (err.size() < 3 * 1024 * 1024)
            err += "mariadb-dump: [Note] line " + QByteArray::number(++n) + " " + QByteArray(60, '.') + "\n";
        err += "mariadb-dump: Got error: 2013: Lost connection to server during query\n";
        Sahte(QByteArray(100000, 'x'), err, 0);
        QStringList cb;
        const TYedekSonuc s = Calistir(i, cb);
        QCOMPARE(s.Hata, QStringLiteral("Dump basarisiz (cikis kodu: 0)"));
        QCOMPARE(cb.size(), 4 + n + 1 + 1);
        QCOMPARE(cb.at(4 + n), QStringLiteral("     mariadb-dump: Got error: 2013: Lost connection to server during query"));
        QCOMPARE(Yedekler(i.HedefKlasor), QStringList());
    }

    void noPasswordOnTheCommandLineOrInTheEnvironment()
    {
        TYedekIstegi i = SahteIstek();
        i.Veritabani = QStringLiteral(" my \"db\" ");
        const QString kayit = m_dir.filePath(QStringLiteral("kayit"));
        Ortam("KELMOR_FAKE_KAYIT", QFile::encodeName(kayit));
        Sahte("-- dump\n");
        QStringList cb;
        const TYedekSonuc s = Calistir(i, cb);
        QVERIFY2(s.Basarili, qPrintable(s.Hata));
        QVERIFY(QFileInfo(s.DosyaYolu).fileName().startsWith(QStringLiteral("my _db__tam_")));
        const QByteArray sifre = kSifre.toUtf8();
        QVERIFY(!DosyaOku(kayit + QStringLiteral(".args")).contains(sifre));
        QVERIFY(!DosyaOku(kayit + QStringLiteral(".env")).contains(sifre));
        QVERIFY(!DosyaOku(kayit + QStringLiteral(".env")).contains("Sifre"));
        QVERIFY(!DosyaOku(LogDosyasi()).contains(sifre));
        QCOMPARE(DosyaOku(kayit + QStringLiteral(".cnf")), CnfIcerigi(i.Ayar));
        QCOMPARE(DosyaOku(kayit + QStringLiteral(".mode")).trimmed(), QByteArray("600"));

        // The tool got exactly the arguments the logged command line shows, unsplit.
        QString cnf;
        for (const QString& l : LogSatirlari())
            if (l.startsWith(QStringLiteral("CNF olusturuldu: ")))
                cnf = l.mid(17);
        QVERIFY(!cnf.isEmpty());
        const QStringList args = QString::fromUtf8(DosyaOku(kayit + QStringLiteral(".args"))).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(args, DumpArgumanlari(i, cnf));
        QVERIFY(args.last() == QStringLiteral(" my \"db\" "));
        QVERIFY(LogSatirlari().contains(QStringLiteral("Komut: ") + DumpKomutuOlustur(i, cnf, kSahteBin + "/mariadb-dump")));
    }

    void withoutCallbackTheLogIsTheSame()
    {
        auto normal = [](QStringList s) {
            static const QRegularExpression degisken(QStringLiteral("(hedef\\d+|kelmor_\\d+(_\\d+)?|\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d)"));
            for (QString& x : s)
                x.replace(degisken, QStringLiteral("#"));
            return s;
        };
        Sahte("-- dump\n", "[Warning] a\n");
        TYedekIstegi i = SahteIstek();
        i.ZipYap = true;
        QStringList cb;
        QVERIFY(Calistir(i, cb).Basarili);
        const QStringList ile = normal(LogSatirlari());
        QVERIFY(LogBaslat());
        i.HedefKlasor = SahteIstek().HedefKlasor;
        QVERIFY(YedekAl(i, TLogProc()).Basarili);
        QCOMPARE(normal(LogSatirlari()), ile);
        QVERIFY(!cb.isEmpty());
    }

    void fileNames_data()
    {
        QTest::addColumn<QString>("db");
        QTest::addColumn<int>("mod");
        QTest::addColumn<QString>("onek");
        QTest::newRow("full") << "shop" << int(bmTam) << "shop_tam_";
        QTest::newRow("db only") << "shop" << int(bmSadeceDB) << "shop_db_";
        QTest::newRow("tables") << "shop" << int(bmTablolar) << "shop_tablolar_";
        QTest::newRow("unknown mode") << "shop" << 9 << "shop_yedek_";
        QTest::newRow("solidus and colon, blanks trimmed") << "\t a/b:c " << int(bmTam) << "a_b_c_tam_";
        QTest::newRow("all nine characters") << "<>:\"/\\|?*x" << int(bmTam) << "_________x_tam_";
        QTest::newRow("Turkish letters") << "şirket" << int(bmTam) << "şirket_tam_";
    }

    void fileNames()
    {
        QFETCH(QString, db);
        QFETCH(int, mod);
        QFETCH(QString, onek);
        TYedekIstegi i = SahteIstek();
        i.Veritabani = db;
        i.YedekMod = TYedekMod(mod);
        Sahte("-- dump\n");
        QStringList cb;
        const TYedekSonuc s = Calistir(i, cb);
        QVERIFY2(s.Basarili, qPrintable(s.Hata));
        const QString ad = QFileInfo(s.DosyaYolu).fileName();
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(L(onek) + kZaman + "\\.sql")).match(ad).hasMatch(),
                 qPrintable(ad));
        QCOMPARE(cb.value(1), QStringLiteral("Yedekleme basliyor: ") + db);
    }

    void packingFailureKeepsTheSql()
    {
        TYedekIstegi i = SahteIstek();
        i.ZipYap = true;
        Sahte(QByteArray(5000, 'y'));
        Ortam("KELMOR_FAKE_ZIP_ENGEL", "1");
        QStringList cb;
        const TYedekSonuc s = Calistir(i, cb);
        QVERIFY(s.Basarili);
        QVERIFY(s.Hata.isEmpty());
        QVERIFY(s.DosyaYolu.endsWith(QStringLiteral(".sql")));
        QCOMPARE(s.Boyut, 5000);
        QVERIFY(QFileInfo(s.DosyaYolu).isFile());
        const qsizetype k = cb.indexOf(QStringLiteral("  ZIP olusturuluyor..."));
        QVERIFY(k > 0);
        QVERIFY2(cb.value(k + 1).startsWith(QStringLiteral("  HATA: ZIP olusturulamadi: ")), qPrintable(cb.value(k + 1)));
        QCOMPARE(cb.value(k + 2), QStringLiteral("  UYARI: ZIP olusturulamadi, SQL birakildi"));
        QCOMPARE(cb.value(k + 3), QString());
        QCOMPARE(cb.value(k + 4), QStringLiteral("YEDEK TAMAM"));
        QCOMPARE(cb.value(k + 5), QStringLiteral("  Dosya: ") + QFileInfo(s.DosyaYolu).fileName());
    }

    void optionFileThatWillNotGo()
    {
        TYedekIstegi i = SahteIstek();
        Sahte("-- dump\n");
        Ortam("KELMOR_FAKE_CNF_KILITLE", "1");
        QStringList cb;
        QVERIFY(Calistir(i, cb).Basarili);
        const QStringList log = LogSatirlari();
        QCOMPARE(log.size(), 12);
        QVERIFY2(log.at(10).startsWith(QStringLiteral("CNF silinemedi: ") + m_tmp + QStringLiteral("/kelmor_")),
                 qPrintable(log.at(10)));
        QCOMPARE(log.at(11), QStringLiteral("---------- YedekAl bitti ----------"));
        QVERIFY(QDir(log.at(10).mid(16)).removeRecursively());
    }

    // A name that no path may hold ends the run with an error, before any option file.
    void controlCharacterInTheNameRaises()
    {
        TYedekIstegi i = SahteIstek();
        i.Veritabani = QStringLiteral("sh\x01op");
        QStringList cb;
        QVERIFY_THROWS_EXCEPTION(KelmorHata, Calistir(i, cb));
        QVERIFY(cb.isEmpty());
        QVERIFY(!LogSatirlari().contains(QStringLiteral("---------- YedekAl bitti ----------")));
    }
};

QTEST_GUILESS_MAIN(TestBackupRun)
#include "TestBackupRun.moc"
