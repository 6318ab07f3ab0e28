#include "ui/uBackupWizard.h"

#include "core/Ortak.h"
#include "db/uDatabase.h"
#include "ui/CalismaGostergesi.h"
#include "ui/CalismaIsi.h"
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
#include <QRadioButton>
#include <QShowEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <memory>

using namespace Sihirbaz;


TfrmBackupWizard::TfrmBackupWizard(QWidget* owner) : QDialog(owner), FIs(new TCalismaIsi(this))
{
    FormuKur();
    connect(FIs, &TCalismaIsi::Satir, this, &TfrmBackupWizard::LogSatiriEkle);
}

TfrmBackupWizard::~TfrmBackupWizard() = default;

void TfrmBackupWizard::SetAyar(const TKelmorAyar& ayar) { FAyar = ayar; }
TKelmorAyar TfrmBackupWizard::Ayar() const { return FAyar; }

// ---------------------------------------------------------------- the form

void TfrmBackupWizard::FormuKur()
{
    setObjectName(QStringLiteral("frmBackupWizard"));
    PencereyiAyarla(this, 560, 494, QStringLiteral("Yedek Al - Kelmor"));

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(41);
    ZeminRengi(Panel1, QColor(160, 222, 192));

    pcAdimlar = new QStackedWidget(this);
    pcAdimlar->setObjectName(QStringLiteral("pcAdimlar"));
    pcAdimlar->addWidget(Adim1Kur());
    pcAdimlar->addWidget(Adim2Kur());
    pcAdimlar->addWidget(Adim3Kur());
    pcAdimlar->addWidget(SonucKur());

    FAlt = AltCubukYap(this, 54);

    auto* d = new QVBoxLayout(this);
    d->setContentsMargins(0, 0, 0, 0);
    d->setSpacing(0);
    d->addWidget(Panel1);
    d->addWidget(pcAdimlar, 1);
    d->addWidget(FAlt.pnlAlt);

    connect(FAlt.btnIleri, &QPushButton::clicked, this, &TfrmBackupWizard::btnIleriClick);
    connect(FAlt.btnGeri, &QPushButton::clicked, this, &TfrmBackupWizard::btnGeriClick);
    connect(FAlt.btnIptal, &QPushButton::clicked, this, &TfrmBackupWizard::reject);
}

