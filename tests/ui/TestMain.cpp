#include "core/uLog.h"
#include "platform/AppPaths.h"
#include "tests/common/TestSunucu.h"
#include "tests/ui/UiYardimci.h"
#include "ui/uBackupWizard.h"
#include "ui/uMain.h"
#include "ui/uRestoreWizard.h"
#include "ui/uSettings.h"

#include <QComboBox>
#include <QDir>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using Diyaloglar::Cevap;
using Diyaloglar::Istek;
using Diyaloglar::Tur;

namespace {
const QString kHosGeldin =
    QStringLiteral("Kelmor ilk defa çalıştırılıyor.\r\n"
                   "Varsayılan ayarlar oluşturuldu (ayarlar.ini).\r\n"
                   "Şimdi Ayarlar penceresinden bağlantı bilgilerini ve yolları kontrol et.");

QString Yazi(QWidget* w, const char* ad)
{
    return Bul<QLabel>(w, ad)->text();
}
void Tikla(QWidget* w, const char* ad)
{
    QTest::mouseClick(Bul<QWidget>(w, ad), Qt::LeftButton);
}
void Yaz(QWidget* w, const char* ad, const QString& metin)
{
    Bul<QLineEdit>(w, ad)->setText(metin);
}

TKelmorAyar Varsayilan()
{
    TKelmorAyar a;
    VarsayilanAyar(a);
    return a;
}
TKelmorAyar Dosyadaki()
{
    TKelmorAyar a;
    AyarlariYukle(a);
    return a;
}
} // namespace

