#include "core/uLog.h"
#include "db/uDatabase.h"
#include "platform/AppPaths.h"
#include "tests/common/TestSunucu.h"

#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

// Backquoted identifier for the test's own SQL.
QString Tirnak(const QString& ad)
{
    QString t = ad;
    return u'`' + t.replace(u'`', QStringLiteral("``")) + u'`';
}

// String literal for the test's own SQL (the client runs with backslash escapes on).
QString Dize(const QString& s)
{
    QString t = s;
    t.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + t + u'\'';
}

QStringList SatirlarOku(const QString& cikti)
{
    return cikti.split(u'\n', Qt::SkipEmptyParts);
}

// The texts of the debug log lines after the header, time stamps cut off.
QStringList LogMetinleri()
{
    QStringList metinler;
    const QStringList satirlar = QString::fromUtf8(DosyaOku(LogDosyasi())).split(QStringLiteral("\r\n"));
    for (const QString& s : satirlar) {
        const qsizetype i = s.indexOf(QStringLiteral(" | "));
        if (i == 12) metinler << s.mid(i + 3);
    }
    return metinler;
}

// A loopback port that refuses connections: bound but never listening, so no
// other process can take it while the socket lives.
class KapaliPort
{
public:
    KapaliPort()
    {
        m_fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t n = sizeof a;
        if (m_fd < 0 || bind(m_fd, reinterpret_cast<sockaddr*>(&a), n) != 0 ||
            getsockname(m_fd, reinterpret_cast<sockaddr*>(&a), &n) != 0)
            qFatal("cannot reserve a loopback port");
        m_port = ntohs(a.sin_port);
    }
    ~KapaliPort() { close(m_fd); }
    int Port() const { return m_port; }

private:
    int m_fd = -1;
    int m_port = 0;
};

// A user of the test server of its own, dropped with the object; its connections
// can be counted apart from those of other tests running at the same time.
class GeciciKullanici
{
public:
    GeciciKullanici(const QString& onek, bool yetkili) : m_ad(TestSunucu::YeniAd(onek))
    {
        TestSunucu::Sql(
            QStringLiteral("CREATE USER '%1'@'%' IDENTIFIED BY 'pw';").arg(m_ad) +
            (yetkili ? QStringLiteral("GRANT ALL PRIVILEGES ON *.* TO '%1'@'%';").arg(m_ad) : QString()));
    }
    ~GeciciKullanici() { TestSunucu::Sql(QStringLiteral("DROP USER IF EXISTS '%1'@'%';").arg(m_ad)); }
    TKelmorAyar Ayar() const
    {
        TKelmorAyar a = TestSunucu::Ayar();
        a.Kullanici = m_ad;
        a.Sifre = QStringLiteral("pw");
        return a;
    }
    int AcikBaglanti() const
    {
        return TestSunucu::Sql(
                   QStringLiteral("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE USER = '%1';")
                       .arg(m_ad))
            .trimmed()
            .toInt();
    }

private:
    QString m_ad;
};

} // namespace

class TestDatabase : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QStringList m_silinecek; // databases a test created, dropped in cleanup()

    QString YeniDb(const QString& ad, const QString& ek = QString())
    {
        m_silinecek << ad;
        // Fixed names may be left over from an interrupted run.
        TestSunucu::Sql(QStringLiteral("DROP DATABASE IF EXISTS ") + Tirnak(ad) +
                        QStringLiteral("; CREATE DATABASE ") + Tirnak(ad) + u' ' + ek + u';');
        return ad;
    }