QWidget* TfrmBackupWizard::Adim1Kur()
{
    QWidget* s = Sayfa("tsAdim1");
    auto* d = new QVBoxLayout(s);
    d->setContentsMargins(24, 16, 24, 16);
    d->addWidget(Etiket(s, "lblAdim1Baslik", QStringLiteral("Ne yedeklemek istiyorsun?"), 19, true));
    d->addSpacing(14);
    rbTam = ModDugmesi(s, "rbTam", QStringLiteral("Tam yedek (önerilir)"));
    rbTam->setChecked(true);
    d->addWidget(rbTam);
    d->addWidget(Aciklama(s, "lblTamAciklama",
                          QStringLiteral("Procedure, trigger, event ve view dahil her sey yedeklenir")));
    d->addSpacing(14);
    rbSadeceDB = ModDugmesi(s, "rbSadeceDB", QStringLiteral("Sadece veritabanı"));
    d->addWidget(rbSadeceDB);
    d->addWidget(
        Aciklama(s, "lblSadeceDBAciklama", QStringLiteral("Sadece tablo yapilari ve veriler yedeklenir")));
    d->addSpacing(14);
    rbTablolar = ModDugmesi(s, "rbTablolar", QStringLiteral("Seçili tablolar"));
    d->addWidget(rbTablolar);
    d->addWidget(Aciklama(s, "lblTablolarAciklama", QStringLiteral("Sadece sectigin tablolar yedeklenir")));
    d->addStretch(1);
    return s;
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
    FTablo = TabloGrubuYap(s, d, QStringLiteral("Tablolar:"), QStringLiteral("0 / 0 seçili"),
                           QStringLiteral("Tablolar yukleniyor..."));

    // Only a person's pick runs the change handler; code that selects calls it itself.
    connect(cbVeritabani, &QComboBox::activated, this, &TfrmBackupWizard::cbVeritabaniChange);
    connect(FTablo.edtAra, &QLineEdit::textChanged, this, &TfrmBackupWizard::TablolariFiltrele);
    connect(FTablo.btnTumu, &QPushButton::clicked, this, [this] {
        FTablo.HepsiniIsaretle(true);
        SayaciGuncelle();
    });
    connect(FTablo.btnHicbiri, &QPushButton::clicked, this, [this] {
        FTablo.HepsiniIsaretle(false);
        SayaciGuncelle();
    });
    connect(FTablo.lstTablolar, &QListWidget::itemChanged, this, &TfrmBackupWizard::SayaciGuncelle);
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

QWidget* TfrmBackupWizard::SonucKur()
{
    QWidget* s = Sayfa("tsSonuc");
    auto* d = new QVBoxLayout(s);
    d->setContentsMargins(16, 10, 16, 10);
    lblSonucBaslik = Etiket(s, "lblSonucBaslik", QStringLiteral("Sonuç..."), 16, true);
    d->addWidget(lblSonucBaslik);
    memLog = LogKutusu(s);
    d->addWidget(memLog, 1);
    auto* satir = new QHBoxLayout;
    FGosterge = new TCalismaGostergesi(s);
    btnKlasorAc = Dugme(s, "btnKlasorAc", QStringLiteral("Klasorü Aç"));
    btnKapat = Dugme(s, "btnKapat", QStringLiteral("Kapat"));
    btnKlasorAc->hide();
    btnKapat->hide();
    satir->addWidget(FGosterge, 1);
    satir->addStretch(0); // keeps the buttons at the right while the bar is hidden
    satir->addWidget(btnKlasorAc);
    satir->addWidget(btnKapat);
    d->addLayout(satir);
    connect(btnKlasorAc, &QPushButton::clicked, this, &TfrmBackupWizard::btnKlasorAcClick);
    connect(btnKapat, &QPushButton::clicked, this, &TfrmBackupWizard::accept);
    return s;
}

// ---------------------------------------------------------------- window events

void TfrmBackupWizard::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    if (!FOrtalandi) {
        Gorunum::EkranOrtala(this);
        FOrtalandi = true;
    }
    FormShow();
}

void TfrmBackupWizard::FormShow()
{
    pcAdimlar->setCurrentIndex(0);
    rbTam->setChecked(true);
    edtKlasor->setText(FAyar.YedekKlasoru);
    chkZip->setChecked(FAyar.ZipYap);
    FTablo.lstTablolar->clear();
    AdimGuncelle();
}

void TfrmBackupWizard::reject()
{
    // The close box during a run: the window goes once the run has returned.
    if (FIs->Calisiyor()) {
        FKapatIstendi = true;
        return;
    }
    QDialog::reject();
}

// ---------------------------------------------------------------- steps

