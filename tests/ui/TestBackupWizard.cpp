#include "core/uConfig.h"
#include "platform/AppPaths.h"
#include "tests/common/TestSunucu.h"
#include "tests/ui/SihirbazTest.h"
#include "ui/uBackupWizard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>

// The backup wizard driven as a person would: against the suite's server for the
// lists and real backups, with a scripted dump tool for runs that fail or take long.
class TestBackupWizard : public QObject {
    Q_OBJECT
    QTemporaryDir m_tmp;
    QString m_db; // adres, musteri, siparis, urun

    QString Klasor(const QString& ad) const { return m_tmp.filePath(ad); }

    TKelmorAyar SunucuAyari(const QString& yedekAdi)
    {
        TKelmorAyar a = TestSunucu::Ayar();
        a.YedekKlasoru = Klasor(yedekAdi);
        a.ZipYap = true;
        return a;
    }

    // Step 1 with the given mode, then step 2 with the fixture database chosen.
    void Adim2(TfrmBackupWizard& w, const char* mod)
    {
        TIKLA(&w, mod);
        TIKLA(&w, "btnIleri");
        QCOMPARE(Sayfa(&w), 1);
        auto* cb = Bul<QComboBox>(&w, "cbVeritabani");
        const int i = cb->findText(m_db);
        QVERIFY2(i >= 0, "fixture database not listed");
        cb->setCurrentIndex(i);
        Q_EMIT cb->activated(i);
    }

    // From step 2 to the end of the run.
    void Calistir(TfrmBackupWizard& w, const QString& klasor)
    {
        TIKLA(&w, "btnIleri");
        QCOMPARE(Sayfa(&w), 2);
        Bul<QLineEdit>(&w, "edtKlasor")->setText(klasor);
        TIKLA(&w, "btnIleri");
        QCOMPARE(Sayfa(&w), 3);
        QTRY_VERIFY_WITH_TIMEOUT(Bul<QPushButton>(&w, "btnKapat")->isVisible(), kCalismaSuresi);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        ExeKlasoruAyarla(m_tmp.path());
        if (!TestSunucu::Var())
            return;
        m_db = TestSunucu::YeniAd(QStringLiteral("bw"));
        TestSunucu::Sql(QStringLiteral("CREATE DATABASE `%1`").arg(m_db));
        TestSunucu::Sql(QStringLiteral("CREATE TABLE urun (id INT PRIMARY KEY, ad VARCHAR(40));"
                                       "CREATE TABLE musteri (id INT PRIMARY KEY, ad VARCHAR(40));"
                                       "CREATE TABLE siparis (id INT PRIMARY KEY);"
                                       "CREATE TABLE adres (id INT PRIMARY KEY);"
                                       "CREATE VIEW v_urun AS SELECT * FROM urun;"
                                       "INSERT INTO musteri VALUES (1, 'Çağla'), (2, 'Ömer');"
                                       "INSERT INTO urun VALUES (7, 'vida');"),
                        m_db);
    }

