// Real backups replayed by the real client into the suite's server: whole, per
// table, with database-switching lines and with data that only looks like them.
#include "backup/uBackupLogic.h"
#include "platform/AppPaths.h"
#include "restore/uRestoreLogic.h"
#include "tests/common/TestSunucu.h"
#include "tests/restore/RestoreTestYardimci.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString kAyirici(50, QLatin1Char('='));

QStringList Satirlar(const QString& metin) { return metin.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }

QStringList Tablolar(const QString& db)
{
    return Satirlar(TestSunucu::Sql(QStringLiteral("SELECT table_name FROM information_schema.tables WHERE "
                                                   "table_schema='%1' AND table_type='BASE TABLE' ORDER BY BINARY table_name")
                                        .arg(db)));
}

QString Checksum(const QString& db, const QString& tablo)
{
    const QString s = TestSunucu::Sql(QStringLiteral("CHECKSUM TABLE `%1`.`%2`").arg(db, tablo)).trimmed();
    return s.section(QLatin1Char('\t'), -1);
}

QString Say(const QString& sql) { return TestSunucu::Sql(sql).trimmed(); }

bool DbVar(const QString& db)
{
    return Say(QStringLiteral("SELECT COUNT(*) FROM information_schema.schemata WHERE schema_name='%1'").arg(db)) ==
           QLatin1String("1");
}

} // namespace

class TestRestoreServer : public QObject {
    Q_OBJECT
    OzelTmp m_tmp;
    QTemporaryDir m_dir;
    QString m_kaynak;    // the source database
    QString m_zipYedek;  // its full backup, packed by the backup engine
    QString m_sqlYedek;  // the same, unpacked
    QStringList m_satirlar;
    TLogProc m_log = [this](const QString& s) { m_satirlar << s; };

    QString Yedekle(bool zip)
    {
        TYedekIstegi y;
        y.Ayar = TestSunucu::Ayar();
        y.Veritabani = m_kaynak;
        y.YedekMod = bmTam;
        y.HedefKlasor = m_dir.filePath(zip ? QStringLiteral("zip") : QStringLiteral("sql"));
        y.ZipYap = zip;
        const TYedekSonuc s = YedekAl(y, TLogProc());
        if (!s.Basarili)
            qFatal("backup failed: %s", qPrintable(s.Hata));
        return s.DosyaYolu;
    }

    TRestoreIstegi Istek(const QString& kaynak, const QString& hedef)
    {
        TRestoreIstegi i;
        i.Ayar = TestSunucu::Ayar();
        i.KaynakDosya = kaynak;
        i.HedefVeritabani = hedef;
        i.DBOlustur = true;
        return i;
    }

