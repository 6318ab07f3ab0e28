#include "core/Ortak.h"
#include "core/uConfig.h"
#include "platform/AppPaths.h"
#include "tests/common/TestSunucu.h"

#include <QTest>

class TestConfig : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    void iniYaz(const QByteArray& icerik) { DosyaYaz(AyarDosyasi(), icerik); }

private Q_SLOTS:
    void init()
    {
        ExeKlasoruAyarla(m_dir.path());
        QFile::remove(AyarDosyasi());
    }

    void checkValueOfScrambling()
    {
        QCOMPARE(SifreKodla(QStringLiteral("vabnek407")), QStringLiteral("OwQQGAo6QVFZ"));
        QCOMPARE(SifreCoz(QStringLiteral("OwQQGAo6QVFZ")), QStringLiteral("vabnek407"));
        QCOMPARE(SifreKodla(QString()), QString());
        QCOMPARE(SifreCoz(QString()), QString());
        // Line breaks and padding in a stored value are skipped.
        QCOMPARE(SifreCoz(QStringLiteral("OwQQ\r\nGAo6QVFZ==")), QStringLiteral("vabnek407"));
    }

    void missingFileGivesDefaultsAndCreatesNothing()
    {
        TKelmorAyar a;
        AyarlariYukle(a);
        QCOMPARE(a.Host, QStringLiteral("localhost"));
        QCOMPARE(a.Port, 3307);
        QCOMPARE(a.Kullanici, QStringLiteral("root"));
        QCOMPARE(a.Sifre, QStringLiteral("vabnek407"));
        QCOMPARE(a.BinYolu, QStringLiteral("/usr/bin"));
        QCOMPARE(a.YedekKlasoru, QDir::homePath() + QStringLiteral("/KelmorYedek"));
        QVERIFY(a.ZipYap);
        QVERIFY(a.AyarSifresi.isEmpty() && a.SonYedek.isEmpty() && a.SonYedekDosya.isEmpty());
        QVERIFY(!AyarDosyasiVarMi());
    }

    void defaultsSavedWithAllTenKeys()
    {
        TKelmorAyar a;
        VarsayilanAyar(a);
        AyarlariKaydet(a);
        QVERIFY(AyarDosyasiVarMi());
        const QByteArray beklenen = "[Baglanti]\r\nHost=localhost\r\nPort=3307\r\nKullanici=root\r\n"
                                    "Sifre=OwQQGAo6QVFZ\r\nBinYolu=/usr/bin\r\n[Yedek]\r\nKlasor=" +
                                    (QDir::homePath() + QStringLiteral("/KelmorYedek")).toUtf8() +
                                    "\r\nZipYap=1\r\n[Guvenlik]\r\nAyarSifresi=\r\n[Durum]\r\nSonYedek=\r\n"
                                    "SonYedekDosya=\r\n";
        QCOMPARE(DosyaOku(AyarDosyasi()), beklenen);
        const auto baskalari = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther |
                              QFileDevice::WriteOther;
        QCOMPARE(QFile::permissions(AyarDosyasi()) & baskalari, QFileDevice::Permissions());
        TKelmorAyar b;
        AyarlariYukle(b);
        QCOMPARE(b, a);
    }

    void valuesReadFromFile_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("alan");
        QTest::addColumn<QString>("beklenen");
        QTest::newRow("port abc") << QByteArray("[Baglanti]\nPort=abc\n") << "Port" << "3307";
        QTest::newRow("port empty") << QByteArray("[Baglanti]\nPort=\n") << "Port" << "3307";
        QTest::newRow("port hex") << QByteArray("[Baglanti]\nPort=0x0CEA\n") << "Port" << "3306";
        QTest::newRow("port HEX") << QByteArray("[Baglanti]\nPort=0X0cea\n") << "Port" << "3306";
        QTest::newRow("port blanks") << QByteArray("[baglanti]\r\n  port =  3310  \r\n") << "Port" << "3310";
        QTest::newRow("zip 0") << QByteArray("[Yedek]\nZipYap=0\n") << "ZipYap" << "0";
        QTest::newRow("zip 2") << QByteArray("[Yedek]\nZipYap=2\n") << "ZipYap" << "1";
        QTest::newRow("zip false") << QByteArray("[Yedek]\nZipYap=false\n") << "ZipYap" << "1";
        QTest::newRow("zip empty") << QByteArray("[Yedek]\nZipYap=\n") << "ZipYap" << "1";
        QTest::newRow("no Sifre key: empty password") << QByteArray("[Baglanti]\nHost=h\n") << "Sifre" << "";
        QTest::newRow("no Host key: default host") << QByteArray("[Baglanti]\nSifre=\n") << "Host" << "localhost";
        QTest::newRow("empty Host value") << QByteArray("[Baglanti]\nHost=\n") << "Host" << "";
        QTest::newRow("plain Sifre is unscrambled") << QByteArray("[Baglanti]\nSifre=secret\n") << "Sifre" << "";
        QTest::newRow("long value cut") << QByteArray("[Durum]\nSonYedekDosya=" + QByteArray(3000, 'x') + "\n")
                                        << "SonYedekDosya" << QString(2047, QLatin1Char('x'));
        QTest::newRow("key outside its section") << QByteArray("Host=x\n[Yedek]\nHost=y\n") << "Host" << "localhost";
    }

    void valuesReadFromFile()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, alan);
        QFETCH(QString, beklenen);
        iniYaz(ini);
        TKelmorAyar a;
        AyarlariYukle(a);
        const QString deger = alan == QLatin1String("Port")     ? QString::number(a.Port)
                              : alan == QLatin1String("ZipYap") ? QString::number(int(a.ZipYap))
                              : alan == QLatin1String("Sifre")  ? a.Sifre
                              : alan == QLatin1String("Host")   ? a.Host
                                                                : a.SonYedekDosya;
        QCOMPARE(deger, beklenen);
    }

    void plainTextSifreGivesAnotherTextOrEmpty()
    {
        // "abcd" decodes to bytes that XOR to valid UTF-8 -> some other text, never the typed one.
        const QString sonuc = SifreCoz(QStringLiteral("secret"));
        QVERIFY(sonuc != QStringLiteral("secret"));
    }

    void roundTrips_data()
    {
        QTest::addColumn<QString>("sifre");
        QTest::newRow("empty") << QString();
        QTest::newRow("turkish") << QStringLiteral("şğıİöçü Ş");
        QTest::newRow("100 bytes") << QString(100, QLatin1Char('p'));
        QTest::newRow("quotes and backslash") << QStringLiteral("a\"b\\c;d=e");
        QTest::newRow("long turkish") << QString(60, QChar(0x15F)); // 120 UTF-8 bytes
    }

    void roundTrips()
    {
        QFETCH(QString, sifre);
        TKelmorAyar a;
        VarsayilanAyar(a);
        a.Sifre = sifre;
        a.AyarSifresi = sifre;
        a.Host = QStringLiteral("sunucu-ğ");
        a.SonYedekDosya = QStringLiteral("/yedek/şirket_tam.zip");
        a.ZipYap = false;
        AyarlariKaydet(a);
        QVERIFY(!DosyaOku(AyarDosyasi()).contains(sifre.toUtf8()) || sifre.isEmpty());
        TKelmorAyar b;
        AyarlariYukle(b);
        QCOMPARE(b, a);
        if (sifre.isEmpty())
            QVERIFY(DosyaOku(AyarDosyasi()).contains("\r\nSifre=\r\n"));
    }

    void otherSectionsAndCommentsKept()
    {
        iniYaz("; kelmor ayarlari\n[Diger]\nX=1\n\n[baglanti]\n# not\nHOST=eski\nEkstra=kalsin\n\n[Son]\nY=2\n");
        TKelmorAyar a;
        AyarlariYukle(a);
        QCOMPARE(a.Host, QStringLiteral("eski"));
        a.Host = QStringLiteral("yeni");
        AyarlariKaydet(a);
        const QString t = QString::fromUtf8(DosyaOku(AyarDosyasi()));
        QVERIFY2(t.startsWith(QStringLiteral("; kelmor ayarlari\r\n[Diger]\r\nX=1\r\n\r\n[baglanti]\r\n# not\r\n"
                                            "Host=yeni\r\nEkstra=kalsin\r\nPort=3307\r\n")), qPrintable(t));
        QVERIFY(t.contains(QStringLiteral("[Son]\r\nY=2\r\n")));
        QCOMPARE(t.count(QStringLiteral("[Baglanti]"), Qt::CaseInsensitive), 1);
        QVERIFY(t.contains(QStringLiteral("[Durum]\r\nSonYedek=\r\nSonYedekDosya=\r\n")));
    }

    void failedSaveKeepsOldFileAndNamesIt()
    {
        TKelmorAyar a;
        VarsayilanAyar(a);
        AyarlariKaydet(a);
        const QByteArray once = DosyaOku(AyarDosyasi());
        // A folder in the way of the temporary file's rename target makes the save fail even as root.
        QTemporaryDir d;
        ExeKlasoruAyarla(d.path());
        QDir(d.path()).mkdir(QStringLiteral("ayarlar.ini"));
        bool atti = false;
        try {
            AyarlariKaydet(a);
        } catch (const KelmorHata& e) {
            atti = true;
            QVERIFY2(e.Mesaj().contains(QStringLiteral("ayarlar.ini")), qPrintable(e.Mesaj()));
        }
        QVERIFY(atti);
        ExeKlasoruAyarla(m_dir.path());
        QCOMPARE(DosyaOku(AyarDosyasi()), once);
    }
};

QTEST_GUILESS_MAIN(TestConfig)
#include "TestConfig.moc"
