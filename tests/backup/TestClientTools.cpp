// The pieces that prepare a dump run: tool lookup, the option file, the command
// line and the verdict on the error stream. No tool is run here.
#include "backup/uBackupLogic.h"
#include "tests/common/TestSunucu.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(TKelmorAyar)
Q_DECLARE_METATYPE(TYedekIstegi)

namespace {

TYedekIstegi Istek(TYedekMod mod, const QString& db, const QStringList& tablolar = {})
{
    TYedekIstegi i;
    i.Veritabani = db;
    i.YedekMod = mod;
    i.Tablolar = tablolar;
    return i;
}

TKelmorAyar Ayar(const QString& host, int port, const QString& user, const QString& sifre)
{
    TKelmorAyar a;
    a.Host = host;
    a.Port = port;
    a.Kullanici = user;
    a.Sifre = sifre;
    return a;
}

QStringList CnfDosyalari(const QString& klasor)
{
    return QDir(klasor).entryList({QStringLiteral("kelmor_*.cnf")}, QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace

class TestClientTools : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_tmp; // private temporary folder of this test (TMPDIR)

private Q_SLOTS:
    void initTestCase()
    {
        m_tmp = m_dir.filePath(QStringLiteral("tmp"));
        QVERIFY(QDir().mkpath(m_tmp));
        qputenv("TMPDIR", QFile::encodeName(m_tmp));
        QCOMPARE(QDir::tempPath(), m_tmp);
    }

    void toolLookup_data()
    {
        QTest::addColumn<QStringList>("dosyalar");
        QTest::addColumn<QString>("dump");
        QTest::addColumn<QString>("client");
        QTest::newRow("both of each") << QStringList{"mariadb-dump", "mysqldump", "mariadb", "mysql"}
                                      << "mariadb-dump" << "mariadb";
        QTest::newRow("only the old names") << QStringList{"mysqldump", "mysql"} << "mysqldump" << "mysql";
        QTest::newRow("neither") << QStringList{"mariadb-dump.exe", "other"} << "" << "";
        QTest::newRow("folder of that name is no tool") << QStringList{"mariadb-dump/", "mysql"} << "" << "mysql";
    }

    void toolLookup()
    {
        QFETCH(QStringList, dosyalar);
        QFETCH(QString, dump);
        QFETCH(QString, client);
        QTemporaryDir bin;
        for (const QString& d : dosyalar) {
            if (d.endsWith(QLatin1Char('/')))
                QDir(bin.path()).mkpath(d);
            else
                DosyaYaz(bin.filePath(d), "x");
        }
        const QString b = bin.path();
        for (const QString& klasor : {b, b + QLatin1Char('/')}) {
            QCOMPARE(DumpExeBul(klasor), dump.isEmpty() ? QString() : b + QLatin1Char('/') + dump);
            QCOMPARE(ClientExeBul(klasor), client.isEmpty() ? QString() : b + QLatin1Char('/') + client);
        }
    }

    void toolLookupFollowsLinksAndNeedsAFolder()
    {
        QTemporaryDir bin;
        DosyaYaz(m_dir.filePath(QStringLiteral("gercek")), "x");
        QVERIFY(QFile::link(m_dir.filePath(QStringLiteral("gercek")), bin.filePath(QStringLiteral("mysqldump"))));
        QCOMPARE(DumpExeBul(bin.path()), bin.filePath(QStringLiteral("mysqldump")));
        QCOMPARE(DumpExeBul(QString()), QString());
        QCOMPARE(ClientExeBul(QString()), QString());
    }

    void pathJoin_data()
    {
        QTest::addColumn<QString>("klasor");
        QTest::addColumn<QString>("ad");
        QTest::addColumn<QString>("sonuc"); // empty: invalid-path error
        QTest::newRow("plain") << "/a/b" << "x.sql" << "/a/b/x.sql";
        QTest::newRow("trailing slash") << "/a/b/" << "x.sql" << "/a/b/x.sql";
        QTest::newRow("trailing backslash") << "C:\\y\\" << "x.sql" << "C:\\y\\x.sql";
        QTest::newRow("drive colon") << "C:" << "x.sql" << "C:x.sql";
        QTest::newRow("quote in folder") << "/a\"b" << "x" << "";
        QTest::newRow("less-than in name") << "/a" << "x<y" << "";
        QTest::newRow("greater-than") << "/a>" << "x" << "";
        QTest::newRow("bar") << "/a" << "x|y" << "";
        QTest::newRow("control char in name") << "/a" << "x\ty" << "";
        QTest::newRow("control char in folder") << "/a\x01" << "x" << "";
        QTest::newRow("colon, star, question mark pass") << "/a:b" << "x*?" << "/a:b/x*?";
    }

    void pathJoin()
    {
        QFETCH(QString, klasor);
        QFETCH(QString, ad);
        QFETCH(QString, sonuc);
        if (sonuc.isEmpty()) {
            QVERIFY_THROWS_EXCEPTION(KelmorHata, YolBirlestir(klasor, ad));
            QVERIFY_THROWS_EXCEPTION(KelmorHata, DumpExeBul(klasor + ad));
        } else {
            QCOMPARE(YolBirlestir(klasor, ad), sonuc);
        }
    }

    void optionFileContent_data()
    {
        QTest::addColumn<TKelmorAyar>("ayar");
        QTest::addColumn<QByteArray>("beklenen");
        QTest::newRow("backslash and quote")
            << Ayar("localhost", 3307, "root", "a\\b\"c\\\"") << QByteArray("[client]\r\nhost=localhost\r\nport=3307\r\n"
                                                                             "user=root\r\npassword=\"a\\\\b\\\"c\\\\\\\"\"\r\n"
                                                                             "protocol=TCP\r\n");
        QTest::newRow("empty password") << Ayar("h", 0, "u", "")
                                        << QByteArray("[client]\r\nhost=h\r\nport=0\r\nuser=u\r\npassword=\"\"\r\n"
                                                      "protocol=TCP\r\n");
        QTest::newRow("quotes in host and user unchanged, UTF-8")
            << Ayar("h\"x", -1, "u\"ş", "ğ ı") << QByteArray("[client]\r\nhost=h\"x\r\nport=-1\r\nuser=u\"\xC5\x9F\r\n"
                                                            "password=\"\xC4\x9F \xC4\xB1\"\r\nprotocol=TCP\r\n");
    }

    void optionFileContent()
    {
        QFETCH(TKelmorAyar, ayar);
        QFETCH(QByteArray, beklenen);
        QCOMPARE(CnfIcerigi(ayar), beklenen);
    }

    void optionFileIsNewPrivateAndNamedByTick()
    {
        const TKelmorAyar a = Ayar("127.0.0.1", 3306, "root", "gizli");
        const QString yol = CnfOlustur(a);
        QVERIFY2(QRegularExpression(QStringLiteral("^kelmor_\\d+(_\\d+)?\\.cnf$"))
                     .match(QFileInfo(yol).fileName())
                     .hasMatch(),
                 qPrintable(yol));
        QCOMPARE(QFileInfo(yol).absolutePath(), m_tmp);
        QCOMPARE(DosyaOku(yol), CnfIcerigi(a));
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(yol).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 0777), 0600);

        // A name already taken is never reused or overwritten.
        const QString ikinci = CnfOlustur(a);
        QVERIFY(ikinci != yol);
        QCOMPARE(DosyaOku(yol), CnfIcerigi(a));
        QVERIFY(QFile::remove(yol));
        QVERIFY(QFile::remove(ikinci));
        QVERIFY(CnfDosyalari(m_tmp).isEmpty());
    }

