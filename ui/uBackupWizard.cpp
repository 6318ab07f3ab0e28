#include "ui/uBackupWizard.h"

#include "core/Ortak.h"
#include "db/uDatabase.h"
#include "ui/Diyaloglar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <memory>

using namespace Sihirbaz;

TfrmBackupWizard::TfrmBackupWizard(QWidget* owner)
    : TSihirbazPenceresi(owner,
                         {QStringLiteral("Adım 1 / 3 — Yedek modu"),
                          QStringLiteral("Adım 2 / 3 — Veritabanı ve tablolar"),
                          QStringLiteral("Adım 3 / 3 — Hedef ve onay")},
                         QStringLiteral("✓ YEDEK AL"))
{
    setObjectName(QStringLiteral("frmBackupWizard"));
    PencereyiAyarla(this, 560, 494, QStringLiteral("Yedek Al - Kelmor"));
    FormuKur(QColor(160, 222, 192), 54, {Adim1Kur(), Adim2Kur(), Adim3Kur()});
}

// ---------------------------------------------------------------- the form

QWidget* TfrmBackupWizard::Adim1Kur()
{
    return ModSayfasiYap(
        FMod, QStringLiteral("Ne yedeklemek istiyorsun?"),
        {QStringLiteral("Tam yedek (önerilir)"),
         QStringLiteral("Procedure, trigger, event ve view dahil her sey yedeklenir")},
        {QStringLiteral("Sadece veritabanı"), QStringLiteral("Sadece tablo yapilari ve veriler yedeklenir")},
        {QStringLiteral("Seçili tablolar"), QStringLiteral("Sadece sectigin tablolar yedeklenir")});
}

QWidget* TfrmBackupWizard::Adim2Kur()
{
    QWidget* s = Sayfa("tsAdim2");
    auto* d = new QVBoxLayout(s);
    d->setContentsMargins(24, 12, 24, 8);
    d->addWidget(Etiket(s, "lblAdim2Baslik", QStringLiteral("Veritabanı ve (varsa) tablo seç"), 21, true));
    auto* satir = new QHBoxLayout;
    satir->addWidget(Etiket(s, "lblDBLabel", QStringLiteral("Veritabanı :")));
    cbVeritabani = new QComboBox(s);
    cbVeritabani->setObjectName(QStringLiteral("cbVeritabani"));
    cbVeritabani->setEditable(false);
    satir->addWidget(cbVeritabani, 1);
    d->addLayout(satir);
    TabloGrubuKur(s, d, QStringLiteral("Tablolar:"), QStringLiteral("0 / 0 seçili"),
                  QStringLiteral("Tablolar yukleniyor..."));

    // Only a person's pick runs the change handler; code that selects calls it itself.
    connect(cbVeritabani, &QComboBox::activated, this, &TfrmBackupWizard::cbVeritabaniChange);
    return s;
}

QWidget* TfrmBackupWizard::Adim3Kur()
{
    QWidget* s = Sayfa("tsAdim3");
    auto* d = new QVBoxLayout(s);
    d->setContentsMargins(24, 12, 24, 12);
    d->addWidget(Etiket(s, "lblAdim3Baslik", QStringLiteral("Hedef klasör ve onay"), 21, true));
    d->addSpacing(6);
    d->addWidget(Etiket(s, "lblKlasorLabel", QStringLiteral("Yedek klasörü")));
    auto* satir = new QHBoxLayout;
    edtKlasor = new QLineEdit(s);
    edtKlasor->setObjectName(QStringLiteral("edtKlasor"));
    auto* btnKlasorSec = Dugme(s, "btnKlasorSec", QStringLiteral("Gözat..."));
    satir->addWidget(edtKlasor, 1);
    satir->addWidget(btnKlasorSec);
    d->addLayout(satir);
    chkZip = new QCheckBox(QStringLiteral("ZIP olarak sıkıştır"), s);
    chkZip->setObjectName(QStringLiteral("chkZip"));
    chkZip->setFont(Yazi(12, true));
    chkZip->setChecked(true);
    d->addWidget(chkZip);
    d->addSpacing(6);
    d->addWidget(Etiket(s, "lblOzetBaslik", QStringLiteral("Özet:"), 12, true));
    memOzet = OzetKutusu(s);
    d->addWidget(memOzet, 1);
    connect(btnKlasorSec, &QPushButton::clicked, this, &TfrmBackupWizard::btnKlasorSecClick);
    return s;
}