    void cleanupTestCase()
    {
        if (!m_db.isEmpty())
            TestSunucu::Sql(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_db));
        ExeKlasoruAyarla(QString());
    }

    void init() { QFile::remove(AyarDosyasi()); }

    void tableModeListsBaseTablesAndOtherModesHideThem()
    {
        SUNUCU_GEREKLI();
        SahteDiyalog d;
        TfrmBackupWizard w;
        w.SetAyar(SunucuAyari(QStringLiteral("y")));
        w.show();
        QCOMPARE(Bul<QLabel>(&w, "lblAdimEtiket")->text(), QStringLiteral("Adım 1 / 3 — Yedek modu"));
        QVERIFY(!Bul<QPushButton>(&w, "btnGeri")->isVisible());

        Adim2(w, "rbTablolar");
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(Bul<QLabel>(&w, "lblAdimEtiket")->text(), QStringLiteral("Adım 2 / 3 — Veritabanı ve tablolar"));
        QCOMPARE(ListeOgeleri(&w), QStringList({"adres", "musteri", "siparis", "urun"}));
        QCOMPARE(Bul<QLabel>(&w, "lblTabloSayac")->text(), QStringLiteral("0 / 4 seçili"));
        QVERIFY(Bul<QListWidget>(&w, "lstTablolar")->isVisible());
        QVERIFY(!Bul<QLabel>(&w, "lblYukleniyor")->isVisible());

        // Back and forward in full mode: the list is read again, the former choice is lost.
        TIKLA(&w, "btnGeri");
        TIKLA(&w, "rbTam");
        TIKLA(&w, "btnIleri");
        QCOMPARE(Sayfa(&w), 1);
        QCOMPARE(Bul<QComboBox>(&w, "cbVeritabani")->currentIndex(), 0);
        for (const char* ad : {"lblTablolarBaslik", "edtAra", "lstTablolar", "btnTumu", "btnHicbiri", "lblTabloSayac"})
            QVERIFY2(!Bul<QWidget>(&w, ad)->isVisible(), ad);
        QVERIFY(d.istekler.isEmpty());
    }

    void searchAndAllWorkOnTheShownTablesOnly()
    {
        SUNUCU_GEREKLI();
        SahteDiyalog d;
        TfrmBackupWizard w;
        w.SetAyar(SunucuAyari(QStringLiteral("y")));
        w.show();
        Adim2(w, "rbTablolar");
        if (QTest::currentTestFailed())
            return;
        auto* ara = Bul<QLineEdit>(&w, "edtAra");
        auto* sayac = Bul<QLabel>(&w, "lblTabloSayac");

        // Checks are lost whenever the search text changes, even back to empty.
        QVERIFY(Isaretle(&w, QStringLiteral("adres")));
        QVERIFY(Isaretle(&w, QStringLiteral("urun")));
        QCOMPARE(sayac->text(), QStringLiteral("2 / 4 seçili"));
        QTest::keyClicks(ara, QStringLiteral("a"));
        QCOMPARE(ListeOgeleri(&w), QStringList({"adres", "siparis"}));
        QTest::keyClick(ara, Qt::Key_Backspace);
        QCOMPARE(ListeOgeleri(&w).size(), 4);
        QCOMPARE(sayac->text(), QStringLiteral("0 / 4 seçili"));

        // The filter is trimmed and blind to ASCII case; Tümü checks only what is shown.
        QTest::keyClicks(ara, QStringLiteral(" SIP "));
        QCOMPARE(ListeOgeleri(&w), QStringList({"siparis"}));
        TIKLA(&w, "btnTumu");
        QCOMPARE(sayac->text(), QStringLiteral("1 / 4 seçili"));
        TIKLA(&w, "btnHicbiri");
        QCOMPARE(sayac->text(), QStringLiteral("0 / 4 seçili"));
        TIKLA(&w, "btnTumu");
        TIKLA(&w, "btnIleri");
        QCOMPARE(Sayfa(&w), 2);
        QCOMPARE(OzetSatirlari(&w).value(1), QStringLiteral("Mod: 1 tablo seçili"));
    }

    void stepChecksStopWithTheirMessage()
    {
        SUNUCU_GEREKLI();
        SahteDiyalog d;
        TfrmBackupWizard w;
        w.SetAyar(SunucuAyari(QStringLiteral("y")));
        w.show();
        Adim2(w, "rbTablolar");
        if (QTest::currentTestFailed())
            return;
        TIKLA(&w, "btnIleri");
        QCOMPARE(Sayfa(&w), 1);
        QCOMPARE(d.Mesajlar(), QStringList{QStringLiteral("En az bir tablo işaretleyin.")});

        QVERIFY(Isaretle(&w, QStringLiteral("musteri")));
        TIKLA(&w, "btnIleri");
        QCOMPARE(Sayfa(&w), 2);
        QCOMPARE(Bul<QPushButton>(&w, "btnIleri")->text(), QStringLiteral("✓ YEDEK AL"));
        Bul<QLineEdit>(&w, "edtKlasor")->setText(QStringLiteral(" \t "));
        TIKLA(&w, "btnIleri");
        QCOMPARE(Sayfa(&w), 2);
        QCOMPARE(d.Mesajlar().last(), QStringLiteral("Yedek klasoru belirtin."));
        QCOMPARE(d.istekler.last().tur, Diyaloglar::Tur::Bilgi);

        // The folder browser starts at the typed folder; its choice replaces it, a cancel keeps it.
        Bul<QLineEdit>(&w, "edtKlasor")->setText(QStringLiteral("/bir/yer"));
        d.cevap = [](const Diyaloglar::Istek& i) {
            return i.cesit == Diyaloglar::Istek::Cesit::Klasor ? Diyaloglar::Cevap{true, QStringLiteral("/baska/yer")}
                                                               : Diyaloglar::Cevap{};
        };
        TIKLA(&w, "btnKlasorSec");
        QCOMPARE(d.istekler.last().baslik, QStringLiteral("Yedek klasörü"));
        QCOMPARE(d.istekler.last().metin, QStringLiteral("/bir/yer"));
        QCOMPARE(Bul<QLineEdit>(&w, "edtKlasor")->text(), QStringLiteral("/baska/yer"));
        d.cevap = [](const Diyaloglar::Istek&) { return Diyaloglar::Cevap{false, {}}; };
        TIKLA(&w, "btnKlasorSec");
        QCOMPARE(Bul<QLineEdit>(&w, "edtKlasor")->text(), QStringLiteral("/baska/yer"));
    }

    void failedDatabaseListGoesBackToStepOne()
    {
        SahteDiyalog d;
        TfrmBackupWizard w;
        TKelmorAyar a;
        VarsayilanAyar(a);
        a.Host = QStringLiteral("127.0.0.1");
        a.Port = 1; // nothing listens there
        w.SetAyar(a);
        w.show();
        TIKLA(&w, "btnIleri");
        QCOMPARE(Sayfa(&w), 0);
        QCOMPARE(Bul<QComboBox>(&w, "cbVeritabani")->count(), 0);
        QCOMPARE(d.istekler.size(), 1);
        QCOMPARE(d.istekler[0].tur, Diyaloglar::Tur::Hata);
        QVERIFY2(d.istekler[0].metin.startsWith(QStringLiteral("Veritabanları alinamadı:\r\n")) &&
                     d.istekler[0].metin.size() > 26,
                 qPrintable(d.istekler[0].metin));
        QCOMPARE(Bul<QLabel>(&w, "lblAdimEtiket")->text(), QStringLiteral("Adım 1 / 3 — Yedek modu"));
    }

    void fullBackupSavesTheSettingsWithTheTrimmedFolder()
    {
        SUNUCU_GEREKLI();
        SahteDiyalog d;
        TfrmBackupWizard w;
        const TKelmorAyar once = SunucuAyari(QStringLiteral("eski"));
        w.SetAyar(once);
        w.show();
        QCOMPARE(Bul<QLineEdit>(&w, "edtKlasor")->text(), once.YedekKlasoru);
        Adim2(w, "rbTam");
        if (QTest::currentTestFailed())
            return;
        TIKLA(&w, "btnIleri");
        // The summary shows the folder as typed; the run and the settings get it trimmed.
        const QString klasor = Klasor(QStringLiteral("tam yedek"));
        Bul<QLineEdit>(&w, "edtKlasor")->setText(QStringLiteral("  ") + klasor + QStringLiteral(" "));
        TIKLA(&w, "btnGeri");
        TIKLA(&w, "btnIleri");
        QCOMPARE(OzetSatirlari(&w), QStringList({QStringLiteral("Veritabanı: ") + m_db,
                                                 QStringLiteral("Mod: Tam yedek (her şey dahil)"),
                                                 QStringLiteral("Hedef klasör:   ") + klasor + QStringLiteral(" "),
                                                 QStringLiteral("ZIP olarak sıkıştırılacak")}));
        TIKLA(&w, "btnIleri");
        QCOMPARE(Sayfa(&w), 3);
        QCOMPARE(Bul<QLabel>(&w, "lblAdimEtiket")->text(), QStringLiteral("Tamamlandı"));
        for (const char* ad : {"btnIptal", "btnGeri", "btnIleri"})
            QVERIFY2(!Bul<QWidget>(&w, ad)->isVisible(), ad);
        QTRY_VERIFY_WITH_TIMEOUT(Bul<QPushButton>(&w, "btnKapat")->isVisible(), kCalismaSuresi);

        QCOMPARE(Bul<QLabel>(&w, "lblSonucBaslik")->text(), QStringLiteral("✓  Yedekleme başarılı"));
        QCOMPARE(BaslikRengi(&w), QColor(34, 122, 0));
        QVERIFY(Bul<QPushButton>(&w, "btnKlasorAc")->isVisible());
        QVERIFY(!Bul<QWidget>(&w, "pnlCalisiyor")->isVisible());
        const QString log = LogMetni(&w);
        QVERIFY2(log.indexOf(QStringLiteral("Yedekleme basliyor: ") + m_db) >= 0 &&
                     log.indexOf(QStringLiteral("Yedekleme basliyor")) < log.indexOf(QStringLiteral("YEDEK TAMAM")),
                 qPrintable(log));

        TKelmorAyar kayitli;
        AyarlariYukle(kayitli);
        QCOMPARE(kayitli.YedekKlasoru, klasor);
        QVERIFY(kayitli.ZipYap);
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d$"))
                     .match(kayitli.SonYedek)
                     .hasMatch(),
                 qPrintable(kayitli.SonYedek));
        QCOMPARE(QFileInfo(kayitli.SonYedekDosya).absolutePath(), klasor);
        QVERIFY(kayitli.SonYedekDosya.endsWith(QStringLiteral(".zip")));
        QVERIFY(QFileInfo(kayitli.SonYedekDosya).size() > 0);
        QCOMPARE(kayitli.Host, once.Host); // the whole record, connection included
        QCOMPARE(w.Ayar(), kayitli);

        TIKLA(&w, "btnKlasorAc");
        QCOMPARE(d.istekler.last().cesit, Diyaloglar::Istek::Cesit::Goster);
        QCOMPARE(d.istekler.last().metin, kayitli.SonYedekDosya);

        // "Kapat" ends the modal loop with OK.
        QTimer::singleShot(0, &w, [&w] { Bul<QPushButton>(&w, "btnKapat")->click(); });
        QCOMPARE(w.exec(), int(QDialog::Accepted));
    }

    void tableBackupHoldsOnlyTheCheckedTable()
    {
        SUNUCU_GEREKLI();
        SahteDiyalog d;
        TfrmBackupWizard w;
        TKelmorAyar a = SunucuAyari(QStringLiteral("y"));
        a.ZipYap = false;
        w.SetAyar(a);
        w.show();
        QVERIFY(!Bul<QCheckBox>(&w, "chkZip")->isChecked());
        Adim2(w, "rbTablolar");
        if (QTest::currentTestFailed())
            return;
        QVERIFY(Isaretle(&w, QStringLiteral("musteri")));
        Calistir(w, Klasor(QStringLiteral("tablo")));
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(BaslikRengi(&w), QColor(34, 122, 0));
        TKelmorAyar kayitli;
        AyarlariYukle(kayitli);
        QVERIFY(!kayitli.ZipYap);
        QVERIFY(kayitli.SonYedekDosya.endsWith(QStringLiteral(".sql")));
        const QByteArray dump = DosyaOku(kayitli.SonYedekDosya);
        QVERIFY(dump.contains("CREATE TABLE `musteri`"));
        QVERIFY(dump.contains("Çağla"));
        QVERIFY(!dump.contains("`urun`") && !dump.contains("`siparis`"));
    }

    void failedRunShowsTheReasonsAndStillClosesWithOk()
    {
        SUNUCU_GEREKLI();
        SahteDiyalog d;
        TfrmBackupWizard w;
        TKelmorAyar a = SunucuAyari(QStringLiteral("y"));
        a.BinYolu = QStringLiteral(KELMOR_FAKE_TOOLS_DIR "/ui");
        w.SetAyar(a);
        w.show();
        GeciciOrtam hata("KELMOR_FAKE_HATA",
                         "mariadb-dump: Got error: 1044: Access denied for user when selecting the database\n");
        Adim2(w, "rbTam");
        if (QTest::currentTestFailed())
            return;
        Calistir(w, Klasor(QStringLiteral("hata")));
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(Bul<QLabel>(&w, "lblSonucBaslik")->text(), QStringLiteral("✗  Yedekleme başarısız"));
        QCOMPARE(BaslikRengi(&w), QColor(255, 0, 0));
        QVERIFY2(LogMetni(&w).contains(QStringLiteral("Access denied for user")), qPrintable(LogMetni(&w)));
        QVERIFY(!Bul<QPushButton>(&w, "btnKlasorAc")->isVisible());
        QVERIFY(!QFile::exists(AyarDosyasi()));
        QVERIFY(d.istekler.isEmpty());
        QTimer::singleShot(0, &w, [&w] { Bul<QPushButton>(&w, "btnKapat")->click(); });
        QCOMPARE(w.exec(), int(QDialog::Accepted));
    }

    void errorEscapingTheRunEndsInTheLogWithKapat()
    {
        SUNUCU_GEREKLI();
        SahteDiyalog d;
        TfrmBackupWizard w;
        TKelmorAyar a = SunucuAyari(QStringLiteral("y"));
        a.BinYolu = Klasor(QStringLiteral("a|b")); // a character no path may hold
        w.SetAyar(a);
        w.show();
        Adim2(w, "rbTam");
        if (QTest::currentTestFailed())
            return;
        Calistir(w, Klasor(QStringLiteral("kacan")));
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(BaslikRengi(&w), QColor(255, 0, 0));
        const QStringList satirlar = LogMetni(&w).split(QLatin1Char('\n'));
        QVERIFY2(satirlar.last().startsWith(QStringLiteral("HATA: ")) && satirlar.last().contains(QStringLiteral("a|b")),
                 qPrintable(satirlar.last()));
        QVERIFY(!QFile::exists(AyarDosyasi()));
    }

    void closeBoxDuringARunWaitsForItsEnd()
    {
        SUNUCU_GEREKLI();
        SahteDiyalog d;
        TfrmBackupWizard w;
        TKelmorAyar a = SunucuAyari(QStringLiteral("y"));
        a.BinYolu = QStringLiteral(KELMOR_FAKE_TOOLS_DIR "/ui");
        a.ZipYap = false;
        w.SetAyar(a);
        w.show();
        Adim2(w, "rbTam");
        if (QTest::currentTestFailed())
            return;
        TIKLA(&w, "btnIleri");
        Bul<QLineEdit>(&w, "edtKlasor")->setText(Klasor(QStringLiteral("yavas")));
        GeciciOrtam uyku("KELMOR_FAKE_UYKU", "3");
        GeciciOrtam hata("KELMOR_FAKE_HATA", "mariadb-dump: Lost connection to server during query\n");
        TIKLA(&w, "btnIleri");

        // The window keeps working while the tool runs: the busy bar with the time and the file's size.
        auto* durum = Bul<QLabel>(&w, "lblCalismaDurumu");
        QVERIFY(Bul<QWidget>(&w, "pnlCalisiyor")->isVisible());
        QVERIFY(!Bul<QPushButton>(&w, "btnKapat")->isVisible());
        const QRegularExpression boyut(QStringLiteral("Yedek dosyası: [1-9][0-9.,]* [kKM]B$"));
        QTRY_VERIFY2_WITH_TIMEOUT(boyut.match(durum->text()).hasMatch(), qPrintable(durum->text()), 2500);
        QVERIFY2(durum->text().startsWith(QStringLiteral("Geçen süre: 00:0")), qPrintable(durum->text()));
        QVERIFY2(LogMetni(&w).contains(QStringLiteral("Yedekleme basliyor")), qPrintable(LogMetni(&w)));

        // A press on Enter starts nothing, and the close box waits for the run.
        QTest::keyClick(&w, Qt::Key_Return);
        w.close();
        QVERIFY(w.isVisible());
        QVERIFY(!Bul<QPushButton>(&w, "btnKapat")->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!w.isVisible(), kCalismaSuresi);
        QCOMPARE(w.result(), int(QDialog::Rejected));
        QVERIFY(LogMetni(&w).contains(QStringLiteral("Lost connection")));
        QCOMPARE(BaslikRengi(&w), QColor(255, 0, 0));
        QCOMPARE(QDir(Klasor(QStringLiteral("yavas"))).entryList(QDir::Files), QStringList());
    }

    void cancelReturnsCancel()
    {
        SahteDiyalog d;
        TfrmBackupWizard w;
        QTimer::singleShot(0, &w, [&w] { Bul<QPushButton>(&w, "btnIptal")->click(); });
        QCOMPARE(w.exec(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestBackupWizard)
#include "TestBackupWizard.moc"