    void optionFileFailureRaisesAndLeavesNothing()
    {
        // A TMPDIR that names no folder: Qt reports an empty temporary path, which
        // must not turn into the root folder.
        const QStringList kokteOnce = CnfDosyalari(QStringLiteral("/"));
        qputenv("TMPDIR", QFile::encodeName(m_dir.filePath(QStringLiteral("yok/alt"))));
        QVERIFY_THROWS_EXCEPTION(KelmorHata, CnfOlustur(Ayar("h", 1, "u", "p")));
        qputenv("TMPDIR", QFile::encodeName(m_tmp));
        QVERIFY(CnfDosyalari(m_tmp).isEmpty());
        QCOMPARE(CnfDosyalari(QStringLiteral("/")), kokteOnce);
    }

    void argumentQuoting_data()
    {
        QTest::addColumn<QString>("arg");
        QTest::addColumn<QString>("sonuc");
        QTest::newRow("plain") << "shop" << "shop";
        QTest::newRow("quote without space") << "a\"b" << "a\"b";
        QTest::newRow("tab is no space") << "a\tb" << "a\tb";
        QTest::newRow("space") << "my db" << "\"my db\"";
        QTest::newRow("space and quote") << "my \"db\"" << "\"my \\\"db\\\"\"";
        QTest::newRow("backslashes stay") << "C:\\a b\\" << "\"C:\\a b\\\"";
        QTest::newRow("empty") << "" << "";
    }

