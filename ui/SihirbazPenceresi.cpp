#include "ui/SihirbazPenceresi.h"

#include "ui/CalismaGostergesi.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <memory>

using namespace Sihirbaz;

TSihirbazPenceresi::TSihirbazPenceresi(QWidget* owner, const QStringList& adimEtiketleri,
                                       const QString& sonDugme)
    : QDialog(owner), FAdimEtiketleri(adimEtiketleri + QStringList{QStringLiteral("Tamamlandı")}),
      FSonDugme(sonDugme), FIs(new TCalismaIsi(this))
{
    connect(FIs, &TCalismaIsi::Satir, this, &TSihirbazPenceresi::LogSatiriEkle);
}

void TSihirbazPenceresi::SetAyar(const TKelmorAyar& ayar) { FAyar = ayar; }
TKelmorAyar TSihirbazPenceresi::Ayar() const { return FAyar; }

// ---------------------------------------------------------------- the form

void TSihirbazPenceresi::FormuKur(const QColor& bantRengi, int altYukseklik, const QList<QWidget*>& adimlar)
{
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(41);
    ZeminRengi(Panel1, bantRengi);

    pcAdimlar = new QStackedWidget(this);
    pcAdimlar->setObjectName(QStringLiteral("pcAdimlar"));
    for (QWidget* adim : adimlar)
        pcAdimlar->addWidget(adim);
    pcAdimlar->addWidget(SonucKur());

    FAlt = AltCubukYap(this, altYukseklik);

    auto* d = new QVBoxLayout(this);
    d->setContentsMargins(0, 0, 0, 0);
    d->setSpacing(0);
    d->addWidget(Panel1);
    d->addWidget(pcAdimlar, 1);
    d->addWidget(FAlt.pnlAlt);

    connect(FAlt.btnIleri, &QPushButton::clicked, this, &TSihirbazPenceresi::btnIleriClick);
    connect(FAlt.btnGeri, &QPushButton::clicked, this, &TSihirbazPenceresi::btnGeriClick);
    connect(FAlt.btnIptal, &QPushButton::clicked, this, &TSihirbazPenceresi::reject);
}

QWidget* TSihirbazPenceresi::SonucKur()
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
    satir->addWidget(FGosterge, 1);
    satir->addStretch(0); // keeps the buttons at the right while the bar is hidden
    SonucDugmeleriKur(s, satir);
    btnKapat = Dugme(s, "btnKapat", QStringLiteral("Kapat"));
    btnKapat->hide();
    satir->addWidget(btnKapat);
    d->addLayout(satir);
    connect(btnKapat, &QPushButton::clicked, this, &TSihirbazPenceresi::accept);
    return s;
}

void TSihirbazPenceresi::SonucDugmeleriKur(QWidget*, QHBoxLayout*) {}

void TSihirbazPenceresi::TabloGrubuKur(QWidget* sayfa, QBoxLayout* duzen, const QString& baslik,
                                       const QString& sayac, const QString& yukleniyor)
{
    FTablo = TabloGrubuYap(sayfa, duzen, baslik, sayac, yukleniyor);
    connect(FTablo.edtAra, &QLineEdit::textChanged, this, &TSihirbazPenceresi::TablolariFiltrele);
    connect(FTablo.btnTumu, &QPushButton::clicked, this, [this] {
        FTablo.HepsiniIsaretle(true);
        SayaciGuncelle();
    });
    connect(FTablo.btnHicbiri, &QPushButton::clicked, this, [this] {
        FTablo.HepsiniIsaretle(false);
        SayaciGuncelle();
    });
    connect(FTablo.lstTablolar, &QListWidget::itemChanged, this, &TSihirbazPenceresi::SayaciGuncelle);
}

void TSihirbazPenceresi::TablolariFiltrele()
{
    FTablo.Filtrele(FTumTablolar);
    SayaciGuncelle();
}

void TSihirbazPenceresi::SayaciGuncelle() { FTablo.SayaciGuncelle(int(FTumTablolar.size())); }