void TfrmBackupWizard::AdimGuncelle()
{
    static const QString kEtiket[] = {
        QStringLiteral("Adım 1 / 3 — Yedek modu"),
        QStringLiteral("Adım 2 / 3 — Veritabanı ve tablolar"),
        QStringLiteral("Adım 3 / 3 — Hedef ve onay"),
        QStringLiteral("Tamamlandı"),
    };
    const int sayfa = pcAdimlar->currentIndex();
    FAlt.lblAdimEtiket->setText(kEtiket[qBound(0, sayfa, 3)]);
    if (sayfa == 3) {
        FAlt.btnGeri->hide();
        FAlt.btnIleri->hide();
        FAlt.btnIptal->hide();
        return;
    }
    FAlt.btnGeri->setVisible(sayfa > 0);
    FAlt.btnIleri->setVisible(true);
    FAlt.btnIleri->setText(sayfa == 2 ? QStringLiteral("✓ YEDEK AL") : QStringLiteral("İleri >"));
    FAlt.btnIleri->setDefault(true);
    FAlt.btnIptal->setVisible(true);
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

void TfrmBackupWizard::btnGeriClick()
{
    const int sayfa = pcAdimlar->currentIndex();
    if (sayfa > 0 && sayfa < 3) {
        pcAdimlar->setCurrentIndex(sayfa - 1);
        AdimGuncelle();
    }
}

TYedekMod TfrmBackupWizard::SeciliMod() const
{
    if (rbTam->isChecked())
        return bmTam;
    if (rbSadeceDB->isChecked())
        return bmSadeceDB;
    return bmTablolar;
}

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

void TfrmBackupWizard::TablolariFiltrele()
{
    FTablo.Filtrele(FTumTablolar);
    SayaciGuncelle();
}

void TfrmBackupWizard::SayaciGuncelle() { FTablo.SayaciGuncelle(int(FTumTablolar.size())); }

QStringList TfrmBackupWizard::IsaretliTablolar() const { return FTablo.Isaretliler(); }

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

void TfrmBackupWizard::LogSatiriEkle(const QString& satir) { SatirEkle(memLog, satir); }

void TfrmBackupWizard::YedeklemeyiBaslat()
{
    if (FIs->Calisiyor())
        return;
    pcAdimlar->setCurrentIndex(3);
    AdimGuncelle();
    memLog->clear();
    btnKlasorAc->hide();
    btnKapat->hide();
    lblSonucBaslik->setText(QStringLiteral("Sonuç..."));
    YaziRengi(lblSonucBaslik, palette().color(QPalette::WindowText));

    TYedekIstegi istek;
    istek.Ayar = FAyar;
    istek.Veritabani = cbVeritabani->currentText();
    istek.YedekMod = SeciliMod();
    if (istek.YedekMod == bmTablolar)
        istek.Tablolar = IsaretliTablolar();
    istek.HedefKlasor = KirpAscii(edtKlasor->text());
    istek.ZipYap = chkZip->isChecked();

    FGosterge->Baslat(istek.HedefKlasor);
    auto sonuc = std::make_shared<TYedekSonuc>();
    auto baglanti = std::make_shared<QMetaObject::Connection>();
    *baglanti = connect(FIs, &TCalismaIsi::Bitti, this,
                        [this, sonuc, baglanti, klasor = istek.HedefKlasor, zip = istek.ZipYap](const QString& h) {
                            disconnect(*baglanti);
                            YedeklemeBitti(*sonuc, h, klasor, zip);
                        });
    FIs->Baslat([istek, sonuc](const TLogProc& log) { *sonuc = YedekAl(istek, log); });
}

void TfrmBackupWizard::YedeklemeBitti(const TYedekSonuc& sonuc, const QString& kacanHata, const QString& klasor,
                                      bool zip)
{
    FGosterge->Durdur();
    // An error that escaped the run is a failed run with its message in the log.
    const bool basarili = kacanHata.isEmpty() && sonuc.Basarili;
    if (!kacanHata.isEmpty())
        LogSatiriEkle(QStringLiteral("HATA: ") + kacanHata);
    if (basarili) {
        FSonDosya = sonuc.DosyaYolu;
        lblSonucBaslik->setText(QStringLiteral("✓  Yedekleme başarılı"));
        YaziRengi(lblSonucBaslik, kBasariYesil);
        btnKlasorAc->show();
        FAyar.YedekKlasoru = klasor;
        FAyar.ZipYap = zip;
        FAyar.SonYedek = QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm"));
        FAyar.SonYedekDosya = sonuc.DosyaYolu;
        try {
            AyarlariKaydet(FAyar);
        } catch (const std::exception& e) {
            LogSatiriEkle(QStringLiteral("HATA: ") + HataMesaji(e));
        }
    } else {
        FSonDosya.clear();
        lblSonucBaslik->setText(QStringLiteral("✗  Yedekleme başarısız"));
        YaziRengi(lblSonucBaslik, kHataKirmizi);
        btnKlasorAc->hide();
    }
    btnKapat->show();
    btnKapat->setDefault(true);
    btnKapat->setFocus();
    if (FKapatIstendi)
        QDialog::reject();
}