    void argumentQuoting()
    {
        QFETCH(QString, arg);
        QFETCH(QString, sonuc);
        QCOMPARE(ArgTirnakla(arg), sonuc);
    }

    void dumpCommandLine_data()
    {
        QTest::addColumn<TYedekIstegi>("istek");
        QTest::addColumn<QString>("cnf");
        QTest::addColumn<QString>("komut");
        QTest::addColumn<QStringList>("argv");
        const QString bas = QStringLiteral(" --single-transaction --quick --no-create-db "
                                           "--default-character-set=utf8mb4 --set-charset");
        const QStringList basArgv{"--single-transaction", "--quick", "--no-create-db",
                                  "--default-character-set=utf8mb4", "--set-charset"};
        QTest::newRow("full, tables ignored")
            << Istek(bmTam, "shop", {"t1"}) << "/tmp/kelmor_1.cnf"
            << "/usr/bin/mariadb-dump --defaults-extra-file=/tmp/kelmor_1.cnf" + bas +
                   " --routines --triggers --events shop"
            << QStringList{"--defaults-extra-file=/tmp/kelmor_1.cnf"} + basArgv +
                   QStringList{"--routines", "--triggers", "--events", "shop"};
        QTest::newRow("db only, tables ignored")
            << Istek(bmSadeceDB, "shop", {"t1"}) << "/tmp/k.cnf"
            << "/usr/bin/mariadb-dump --defaults-extra-file=/tmp/k.cnf" + bas + " --skip-triggers shop"
            << QStringList{"--defaults-extra-file=/tmp/k.cnf"} + basArgv + QStringList{"--skip-triggers", "shop"};
        QTest::newRow("tables in order, quoted as needed")
            << Istek(bmTablolar, "my \"db\"", {"b", "a x", "q\"t"}) << "/my tmp/k.cnf"
            << "/usr/bin/mariadb-dump --defaults-extra-file=\"/my tmp/k.cnf\"" + bas +
                   " --skip-triggers \"my \\\"db\\\"\" b \"a x\" q\"t"
            << QStringList{"--defaults-extra-file=/my tmp/k.cnf"} + basArgv +
                   QStringList{"--skip-triggers", "my \"db\"", "b", "a x", "q\"t"};
        QTest::newRow("tables mode without tables dumps all")
            << Istek(bmTablolar, " shop ") << "/tmp/k.cnf"
            << "/usr/bin/mariadb-dump --defaults-extra-file=/tmp/k.cnf" + bas + " --skip-triggers \" shop \""
            << QStringList{"--defaults-extra-file=/tmp/k.cnf"} + basArgv + QStringList{"--skip-triggers", " shop "};
        QTest::newRow("unknown mode adds no mode options")
            << Istek(TYedekMod(7), "a\"b") << "/tmp/k.cnf"
            << "/usr/bin/mariadb-dump --defaults-extra-file=/tmp/k.cnf" + bas + " a\"b"
            << QStringList{"--defaults-extra-file=/tmp/k.cnf"} + basArgv + QStringList{"a\"b"};
    }

