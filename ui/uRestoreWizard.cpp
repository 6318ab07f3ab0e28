#include "ui/uRestoreWizard.h"

#include "core/Ortak.h"
#include "db/uDatabase.h"
#include "ui/CalismaGostergesi.h"
#include "ui/CalismaIsi.h"
#include "ui/Diyaloglar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
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

namespace {
const QString kDosyaBasligi = QStringLiteral("Geri yuklenecek dosyayi sec");
const QString kDosyaFiltresi =
    QStringLiteral("SQL veya ZIP (*.sql *.zip);;SQL (*.sql);;ZIP (*.zip);;Tum dosyalar (*)");
} // namespace

TfrmRestoreWizard::TfrmRestoreWizard(QWidget* owner) : QDialog(owner), FIs(new TCalismaIsi(this))
{
    FormuKur();
    connect(FIs, &TCalismaIsi::Satir, this, &TfrmRestoreWizard::LogSatiriEkle);
}

TfrmRestoreWizard::~TfrmRestoreWizard() = default;

void TfrmRestoreWizard::SetAyar(const TKelmorAyar& ayar) { FAyar = ayar; }
TKelmorAyar TfrmRestoreWizard::Ayar() const { return FAyar; }

// ---------------------------------------------------------------- the form

void TfrmRestoreWizard::FormuKur()
{
    setObjectName(QStringLiteral("frmRestoreWizard"));
    PencereyiAyarla(this, 560, 534, QStringLiteral("Geri Yukle - Kelmor"));

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(41);
    ZeminRengi(Panel1, kBordo);

    pcAdimlar = new QStackedWidget(this);
    pcAdimlar->setObjectName(QStringLiteral("pcAdimlar"));
    pcAdimlar->addWidget(Adim1Kur());
    pcAdimlar->addWidget(Adim2Kur());
    pcAdimlar->addWidget(Adim3Kur());
    pcAdimlar->addWidget(SonucKur());

    FAlt = AltCubukYap(this, 60);
    FAlt.lblAdimEtiket->setFont(Gorunum::Font(13, false, QStringLiteral("Verdana")));
    ZeminRengi(FAlt.lblAdimEtiket, QColor(216, 216, 216));

    auto* d = new QVBoxLayout(this);
    d->setContentsMargins(0, 0, 0, 0);
    d->setSpacing(0);
    d->addWidget(Panel1);
    d->addWidget(pcAdimlar, 1);
    d->addWidget(FAlt.pnlAlt);

    connect(FAlt.btnIleri, &QPushButton::clicked, this, &TfrmRestoreWizard::btnIleriClick);
    connect(FAlt.btnGeri, &QPushButton::clicked, this, &TfrmRestoreWizard::btnGeriClick);
    connect(FAlt.btnIptal, &QPushButton::clicked, this, &TfrmRestoreWizard::reject);
}

QWidget* TfrmRestoreWizard::Adim1Kur()
{
    QWidget* s = Sayfa("tsAdim1");
    auto* d = new QVBoxLayout(s);
    d->setContentsMargins(24, 16, 24, 16);
    d->addWidget(Etiket(s, "lblAdim1Baslik", QStringLiteral("Geri yükleme modunu seç"), 19, true));
    d->addSpacing(14);
    rbTam = ModDugmesi(s, "rbTam", QStringLiteral("Tam yükleme (önerilir)"));
    rbTam->setChecked(true);
    d->addWidget(rbTam);
    d->addWidget(Aciklama(s, "lblTamAciklama", QStringLiteral("Dosyadaki her şey olduğu gibi yüklenir")));
    d->addSpacing(14);
    rbSadeceDB = ModDugmesi(s, "rbSadeceDB", QStringLiteral("Sadece veritabanı"));
    d->addWidget(rbSadeceDB);
    d->addWidget(Aciklama(s, "lblSadeceDBAciklama", QStringLiteral("Sema ve veri (DROP komutları dahil)")));
    d->addSpacing(14);
    rbTablolar = ModDugmesi(s, "rbTablolar", QStringLiteral("Seçili tablolar"));
    d->addWidget(rbTablolar);
    d->addWidget(
        Aciklama(s, "lblTablolarAciklama", QStringLiteral("Sadece seçtigin tablolar dosyadan yuklenir")));
    d->addStretch(1);
    return s;
}