void TfrmBackupWizard::SonucDugmeleriKur(QWidget* sayfa, QHBoxLayout* satir)
{
    btnKlasorAc = Dugme(sayfa, "btnKlasorAc", QStringLiteral("Klasorü Aç"));
    btnKlasorAc->hide();
    satir->addWidget(btnKlasorAc);
    connect(btnKlasorAc, &QPushButton::clicked, this, &TfrmBackupWizard::btnKlasorAcClick);
}

// ---------------------------------------------------------------- steps

void TfrmBackupWizard::FormShow()
{
    FMod.rbTam->setChecked(true);
    edtKlasor->setText(FAyar.YedekKlasoru);
    chkZip->setChecked(FAyar.ZipYap);
    FTablo.lstTablolar->clear();
}

void TfrmBackupWizard::AdimGuncelle()
{
    TSihirbazPenceresi::AdimGuncelle();
    // This wizard names İleri the default button again on every step.
    if (pcAdimlar->currentIndex() < 3)
        FAlt.btnIleri->setDefault(true);
}

void TfrmBackupWizard::btnIleriClick()
{
    switch (pcAdimlar->currentIndex()) {
    case 0:
        pcAdimlar->setCurrentIndex(1);
        VeritabanlariniYukle();
        AdimGuncelle();
        break;
    case 1:
        if (cbVeritabani->currentText().isEmpty()) {
            BilgiKutusu(this, QStringLiteral("Lutfen bir veritabanı seçin."));
            return;
        }
        if (SeciliMod() == bmTablolar && IsaretliTablolar().isEmpty()) {
            BilgiKutusu(this, QStringLiteral("En az bir tablo işaretleyin."));
            return;
        }
        pcAdimlar->setCurrentIndex(2);
        OzetiHazirla();
        AdimGuncelle();
        break;
    case 2:
        // The folder need not exist: the run creates it.
        if (KirpAscii(edtKlasor->text()).isEmpty()) {
            BilgiKutusu(this, QStringLiteral("Yedek klasoru belirtin."));
            return;
        }
        YedeklemeyiBaslat();
        break;
    default:
        break;
    }
}

TYedekMod TfrmBackupWizard::SeciliMod() const { return FMod.Secili(bmTam, bmSadeceDB, bmTablolar); }

// ---------------------------------------------------------------- databases and tables

void TfrmBackupWizard::VeritabanlariniYukle()
{
    cbVeritabani->clear();
    QString hata;
    QStringList adlar;
    {
        KumSaati kum;
        adlar = TDB::Veritabanlari(FAyar, hata);
    }
    if (!hata.isEmpty()) {
        HataKutusu(this, QStringLiteral("Veritabanları alinamadı:\r\n") + hata);
        pcAdimlar->setCurrentIndex(0);
        AdimGuncelle();
        return;
    }
    cbVeritabani->addItems(adlar);
    if (cbVeritabani->count() > 0) {
        cbVeritabani->setCurrentIndex(0);
        cbVeritabaniChange();
    }
    FTablo.Goster(SeciliMod() == bmTablolar);
}

void TfrmBackupWizard::cbVeritabaniChange()
{
    if (SeciliMod() == bmTablolar)
        TablolariYukle();
}