    void dumpCommandLine()
    {
        QFETCH(TYedekIstegi, istek);
        QFETCH(QString, cnf);
        QFETCH(QString, komut);
        QFETCH(QStringList, argv);
        istek.Ayar.Sifre = QStringLiteral("gizliSifre");
        QCOMPARE(DumpKomutuOlustur(istek, cnf, QStringLiteral("/usr/bin/mariadb-dump")), komut);
        QCOMPARE(DumpArgumanlari(istek, cnf), argv);
        QVERIFY(!komut.contains(QStringLiteral("gizliSifre")));
        QCOMPARE(DumpKomutuOlustur(istek, cnf, QStringLiteral("/opt/my tools/mariadb-dump")),
                 QStringLiteral("\"/opt/my tools/mariadb-dump\"") + komut.mid(komut.indexOf(QLatin1Char(' '))));
    }

    void errorStreamVerdict_data()
    {
        QTest::addColumn<QString>("metin");
        QTest::addColumn<bool>("hata");
        QTest::addColumn<QStringList>("iletilen");
        QTest::newRow("empty") << "" << false << QStringList{};
        QTest::newRow("error and warning") << "Warning: some ERROR was ignored\n" << false
                                           << QStringList{"     Warning: some ERROR was ignored"};
        QTest::newRow("error and note") << "  [Note] error log rotated  \r\n" << false
                                        << QStringList{"     [Note] error log rotated"};
        QTest::newRow("password line dropped, even with error")
            << "mariadb-dump: [Warning] USING A PASSWORD on the command line\nError: Using a password is bad" << false
            << QStringList{};
        QTest::newRow("blank lines and spaces skipped")
            << "\r\n   \n\t\r\r\nok line\n" << false << QStringList{"     ok line"};
        QTest::newRow("refused login counts, later lines still forwarded")
            << "mariadb-dump: Got error: 1045: \"Access denied\" when trying to connect\rnext\r\nlast" << true
            << QStringList{"     mariadb-dump: Got error: 1045: \"Access denied\" when trying to connect", "     next",
                           "     last"};
        QTest::newRow("mixed case Error") << "ErRoR 2002 cannot connect" << true
                                          << QStringList{"     ErRoR 2002 cannot connect"};
        QTest::newRow("non-ASCII letters kept as received") << "Hata İ: errör ŞIK" << false
                                                              << QStringList{"     Hata İ: errör ŞIK"};
        QTest::newRow("dotted capital I does not make 'error'")
            << "ERRİR" << false << QStringList{"     ERRİR"};
    }

    void errorStreamVerdict()
    {
        QFETCH(QString, metin);
        QFETCH(bool, hata);
        QFETCH(QStringList, iletilen);
        QStringList satirlar;
        QCOMPARE(StderrHataVarMi(metin, [&](const QString& s) { satirlar << s; }), hata);
        QCOMPARE(satirlar, iletilen);
        QCOMPARE(StderrHataVarMi(metin, TLogProc()), hata);
    }

    void fileSize()
    {
        DosyaYaz(m_dir.filePath(QStringLiteral("bos")), QByteArray());
        DosyaYaz(m_dir.filePath(QStringLiteral("dolu")), QByteArray(2047, 'x'));
        QCOMPARE(DosyaBoyutu(m_dir.filePath(QStringLiteral("bos"))), 0);
        QCOMPARE(DosyaBoyutu(m_dir.filePath(QStringLiteral("yok"))), 0);
        QCOMPARE(DosyaBoyutu(QString()), 0);
        QCOMPARE(DosyaBoyutu(m_dir.filePath(QStringLiteral("dolu"))), 2047);
    }

    void cleanupTestCase() { QVERIFY(CnfDosyalari(m_tmp).isEmpty()); }
};

QTEST_GUILESS_MAIN(TestClientTools)
#include "TestClientTools.moc"
