// Keeping only the newest backups of one database, and never another's.
#include "app/Headless.h"
#include "tests/common/TestSunucu.h"

#include <QDir>
#include <QTest>

namespace {

QStringList Tam(const QString& ad, int n, const QString& uzanti = QStringLiteral(".zip"))
{
    QStringList s;
    for (int i = 0; i < n; ++i)
        s << QStringLiteral("%1_tam_2026-01-%2_09-05-00%3").arg(ad).arg(i + 10, 2, 10, QLatin1Char('0')).arg(uzanti);
    return s;
}

} // namespace

class TestRetention : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keepsTheNewestOwnBackups_data()
    {
        QTest::addColumn<QString>("db");
        QTest::addColumn<int>("tutulacak");
        QTest::addColumn<QStringList>("dosyalar");
        QTest::addColumn<QStringList>("silinen");

        const QStringList oniki = Tam("shop", 12);
        QTest::newRow("12 full backups, the 2 oldest go") << "shop" << 10 << oniki << oniki.mid(0, 2);
        QTest::newRow("10 or fewer: nothing goes") << "shop" << 10 << Tam("shop", 10) << QStringList{};
        const QStringList db3{"shop_db_2026-12-01_00-00-00.zip", "shop_db_2026-12-02_00-00-00.sql",
                              "shop_db_2026-12-03_00-00-00.zip"};
        QTest::newRow("wizard 'db' backups go first, even when newer")
            << "shop" << 10 << db3 + Tam("shop", 11) << db3 + Tam("shop", 1);
        QTest::newRow("'tablolar' sorts between 'db' and 'tam'")
            << "shop" << 2 << QStringList{"shop_tam_2026-01-01_00-00-00.zip", "shop_tablolar_2026-05-01_00-00-00.zip",
                                          "shop_db_2026-09-01_00-00-00.zip", "shop_yedek_2026-01-01_00-00-00.zip"}
            << QStringList{"shop_db_2026-09-01_00-00-00.zip", "shop_tablolar_2026-05-01_00-00-00.zip"};
        const QStringList baskalari{"shop_test_tam_2026-01-01_00-00-00.zip", "shop_test_tam_2026-01-02_00-00-00.zip",
                                    "shop_notlar.txt",
                                    "shop_tam_2026-01-01_00-00-00.zip.bak",
                                    "shop_tam_son.zip",
                                    "shop_tam_2026-1-1_0-0-0.zip",
                                    "shop_tam_2026-01-01_00-00-00.7z",
                                    "xshop_tam_2026-01-01_00-00-00.zip",
                                    "shop2_tam_2026-01-01_00-00-00.zip"};
        QTest::newRow("other databases and unrelated files stay")
            << "shop" << 10 << oniki + baskalari << oniki.mid(0, 2);
        QTest::newRow("letters in any case count")
            << "shop" << 1 << QStringList{"SHOP_TAM_2026-01-01_00-00-00.ZIP", "Shop_Tam_2026-01-02_00-00-00.Sql",
                                          "shop_tam_2026-01-03_00-00-00.zip"}
            << QStringList{"SHOP_TAM_2026-01-01_00-00-00.ZIP", "Shop_Tam_2026-01-02_00-00-00.Sql"};
        QTest::newRow("a bracket is a bracket")
            << "a[1]" << 1 << QStringList{"a[1]_tam_2026-01-01_00-00-00.zip", "a[1]_tam_2026-01-02_00-00-00.zip",
                                          "a1_tam_2026-01-01_00-00-00.zip", "a]_tam_2026-01-01_00-00-00.zip"}
            << QStringList{"a[1]_tam_2026-01-01_00-00-00.zip"};
        QTest::newRow("name cleaned like the backup file name")
            << " a:b " << 1 << QStringList{"a_b_tam_2026-01-01_00-00-00.zip", "a_b_tam_2026-01-02_00-00-00.zip"}
            << QStringList{"a_b_tam_2026-01-01_00-00-00.zip"};
        QTest::newRow("dot in a name is no wildcard")
            << "a.b" << 1 << QStringList{"a.b_tam_2026-01-01_00-00-00.zip", "a.b_tam_2026-01-02_00-00-00.zip",
                                         "axb_tam_2026-01-01_00-00-00.zip"}
            << QStringList{"a.b_tam_2026-01-01_00-00-00.zip"};
        QTest::newRow("keep 0 deletes nothing") << "shop" << 0 << Tam("shop", 3) << QStringList{};
        QTest::newRow("keep -1 deletes nothing") << "shop" << -1 << Tam("shop", 3) << QStringList{};
    }

    void keepsTheNewestOwnBackups()
    {
        QFETCH(QString, db);
        QFETCH(int, tutulacak);
        QFETCH(QStringList, dosyalar);
        QFETCH(QStringList, silinen);
        QTemporaryDir d;
        for (const QString& f : dosyalar)
            DosyaYaz(d.filePath(f), "x");
        // A folder with a backup's name is not a backup.
        QVERIFY(QDir(d.path()).mkpath(QStringLiteral("alt/shop_tam_2026-01-01_00-00-00.zip")));
        QVERIFY(QDir(d.path()).mkdir(db.trimmed() + QStringLiteral("_tam_2000-01-01_00-00-00.zip")));
        EskiYedekleriSil(d.path(), db, tutulacak);
        QStringList beklenen = dosyalar;
        for (const QString& s : silinen)
            beklenen.removeOne(s);
        QStringList kalan = QDir(d.path()).entryList(QDir::Files);
        beklenen.sort();
        kalan.sort();
        QCOMPARE(kalan, beklenen);
        QVERIFY(QFileInfo(d.filePath(QStringLiteral("alt"))).isDir());
    }

    void missingFolderIsNoError()
    {
        EskiYedekleriSil(QStringLiteral("/yok/boyle/bir/klasor"), QStringLiteral("shop"), 10);
        EskiYedekleriSil(QString(), QStringLiteral("shop"), 10);
    }
};

QTEST_GUILESS_MAIN(TestRetention)
#include "TestRetention.moc"