// The main window as a person meets it, with the settings file and the debug log
// in a folder of the test's own.
class TestMain : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        ExeKlasoruAyarla(m_dir->path());
    }
    void cleanup() { QVERIFY(!QApplication::activeModalWidget()); }

    // The welcome box comes before the window, the settings dialog after it; the
    // defaults are on disk even when that dialog is cancelled.
    void firstStart()
    {
        SahteDiyalog s;
        bool pencereGorunurdu = true;
        s.cevap = [&](const Istek&) {
            pencereGorunurdu = false;
            for (QWidget* w : QApplication::topLevelWidgets())
                pencereGorunurdu |= qobject_cast<TfrmMain*>(w) && w->isVisible();
            return Cevap{};
        };
        TfrmMain w;
        QCOMPARE(s.istekler.size(), 1);
        QCOMPARE(s.istekler[0].tur, Tur::Bilgi);
        QCOMPARE(s.istekler[0].baslik, QStringLiteral("Hoş Geldin"));
        QCOMPARE(s.istekler[0].metin, kHosGeldin);
        QVERIFY(!pencereGorunurdu);
        QVERIFY(AyarDosyasiVarMi());
        const QByteArray dosya = DosyaOku(AyarDosyasi());
        QCOMPARE(Dosyadaki(), Varsayilan());
        QCOMPARE(Yazi(&w, "lblDurum"), QStringLiteral("Hazır - root@localhost"));
        QCOMPARE(Yazi(&w, "lblSonYedek"), QStringLiteral("Henüz yedek alınmadı"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Kelmor Yedekleme"));
        QCOMPARE(w.size(), QSize(420, 343));

        // Nothing opens before the window is shown.
        QCoreApplication::processEvents();
        QVERIFY(!QApplication::activeModalWidget());

        bool anaGorunur = false;
        ModaldaYap<TfrmSettings> iptal([&](TfrmSettings* d) {
            anaGorunur = w.isVisible();
            QCOMPARE(d->Ayar(), Varsayilan());
            Tikla(d, "btnIptal");
        });
        w.show();
        QTRY_VERIFY(iptal.Yapildi());
        QVERIFY(anaGorunur);
        QCOMPARE(s.istekler.size(), 1); // no password asked
        QCOMPARE(DosyaOku(AyarDosyasi()), dosya);
        QCOMPARE(w.Ayar(), Varsayilan());
    }

    void secondStartOpensNothing()
    {
        TKelmorAyar a = Varsayilan();
        a.Host = QStringLiteral("db.example");
        a.Kullanici = QStringLiteral("yedekci");
        a.SonYedek = QStringLiteral("01.02.2024 10:20");
        AyarlariKaydet(a);
        SahteDiyalog s;
        TfrmMain w;
        ModaldaYap<QDialog> acilan([](QDialog* d) { d->reject(); });
        w.show();
        QTest::qWait(200);
        QVERIFY(s.istekler.isEmpty());
        QVERIFY(!acilan.Yapildi());
        QCOMPARE(Yazi(&w, "lblDurum"), QStringLiteral("Hazır - yedekci@db.example"));
        QCOMPARE(Yazi(&w, "lblSonYedek"), QStringLiteral("Son yedek: 01.02.2024 10:20"));
    }

    void passwordGate_data()
    {
        QTest::addColumn<bool>("kabul");
        QTest::addColumn<QString>("yazilan");
        QTest::addColumn<QString>("mesaj");
        QTest::addColumn<bool>("acilir");
        QTest::newRow("cancelled") << false << "Gizli Kod"
                                   << "" << false;
        QTest::newRow("other letter case") << true << "gizli kod"
                                           << "Hatalı şifre." << false;
        QTest::newRow("blanks count") << true << " Gizli Kod"
                                      << "Hatalı şifre." << false;
        QTest::newRow("empty") << true << ""
                               << "Hatalı şifre." << false;
        QTest::newRow("exact text") << true << "Gizli Kod"
                                    << "" << true;
    }
    void passwordGate()
    {
        QFETCH(bool, kabul);
        QFETCH(QString, yazilan);
        QFETCH(QString, mesaj);
        QFETCH(bool, acilir);
        TKelmorAyar a = Varsayilan();
        a.AyarSifresi = QStringLiteral("Gizli Kod");
        AyarlariKaydet(a);
        TfrmMain w;
        w.show();
        SahteDiyalog s;
        s.cevap = [&](const Istek& i) {
            return i.cesit == Istek::Cesit::Girdi ? Cevap{kabul, yazilan} : Cevap{};
        };
        ModaldaYap<TfrmSettings> dlg([](TfrmSettings* d) { Tikla(d, "btnIptal"); });
        for (int kez = 0; kez < 2; ++kez) { // asked anew each time
            s.istekler.clear();
            Tikla(&w, "lblAyarlar");
            QCOMPARE(dlg.Yapildi(), acilir);
            QVERIFY(!s.istekler.isEmpty());
            QCOMPARE(s.istekler[0].cesit, Istek::Cesit::Girdi);
            QCOMPARE(s.istekler[0].baslik, QStringLiteral("Ayarlar"));
            QCOMPARE(s.istekler[0].metin, QStringLiteral("Yönetici şifresi:"));
            QVERIFY(s.istekler[0].maskeli);
            QCOMPARE(s.Mesajlar(), mesaj.isEmpty() ? QStringList() : QStringList{mesaj});
            if (!mesaj.isEmpty())
                QCOMPARE(s.istekler[1].tur, Tur::Hata);
            if (acilir)
                break;
        }
    }

    // A password set in the dialog guards the next use of the link; clearing it opens the gate.
    void settingsSavedAndPasswordTurnedOnAndOff()
    {
        AyarlariKaydet(Varsayilan());
        TfrmMain w;
        w.show();
        SahteDiyalog s;
        s.cevap = [](const Istek& i) {
            return i.cesit == Istek::Cesit::Girdi ? Cevap{true, QStringLiteral("Yeni")} : Cevap{};
        };
        {
            ModaldaYap<TfrmSettings> kaydet([](TfrmSettings* d) {
                Yaz(d, "edtHost", QStringLiteral(" db.example "));
                Yaz(d, "edtKullanici", QStringLiteral("yedekci"));
                Yaz(d, "edtAyarSifre", QStringLiteral("Yeni"));
                Tikla(d, "btnKaydet");
            });
            Tikla(&w, "lblAyarlar");
            QVERIFY(kaydet.Yapildi());
        }
        QVERIFY(s.istekler.isEmpty());
        QCOMPARE(Yazi(&w, "lblDurum"), QStringLiteral("Hazır - yedekci@db.example"));
        QCOMPARE(Dosyadaki().Host, QStringLiteral("db.example"));
        QCOMPARE(Dosyadaki().AyarSifresi, QStringLiteral("Yeni"));
        QCOMPARE(w.Ayar(), Dosyadaki());

        // Cancelling changes neither the copy nor the file.
        const QByteArray dosya = DosyaOku(AyarDosyasi());
        {
            ModaldaYap<TfrmSettings> iptal([](TfrmSettings* d) {
                Yaz(d, "edtHost", QStringLiteral("baska"));
                Tikla(d, "btnIptal");
            });
            Tikla(&w, "lblAyarlar");
            QVERIFY(iptal.Yapildi());
        }
        QCOMPARE(s.istekler.size(), 1);
        QCOMPARE(s.istekler[0].cesit, Istek::Cesit::Girdi);
        QCOMPARE(DosyaOku(AyarDosyasi()), dosya);
        QCOMPARE(w.Ayar().Host, QStringLiteral("db.example"));

        {
            ModaldaYap<TfrmSettings> temizle([](TfrmSettings* d) {
                Yaz(d, "edtAyarSifre", QString());
                Tikla(d, "btnKaydet");
            });
            Tikla(&w, "lblAyarlar");
            QVERIFY(temizle.Yapildi());
        }
        s.istekler.clear();
        ModaldaYap<TfrmSettings> acik([](TfrmSettings* d) { Tikla(d, "btnIptal"); });
        Tikla(&w, "lblAyarlar");
        QVERIFY(acik.Yapildi());
        QVERIFY(s.istekler.isEmpty());
    }

    // The settings file deleted while the window is open: no wizard, but the
    // "Ayar gerekli" box and the settings gate; saving brings the file back.
    void settingsFileDeletedWhileOpen_data()
    {
        QTest::addColumn<QString>("dugme");
        QTest::addColumn<QString>("metin");
        QTest::newRow("backup") << "btnYedekAl"
                                << "Once Ayarlar menüsunden bağlantı bilgilerini girip kaydet.";
        QTest::newRow("restore") << "btnGeriYukle"
                                 << "Önce Ayarlar menüsünden bağlantı bilgilerini girip kaydet.";
    }
    void settingsFileDeletedWhileOpen()
    {
        QFETCH(QString, dugme);
        QFETCH(QString, metin);
        TKelmorAyar a = Varsayilan();
        a.AyarSifresi = QStringLiteral("x");
        AyarlariKaydet(a);
        TfrmMain w;
        w.show();
        QVERIFY(QFile::remove(AyarDosyasi()));
        SahteDiyalog s;
        s.cevap = [](const Istek& i) {
            return i.cesit == Istek::Cesit::Girdi ? Cevap{true, QStringLiteral("x")} : Cevap{};
        };
        ModaldaYap<TfrmBackupWizard> yedek([](TfrmBackupWizard* d) { d->reject(); });
        ModaldaYap<TfrmRestoreWizard> geri([](TfrmRestoreWizard* d) { d->reject(); });
        ModaldaYap<TfrmSettings> kaydet([](TfrmSettings* d) { Tikla(d, "btnKaydet"); });
        Tikla(&w, qPrintable(dugme));
        QVERIFY(kaydet.Yapildi());
        QVERIFY(!yedek.Yapildi() && !geri.Yapildi());
        QCOMPARE(s.istekler.size(), 2);
        QCOMPARE(s.istekler[0].cesit, Istek::Cesit::Mesaj);
        QCOMPARE(s.istekler[0].tur, Tur::Bilgi);
        QCOMPARE(s.istekler[0].baslik, QStringLiteral("Ayar gerekli"));
        QCOMPARE(s.istekler[0].metin, metin);
        QCOMPARE(s.istekler[1].cesit, Istek::Cesit::Girdi);
        QVERIFY(AyarDosyasiVarMi());
        QCOMPARE(Dosyadaki(), a);
        QCOMPARE(Yazi(&w, "lblDurum"), QStringLiteral("Hazır - root@localhost"));
    }

    // Saving that fails shows the error's text; at creation it also ends the first-start steps.
    void settingsFileNotWritable()
    {
        SahteDiyalog s;
        ExeKlasoruAyarla(QStringLiteral("/proc/kelmor-yok"));
        {
            TfrmMain w;
            QCOMPARE(s.istekler.size(), 1);
            QCOMPARE(s.istekler[0].tur, Tur::Hata);
            QCOMPARE(s.istekler[0].baslik, QStringLiteral("Kelmor Yedekleme"));
            QVERIFY2(s.istekler[0].metin.startsWith(QStringLiteral("Ayar dosyası yazılamadı: ")),
                     qPrintable(s.istekler[0].metin));
            QCOMPARE(Yazi(&w, "lblDurum"), QStringLiteral("Bağlantı Durumu"));
            QCOMPARE(Yazi(&w, "lblSonYedek"), QStringLiteral("Son yedek: -"));
            ModaldaYap<TfrmSettings> acilan([](TfrmSettings* d) { d->reject(); });
            w.show();
            QTest::qWait(100);
            QVERIFY(!acilan.Yapildi());
        }

        // A folder in the file's place: it "exists", reads as the defaults, and cannot be written.
        ExeKlasoruAyarla(m_dir->path());
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("ayarlar.ini")));
        s.istekler.clear();
        TfrmMain w;
        w.show();
        QVERIFY(s.istekler.isEmpty());
        ModaldaYap<TfrmSettings> kaydet([](TfrmSettings* d) {
            Yaz(d, "edtKullanici", QStringLiteral("yedekci"));
            Tikla(d, "btnKaydet");
        });
        Tikla(&w, "lblAyarlar");
        QVERIFY(kaydet.Yapildi());
        QCOMPARE(s.istekler.size(), 1);
        QCOMPARE(s.istekler[0].tur, Tur::Hata);
        QCOMPARE(s.istekler[0].baslik, QStringLiteral("Kelmor Yedekleme"));
        QVERIFY(s.istekler[0].metin.contains(QDir::toNativeSeparators(AyarDosyasi())));
        // The copy holds the new record; the status was not refreshed.
        QCOMPARE(w.Ayar().Kullanici, QStringLiteral("yedekci"));
        QCOMPARE(Yazi(&w, "lblDurum"), QStringLiteral("Hazır - root@localhost"));
    }

    void logLink()
    {
        AyarlariKaydet(Varsayilan());
        TfrmMain w;
        w.show();
        SahteDiyalog s;
        QFile::remove(LogDosyasi());
        Tikla(&w, "lblLogAc");
        QCOMPARE(s.istekler.size(), 1);
        QCOMPARE(s.istekler[0].tur, Tur::Bilgi);
        QCOMPARE(s.istekler[0].metin, QStringLiteral("Log dosyası henüz oluşturulmamış."));

        QVERIFY(LogBaslat());
        Tikla(&w, "lblLogAc");
        QCOMPARE(s.istekler.size(), 2);
        QCOMPARE(s.istekler[1].cesit, Istek::Cesit::Ac);
        QCOMPARE(s.istekler[1].metin, LogDosyasi());
    }

    // Maroon until the mouse passes; blue and underlined over it; grey and plain after.
    void linkLook()
    {
        AyarlariKaydet(Varsayilan());
        TfrmMain w;
        w.show();
        for (const char* ad : {"lblLogAc", "lblAyarlar"}) {
            QLabel* l = Bul<QLabel>(&w, ad);
            QCOMPARE(l->palette().color(QPalette::WindowText), QColor(128, 0, 0));
            QEnterEvent gir(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
            QApplication::sendEvent(l, &gir);
            QCOMPARE(l->palette().color(QPalette::WindowText), QColor(0, 0, 255));
            QVERIFY(l->font().underline());
            QEvent cik(QEvent::Leave);
            QApplication::sendEvent(l, &cik);
            QCOMPARE(l->palette().color(QPalette::WindowText), QColor(128, 128, 128));
            QVERIFY(!l->font().underline() && !l->font().bold());
        }
        QCOMPARE(Bul<QLabel>(&w, "lblAyarlar")->text(), QStringLiteral(" Ayarlar"));
        QCOMPARE(Bul<QPushButton>(&w, "btnYedekAl")->text(), QStringLiteral(" YEDEK AL"));
        QCOMPARE(Bul<QPushButton>(&w, "btnGeriYukle")->text(), QStringLiteral("GERİ YÜKLE"));
    }

    // The wizards get the window's copy; the restore wizard's result is not read
    // and nothing is reloaded after it.
    void wizardsGetTheCopy()
    {
        TKelmorAyar a = Varsayilan();
        a.Host = QStringLiteral("db.example");
        AyarlariKaydet(a);
        TfrmMain w;
        w.show();
        SahteDiyalog s;
        TKelmorAyar yedekte, geride;
        {
            ModaldaYap<TfrmBackupWizard> yedek([&](TfrmBackupWizard* d) {
                yedekte = d->Ayar();
                Tikla(d, "btnIptal");
            });
            Tikla(&w, "btnYedekAl");
            QVERIFY(yedek.Yapildi());
        }
        QCOMPARE(yedekte, a);
        {
            TKelmorAyar b = a;
            b.SonYedek = QStringLiteral("02.03.2024 11:12");
            ModaldaYap<TfrmRestoreWizard> geri([&](TfrmRestoreWizard* d) {
                geride = d->Ayar();
                AyarlariKaydet(b); // someone else writes the file meanwhile
                d->accept();
            });
            Tikla(&w, "btnGeriYukle");
            QVERIFY(geri.Yapildi());
        }
        QCOMPARE(geride, a);
        QCOMPARE(w.Ayar(), a);
        QCOMPARE(Yazi(&w, "lblSonYedek"), QStringLiteral("Henüz yedek alınmadı"));
        QVERIFY(s.istekler.isEmpty());
    }

    // A real backup through the wizard: left with the close box the new line shows
    // only at the next start; left with "Kapat" it shows at once.
    void lastBackupLineAfterTheWizard()
    {
        SUNUCU_GEREKLI();
        const QString db = TestSunucu::YeniAd(QStringLiteral("anapencere"));
        TestSunucu::Sql(
            QStringLiteral("CREATE DATABASE %1; CREATE TABLE %1.t (id INT); INSERT INTO %1.t VALUES (1);")
                .arg(db));
        TKelmorAyar a = TestSunucu::Ayar();
        a.YedekKlasoru = m_dir->filePath(QStringLiteral("yedek"));
        AyarlariKaydet(a);
        TfrmMain w;
        w.show();
        SahteDiyalog s;

        auto yedekAl = [&](bool kapatIle) {
            ModaldaYap<TfrmBackupWizard> sihirbaz([&](TfrmBackupWizard* d) {
                Tikla(d, "btnIleri");
                auto* cb = Bul<QComboBox>(d, "cbVeritabani");
                QVERIFY(cb->findText(db) >= 0);
                cb->setCurrentIndex(cb->findText(db));
                Tikla(d, "btnIleri");
                Tikla(d, "btnIleri");
                QPushButton* kapat = Bul<QPushButton>(d, "btnKapat");
                QTRY_VERIFY_WITH_TIMEOUT(kapat->isVisible(), 60000);
                if (kapatIle)
                    Tikla(d, "btnKapat");
                else
                    d->close();
            });
            Tikla(&w, "btnYedekAl");
            QVERIFY(sihirbaz.Yapildi());
        };

        yedekAl(false);
        QVERIFY2(!Dosyadaki().SonYedek.isEmpty(), qPrintable(s.Mesajlar().join(QLatin1Char('|'))));
        QCOMPARE(Yazi(&w, "lblSonYedek"), QStringLiteral("Henüz yedek alınmadı"));
        {
            TfrmMain sonraki;
            QCOMPARE(Yazi(&sonraki, "lblSonYedek"), QStringLiteral("Son yedek: ") + Dosyadaki().SonYedek);
        }

        yedekAl(true);
        const TKelmorAyar sonra = Dosyadaki();
        QVERIFY(QFileInfo::exists(sonra.SonYedekDosya));
        QCOMPARE(Yazi(&w, "lblSonYedek"), QStringLiteral("Son yedek: ") + sonra.SonYedek);
        QCOMPARE(w.Ayar(), sonra);
        QVERIFY(s.Mesajlar().isEmpty());
    }
};

QTEST_MAIN(TestMain)
#include "TestMain.moc"
