// Looking into backups without running them: archives, table lists, the per-table
// filter and the removal of database-switching lines.
#include "restore/uRestoreLogic.h"
#include "tests/common/TestSunucu.h"
#include "tests/restore/RestoreTestYardimci.h"

#include <QFileInfo>
#include <QStringDecoder>

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

// A script laid out the way the dump tool writes it: preamble, tables a and b with
// structure and data sections, the tool's closing lines after b's data.
const QByteArray kOnSoz = "-- MariaDB dump 10.19  Distrib 10.11.6-MariaDB\n"
                          "--\n"
                          "-- Host: 127.0.0.1    Database: shop\n"
                          "-- ------------------------------------------------------\n"
                          "/*!40101 SET NAMES utf8mb4 */;\n\n";
const QByteArray kA = "--\n"
                      "-- Table structure for table `a`\n"
                      "--\n\n"
                      "DROP TABLE IF EXISTS `a`;\n"
                      "CREATE TABLE `a` (\n  `id` int(11) NOT NULL\n);\n\n";
const QByteArray kAVeri = "--\n"
                          "-- Dumping data for table `a`\n"
                          "--\n\n"
                          "INSERT INTO `a` VALUES (1),(2);\n\n";
const QByteArray kB = "--\n"
                      "-- Table structure for table `b`\n"
                      "--\n\n"
                      "DROP TABLE IF EXISTS `b`;\n"
                      "CREATE TABLE `b` (\n  `x` blob\n);\n\n";
const QByteArray kBVeri = QByteArray("--\n"
                          "-- Dumping data for table `b`\n"
                          "--\n\n")
                          + QByteArrayLiteral("INSERT INTO `b` VALUES ('\xFF\x00\x80 raw bytes');\n\n");
const QByteArray kKapanis = "/*!40101 SET SQL_MODE=@OLD_SQL_MODE */;\n\n-- Dump completed on 2024-05-01 10:00:00\n";

QByteArray Utf16(const QString& s, bool le)
{
    QStringEncoder e(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE, QStringConverter::Flag::WriteBom);
    return e.encode(s);
}

} // namespace

class TestScriptAnalysis : public QObject {
    Q_OBJECT
    OzelTmp m_tmp;
    QTemporaryDir m_dir;
    QStringList m_satirlar;
    TLogProc m_log = [this](const QString& s) { m_satirlar << s; };

    QString Dosya(const QString& ad, const QByteArray& icerik)
    {
        const QString yol = m_dir.filePath(ad);
        DosyaYaz(yol, icerik);
        return yol;
    }

private Q_SLOTS:
    void init() { m_satirlar.clear(); }
    // Every operation here either hands its folder to the caller or removes it.
    void cleanup()
    {
        const QStringList kalan = KalanGeciciler();
        for (const QString& ad : kalan)
            QDir(QDir::temp().filePath(ad)).removeRecursively();
        QCOMPARE(kalan, QStringList());
    }

    void workFoldersAreDistinctAndPrivate()
    {
        const QString a = GeciciKlasorOlustur();
        const QString b = GeciciKlasorOlustur();
        QVERIFY(a != b);
        for (const QString& k : {a, b}) {
            const QFileInfo fi(k);
            QVERIFY(fi.isDir());
            QVERIFY(fi.fileName().startsWith(QStringLiteral("kelmor_restore_")));
            QCOMPARE(fi.absolutePath(), QDir(m_tmp.Yol()).absolutePath());
            QCOMPARE(int(fi.permissions() & 0x7077), 0x7000); // owner only
            QDir(k).removeRecursively();
        }
    }

