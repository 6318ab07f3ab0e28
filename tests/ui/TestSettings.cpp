#include "platform/AppPaths.h"
#include "tests/common/TestSunucu.h"
#include "tests/ui/UiYardimci.h"
#include "ui/uSettings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using Diyaloglar::Istek;
using Diyaloglar::Tur;

// The settings dialog, opened the way the main window opens it: a record in,
// the controls edited, the record read back after "Kaydet".
class TestSettings : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    static TKelmorAyar Ornek()
    {
        TKelmorAyar a;
        VarsayilanAyar(a);
        a.SonYedek = QStringLiteral("01.02.2024 10:20");
        a.SonYedekDosya = QStringLiteral("/yedek/db_tam_2024-02-01_10-20-00.zip");
        return a;
    }
    static QLineEdit* Kutu(TfrmSettings& d, const char* ad) { return Bul<QLineEdit>(&d, ad); }
    static void Yaz(TfrmSettings& d, const char* ad, const QString& metin) { Kutu(d, ad)->setText(metin); }
    static void Tikla(TfrmSettings& d, const char* ad)
    {
        QTest::mouseClick(Bul<QPushButton>(&d, ad), Qt::LeftButton);
    }

private Q_SLOTS:
    void init() { ExeKlasoruAyarla(m_dir.path()); }

    void showsTheRecordItWasGiven()
    {
        TfrmSettings d;
        d.SetAyar(Ornek());
        d.show();
        QCOMPARE(d.windowTitle(), QStringLiteral("Ayarlar - Kelmor"));
        QCOMPARE(d.size(), QSize(536, 550));
        QCOMPARE(Kutu(d, "edtHost")->text(), QStringLiteral("localhost"));
        QCOMPARE(Kutu(d, "edtPort")->text(), QStringLiteral("3307"));
        QCOMPARE(Kutu(d, "edtKullanici")->text(), QStringLiteral("root"));
        QCOMPARE(Kutu(d, "edtSifre")->text(), QStringLiteral("vabnek407"));
        QCOMPARE(Kutu(d, "edtBin")->text(), QStringLiteral("/usr/bin"));
        QCOMPARE(Kutu(d, "edtKlasor")->text(), VarsayilanYedekKlasoru());
        QVERIFY(Bul<QCheckBox>(&d, "chkZip")->isChecked());
        QCOMPARE(Kutu(d, "edtSifre")->echoMode(), QLineEdit::Password);
        QCOMPARE(Kutu(d, "edtAyarSifre")->echoMode(), QLineEdit::Password);
        QCOMPARE(Bul<QGroupBox>(&d, "grpYedek")->title(), QStringLiteral("  Yedek Ayarları"));
        QCOMPARE(Bul<QPushButton>(&d, "btnTest")->text(), QStringLiteral("Baglantıyı Test Et"));
        QVERIFY(Bul<QPushButton>(&d, "btnKaydet")->isDefault());
    }

    // Each opening starts from the record; what was typed before is gone.
    void reopeningShowsTheRecordAgain()
    {
        TfrmSettings d;
        d.SetAyar(Ornek());
        d.show();
        Yaz(d, "edtHost", QStringLiteral("baska"));
        Tikla(d, "btnIptal");
        QVERIFY(!d.isVisible());
        d.show();
        QCOMPARE(Kutu(d, "edtHost")->text(), QStringLiteral("localhost"));
    }

    void portText_data()
    {
        QTest::addColumn<QString>("metin");
        QTest::addColumn<int>("port");
        QTest::newRow("decimal") << "3310" << 3310;
        QTest::newRow("blanks") << " 3310 " << 3310;
        QTest::newRow("letters") << "abc" << 3306;
        QTest::newRow("digits then letters") << "33o6" << 3306;
        QTest::newRow("empty") << "" << 3306;
        QTest::newRow("hex") << "0x0CEA" << 3306;
        QTest::newRow("hex 0x0CEB") << "0x0ceb" << 3307;
        QTest::newRow("zero taken as is") << "0" << 0;
        QTest::newRow("too large") << "99999999999" << 3306;
    }
    void portText()
    {
        QFETCH(QString, metin);
        QFETCH(int, port);
        TfrmSettings d;
        d.SetAyar(Ornek());
        d.show();
        Yaz(d, "edtPort", metin);
        Tikla(d, "btnKaydet");
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.Ayar().Port, port);
    }

    // Names and folders lose blanks at both ends; passwords keep every character.
    void savingTrimsFieldsButNotPasswords()
    {
        TfrmSettings d;
        const TKelmorAyar once = Ornek();
        d.SetAyar(once);
        d.show();
        Yaz(d, "edtHost", QStringLiteral("  db.example \t"));
        Yaz(d, "edtKullanici", QStringLiteral(" yedekci "));
        Yaz(d, "edtSifre", QStringLiteral(" gizli "));
        Yaz(d, "edtBin", QStringLiteral("  /opt/maria/bin "));
        Yaz(d, "edtKlasor", QStringLiteral(" /srv/yedek  "));
        Yaz(d, "edtAyarSifre", QStringLiteral(" Kilit "));
        Bul<QCheckBox>(&d, "chkZip")->setChecked(false);
        Tikla(d, "btnKaydet");

        QCOMPARE(d.result(), int(QDialog::Accepted));
        const TKelmorAyar a = d.Ayar();
        QCOMPARE(a.Host, QStringLiteral("db.example"));
        QCOMPARE(a.Kullanici, QStringLiteral("yedekci"));
        QCOMPARE(a.Sifre, QStringLiteral(" gizli "));
        QCOMPARE(a.BinYolu, QStringLiteral("/opt/maria/bin"));
        QCOMPARE(a.YedekKlasoru, QStringLiteral("/srv/yedek"));
        QCOMPARE(a.AyarSifresi, QStringLiteral(" Kilit "));
        QVERIFY(!a.ZipYap);
        QCOMPARE(a.SonYedek, once.SonYedek);
        QCOMPARE(a.SonYedekDosya, once.SonYedekDosya);
        // Nothing is validated and the dialog writes no file.
        QVERIFY(!AyarDosyasiVarMi());
    }

    void enterSavesEmptyFieldsAsTheyAre()
    {
        TfrmSettings d;
        d.SetAyar(Ornek());
        d.show();
        Yaz(d, "edtHost", QString());
        Yaz(d, "edtAyarSifre", QString());
        QTest::keyClick(Kutu(d, "edtHost"), Qt::Key_Return);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.Ayar().Host, QString());
        QVERIFY(d.Ayar().AyarSifresi.isEmpty());
    }

    // İptal and the close box give Cancel with the record untouched; Escape does nothing.
    void cancelKeepsTheRecord()
    {
        TfrmSettings d;
        const TKelmorAyar once = Ornek();
        d.SetAyar(once);
        d.show();
        Yaz(d, "edtHost", QStringLiteral("baska"));
        QTest::keyClick(Kutu(d, "edtHost"), Qt::Key_Escape);
        QVERIFY(d.isVisible());
        Tikla(d, "btnIptal");
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(d.Ayar(), once);

        d.show();
        Yaz(d, "edtHost", QStringLiteral("baska"));
        d.close();
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(d.Ayar(), once);
    }

    void folderBrowsers()
    {
        SahteDiyalog s;
        TfrmSettings d;
        TKelmorAyar a = Ornek();
        a.BinYolu = m_dir.filePath(QStringLiteral("yok"));
        a.YedekKlasoru = QStringLiteral("  ") + m_dir.path();
        d.SetAyar(a);
        d.show();

        // A tool folder that does not exist: the browser starts nowhere; no new-folder button.
        s.cevap = [](const Istek&) { return Diyaloglar::Cevap{true, QStringLiteral("/secilen/bin")}; };
        Tikla(d, "btnBinSec");
        QCOMPARE(s.istekler.size(), 1);
        QCOMPARE(s.istekler[0].cesit, Istek::Cesit::Klasor);
        QCOMPARE(s.istekler[0].baslik, QStringLiteral("MariaDB bin klasörü"));
        QCOMPARE(s.istekler[0].metin, QString());
        QVERIFY(!s.istekler[0].yeniKlasor);
        QCOMPARE(Kutu(d, "edtBin")->text(), QStringLiteral("/secilen/bin"));

        // An existing backup folder is where it starts (as typed); cancelling changes nothing.
        Yaz(d, "edtKlasor", m_dir.path());
        s.cevap = [](const Istek&) { return Diyaloglar::Cevap{false, QStringLiteral("/yanlis")}; };
        Tikla(d, "btnKlasorSec");
        QCOMPARE(s.istekler.size(), 2);
        QCOMPARE(s.istekler[1].baslik, QStringLiteral("Yedek klasörü"));
        QCOMPARE(s.istekler[1].metin, m_dir.path());
        QVERIFY(s.istekler[1].yeniKlasor);
        QCOMPARE(Kutu(d, "edtKlasor")->text(), m_dir.path());
    }

    // The test uses what stands in the dialog, saved or not, and changes nothing.
    void connectionTestShowsServerVersion()
    {
        SUNUCU_GEREKLI();
        SahteDiyalog s;
        TfrmSettings d;
        TKelmorAyar a = TestSunucu::Ayar();
        a.Host = QStringLiteral("kelmor-no-such-host.invalid");
        d.SetAyar(a);
        d.show();
        Yaz(d, "edtHost", QStringLiteral(" ") + TestSunucu::Ayar().Host + QStringLiteral(" "));
        bool kumSaati = true;
        s.cevap = [&](const Istek&) {
            kumSaati = QApplication::overrideCursor() != nullptr;
            return Diyaloglar::Cevap{};
        };
        Tikla(d, "btnTest");

        const QString surum = TestSunucu::Sql(QStringLiteral("SELECT VERSION()")).trimmed();
        QCOMPARE(s.istekler.size(), 1);
        QCOMPARE(s.istekler[0].tur, Tur::Bilgi);
        QCOMPARE(s.istekler[0].metin,
                 QStringLiteral("Baglantı başarılı.\r\n\r\nMariaDB / MySQL surumu: ") + surum);
        QVERIFY(!kumSaati);
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(d.isVisible());
        QCOMPARE(d.Ayar(), a);
    }

    void connectionTestWithWrongPassword()
    {
        SUNUCU_GEREKLI();
        SahteDiyalog s;
        TfrmSettings d;
        const TKelmorAyar a = TestSunucu::Ayar();
        d.SetAyar(a);
        d.show();
        Yaz(d, "edtSifre", a.Sifre + QStringLiteral("-yanlis"));
        Tikla(d, "btnTest");
        QCOMPARE(s.istekler.size(), 1);
        QCOMPARE(s.istekler[0].tur, Tur::Hata);
        QVERIFY2(s.istekler[0].metin.startsWith(QStringLiteral("Baglantı başarısız:\r\n\r\n")),
                 qPrintable(s.istekler[0].metin));
        QVERIFY2(s.istekler[0].metin.contains(QStringLiteral("Access denied")),
                 qPrintable(s.istekler[0].metin));
        QVERIFY(!QApplication::overrideCursor());
        Tikla(d, "btnIptal");
        QCOMPARE(d.Ayar(), a);
    }
};

QTEST_MAIN(TestSettings)
#include "TestSettings.moc"