void TfrmBackupWizard::TablolariYukle()
{
    const QString db = cbVeritabani->currentText();
    if (db.isEmpty())
        return;
    FTablo.lblYukleniyor->show();
    FTablo.lstTablolar->clear();
    // Paint the label before the call blocks.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QString hata;
    {
        KumSaati kum;
        FTumTablolar = TDB::Tablolar(FAyar, db, hata);
    }
    FTablo.lblYukleniyor->hide();
    if (!hata.isEmpty())
        HataKutusu(this, QStringLiteral("Tablolar alınamadı:\r\n") + hata);
    else
        TablolariFiltrele();
}

void TfrmBackupWizard::OzetiHazirla()
{
    memOzet->clear();
    SatirEkle(memOzet, QStringLiteral("Veritabanı: ") + cbVeritabani->currentText());
    switch (SeciliMod()) {
    case bmTam:
        SatirEkle(memOzet, QStringLiteral("Mod: Tam yedek (her şey dahil)"));
        break;
    case bmSadeceDB:
        SatirEkle(memOzet, QStringLiteral("Mod: Sadece sema + veri"));
        break;
    case bmTablolar:
        SatirEkle(memOzet, QStringLiteral("Mod: %1 tablo seçili").arg(IsaretliTablolar().size()));
        break;
    }
    SatirEkle(memOzet, QStringLiteral("Hedef klasör: ") + edtKlasor->text());
    SatirEkle(memOzet, chkZip->isChecked() ? QStringLiteral("ZIP olarak sıkıştırılacak")
                                           : QStringLiteral("SQL dosyası olarak kaydedilecek"));
    memOzet->moveCursor(QTextCursor::Start);
}

void TfrmBackupWizard::btnKlasorSecClick()
{
    QString klasor;
    if (Diyaloglar::KlasorSec(this, QStringLiteral("Yedek klasörü"), edtKlasor->text(), klasor))
        edtKlasor->setText(klasor);
}

void TfrmBackupWizard::btnKlasorAcClick()
{
    if (!FSonDosya.isEmpty())
        Diyaloglar::KlasordeGoster(FSonDosya);
}

// ---------------------------------------------------------------- the run

void TfrmBackupWizard::YedeklemeyiBaslat()
{
    if (!SonucSayfasinaGec())
        return;
    btnKlasorAc->hide();

    TYedekIstegi istek;
    istek.Ayar = FAyar;
    istek.Veritabani = cbVeritabani->currentText();
    istek.YedekMod = SeciliMod();
    if (istek.YedekMod == bmTablolar)
        istek.Tablolar = IsaretliTablolar();
    istek.HedefKlasor = KirpAscii(edtKlasor->text());
    istek.ZipYap = chkZip->isChecked();

    auto sonuc = std::make_shared<TYedekSonuc>();
    CalismayiBaslat(
        istek.HedefKlasor, [istek, sonuc](const TLogProc& log) { *sonuc = YedekAl(istek, log); },
        [this, sonuc, klasor = istek.HedefKlasor, zip = istek.ZipYap](const QString& h) {
            YedeklemeBitti(*sonuc, h, klasor, zip);
        });
}

void TfrmBackupWizard::YedeklemeBitti(const TYedekSonuc& sonuc, const QString& kacanHata, const QString& klasor,
                                      bool zip)
{
    const bool basarili = kacanHata.isEmpty() && sonuc.Basarili;
    SonucBasligi(basarili, QStringLiteral("✓  Yedekleme başarılı"), QStringLiteral("✗  Yedekleme başarısız"));
    btnKlasorAc->setVisible(basarili);
    if (!basarili) {
        FSonDosya.clear();
        return;
    }
    FSonDosya = sonuc.DosyaYolu;
    FAyar.YedekKlasoru = klasor;
    FAyar.ZipYap = zip;
    FAyar.SonYedek = QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm"));
    FAyar.SonYedekDosya = sonuc.DosyaYolu;
    try {
        AyarlariKaydet(FAyar);
    } catch (const std::exception& e) {
        LogSatiriEkle(QStringLiteral("HATA: ") + HataMesaji(e));
    }
}