    void AyniTablolar(const QString& hedef, const QStringList& tablolar)
    {
        QCOMPARE(Tablolar(hedef), tablolar);
        for (const QString& t : tablolar)
            QCOMPARE(Checksum(hedef, t), Checksum(m_kaynak, t));
    }

private Q_SLOTS:
    void initTestCase()
    {
        SUNUCU_GEREKLI();
        ExeKlasoruAyarla(m_dir.path()); // the backup engine's debug log lands here
        m_kaynak = TestSunucu::YeniAd(QStringLiteral("geri_kaynak"));
        TestSunucu::Sql(QStringLiteral("CREATE DATABASE `%1` CHARACTER SET utf8mb4").arg(m_kaynak));
        QString ikili = QStringLiteral("0x");
        for (int i = 0; i < 256; ++i)
            ikili += QStringLiteral("%1").arg(i, 2, 16, QLatin1Char('0'));
        TestSunucu::Sql(QStringLiteral(
            "CREATE TABLE orders (id INT PRIMARY KEY, note VARCHAR(200)) DEFAULT CHARSET=utf8mb4;"
            "CREATE TABLE `Orders` (id INT PRIMARY KEY, tutar DECIMAL(10,2));"
            "CREATE TABLE musteri (id INT AUTO_INCREMENT PRIMARY KEY, ad VARCHAR(100), notlar TEXT) DEFAULT CHARSET=utf8mb4;"
            "CREATE TABLE ikili (id INT PRIMARY KEY, veri BLOB);"
            "INSERT INTO orders VALUES (1,'CREATE DATABASE evil;'),(2,'USE other;'),(3,'create database x'),"
            "(4,'şğüİı 😀');"
            "INSERT INTO `Orders` VALUES (1,10.50),(2,99.99);"
            "INSERT INTO musteri (ad, notlar) VALUES ('Ayşe','satir\\nUSE x;\\nCREATE DATABASE y;'),('Çağrı','USE `z`;');"
            "INSERT INTO ikili VALUES (1,%1),(2,0x0D0A0D00FF);"
            "CREATE VIEW v_musteri AS SELECT id, ad FROM musteri;"
            "CREATE TRIGGER trg_orders BEFORE INSERT ON orders FOR EACH ROW SET NEW.note = CONCAT('t:', NEW.note);"
            "CREATE PROCEDURE p_say() SELECT COUNT(*) FROM orders;"
            "CREATE FUNCTION f_iki(x INT) RETURNS INT DETERMINISTIC RETURN x*2;")
                            .arg(ikili),
                        m_kaynak);
        m_zipYedek = Yedekle(true);
        m_sqlYedek = Yedekle(false);
        QVERIFY(m_zipYedek.endsWith(QLatin1String(".zip")));
        QVERIFY(m_sqlYedek.endsWith(QLatin1String(".sql")));
    }
    void init() { m_satirlar.clear(); }
    void cleanup()
    {
        const QStringList kalan = KalanGeciciler();
        for (const QString& ad : kalan)
            QDir(QDir::temp().filePath(ad)).removeRecursively(), QFile::remove(QDir::temp().filePath(ad));
        QCOMPARE(kalan, QStringList());
    }

    void wholeBackupRestoresEqual()
    {
        const QString hedef = TestSunucu::YeniAd(QStringLiteral("geri_tam"));
        const TRestoreSonuc s = GeriYukle(Istek(m_zipYedek, hedef), m_log);
        QVERIFY2(s.Basarili, qPrintable(s.Hata + QLatin1Char('|') + m_satirlar.join(QLatin1Char('|'))));
        QVERIFY(!m_satirlar.contains(QStringLiteral("  Cikti:")));
        AyniTablolar(hedef, {QStringLiteral("Orders"), QStringLiteral("ikili"), QStringLiteral("musteri"),
                             QStringLiteral("orders")});
        QCOMPARE(Say(QStringLiteral("SELECT GROUP_CONCAT(ad ORDER BY id) FROM `%1`.v_musteri").arg(hedef)),
                 QStringLiteral("Ayşe,Çağrı"));
        QCOMPARE(Say(QStringLiteral("SELECT trigger_name FROM information_schema.triggers WHERE trigger_schema='%1'")
                         .arg(hedef)),
                 QStringLiteral("trg_orders"));
        QCOMPARE(Say(QStringLiteral("SELECT GROUP_CONCAT(routine_name ORDER BY routine_name) FROM "
                                    "information_schema.routines WHERE routine_schema='%1'")
                         .arg(hedef)),
                 QStringLiteral("f_iki,p_say"));
        // Rows that only mention the words are data and arrive whole.
        QCOMPARE(Say(QStringLiteral("SELECT note FROM `%1`.orders WHERE id=1").arg(hedef)),
                 QStringLiteral("CREATE DATABASE evil;"));
        QVERIFY(!DbVar(QStringLiteral("evil")));
    }

