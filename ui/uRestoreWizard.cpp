#include "ui/uRestoreWizard.h"

#include "core/Ortak.h"
#include "db/uDatabase.h"
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
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

using namespace Sihirbaz;

namespace {
const QString kDosyaBasligi = QStringLiteral("Geri yuklenecek dosyayi sec");
const QString kDosyaFiltresi =
    QStringLiteral("SQL veya ZIP (*.sql *.zip);;SQL (*.sql);;ZIP (*.zip);;Tum dosyalar (*)");
} // namespace

TfrmRestoreWizard::TfrmRestoreWizard(QWidget* owner)
    : TSihirbazPenceresi(owner,
                         {QStringLiteral("Adım 1 / 3 — Geri yükleme modu"),
                          QStringLiteral("Adım 2 / 3 — Kaynak dosya"),
                          QStringLiteral("Adım 3 / 3 — Hedef ve onay")},
                         QStringLiteral("✓ GERI YUKLE"))
{
    setObjectName(QStringLiteral("frmRestoreWizard"));
    PencereyiAyarla(this, 560, 534, QStringLiteral("Geri Yukle - Kelmor"));
    FormuKur(kBordo, 60, {Adim1Kur(), Adim2Kur(), Adim3Kur()});
    FAlt.lblAdimEtiket->setFont(Gorunum::Font(13, false, QStringLiteral("Verdana")));
    ZeminRengi(FAlt.lblAdimEtiket, QColor(216, 216, 216));
}

// ---------------------------------------------------------------- the form

QWidget* TfrmRestoreWizard::Adim1Kur()
{
    return ModSayfasiYap(
        FMod, QStringLiteral("Geri yükleme modunu seç"),
        {QStringLiteral("Tam yükleme (önerilir)"), QStringLiteral("Dosyadaki her şey olduğu gibi yüklenir")},
        {QStringLiteral("Sadece veritabanı"), QStringLiteral("Sema ve veri (DROP komutları dahil)")},
        {QStringLiteral("Seçili tablolar"), QStringLiteral("Sadece seçtigin tablolar dosyadan yuklenir")});
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
    TabloGrubuKur(s, d, QStringLiteral("Dosyadaki tablolar:"), QStringLiteral("0 / 0 Seçili"),
                  QStringLiteral("Dosya okunuyor..."));

    connect(btnDosyaSec, &QPushButton::clicked, this, &TfrmRestoreWizard::btnDosyaSecClick);
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

// ---------------------------------------------------------------- steps

void TfrmRestoreWizard::FormShow()
{
    // The file, its tables and the target stay as an earlier showing left them.
    FMod.rbTam->setChecked(true);
    chkOlustur->setChecked(true);
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

TRestoreMod TfrmRestoreWizard::SeciliMod() const { return FMod.Secili(rmTam, rmSadeceDB, rmTablolar); }

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
    if (!QFileInfo(dosya).isFile() || Calisiyor())
        return;
    FTablo.lblYukleniyor->show();
    FTablo.lstTablolar->clear();
    OkurkenKilitle(true);
    // A big backup (a ZIP is unpacked first) takes a while to read: the worker
    // reads it and the window stays alive meanwhile.
    auto tablolar = std::make_shared<QStringList>();
    IsiBaslat(
        [dosya, tablolar](const TLogProc&) {
            // A file without recognisable tables, or a ZIP that cannot be opened, gives an empty list.
            *tablolar = DosyadakiTablolar(dosya, TLogProc([](const QString&) {}));
        },
        [this, tablolar](const QString& h) { DosyaOkundu(*tablolar, h); });
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
    TSihirbazPenceresi::LogSatiriEkle(satir);
}

void TfrmRestoreWizard::RestoreYap()
{
    if (!SonucSayfasinaGec())
        return;
    FCalismaSatirlari.clear();

    TRestoreIstegi istek;
    istek.Ayar = FAyar;
    istek.KaynakDosya = edtDosya->text();
    istek.HedefVeritabani = KirpAscii(cbHedef->currentText());
    istek.RestoreMod = SeciliMod();
    istek.DBOlustur = chkOlustur->isChecked();
    if (istek.RestoreMod == rmTablolar)
        istek.SeciliTablolar = IsaretliTablolar();

    auto sonuc = std::make_shared<TRestoreSonuc>();
    CalismayiBaslat(
        QString(), [istek, sonuc](const TLogProc& log) { *sonuc = GeriYukle(istek, log); },
        [this, sonuc](const QString& h) { RestoreBitti(*sonuc, h); });
}

void TfrmRestoreWizard::RestoreBitti(const TRestoreSonuc& sonuc, const QString& kacanHata)
{
    const bool basarili = kacanHata.isEmpty() && sonuc.Basarili;
    // Some failures live only in the result; the log must name them too.
    const auto soylendi = [&] {
        return std::any_of(FCalismaSatirlari.cbegin(), FCalismaSatirlari.cend(),
                           [&](const QString& s) { return s.contains(sonuc.Hata); });
    };
    if (kacanHata.isEmpty() && !basarili && !sonuc.Hata.isEmpty() && !soylendi())
        LogSatiriEkle(QStringLiteral("HATA: ") + sonuc.Hata);
    SonucBasligi(basarili, QStringLiteral("✓  Geri yükleme başarılı"),
                 QStringLiteral("✗  Geri yükleme başarısız"));
}
