#include "backup/uBackupLogic.h"
#include "core/uConfig.h"
#include "platform/AppPaths.h"
#include "tests/common/TestSunucu.h"
#include "tests/ui/SihirbazTest.h"
#include "ui/uRestoreWizard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

// The restore wizard driven as a person would: backups of a fixture database
// replayed into new and existing databases on the suite's server; a scripted
// client tool for a failing and a slow run.
class TestRestoreWizard : public QObject {
    Q_OBJECT
    QTemporaryDir m_tmp;
    QString m_kaynak; // musteri, siparis, urun
    QString m_sql, m_zip; // its backups
    QString m_bosDosya; // a script in which no table can be recognised

    TKelmorAyar SunucuAyari() const
    {
        TKelmorAyar a = TestSunucu::Ayar();
        a.YedekKlasoru = m_tmp.path();
        return a;
    }
    static TKelmorAyar UlasilamazAyar()
    {
        TKelmorAyar a;
        VarsayilanAyar(a);
        a.Host = QStringLiteral("127.0.0.1");
        a.Port = 1; // nothing listens there
        return a;
    }
    static Diyaloglar::Cevap DosyaCevabi(const Diyaloglar::Istek& i, const QString& dosya, bool evet = true)
    {
        if (i.cesit == Diyaloglar::Istek::Cesit::DosyaAc)
            return {true, dosya};
        return {evet, {}};
    }
    static QString Sayi(const QString& sql, const QString& db) { return TestSunucu::Sql(sql, db).trimmed(); }

    // Chooses the file on step 2 and waits until its tables are read.
    void DosyaSec(TfrmRestoreWizard& w, SahteDiyalog& d, const QString& dosya)
    {
        d.cevap = [dosya](const Diyaloglar::Istek& i) { return DosyaCevabi(i, dosya); };
        TIKLA(&w, "btnDosyaSec");
        QCOMPARE(Bul<QLineEdit>(&w, "edtDosya")->text(), dosya);
        QTRY_VERIFY_WITH_TIMEOUT(!Bul<QLabel>(&w, "lblYukleniyor")->isVisible(), kCalismaSuresi);
        QVERIFY(Bul<QPushButton>(&w, "btnIleri")->isEnabled());
    }
    // Step 1 with the mode, step 2 with the file chosen.
    void Adim2(TfrmRestoreWizard& w, SahteDiyalog& d, const char* mod, const QString& dosya)
    {
        TIKLA(&w, mod);
        TIKLA(&w, "btnIleri");
        QCOMPARE(Sayfa(&w), 1);
        DosyaSec(w, d, dosya);
    }
    // Step 3 with the target typed.
    void Adim3(TfrmRestoreWizard& w, const QString& hedef)
    {
        TIKLA(&w, "btnIleri");
        QCOMPARE(Sayfa(&w), 2);
        Bul<QComboBox>(&w, "cbHedef")->setEditText(hedef);
    }
    void Bekle(TfrmRestoreWizard& w)
    {
        QCOMPARE(Sayfa(&w), 3);
        QTRY_VERIFY_WITH_TIMEOUT(Bul<QPushButton>(&w, "btnKapat")->isVisible(), kCalismaSuresi);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        ExeKlasoruAyarla(m_tmp.path());
        m_bosDosya = m_tmp.filePath(QStringLiteral("bos.sql"));
        DosyaYaz(m_bosDosya, "SELECT 1;\n");
        if (!TestSunucu::Var())
            return;
        m_kaynak = TestSunucu::YeniAd(QStringLiteral("rw"));
        TestSunucu::Sql(QStringLiteral("CREATE DATABASE `%1`").arg(m_kaynak));
        TestSunucu::Sql(QStringLiteral("CREATE TABLE musteri (id INT PRIMARY KEY, ad VARCHAR(40));"
                                       "CREATE TABLE siparis (id INT PRIMARY KEY, musteri INT);"
                                       "CREATE TABLE urun (id INT PRIMARY KEY);"
                                       "INSERT INTO musteri VALUES (1, 'Çağla'), (2, 'Ömer');"
                                       "INSERT INTO siparis VALUES (10, 1);"),
                        m_kaynak);
        for (bool zip : {false, true}) {
            TYedekIstegi istek;
            istek.Ayar = TestSunucu::Ayar();
            istek.Veritabani = m_kaynak;
            istek.HedefKlasor = m_tmp.filePath(zip ? QStringLiteral("zip") : QStringLiteral("sql"));
            istek.ZipYap = zip;
            const TYedekSonuc s = YedekAl(istek, {});
            QVERIFY2(s.Basarili, qPrintable(s.Hata));
            (zip ? m_zip : m_sql) = s.DosyaYolu;
        }
    }