QStringList TSihirbazPenceresi::IsaretliTablolar() const { return FTablo.Isaretliler(); }

// ---------------------------------------------------------------- window events

void TSihirbazPenceresi::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    if (!FOrtalandi) {
        Gorunum::EkranOrtala(this);
        FOrtalandi = true;
    }
    pcAdimlar->setCurrentIndex(0);
    FormShow();
    AdimGuncelle();
}

void TSihirbazPenceresi::reject()
{
    // The close box during a job: the window goes once the job has returned.
    if (FIs->Calisiyor()) {
        FKapatIstendi = true;
        return;
    }
    QDialog::reject();
}

// ---------------------------------------------------------------- steps

void TSihirbazPenceresi::AdimGuncelle()
{
    const int sayfa = pcAdimlar->currentIndex();
    FAlt.lblAdimEtiket->setText(FAdimEtiketleri.value(qBound(0, sayfa, 3)));
    if (sayfa == 3) {
        FAlt.btnGeri->hide();
        FAlt.btnIleri->hide();
        FAlt.btnIptal->hide();
        return;
    }
    FAlt.btnGeri->setVisible(sayfa > 0);
    FAlt.btnIleri->setVisible(true);
    FAlt.btnIleri->setText(sayfa == 2 ? FSonDugme : QStringLiteral("İleri >"));
    FAlt.btnIptal->setVisible(true);
}

void TSihirbazPenceresi::btnGeriClick()
{
    const int sayfa = pcAdimlar->currentIndex();
    if (sayfa > 0 && sayfa < 3) {
        pcAdimlar->setCurrentIndex(sayfa - 1);
        AdimGuncelle();
    }
}

// ---------------------------------------------------------------- the run

bool TSihirbazPenceresi::Calisiyor() const { return FIs->Calisiyor(); }

void TSihirbazPenceresi::IsiBaslat(TCalismaIsi::Is is, std::function<void(const QString& kacanHata)> bitti)
{
    auto baglanti = std::make_shared<QMetaObject::Connection>();
    *baglanti =
        connect(FIs, &TCalismaIsi::Bitti, this, [this, baglanti, bitti = std::move(bitti)](const QString& h) {
            disconnect(*baglanti);
            bitti(h);
            if (FKapatIstendi)
                QDialog::reject();
        });
    if (!FIs->Baslat(std::move(is)))
        disconnect(*baglanti);
}

bool TSihirbazPenceresi::SonucSayfasinaGec()
{
    if (FIs->Calisiyor())
        return false;
    pcAdimlar->setCurrentIndex(3);
    AdimGuncelle();
    memLog->clear();
    btnKapat->hide();
    lblSonucBaslik->setText(QStringLiteral("Sonuç..."));
    YaziRengi(lblSonucBaslik, palette().color(QPalette::WindowText));
    return true;
}

void TSihirbazPenceresi::CalismayiBaslat(const QString& izlenenKlasor, TCalismaIsi::Is is,
                                         std::function<void(const QString& kacanHata)> bitti)
{
    FGosterge->Baslat(izlenenKlasor);
    IsiBaslat(std::move(is), [this, bitti = std::move(bitti)](const QString& kacanHata) {
        FGosterge->Durdur();
        // An error that escaped the run is a failed run with its message in the log.
        if (!kacanHata.isEmpty())
            LogSatiriEkle(QStringLiteral("HATA: ") + kacanHata);
        bitti(kacanHata);
        btnKapat->show();
        btnKapat->setDefault(true);
        btnKapat->setFocus();
    });
}

void TSihirbazPenceresi::SonucBasligi(bool basarili, const QString& basariMetni, const QString& hataMetni)
{
    lblSonucBaslik->setText(basarili ? basariMetni : hataMetni);
    YaziRengi(lblSonucBaslik, basarili ? kBasariYesil : kHataKirmizi);
}

void TSihirbazPenceresi::LogSatiriEkle(const QString& satir) { SatirEkle(memLog, satir); }