    void chosenTablesOnly()
    {
        // The dump of a whole server names its database; the run must ignore that.
        const QString baska = TestSunucu::YeniAd(QStringLiteral("geri_baska"));
        const QByteArray onEk = "CREATE DATABASE /*!32312 IF NOT EXISTS*/ `" + baska.toUtf8() + "`;\nUSE `" +
                                baska.toUtf8() + "`;\n";
        const QString zip = m_dir.filePath(QStringLiteral("secili.zip"));
        ZipYaz(zip, {{QFileInfo(m_sqlYedek).fileName(), onEk + DosyaOku(m_sqlYedek)}});

        const QString hedef = TestSunucu::YeniAd(QStringLiteral("geri_secili"));
        TRestoreIstegi i = Istek(zip, hedef);
        i.RestoreMod = rmTablolar;
        i.SeciliTablolar = {QStringLiteral("Orders"), QStringLiteral("musteri")};
        const TRestoreSonuc s = GeriYukle(i, m_log);
        QVERIFY2(s.Basarili, qPrintable(s.Hata + QLatin1Char('|') + m_satirlar.join(QLatin1Char('|'))));
        AyniTablolar(hedef, {QStringLiteral("Orders"), QStringLiteral("musteri")});
        QVERIFY(!DbVar(baska));

        QCOMPARE(m_satirlar.size(), 13);
        QVERIFY(QRegularExpression(QStringLiteral("^  SQL calistiriliyor \\(\\d+ KB\\)\\.\\.\\.$"))
                    .match(m_satirlar.value(9))
                    .hasMatch());
        m_satirlar[9] = QStringLiteral("SQL");
        QCOMPARE(m_satirlar, (QStringList{kAyirici, QStringLiteral("Geri yukleme basliyor"),
                                          QStringLiteral("  Kaynak: secili.zip"), QStringLiteral("  Hedef DB: ") + hedef,
                                          QStringLiteral("  ZIP acildi: ") + QFileInfo(m_sqlYedek).fileName(),
                                          QStringLiteral("  Tablolar filtreleniyor..."), QStringLiteral("  2 tablo seçildi"),
                                          QStringLiteral("  2 satir temizlendi (CREATE DATABASE / USE)"),
                                          QStringLiteral("  Hedef DB yok, olusturuluyor: ") + hedef, QStringLiteral("SQL"),
                                          QString(), QStringLiteral("GERI YUKLEME TAMAM"), kAyirici}));
    }

    void useLineLandsInTarget()
    {
        const QString baska = TestSunucu::YeniAd(QStringLiteral("geri_use"));
        const QString hedef = TestSunucu::YeniAd(QStringLiteral("geri_hedef"));
        TestSunucu::Sql(QStringLiteral("CREATE DATABASE `%1`").arg(hedef));
        const QString betik = m_dir.filePath(QStringLiteral("use.sql"));
        DosyaYaz(betik, QStringLiteral("CREATE DATABASE IF NOT EXISTS `%1`;\r\n"
                                       "  use `%1`;\r\n"
                                       "CREATE TABLE t (id INT, s VARCHAR(100)) DEFAULT CHARSET=utf8mb4;\r\n"
                                       "INSERT INTO t VALUES (1,'CREATE DATABASE q'),(2,'USE other'),(3,'ğ');\r\n")
                            .arg(baska)
                            .toUtf8());
        const TRestoreSonuc s = GeriYukle(Istek(betik, hedef), m_log);
        QVERIFY2(s.Basarili, qPrintable(s.Hata + QLatin1Char('|') + m_satirlar.join(QLatin1Char('|'))));
        // It existed: nothing created, nothing asked.
        QVERIFY(!m_satirlar.join(QLatin1Char('|')).contains(QStringLiteral("Hedef DB yok")));
        QVERIFY(!DbVar(baska));
        QCOMPARE(Say(QStringLiteral("SELECT GROUP_CONCAT(s ORDER BY id SEPARATOR '|') FROM `%1`.t").arg(hedef)),
                 QStringLiteral("CREATE DATABASE q|USE other|ğ"));
    }

    void missingTargetWithoutCreation()
    {
        const QString hedef = TestSunucu::YeniAd(QStringLiteral("geri_yok"));
        TRestoreIstegi i = Istek(m_sqlYedek, hedef);
        i.DBOlustur = false;
        const TRestoreSonuc s = GeriYukle(i, m_log);
        QVERIFY(!s.Basarili);
        QCOMPARE(s.Hata, QStringLiteral("Geri yukleme basarisiz (cikis kodu 1)"));
        const qsizetype c = m_satirlar.indexOf(QStringLiteral("  Cikti:"));
        QVERIFY2(c > 0 && m_satirlar.value(c + 1).contains(QStringLiteral("Unknown database")),
                 qPrintable(m_satirlar.join(QLatin1Char('|'))));
        QVERIFY(!DbVar(hedef));
    }
};

QTEST_GUILESS_MAIN(TestRestoreServer)
#include "TestRestoreServer.moc"