private Q_SLOTS:
    void init()
    {
        ExeKlasoruAyarla(m_dir.path());
        QVERIFY(LogBaslat());
    }

    void cleanup()
    {
        for (const QString& ad : std::as_const(m_silinecek))
            TestSunucu::Sql(QStringLiteral("DROP DATABASE IF EXISTS ") + Tirnak(ad) + u';');
        m_silinecek.clear();
    }

    void testReadsVersionAndLogsFiveLines()
    {
        SUNUCU_GEREKLI();
        const TKelmorAyar a = TestSunucu::Ayar();
        QString hata = QStringLiteral("old"), versiyon = QStringLiteral("old");
        QVERIFY(TDB::Test(a, hata, versiyon));
        QCOMPARE(hata, QString());
        QCOMPARE(versiyon, TestSunucu::Sql(QStringLiteral("SELECT VERSION();")).trimmed());
        QCOMPARE(
            LogMetinleri(),
            (QStringList{
                QStringLiteral("TDB.Test -> %1:%2 kullanici=%3").arg(a.Host).arg(a.Port).arg(a.Kullanici),
                QStringLiteral("  BaglantiKur tamam, Connect deniyoruz..."),
                QStringLiteral("  Connect basarili"),
                QStringLiteral("  Versiyon: ") + versiyon,
                QStringLiteral("TDB.Test sonuc: True"),
            }));
        QVERIFY(!LogMetinleri().join(u'\n').contains(a.Sifre));
    }

    // Without TCP forced, "localhost" would go to the default local socket, not to this port.
    void testLocalhostUsesTheGivenPort()
    {
        SUNUCU_GEREKLI();
        TKelmorAyar a = TestSunucu::Ayar();
        a.Host = QStringLiteral("localhost");
        QString hata, versiyon;
        QVERIFY2(TDB::Test(a, hata, versiyon), qPrintable(hata));
    }

    void testWrongPasswordIsRefused()
    {
        SUNUCU_GEREKLI();
        TKelmorAyar a = TestSunucu::Ayar();
        a.Sifre = QStringLiteral("yanlış");
        QString hata = QStringLiteral("old"), versiyon = QStringLiteral("old");
        QVERIFY(!TDB::Test(a, hata, versiyon));
        QVERIFY2(hata.startsWith(QStringLiteral("Access denied for user '%1'@").arg(a.Kullanici)),
                 qPrintable(hata));
        QCOMPARE(versiyon, QString());
        QCOMPARE(
            LogMetinleri(),
            (QStringList{
                QStringLiteral("TDB.Test -> %1:%2 kullanici=%3").arg(a.Host).arg(a.Port).arg(a.Kullanici),
                QStringLiteral("  BaglantiKur tamam, Connect deniyoruz..."),
                QStringLiteral("  HATA: EMariaDBHata: ") + hata,
                QStringLiteral("TDB.Test sonuc: False"),
            }));
    }

    void testEveryOperationFailsWithoutServer()
    {
        KapaliPort kapali;
        TKelmorAyar a;
        a.Host = QStringLiteral("127.0.0.1");
        a.Port = kapali.Port();
        a.Kullanici = QStringLiteral("root");
        QString hata, versiyon;
        const auto baglanamadi = [&] {
            return hata.startsWith(QStringLiteral("Can't connect to server on '127.0.0.1'"));
        };
        QVERIFY(!TDB::Test(a, hata, versiyon));
        QVERIFY2(baglanamadi(), qPrintable(hata));
        QCOMPARE(TDB::Veritabanlari(a, hata), QStringList());
        QVERIFY2(baglanamadi(), qPrintable(hata));
        QCOMPARE(TDB::Tablolar(a, QStringLiteral("mysql"), hata), QStringList());
        QVERIFY2(baglanamadi(), qPrintable(hata));
        QVERIFY(!TDB::VeritabaniVarMi(a, QStringLiteral("mysql")));
        QVERIFY(!TDB::VeritabaniOlustur(a, QStringLiteral("kt_never"), hata));
        QVERIFY2(baglanamadi(), qPrintable(hata));
        QVERIFY(!LogMetinleri().contains(QStringLiteral("  Connect basarili")));
    }

    // A user without privileges sees only information_schema: a server with nothing to show.
    void testOnlySystemDatabasesGiveAnEmptyList()
    {
        SUNUCU_GEREKLI();
        GeciciKullanici u(QStringLiteral("bos"), false);
        QString hata = QStringLiteral("old");
        QCOMPARE(TDB::Veritabanlari(u.Ayar(), hata), QStringList());
        QCOMPARE(hata, QString());
    }

    void testSystemNamesLeftOutIgnoringAsciiCase()
    {
        SUNUCU_GEREKLI();
        const QString onek = TestSunucu::YeniAd(QStringLiteral("ls"));
        const QString kalir1 = YeniDb(onek + QStringLiteral("_b")),
                      kalir2 = YeniDb(onek + QStringLiteral("_a"));
        // Names that differ from a system name by more than the case of A-Z stay.
        const QString benzer1 = YeniDb(QStringLiteral("Sysx")), benzer2 = YeniDb(QStringLiteral("ſys"));
        YeniDb(QStringLiteral("MYSQL"));
        YeniDb(QStringLiteral("Sys"));
        QString hata;
        const QStringList liste = TDB::Veritabanlari(TestSunucu::Ayar(), hata);
        QCOMPARE(hata, QString());
        for (const char* sistem :
             {"information_schema", "mysql", "MYSQL", "performance_schema", "sys", "Sys"})
            QVERIFY2(!liste.contains(QString::fromUtf8(sistem)), sistem);
        for (const QString& ad : {kalir1, kalir2, benzer1, benzer2})
            QVERIFY2(liste.contains(ad), qPrintable(ad));
        // The server's order, not a sorted one.
        QStringList sunucuSirasi, bizimSiramiz;
        for (const QString& ad : SatirlarOku(TestSunucu::Sql(QStringLiteral("SHOW DATABASES;"))))
            if (ad.startsWith(onek)) sunucuSirasi << ad;
        for (const QString& ad : liste)
            if (ad.startsWith(onek)) bizimSiramiz << ad;
        QCOMPARE(bizimSiramiz, sunucuSirasi);
    }

    void testBaseTablesSortedByCodeUnits()
    {
        SUNUCU_GEREKLI();
        const QString db = YeniDb(TestSunucu::YeniAd(QStringLiteral("tbl_ş")));
        TestSunucu::Sql(
            QStringLiteral(
                "CREATE TABLE b (i INT); CREATE TABLE A (i INT); CREATE TABLE a (i INT);"
                "CREATE TABLE `ç` (i INT); CREATE TABLE Z (i INT); CREATE VIEW v AS SELECT 1 AS i;"),
            db);
        QString hata = QStringLiteral("old");
        QCOMPARE(TDB::Tablolar(TestSunucu::Ayar(), db, hata),
                 (QStringList{QStringLiteral("A"), QStringLiteral("Z"), QStringLiteral("a"),
                              QStringLiteral("b"), QStringLiteral("ç")}));
        QCOMPARE(hata, QString());

        const QString bos = YeniDb(TestSunucu::YeniAd(QStringLiteral("tbl_bos")));
        QCOMPARE(TDB::Tablolar(TestSunucu::Ayar(), bos, hata), QStringList());
        QCOMPARE(hata, QString());
    }

    void testTablesOfMissingDatabase()
    {
        SUNUCU_GEREKLI();
        const QString yok = TestSunucu::YeniAd(QStringLiteral("yok"));
        QString hata;
        QCOMPARE(TDB::Tablolar(TestSunucu::Ayar(), yok, hata), QStringList());
        QCOMPARE(hata, QStringLiteral("Unknown database '%1'").arg(yok));
    }

    void testExistenceMatchesOnlyTheExactName()
    {
        SUNUCU_GEREKLI();
        const QString k = TestSunucu::YeniAd(QStringLiteral("var"));
        YeniDb(k + QStringLiteral("_shopx1"));
        YeniDb(k + QStringLiteral("_Shop"));
        const QString garip = YeniDb(k + QStringLiteral("_a'b\\c_%d\"ş"));
        const TKelmorAyar a = TestSunucu::Ayar();
        struct Durum {
            QString ad;
            bool var;
        };
        const Durum durumlar[] = {
            {k + QStringLiteral("_shopx1"), true},
            {k + QStringLiteral("_shop_1"), false}, // "_" is no wildcard
            {k + QStringLiteral("_shop%"), false},  // nor is "%"
            {k + QStringLiteral("%"), false},
            {k + QStringLiteral("_shop"), false}, // names are case-sensitive on this server
            {k + QStringLiteral("_Shop"), true},
            {garip, true},
            {k + QStringLiteral("_a'b\\c_%d\"s"), false},
            {k + QStringLiteral("_a'b\\\\c_%d\"ş"), false},
            {k + QStringLiteral("_a'bxc_%d\"ş"), false},
            {QString(), false}, // the server would take an empty pattern as "every database"
        };
        for (const Durum& d : durumlar)
            QVERIFY2(TDB::VeritabaniVarMi(a, d.ad) == d.var, qPrintable(d.ad));
    }

    void testCreateNewDatabaseWithItsCharset()
    {
        SUNUCU_GEREKLI();
        // A backquote in the name must stay part of the name, not end it.
        const QString hedef = YeniDb(TestSunucu::YeniAd(QStringLiteral("h")));
        const QString ad = TestSunucu::YeniAd(QStringLiteral("ş")) + QStringLiteral("`; DROP DATABASE `") +
                           hedef + QStringLiteral("`; #");
        m_silinecek << ad;
        QString hata = QStringLiteral("old");
        QVERIFY2(TDB::VeritabaniOlustur(TestSunucu::Ayar(), ad, hata), qPrintable(hata));
        QCOMPARE(hata, QString());
        QCOMPARE(
            TestSunucu::Sql(QStringLiteral("SELECT DEFAULT_CHARACTER_SET_NAME, DEFAULT_COLLATION_NAME FROM "
                                           "information_schema.SCHEMATA WHERE SCHEMA_NAME = %1;")
                                .arg(Dize(ad)))
                .trimmed(),
            QStringLiteral("utf8mb4\tutf8mb4_unicode_ci"));
        QVERIFY(TDB::VeritabaniVarMi(TestSunucu::Ayar(), hedef));
    }

    void testCreateExistingDatabaseLeavesItUnchanged()
    {
        SUNUCU_GEREKLI();
        const QString ad = YeniDb(TestSunucu::YeniAd(QStringLiteral("eski")),
                                  QStringLiteral("CHARACTER SET latin1 COLLATE latin1_swedish_ci"));
        TestSunucu::Sql(QStringLiteral("CREATE TABLE t (i INT); INSERT INTO t VALUES (7);"), ad);
        QString hata = QStringLiteral("old");
        QVERIFY2(TDB::VeritabaniOlustur(TestSunucu::Ayar(), ad, hata), qPrintable(hata));
        QCOMPARE(hata, QString());
        QCOMPARE(
            TestSunucu::Sql(QStringLiteral("SELECT DEFAULT_CHARACTER_SET_NAME, DEFAULT_COLLATION_NAME FROM "
                                           "information_schema.SCHEMATA WHERE SCHEMA_NAME = %1;"
                                           "SELECT i FROM %2.t;")
                                .arg(Dize(ad), Tirnak(ad)))
                .trimmed(),
            QStringLiteral("latin1\tlatin1_swedish_ci\n7"));
    }

    void testCreateRefusedByServer()
    {
        SUNUCU_GEREKLI();
        QString hata;
        QVERIFY(!TDB::VeritabaniOlustur(TestSunucu::Ayar(), QString(), hata));
        QCOMPARE(hata, QStringLiteral("Incorrect database name ''"));
    }

    // Every call closes its connection, also when it fails half way.
    void testNoConnectionStaysOpen()
    {
        SUNUCU_GEREKLI();
        GeciciKullanici u(QStringLiteral("bag"), true);
        const TKelmorAyar a = u.Ayar();
        TKelmorAyar yanlis = a;
        yanlis.Sifre = QStringLiteral("yanlis");
        const QString db = YeniDb(TestSunucu::YeniAd(QStringLiteral("bag")));
        QCOMPARE(u.AcikBaglanti(), 0);
        QString hata, versiyon;
        QVERIFY(TDB::Test(a, hata, versiyon));
        QVERIFY(!TDB::Test(yanlis, hata, versiyon));
        QVERIFY(!TDB::Veritabanlari(a, hata).isEmpty());
        QVERIFY(TDB::Veritabanlari(yanlis, hata).isEmpty());
        QCOMPARE(TDB::Tablolar(a, db, hata), QStringList());
        QVERIFY(TDB::Tablolar(a, db + QStringLiteral("_yok"), hata).isEmpty() && !hata.isEmpty());
        QVERIFY(TDB::VeritabaniVarMi(a, db));
        QVERIFY(!TDB::VeritabaniVarMi(yanlis, db));
        QVERIFY(TDB::VeritabaniOlustur(a, db, hata));
        QVERIFY(!TDB::VeritabaniOlustur(a, QString(), hata));
        // The server drops a closed session from its list a moment after the client leaves.
        QTRY_COMPARE_WITH_TIMEOUT(u.AcikBaglanti(), 0, 5000);
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "TestDatabase.moc"