QWidget* TfrmRestoreWizard::Adim2Kur()
{
    QWidget* s = Sayfa("tsAdim2");
    auto* d = new QVBoxLayout(s);
    d->setContentsMargins(24, 12, 24, 8);
    d->addWidget(Etiket(s, "lblAdim2Baslik", QStringLiteral("Kaynak dosyayı seç"), 19, true));
    d->addWidget(Etiket(s, "lblDosyaLabel", QStringLiteral("Yedek dosyası:")));
    auto* satir = new QHBoxLayout;
    edtDosya = new QLineEdit(s);
    edtDosya->setObjectName(QStringLiteral("edtDosya"));
    edtDosya->setReadOnly(true); // the path comes only from the open dialog
    btnDosyaSec = Dugme(s, "btnDosyaSec", QStringLiteral("Seç..."));
    satir->addWidget(edtDosya, 1);
    satir->addWidget(btnDosyaSec);
    d->addLayout(satir);
    FTablo = TabloGrubuYap(s, d, QStringLiteral("Dosyadaki tablolar:"), QStringLiteral("0 / 0 Seçili"),
                           QStringLiteral("Dosya okunuyor..."));

    connect(btnDosyaSec, &QPushButton::clicked, this, &TfrmRestoreWizard::btnDosyaSecClick);
    connect(FTablo.edtAra, &QLineEdit::textChanged, this, &TfrmRestoreWizard::TablolariFiltrele);
    connect(FTablo.btnTumu, &QPushButton::clicked, this, [this] {
        FTablo.HepsiniIsaretle(true);
        SayaciGuncelle();
    });
    connect(FTablo.btnHicbiri, &QPushButton::clicked, this, [this] {
        FTablo.HepsiniIsaretle(false);
        SayaciGuncelle();
    });
    connect(FTablo.lstTablolar, &QListWidget::itemChanged, this, &TfrmRestoreWizard::SayaciGuncelle);
    return s;
}

QWidget* TfrmRestoreWizard::Adim3Kur()
{
    QWidget* s = Sayfa("tsAdim3");
    auto* d = new QVBoxLayout(s);
    d->setContentsMargins(24, 12, 24, 12);
    d->addWidget(Etiket(s, "lblAdim3Baslik", QStringLiteral("Hedef ve onay"), 16, true));
    d->addSpacing(6);
    d->addWidget(Etiket(s, "lblHedefLabel", QStringLiteral("Hedef veritabanı:")));
    cbHedef = new QComboBox(s);
    cbHedef->setObjectName(QStringLiteral("cbHedef"));
    cbHedef->setEditable(true);
    cbHedef->setInsertPolicy(QComboBox::NoInsert); // a typed name is a target, not a new entry
    d->addWidget(cbHedef);
    QLabel* ipucu = Etiket(s, "lblHedefIpucu", QStringLiteral("Mevcut DB sec veya yeni ad yaz"));
    YaziRengi(ipucu, kGri);
    d->addWidget(ipucu);
    chkOlustur = new QCheckBox(QStringLiteral("Hedef DB yoksa otomatik oluştur"), s);
    chkOlustur->setObjectName(QStringLiteral("chkOlustur"));
    chkOlustur->setChecked(true);
    d->addWidget(chkOlustur);
    d->addSpacing(6);
    d->addWidget(Etiket(s, "lblOzetBaslik", QStringLiteral("Özet:"), 12, true));
    memOzet = OzetKutusu(s);
    d->addWidget(memOzet, 1);
    return s;
}

QWidget* TfrmRestoreWizard::SonucKur()
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
    btnKapat = Dugme(s, "btnKapat", QStringLiteral("Kapat"));
    btnKapat->hide();
    satir->addWidget(FGosterge, 1);
    satir->addStretch(0); // keeps the button at the right while the bar is hidden
    satir->addWidget(btnKapat);
    d->addLayout(satir);
    connect(btnKapat, &QPushButton::clicked, this, &TfrmRestoreWizard::accept);
    return s;
}

// ---------------------------------------------------------------- window events

void TfrmRestoreWizard::showEvent(QShowEvent* e)
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

void TfrmRestoreWizard::FormShow()
{
    // The file, its tables and the target stay as an earlier showing left them.
    pcAdimlar->setCurrentIndex(0);
    rbTam->setChecked(true);
    chkOlustur->setChecked(true);
    AdimGuncelle();
}

void TfrmRestoreWizard::reject()
{
    // The close box during a run: the window goes once the run has returned.
    if (FIs->Calisiyor()) {
        FKapatIstendi = true;
        return;
    }
    QDialog::reject();
}

// ---------------------------------------------------------------- steps