    void cleanupTestCase()
    {
        if (TestSunucu::Var()) {
            const QString adlar = TestSunucu::Sql(QStringLiteral("SHOW DATABASES LIKE 'kt\\_rw\\_%'"));
            for (const QString& ad : adlar.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
                TestSunucu::Sql(QStringLiteral("DROP DATABASE `%1`").arg(ad));
        }
        ExeKlasoruAyarla(QString());
    }

    void fullRestoreOfAZipIntoANewDatabaseUnderTheTrimmedName()
    {
        SUNUCU_GEREKLI();
        SahteDiyalog d;
        TfrmRestoreWizard w;
        w.SetAyar(SunucuAyari());
        w.show();
        QCOMPARE(Bul<QLabel>(&w, "lblAdimEtiket")->text(), QStringLiteral("Adım 1 / 3 — Geri yükleme modu"));
        Adim2(w, d, "rbTam", m_zip);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(d.istekler.last().baslik, QStringLiteral("Geri yuklenecek dosyayi sec"));
        QVERIFY(d.istekler.last().filtre.startsWith(QStringLiteral("SQL veya ZIP")));
        QVERIFY(!Bul<QListWidget>(&w, "lstTablolar")->isVisible()); // no tables read in full mode

        const QString yeni = TestSunucu::YeniAd(QStringLiteral("rw"));
        Adim3(w, QStringLiteral("  ") + yeni + QStringLiteral(" "));
        TIKLA(&w, "btnGeri");
        TIKLA(&w, "btnIleri");
        QCOMPARE(Bul<QPushButton>(&w, "btnIleri")->text(), QStringLiteral("✓ GERI YUKLE"));
        QCOMPARE(OzetSatirlari(&w), QStringList({QStringLiteral("Kaynak dosya: ") + QFileInfo(m_zip).fileName(),
                                                 QStringLiteral("Mod: Tam yükleme"),
                                                 QStringLiteral("Hedef veritabanı:   ") + yeni + QStringLiteral(" "),
                                                 QStringLiteral("Hedef DB yoksa otomatik oluşturulacak")}));
        d.istekler.clear();
        TIKLA(&w, "btnIleri");
        Bekle(w);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(d.istekler.isEmpty()); // a new database is not asked about
        QCOMPARE(Bul<QLabel>(&w, "lblSonucBaslik")->text(), QStringLiteral("✓  Geri yükleme başarılı"));
        QCOMPARE(BaslikRengi(&w), QColor(34, 122, 0));
        QVERIFY2(LogMetni(&w).contains(QStringLiteral("GERI YUKLEME TAMAM")), qPrintable(LogMetni(&w)));
        QCOMPARE(Sayi(QStringLiteral("SELECT ad FROM musteri ORDER BY id"), yeni), QStringLiteral("Çağla\nÖmer"));
        QCOMPARE(Sayi(QStringLiteral("SELECT COUNT(*) FROM siparis"), yeni), QStringLiteral("1"));
        QVERIFY(!QFile::exists(AyarDosyasi())); // the restore wizard never saves settings

        QTimer::singleShot(0, &w, [&w] { Bul<QPushButton>(&w, "btnKapat")->click(); });
        QCOMPARE(w.exec(), int(QDialog::Accepted));
    }

    void existingTargetIsAskedAboutNoStaysYesRestores()
    {
        SUNUCU_GEREKLI();
        const QString hedef = TestSunucu::YeniAd(QStringLiteral("rw"));
        TestSunucu::Sql(QStringLiteral("CREATE DATABASE `%1`; CREATE TABLE `%1`.eski (id INT);").arg(hedef));
        SahteDiyalog d;
        TfrmRestoreWizard w;
        w.SetAyar(SunucuAyari());
        w.show();
        Adim2(w, d, "rbSadeceDB", m_sql);
        if (QTest::currentTestFailed())
            return;
        Adim3(w, hedef);
        QCOMPARE(OzetSatirlari(&w).value(1), QStringLiteral("Mod: Sema + veri"));

        d.cevap = [](const Diyaloglar::Istek&) { return Diyaloglar::Cevap{false, {}}; };
        TIKLA(&w, "btnIleri");
        QCOMPARE(Sayfa(&w), 2);
        QCOMPARE(d.istekler.last().tur, Diyaloglar::Tur::Uyari);
        QVERIFY(d.istekler.last().soru);
        QCOMPARE(d.istekler.last().metin,
                 QStringLiteral("\"%1\" veritabanı zaten var.\r\n\r\nMevcut tabloların uzerine yazılacak. Devam "
                                "edilsin mi?")
                     .arg(hedef));
        QCOMPARE(Bul<QComboBox>(&w, "cbHedef")->currentText(), hedef);
        QVERIFY(LogMetni(&w).isEmpty());

        d.cevap = [](const Diyaloglar::Istek&) { return Diyaloglar::Cevap{}; };
        TIKLA(&w, "btnIleri");
        Bekle(w);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(BaslikRengi(&w), QColor(34, 122, 0));
        QCOMPARE(Sayi(QStringLiteral("SELECT COUNT(*) FROM musteri"), hedef), QStringLiteral("2"));
        QCOMPARE(Sayi(QStringLiteral("SHOW TABLES LIKE 'eski'"), hedef), QStringLiteral("eski"));
    }

    void tableModeRestoresOnlyTheCheckedTables()
    {
        SUNUCU_GEREKLI();
        SahteDiyalog d;
        TfrmRestoreWizard w;
        w.SetAyar(SunucuAyari());
        w.show();
        Adim2(w, d, "rbTablolar", m_sql);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(d.istekler.last().metin, m_tmp.path()); // the dialog starts in the backup folder
        QCOMPARE(ListeOgeleri(&w), QStringList({"musteri", "siparis", "urun"}));
        QCOMPARE(Bul<QLabel>(&w, "lblTabloSayac")->text(), QStringLiteral("0 / 3 seçili"));
        TIKLA(&w, "btnIleri");
        QCOMPARE(Sayfa(&w), 1);
        QCOMPARE(d.Mesajlar().last(), QStringLiteral("En az bir tablo işaretleyin."));

        QTest::keyClicks(Bul<QLineEdit>(&w, "edtAra"), QStringLiteral("MUS"));
        TIKLA(&w, "btnTumu");
        QCOMPARE(Bul<QLabel>(&w, "lblTabloSayac")->text(), QStringLiteral("1 / 3 seçili"));
        const QString yeni = TestSunucu::YeniAd(QStringLiteral("rw"));
        Adim3(w, yeni);
        QCOMPARE(OzetSatirlari(&w).value(1), QStringLiteral("Mod: 1 tablo seçili"));
        TIKLA(&w, "btnIleri");
        Bekle(w);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(BaslikRengi(&w), QColor(34, 122, 0));
        QCOMPARE(Sayi(QStringLiteral("SHOW TABLES"), yeni), QStringLiteral("musteri"));
    }

    void fileChecksOnStepTwo()
    {
        SahteDiyalog d;
        TfrmRestoreWizard w;
        w.SetAyar(UlasilamazAyar());
        w.show();
        TIKLA(&w, "btnIleri");
        TIKLA(&w, "btnIleri");
        QCOMPARE(Sayfa(&w), 1);
        QCOMPARE(d.Mesajlar(), QStringList{QStringLiteral("Geri yüklenecek dosyayı seç.")});

        // Chosen in full mode, the file's tables are not read; table mode then finds none checked.
        const QString gecici = m_tmp.filePath(QStringLiteral("gidecek.sql"));
        DosyaYaz(gecici, "CREATE TABLE `a` (id INT);\n");
        DosyaSec(w, d, gecici);
        TIKLA(&w, "btnGeri");
        TIKLA(&w, "rbTablolar");
        TIKLA(&w, "btnIleri");
        QCOMPARE(Bul<QListWidget>(&w, "lstTablolar")->count(), 0);
        TIKLA(&w, "btnIleri");
        QCOMPARE(d.Mesajlar().last(), QStringLiteral("En az bir tablo işaretleyin."));

        // A script without recognisable tables: an empty list, counted 0 of 0, no message.
        const int mesajSayisi = d.Mesajlar().size();
        DosyaSec(w, d, m_bosDosya);
        QCOMPARE(Bul<QListWidget>(&w, "lstTablolar")->count(), 0);
        QCOMPARE(Bul<QLabel>(&w, "lblTabloSayac")->text(), QStringLiteral("0 / 0 seçili"));
        QCOMPARE(d.Mesajlar().size(), mesajSayisi);

        // A file that vanished after it was chosen.
        DosyaSec(w, d, gecici);
        QCOMPARE(ListeOgeleri(&w), QStringList{QStringLiteral("a")});
        QVERIFY(QFile::remove(gecici));
        TIKLA(&w, "btnIleri");
        QCOMPARE(Sayfa(&w), 1);
        QCOMPARE(d.Mesajlar().last(), QStringLiteral("Dosya bulunamadı."));
        QCOMPARE(d.istekler.last().tur, Diyaloglar::Tur::Hata);
    }

    void typedTargetSurvivesTheRefill_data()
    {
        QTest::addColumn<bool>("sunucu");
        QTest::newRow("database list") << true;
        QTest::newRow("list fails silently") << false;
    }
    void typedTargetSurvivesTheRefill()
    {
        QFETCH(bool, sunucu);
        if (sunucu)
            SUNUCU_GEREKLI();
        SahteDiyalog d;
        TfrmRestoreWizard w;
        w.SetAyar(sunucu ? SunucuAyari() : UlasilamazAyar());
        w.show();
        Adim2(w, d, "rbTam", m_bosDosya);
        if (QTest::currentTestFailed())
            return;
        TIKLA(&w, "btnIleri");
        auto* cb = Bul<QComboBox>(&w, "cbHedef");
        if (sunucu) {
            QVERIFY(cb->findText(m_kaynak) >= 0);
            QCOMPARE(cb->currentText(), cb->itemText(0)); // nothing typed yet: the first is chosen
        } else {
            QCOMPARE(cb->count(), 0);
        }
        cb->setEditText(QStringLiteral("yazilan_ad"));
        TIKLA(&w, "btnGeri");
        TIKLA(&w, "btnIleri");
        QCOMPARE(cb->currentText(), QStringLiteral("yazilan_ad"));
        QCOMPARE(cb->count() > 0, sunucu);
        QCOMPARE(d.Mesajlar(), QStringList());
    }

    void failedRunShowsTheClientErrorAndClosesWithOk()
    {
        SUNUCU_GEREKLI();
        SahteDiyalog d;
        TfrmRestoreWizard w;
        TKelmorAyar a = SunucuAyari();
        a.BinYolu = QStringLiteral(KELMOR_FAKE_TOOLS_DIR "/ui");
        w.SetAyar(a);
        w.show();
        GeciciOrtam hata("KELMOR_FAKE_HATA", "ERROR 1064 (42000) at line 3: You have an error in your SQL syntax\n");
        Adim2(w, d, "rbTam", m_sql);
        if (QTest::currentTestFailed())
            return;
        Adim3(w, m_kaynak);
        TIKLA(&w, "btnIleri"); // the warning is answered Yes
        Bekle(w);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(Bul<QLabel>(&w, "lblSonucBaslik")->text(), QStringLiteral("✗  Geri yükleme başarısız"));
        QCOMPARE(BaslikRengi(&w), QColor(255, 0, 0));
        const QString log = LogMetni(&w);
        QVERIFY2(log.contains(QStringLiteral("ERROR 1064 (42000) at line 3")), qPrintable(log));
        QVERIFY2(log.endsWith(QStringLiteral("HATA: Geri yukleme basarisiz (cikis kodu 1)")), qPrintable(log));
        QTimer::singleShot(0, &w, [&w] { Bul<QPushButton>(&w, "btnKapat")->click(); });
        QCOMPARE(w.exec(), int(QDialog::Accepted));
    }

    void failureKeptOnlyInTheResultIsNamedInTheLog()
    {
        SUNUCU_GEREKLI();
        SahteDiyalog d;
        TfrmRestoreWizard w;
        w.SetAyar(SunucuAyari());
        w.show();
        Adim2(w, d, "rbTam", m_sql);
        if (QTest::currentTestFailed())
            return;
        Adim3(w, QString(70, QLatin1Char('x'))); // longer than any database name may be
        TIKLA(&w, "btnIleri");
        Bekle(w);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(BaslikRengi(&w), QColor(255, 0, 0));
        const QStringList satirlar = LogMetni(&w).split(QLatin1Char('\n'));
        QVERIFY2(satirlar.last().startsWith(QStringLiteral("HATA: DB olusturulamadi: ")), qPrintable(satirlar.last()));
        QCOMPARE(satirlar.filter(QStringLiteral("DB olusturulamadi")).size(), 1);
    }

    void errorEscapingTheRunEndsInTheLogWithKapat()
    {
        SahteDiyalog d;
        TfrmRestoreWizard w;
        TKelmorAyar a = UlasilamazAyar();
        a.BinYolu = m_tmp.filePath(QStringLiteral("a|b")); // a character no path may hold
        w.SetAyar(a);
        w.show();
        Adim2(w, d, "rbTam", m_bosDosya);
        if (QTest::currentTestFailed())
            return;
        Adim3(w, QStringLiteral("hedef"));
        TIKLA(&w, "btnIleri");
        Bekle(w);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(BaslikRengi(&w), QColor(255, 0, 0));
        const QString log = LogMetni(&w);
        QVERIFY2(log.startsWith(QStringLiteral("HATA: ")) && log.contains(QStringLiteral("a|b")), qPrintable(log));
    }

    void closeBoxDuringARunWaitsForItsEnd()
    {
        SahteDiyalog d;
        TfrmRestoreWizard w;
        TKelmorAyar a = UlasilamazAyar();
        a.BinYolu = QStringLiteral(KELMOR_FAKE_TOOLS_DIR "/ui");
        w.SetAyar(a);
        w.show();
        GeciciOrtam uyku("KELMOR_FAKE_UYKU", "2");
        Adim2(w, d, "rbTam", m_bosDosya);
        if (QTest::currentTestFailed())
            return;
        Adim3(w, QStringLiteral("hedef"));
        Bul<QCheckBox>(&w, "chkOlustur")->setChecked(false); // straight to the client
        TIKLA(&w, "btnIleri");
        QCOMPARE(Sayfa(&w), 3);
        QVERIFY(Bul<QWidget>(&w, "pnlCalisiyor")->isVisible());
        QVERIFY(!Bul<QPushButton>(&w, "btnKapat")->isVisible());
        w.close();
        QVERIFY(w.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!w.isVisible(), kCalismaSuresi);
        QCOMPARE(w.result(), int(QDialog::Rejected));
        QVERIFY(LogMetni(&w).contains(QStringLiteral("HATA: Geri yukleme basarisiz")));
    }
};

QTEST_MAIN(TestRestoreWizard)
#include "TestRestoreWizard.moc"