    void zipPicksEntry_data()
    {
        QTest::addColumn<ZipGirdileri>("girdiler");
        QTest::addColumn<QString>("ad");     // extracted file name, empty: none
        QTest::addColumn<QByteArray>("icerik");
        QTest::addColumn<QString>("satir");

        QTest::newRow("text then .SQL") << ZipGirdileri{{"oku.txt", "x"}, {"yedek.SQL", "S"}} << "yedek.SQL"
                                        << QByteArray("S") << "  ZIP acildi: yedek.SQL";
        QTest::newRow("two scripts, first wins") << ZipGirdileri{{"a.sql", "A"}, {"b.sql", "B"}} << "a.sql"
                                                 << QByteArray("A") << "  ZIP acildi: a.sql";
        QTest::newRow("no script") << ZipGirdileri{{"a.txt", "x"}, {"sql", "y"}} << QString() << QByteArray()
                                   << "  HATA: ZIP icinde .sql dosyasi yok";
        QTest::newRow("folders dropped") << ZipGirdileri{{"yedek/2024/d.sql", "D"}} << "d.sql" << QByteArray("D")
                                         << "  ZIP acildi: d.sql";
        QTest::newRow("climbing with ..") << ZipGirdileri{{"../../kacis.sql", "K"}} << "kacis.sql"
                                          << QByteArray("K") << "  ZIP acildi: kacis.sql";
        QTest::newRow("climbing with backslashes") << ZipGirdileri{{"..\\..\\kacis.sql", "K"}} << "kacis.sql"
                                                   << QByteArray("K") << "  ZIP acildi: kacis.sql";
        QTest::newRow("absolute name") << ZipGirdileri{{"/tmp/kacis.sql", "K"}} << "kacis.sql" << QByteArray("K")
                                       << "  ZIP acildi: kacis.sql";
        QTest::newRow("unusable name skipped") << ZipGirdileri{{"C:kacis.sql", "K"}, {"iyi.sql", "I"}} << "iyi.sql"
                                               << QByteArray("I") << "  ZIP acildi: iyi.sql";
        QTest::newRow("only unusable name") << ZipGirdileri{{"C:kacis.sql", "K"}} << QString() << QByteArray()
                                            << "  HATA: ZIP icinde .sql dosyasi yok";
    }
    void zipPicksEntry()
    {
        QFETCH(ZipGirdileri, girdiler);
        QFETCH(QString, ad);
        QFETCH(QByteArray, icerik);
        QFETCH(QString, satir);
        const QString zip = m_dir.filePath(QStringLiteral("z/yedek.zip"));
        QDir().mkpath(QFileInfo(zip).absolutePath());
        ZipYaz(zip, girdiler);
        const QString yol = ZipAc(zip, m_log);
        QCOMPARE(m_satirlar, QStringList{satir});
        if (ad.isEmpty()) {
            QCOMPARE(yol, QString());
            return;
        }
        // Always directly in a new work folder, whatever the entry name says.
        const QFileInfo fi(yol);
        QCOMPARE(fi.fileName(), ad);
        QVERIFY(fi.absolutePath().startsWith(QDir(m_tmp.Yol()).absoluteFilePath(QStringLiteral("kelmor_restore_"))));
        QCOMPARE(DosyaOku(yol), icerik);
        QCOMPARE(QDir(fi.absolutePath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{ad});
        QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("kacis.sql"))));
        QDir(fi.absolutePath()).removeRecursively();
    }

    void damagedArchiveIsRefused_data()
    {
        QTest::addColumn<QString>("bozulma");
        QTest::addColumn<QString>("neden");
        QTest::newRow("not an archive") << "metin" << "ZIP arsivi degil";
        QTest::newRow("stored entry, byte changed (CRC)") << "crc" << "CRC";
        QTest::newRow("deflated entry, data damaged") << "veri" << "";
        QTest::newRow("cut short") << "kesik" << "";
    }
    void damagedArchiveIsRefused()
    {
        QFETCH(QString, bozulma);
        QFETCH(QString, neden);
        const QString zip = m_dir.filePath(QStringLiteral("bozuk.zip"));
        QByteArray govde;
        for (int i = 0; i < 2000; ++i)
            govde += "INSERT INTO `t` VALUES (" + QByteArray::number(i * 7919 % 1000) + ");\n";
        if (bozulma == QLatin1String("metin")) {
            DosyaYaz(zip, "CREATE TABLE t (id int);\n");
        } else {
            ZipYaz(zip, {{"d.sql", govde}}, bozulma != QLatin1String("crc"));
            QByteArray b = DosyaOku(zip);
            if (bozulma == QLatin1String("kesik")) {
                b.truncate(b.size() / 2);
            } else {
                // The entry's data starts after its 30-byte local header and the name.
                const int veri = 30 + 5;
                const int i = bozulma == QLatin1String("crc") ? veri + 100 : veri + 40;
                b[i] = char(b[i] ^ 0x55);
            }
            DosyaYaz(zip, b);
        }
        QCOMPARE(ZipAc(zip, m_log), QString());
        QCOMPARE(m_satirlar.size(), 1);
        QVERIFY2(m_satirlar[0].startsWith(QStringLiteral("  HATA: ZIP acilamadi: ")) &&
                     m_satirlar[0].size() > 23 && m_satirlar[0].contains(neden),
                 qPrintable(m_satirlar[0]));
        // The listing of such a file gives nothing and leaves nothing behind.
        m_satirlar.clear();
        QCOMPARE(DosyadakiTablolar(zip, m_log), QStringList());
        QVERIFY(m_satirlar.value(0).startsWith(QStringLiteral("  HATA: ZIP acilamadi: ")));
    }

    void tablesOfScript_data()
    {
        QTest::addColumn<QByteArray>("betik");
        QTest::addColumn<QStringList>("tablolar");

        QTest::newRow("drop and create, each once, sorted")
            << QByteArray("DROP TABLE IF EXISTS `b`;\nCREATE TABLE `b` (x int);\n"
                          "DROP TABLE IF EXISTS `a`;\nCREATE TABLE `a` (x int);\n")
            << QStringList{"a", "b"};
        QTest::newRow("lower case") << QByteArray("create table orders (id int);\n") << QStringList{"orders"};
        QTest::newRow("two blanks not looked at") << QByteArray("create  table orders (id int);\n")
                                                  << QStringList{};
        QTest::newRow("drop of two tables") << QByteArray("DROP TABLE t1,t2;\n") << QStringList{"t1"};
        QTest::newRow("case kept, upper first")
            << QByteArray("CREATE TABLE `orders` (a int);\nCREATE TABLE `Orders` (a int);\nCREATE TABLE `b` (a int);\n")
            << QStringList{"Orders", "b", "orders"};
        QTest::newRow("quoted db part") << QByteArray("CREATE TABLE `db`.`t` (a int);\n") << QStringList{"db"};
        QTest::newRow("bare db part") << QByteArray("CREATE TABLE db.t (a int);\n") << QStringList{"db.t"};
        QTest::newRow("if not exists, double quotes")
            << QByteArray("CREATE TABLE IF NOT EXISTS \"q\" (a int);\n") << QStringList{"q"};
        QTest::newRow("both phrases: create only")
            << QByteArray("DROP TABLE x; CREATE TABLE y (a int);\n") << QStringList{"y"};
        QTest::newRow("BOM, CR LF, non-ASCII")
            << QByteArray(kBom + "CREATE TABLE `müşteri` (a int);\r\nDROP TABLE `ürün`;\r\n")
            << QStringList{QStringLiteral("müşteri"), QStringLiteral("ürün")};
        QTest::newRow("lone CR line ends")
            << QByteArray("CREATE TABLE `a` (x int);\rCREATE TABLE `b` (x int);\r") << QStringList{"a", "b"};
        QTest::newRow("UTF-16 LE") << Utf16(QStringLiteral("CREATE TABLE `ş1` (a int);\r\nDROP TABLE `b`;\r\n"), true)
                                   << QStringList{"b", QStringLiteral("ş1")};
        QTest::newRow("UTF-16 BE") << Utf16(QStringLiteral("CREATE TABLE `ş1` (a int);\nDROP TABLE `b`;\n"), false)
                                   << QStringList{"b", QStringLiteral("ş1")};
        QTest::newRow("dump") << QByteArray(kOnSoz + kA + kAVeri + kB + kBVeri + kKapanis) << QStringList{"a", "b"};
    }
    void tablesOfScript()
    {
        QFETCH(QByteArray, betik);
        QFETCH(QStringList, tablolar);
        const QString sql = Dosya(QStringLiteral("t.sql"), betik);
        QCOMPARE(SqldekiTablolar(sql), tablolar);
        // A .zip holding the same script lists the same, and its work folder goes.
        const QString zip = m_dir.filePath(QStringLiteral("t.ZIP"));
        ZipYaz(zip, {{"t.sql", betik}});
        QCOMPARE(DosyadakiTablolar(zip, m_log), tablolar);
        QCOMPARE(DosyadakiTablolar(sql, m_log), tablolar);
    }

    void missingFilesListNothing()
    {
        QCOMPARE(SqldekiTablolar(m_dir.filePath(QStringLiteral("yok.sql"))), QStringList());
        QCOMPARE(DosyadakiTablolar(m_dir.filePath(QStringLiteral("yok.zip")), m_log), QStringList());
        QCOMPARE(m_satirlar, QStringList());
    }

    void longLinesAcrossReadBuffers()
    {
        // A CR LF split between two 4096-byte reads is one line end, and a
        // two-byte character split between reads stays whole.
        QByteArray betik = QByteArray(4095, 'x') + "\r\nUSE `a`;\r\n";
        betik += "CREATE TABLE `" + QByteArray(5000, 'y') + "` (a int);\n";
        const QString sql = Dosya(QStringLiteral("uzun.sql"), betik);
        QCOMPARE(SqldekiTablolar(sql), QStringList{QString(5000, QLatin1Char('y'))});
        const QString temiz = SqlTemizle(sql, m_log);
        QCOMPARE(DosyaOku(temiz), kBom + QByteArray(4095, 'x') + "\r\nCREATE TABLE `" + QByteArray(5000, 'y') +
                                      "` (a int);\r\n");
        QDir(QFileInfo(temiz).absolutePath()).removeRecursively();

        const QString ad = QString(2046, QLatin1Char('k')) + QStringLiteral("ş");
        const QString utf16 = Dosya(QStringLiteral("uzun16.sql"),
                                    Utf16(QStringLiteral("CREATE TABLE `") + ad + QStringLiteral("` (a int);\r\n"), true));
        QCOMPARE(SqldekiTablolar(utf16), QStringList{ad});
    }

    void filterKeepsChosenSections_data()
    {
        QTest::addColumn<QByteArray>("betik");
        QTest::addColumn<QStringList>("secili");
        QTest::addColumn<QByteArray>("beklenen");
        QTest::addColumn<QString>("satir");
        const QByteArray dump = kOnSoz + kA + kAVeri + kB + kBVeri + kKapanis;

        QTest::newRow("a: closing lines go with b") << dump << QStringList{"a"} << QByteArray(kOnSoz + kA + kAVeri)
                                                    << "  1 tablo seçildi";
        QTest::newRow("b: closing lines and raw bytes stay")
            << dump << QStringList{"b"} << QByteArray(kOnSoz + kB + kBVeri + kKapanis) << "  1 tablo seçildi";
        QTest::newRow("Orders keeps nothing of orders")
            << QByteArray(kOnSoz + QByteArray(kA).replace("`a`", "`orders`")) << QStringList{"Orders"}
            << kOnSoz << "  1 tablo seçildi";
        QTest::newRow("count is of names asked for")
            << dump << QStringList{"a", "a", "yok"} << QByteArray(kOnSoz + kA + kAVeri) << "  3 tablo seçildi";
        QTest::newRow("BOM dropped, CR LF kept")
            << QByteArray(kBom + QByteArray(kOnSoz + kA + kB).replace("\n", "\r\n")) << QStringList{"b"}
            << QByteArray(QByteArray(kOnSoz + kB).replace("\n", "\r\n")) << "  1 tablo seçildi";
        QTest::newRow("non-ASCII name, view headers")
            << QByteArray(kOnSoz + "--\n-- Temporary table structure for view `görünüm`\n--\nV1\n" + kA +
                          "--\n-- FINAL VIEW STRUCTURE FOR VIEW `görünüm`\n--\nV2\n")
            << QStringList{QStringLiteral("görünüm")}
            << QByteArray(kOnSoz + "--\n-- Temporary table structure for view `görünüm`\n--\nV1\n"
                                   "--\n-- FINAL VIEW STRUCTURE FOR VIEW `görünüm`\n--\nV2\n")
            << "  1 tablo seçildi";
        QTest::newRow("UTF-16 read, UTF-8 written")
            << Utf16(QString::fromUtf8(kOnSoz + kA + kAVeri + QByteArray(kB).replace("`b`", "`ş`")), true)
            << QStringList{QStringLiteral("ş")} << QByteArray(kOnSoz + QByteArray(kB).replace("`b`", "`ş`"))
            << "  1 tablo seçildi";
    }
    void filterKeepsChosenSections()
    {
        QFETCH(QByteArray, betik);
        QFETCH(QStringList, secili);
        QFETCH(QByteArray, beklenen);
        QFETCH(QString, satir);
        const QString yol = SqlFiltrele(Dosya(QStringLiteral("f.sql"), betik), secili, m_log);
        QCOMPARE(QFileInfo(yol).fileName(), QStringLiteral("filtreli.sql"));
        QCOMPARE(DosyaOku(yol), kBom + beklenen);
        QCOMPARE(m_satirlar, QStringList{satir});
        QDir(QFileInfo(yol).absolutePath()).removeRecursively();
    }

    void filterNeedsHeaders()
    {
        const QString sql = Dosya(QStringLiteral("basliksiz.sql"), "CREATE TABLE a (x int);\nINSERT INTO a VALUES (1);\n");
        QCOMPARE(SqlFiltrele(sql, {QStringLiteral("a")}, m_log), QString());
        QCOMPARE(m_satirlar, QStringList{QStringLiteral("  UYARI: SQL formati tanınmadı, filtreleme yapılamadı")});
        // Lone CR line ends hide the headers too.
        m_satirlar.clear();
        const QString cr = Dosya(QStringLiteral("cr.sql"), QByteArray(kOnSoz + kA).replace("\n", "\r"));
        QCOMPARE(SqlFiltrele(cr, {QStringLiteral("a")}, m_log), QString());
        QCOMPARE(m_satirlar.size(), 1);
    }

    void cleanRemovesOnlyStatementLines_data()
    {
        QTest::addColumn<QByteArray>("betik");
        QTest::addColumn<QByteArray>("beklenen"); // empty: the script comes back unchanged
        QTest::addColumn<int>("silinen");

        QTest::newRow("nothing to remove")
            << QByteArray("CREATE TABLE a (x int);\nINSERT INTO a VALUES ('USE x');") << QByteArray() << 0;
        QTest::newRow("USE lines")
            << QByteArray("USE `shop`;\n   use `shop`;\nUSE`shop`;\nUSER_DATA;\nUSE\n\tUSE x;\n")
            << QByteArray("USE`shop`;\r\nUSER_DATA;\r\nUSE\r\n") << 3;
        QTest::newRow("CREATE DATABASE statements only")
            << QByteArray("CREATE DATABASE /*!32312 IF NOT EXISTS*/ `shop` /*!40100 DEFAULT CHARACTER SET utf8mb4 */;\n"
                          "  create database x;\n"
                          "INSERT INTO t VALUES ('CREATE DATABASE x'),('create database y;'),('USE z');\n"
                          "SELECT 1; CREATE DATABASE q;\n")
            << QByteArray("INSERT INTO t VALUES ('CREATE DATABASE x'),('create database y;'),('USE z');\r\n"
                          "SELECT 1; CREATE DATABASE q;\r\n")
            << 2;
        QTest::newRow("LF, no BOM, last line open")
            << QByteArray("USE a;\nSELECT 1;\nSELECT 2;") << QByteArray("SELECT 1;\r\nSELECT 2;\r\n") << 1;
        QTest::newRow("lone CR, BOM, raw bytes")
            << QByteArray(kBom + QByteArrayLiteral("USE a;\rINSERT INTO b VALUES ('\xFF\x00\x80');\r\r"))
            << QByteArrayLiteral("INSERT INTO b VALUES ('\xFF\x00\x80');\r\n\r\n") << 1;
        QTest::newRow("UTF-16 BE in, UTF-8 out")
            << Utf16(QStringLiteral("USE `ş`;\nINSERT INTO ş VALUES ('ğ');\n"), false)
            << QStringLiteral("INSERT INTO ş VALUES ('ğ');\r\n").toUtf8() << 1;
    }
    void cleanRemovesOnlyStatementLines()
    {
        QFETCH(QByteArray, betik);
        QFETCH(QByteArray, beklenen);
        QFETCH(int, silinen);
        const QString sql = Dosya(QStringLiteral("c.sql"), betik);
        const QString yol = SqlTemizle(sql, m_log);
        QCOMPARE(DosyaOku(sql), betik); // the source is only read
        if (silinen == 0) {
            QCOMPARE(yol, sql);
            QCOMPARE(m_satirlar, QStringList());
            return;
        }
        QCOMPARE(QFileInfo(yol).fileName(), QStringLiteral("temiz.sql"));
        QCOMPARE(DosyaOku(yol), kBom + beklenen);
        QCOMPARE(m_satirlar,
                 QStringList{QStringLiteral("  %1 satir temizlendi (CREATE DATABASE / USE)").arg(silinen)});
        QDir(QFileInfo(yol).absolutePath()).removeRecursively();
    }

    void missingScriptIsLeftAlone()
    {
        const QString yok = m_dir.filePath(QStringLiteral("yok.sql"));
        QCOMPARE(SqlTemizle(yok, m_log), yok);
        QCOMPARE(m_satirlar, QStringList());
    }

    void nothingTellsWithoutCallback()
    {
        // An empty callback is simply not called.
        const QString sql = Dosya(QStringLiteral("n.sql"), kOnSoz + kA + "USE x;\n");
        const QString f = SqlFiltrele(sql, {QStringLiteral("a")}, TLogProc());
        const QString t = SqlTemizle(f, TLogProc());
        QVERIFY(t != f);
        QDir(QFileInfo(f).absolutePath()).removeRecursively();
        QDir(QFileInfo(t).absolutePath()).removeRecursively();
        QCOMPARE(ZipAc(sql, TLogProc()), QString());
    }
};

QTEST_GUILESS_MAIN(TestScriptAnalysis)
#include "TestScriptAnalysis.moc"