void TfrmRestoreWizard::AdimGuncelle()
{
    static const QString kEtiket[] = {
        QStringLiteral("Adım 1 / 3 — Geri yükleme modu"),
        QStringLiteral("Adım 2 / 3 — Kaynak dosya"),
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
    FAlt.btnIleri->setText(sayfa == 2 ? QStringLiteral("✓ GERI YUKLE") : QStringLiteral("İleri >"));
    FAlt.btnIptal->setVisible(true);
}

void TfrmRestoreWizard::btnIleriClick()
{
    switch (pcAdimlar->currentIndex()) {
    case 0:
        // Tables are read when a file is chosen, not here.
        pcAdimlar->setCurrentIndex(1);
        FTablo.Goster(SeciliMod() == rmTablolar);
        AdimGuncelle();
        break;
    case 1:
        if (KirpAscii(edtDosya->text()).isEmpty()) {
            BilgiKutusu(this, QStringLiteral("Geri yüklenecek dosyayı seç."));
            return;
        }
        if (!QFileInfo(edtDosya->text()).isFile()) {
            HataKutusu(this, QStringLiteral("Dosya bulunamadı."));
            return;
        }
        if (SeciliMod() == rmTablolar && IsaretliTablolar().isEmpty()) {
            BilgiKutusu(this, QStringLiteral("En az bir tablo işaretleyin."));
            return;
        }
        pcAdimlar->setCurrentIndex(2);
        HedefleriDoldur();
        OzetiHazirla();
        AdimGuncelle();
        break;
    case 2: {
        const QString hedef = KirpAscii(cbHedef->currentText());
        if (hedef.isEmpty()) {
            BilgiKutusu(this, QStringLiteral("Hedef veritabanı belirt."));
            return;
        }
        bool var;
        {
            KumSaati kum;
            var = TDB::VeritabaniVarMi(FAyar, hedef);
        }
        // A missing database is the run's business (it creates it when asked).
        if (var && !UyariSorusu(this, QStringLiteral("\"%1\" veritabanı zaten var.\r\n\r\nMevcut tabloların uzerine "
                                                     "yazılacak. Devam edilsin mi?")
                                          .arg(hedef)))
            return;
        RestoreYap();
        break;
    }
    default:
        break;
    }
}

void TfrmRestoreWizard::btnGeriClick()
{
    const int sayfa = pcAdimlar->currentIndex();
    if (sayfa > 0 && sayfa < 3) {
        pcAdimlar->setCurrentIndex(sayfa - 1);
        AdimGuncelle();
    }
}

TRestoreMod TfrmRestoreWizard::SeciliMod() const
{
    if (rbTam->isChecked())
        return rmTam;
    if (rbSadeceDB->isChecked())
        return rmSadeceDB;
    return rmTablolar;
}

// ---------------------------------------------------------------- file and tables

void TfrmRestoreWizard::btnDosyaSecClick()
{
    QString dosya = FAyar.YedekKlasoru; // where the dialog starts
    if (!Diyaloglar::DosyaAc(this, kDosyaBasligi, kDosyaFiltresi, dosya))
        return;
    edtDosya->setText(dosya);
    if (SeciliMod() == rmTablolar)
        DosyadanTablolariYukle();
}

void TfrmRestoreWizard::DosyadanTablolariYukle()
{
    const QString dosya = edtDosya->text();
    if (!QFileInfo(dosya).isFile() || FIs->Calisiyor())
        return;
    FTablo.lblYukleniyor->show();
    FTablo.lstTablolar->clear();
    OkurkenKilitle(true);
    // A big backup (a ZIP is unpacked first) takes a while to read: the worker
    // reads it and the window stays alive meanwhile.
    auto tablolar = std::make_shared<QStringList>();
    auto baglanti = std::make_shared<QMetaObject::Connection>();
    *baglanti = connect(FIs, &TCalismaIsi::Bitti, this, [this, tablolar, baglanti](const QString& h) {
        disconnect(*baglanti);
        DosyaOkundu(*tablolar, h);
    });
    FIs->Baslat([dosya, tablolar](const TLogProc&) {
        // A file without recognisable tables, or a ZIP that cannot be opened, gives an empty list.
        *tablolar = DosyadakiTablolar(dosya, TLogProc([](const QString&) {}));
    });
}

void TfrmRestoreWizard::DosyaOkundu(const QStringList& tablolar, const QString& kacanHata)
{
    OkurkenKilitle(false);
    FTablo.lblYukleniyor->hide();
    if (kacanHata.isEmpty()) {
        FTumTablolar = tablolar;
        TablolariFiltrele();
    } else {
        // A script that cannot be read at all: the list stays empty.
        HataKutusu(this, kacanHata);
    }
    if (FKapatIstendi)
        QDialog::reject();
}

void TfrmRestoreWizard::OkurkenKilitle(bool kilitli)
{
    for (QWidget* w : std::initializer_list<QWidget*>{FAlt.btnGeri, FAlt.btnIleri, btnDosyaSec, FTablo.edtAra,
                                                      FTablo.btnTumu, FTablo.btnHicbiri})
        w->setEnabled(!kilitli);
    if (kilitli)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

void TfrmRestoreWizard::TablolariFiltrele()
{
    FTablo.Filtrele(FTumTablolar);
    SayaciGuncelle();
}

void TfrmRestoreWizard::SayaciGuncelle() { FTablo.SayaciGuncelle(int(FTumTablolar.size())); }

QStringList TfrmRestoreWizard::IsaretliTablolar() const { return FTablo.Isaretliler(); }

void TfrmRestoreWizard::HedefleriDoldur()
{
    // A name typed on an earlier visit survives the refill.
    const QString yazilan = cbHedef->currentText();
    cbHedef->clear();
    QString hata;
    QStringList adlar;
    {
        KumSaati kum;
        adlar = TDB::Veritabanlari(FAyar, hata);
    }
    // A failed list is silent: a target can still be typed.
    if (hata.isEmpty())
        cbHedef->addItems(adlar);
    if (!yazilan.isEmpty())
        cbHedef->setEditText(yazilan);
    else if (cbHedef->count() > 0)
        cbHedef->setCurrentIndex(0);
}

void TfrmRestoreWizard::OzetiHazirla()
{
    memOzet->clear();
    SatirEkle(memOzet, QStringLiteral("Kaynak dosya: ") + QFileInfo(edtDosya->text()).fileName());
    switch (SeciliMod()) {
    case rmTam:
        SatirEkle(memOzet, QStringLiteral("Mod: Tam yükleme"));
        break;
    case rmSadeceDB:
        SatirEkle(memOzet, QStringLiteral("Mod: Sema + veri"));
        break;
    case rmTablolar:
        SatirEkle(memOzet, QStringLiteral("Mod: %1 tablo seçili").arg(IsaretliTablolar().size()));
        break;
    }
    SatirEkle(memOzet, QStringLiteral("Hedef veritabanı: ") + cbHedef->currentText());
    if (chkOlustur->isChecked())
        SatirEkle(memOzet, QStringLiteral("Hedef DB yoksa otomatik oluşturulacak"));
    memOzet->moveCursor(QTextCursor::Start);
}

// ---------------------------------------------------------------- the run

void TfrmRestoreWizard::LogSatiriEkle(const QString& satir)
{
    FCalismaSatirlari << satir;
    SatirEkle(memLog, satir);
}

void TfrmRestoreWizard::RestoreYap()
{
    if (FIs->Calisiyor())
        return;
    pcAdimlar->setCurrentIndex(3);
    AdimGuncelle();
    memLog->clear();
    FCalismaSatirlari.clear();
    btnKapat->hide();
    lblSonucBaslik->setText(QStringLiteral("Sonuç..."));
    YaziRengi(lblSonucBaslik, palette().color(QPalette::WindowText));

    TRestoreIstegi istek;
    istek.Ayar = FAyar;
    istek.KaynakDosya = edtDosya->text();
    istek.HedefVeritabani = KirpAscii(cbHedef->currentText());
    istek.RestoreMod = SeciliMod();
    istek.DBOlustur = chkOlustur->isChecked();
    if (istek.RestoreMod == rmTablolar)
        istek.SeciliTablolar = IsaretliTablolar();

    FGosterge->Baslat();
    auto sonuc = std::make_shared<TRestoreSonuc>();
    auto baglanti = std::make_shared<QMetaObject::Connection>();
    *baglanti = connect(FIs, &TCalismaIsi::Bitti, this, [this, sonuc, baglanti](const QString& h) {
        disconnect(*baglanti);
        RestoreBitti(*sonuc, h);
    });
    FIs->Baslat([istek, sonuc](const TLogProc& log) { *sonuc = GeriYukle(istek, log); });
}

void TfrmRestoreWizard::RestoreBitti(const TRestoreSonuc& sonuc, const QString& kacanHata)
{
    FGosterge->Durdur();
    const bool basarili = kacanHata.isEmpty() && sonuc.Basarili;
    if (!kacanHata.isEmpty()) {
        LogSatiriEkle(QStringLiteral("HATA: ") + kacanHata);
    } else if (!basarili && !sonuc.Hata.isEmpty()) {
        // Some failures live only in the result; the log must name them too.
        bool soylendi = false;
        for (const QString& s : std::as_const(FCalismaSatirlari))
            soylendi = soylendi || s.contains(sonuc.Hata);
        if (!soylendi)
            LogSatiriEkle(QStringLiteral("HATA: ") + sonuc.Hata);
    }
    if (basarili) {
        lblSonucBaslik->setText(QStringLiteral("✓  Geri yükleme başarılı"));
        YaziRengi(lblSonucBaslik, kBasariYesil);
    } else {
        lblSonucBaslik->setText(QStringLiteral("✗  Geri yükleme başarısız"));
        YaziRengi(lblSonucBaslik, kHataKirmizi);
    }
    btnKapat->show();
    btnKapat->setDefault(true);
    btnKapat->setFocus();
    if (FKapatIstendi)
        QDialog::reject();
}
