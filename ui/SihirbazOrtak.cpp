#include "ui/SihirbazOrtak.h"

#include "core/Ortak.h"
#include "ui/Diyaloglar.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace Sihirbaz {

QFont SabitYazi(int px)
{
    QFont f = QFontDatabase::hasFamily(QStringLiteral("Consolas"))
                  ? QFont(QStringLiteral("Consolas"))
                  : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPixelSize(px);
    return f;
}

QLabel* Etiket(QWidget* ust, const char* ad, const QString& metin, int px, bool kalin)
{
    auto* l = new QLabel(metin, ust);
    l->setObjectName(QLatin1String(ad));
    l->setFont(Yazi(px, kalin));
    return l;
}

QPushButton* Dugme(QWidget* ust, const char* ad, const QString& metin)
{
    auto* b = new QPushButton(metin, ust);
    b->setObjectName(QLatin1String(ad));
    // Only the button the window names as default answers Enter.
    b->setAutoDefault(false);
    b->setMinimumWidth(80);
    b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return b;
}

QWidget* Sayfa(const char* ad)
{
    auto* s = new QWidget;
    s->setObjectName(QLatin1String(ad));
    return s;
}

namespace {

QRadioButton* ModDugmesi(QWidget* ust, const char* ad, const QString& metin)
{
    auto* r = new QRadioButton(metin, ust);
    r->setObjectName(QLatin1String(ad));
    r->setFont(Yazi(19, true));
    return r;
}

QLabel* Aciklama(QWidget* ust, const char* ad, const QString& metin)
{
    QLabel* l = Etiket(ust, ad, metin);
    YaziRengi(l, kGri);
    l->setIndent(26);
    return l;
}

} // namespace

QWidget* ModSayfasiYap(ModSecimi& mod, const QString& baslik, const ModMetni& tam, const ModMetni& sadeceDB,
                       const ModMetni& tablolar)
{
    QWidget* s = Sayfa("tsAdim1");
    auto* d = new QVBoxLayout(s);
    d->setContentsMargins(24, 16, 24, 16);
    d->addWidget(Etiket(s, "lblAdim1Baslik", baslik, 19, true));
    const auto secenek = [s, d](const char* ad, const char* aciklamaAdi, const ModMetni& m) {
        d->addSpacing(14);
        QRadioButton* r = ModDugmesi(s, ad, m.secenek);
        d->addWidget(r);
        d->addWidget(Aciklama(s, aciklamaAdi, m.aciklama));
        return r;
    };
    mod.rbTam = secenek("rbTam", "lblTamAciklama", tam);
    mod.rbTam->setChecked(true);
    mod.rbSadeceDB = secenek("rbSadeceDB", "lblSadeceDBAciklama", sadeceDB);
    mod.rbTablolar = secenek("rbTablolar", "lblTablolarAciklama", tablolar);
    d->addStretch(1);
    return s;
}

AltCubuk AltCubukYap(QWidget* ust, int yukseklik)
{
    AltCubuk a;
    a.pnlAlt = new QWidget(ust);
    a.pnlAlt->setObjectName(QStringLiteral("pnlAlt"));
    a.pnlAlt->setFixedHeight(yukseklik);
    ZeminRengi(a.pnlAlt, kAltCubuk);
    auto* d = new QHBoxLayout(a.pnlAlt);
    d->setContentsMargins(12, 0, 12, 0);
    a.lblAdimEtiket = Etiket(a.pnlAlt, "lblAdimEtiket", QStringLiteral("Adım 1 / 3"), 15);
    YaziRengi(a.lblAdimEtiket, kBordo);
    a.btnIptal = Dugme(a.pnlAlt, "btnIptal", QStringLiteral("İptal"));
    a.btnGeri = Dugme(a.pnlAlt, "btnGeri", QStringLiteral("< Geri"));
    a.btnIleri = Dugme(a.pnlAlt, "btnIleri", QStringLiteral("İleri >"));
    a.btnIleri->setDefault(true);
    d->addWidget(a.lblAdimEtiket, 0, Qt::AlignVCenter);
    d->addStretch(1);
    d->addWidget(a.btnIptal);
    d->addWidget(a.btnGeri);
    d->addWidget(a.btnIleri);
    return a;
}

QString AsciiKucuk(const QString& s)
{
    QString r = s;
    for (QChar& c : r)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + 32);
    return r;
}

void TabloGrubu::Goster(bool goster) const
{
    for (QWidget* w : std::initializer_list<QWidget*>{lblTablolarBaslik, edtAra, lstTablolar, btnTumu, btnHicbiri,
                                                       lblTabloSayac})
        w->setVisible(goster);
}

void TabloGrubu::Filtrele(const QStringList& tum) const
{
    const QString filtre = AsciiKucuk(KirpAscii(edtAra->text()));
    const QSignalBlocker sessiz(lstTablolar);
    lstTablolar->setUpdatesEnabled(false);
    lstTablolar->clear();
    for (const QString& ad : tum) {
        if (!filtre.isEmpty() && !AsciiKucuk(ad).contains(filtre))
            continue;
        auto* oge = new QListWidgetItem(ad);
        oge->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        oge->setCheckState(Qt::Unchecked);
        oge->setSizeHint(QSize(0, 25));
        lstTablolar->addItem(oge);
    }
    lstTablolar->setUpdatesEnabled(true);
}

void TabloGrubu::SayaciGuncelle(int tumSayisi) const
{
    lblTabloSayac->setText(QStringLiteral("%1 / %2 seçili").arg(Isaretliler().size()).arg(tumSayisi));
}

void TabloGrubu::HepsiniIsaretle(bool isaretli) const
{
    const QSignalBlocker sessiz(lstTablolar);
    for (int i = 0; i < lstTablolar->count(); ++i)
        lstTablolar->item(i)->setCheckState(isaretli ? Qt::Checked : Qt::Unchecked);
}

QStringList TabloGrubu::Isaretliler() const
{
    QStringList r;
    for (int i = 0; i < lstTablolar->count(); ++i)
        if (lstTablolar->item(i)->checkState() == Qt::Checked)
            r << lstTablolar->item(i)->text();
    return r;
}

TabloGrubu TabloGrubuYap(QWidget* ust, QBoxLayout* duzen, const QString& baslik, const QString& sayac,
                         const QString& yukleniyor)
{
    TabloGrubu g;
    g.lblTablolarBaslik = Etiket(ust, "lblTablolarBaslik", baslik, 12, true);
    g.lblTabloSayac = Etiket(ust, "lblTabloSayac", sayac);
    YaziRengi(g.lblTabloSayac, kGri);
    auto* ust1 = new QHBoxLayout;
    ust1->addWidget(g.lblTablolarBaslik);
    ust1->addStretch(1);
    ust1->addWidget(g.lblTabloSayac);
    duzen->addLayout(ust1);

    g.edtAra = new QLineEdit(ust);
    g.edtAra->setObjectName(QStringLiteral("edtAra"));
    g.edtAra->setPlaceholderText(QStringLiteral("Tablo ara..."));
    g.btnTumu = Dugme(ust, "btnTumu", QStringLiteral("Tümü"));
    g.btnHicbiri = Dugme(ust, "btnHicbiri", QStringLiteral("Hiçbiri"));
    g.btnTumu->setMinimumWidth(70);
    g.btnHicbiri->setMinimumWidth(70);
    auto* ust2 = new QHBoxLayout;
    ust2->addWidget(g.edtAra, 1);
    ust2->addWidget(g.btnTumu);
    ust2->addWidget(g.btnHicbiri);
    duzen->addLayout(ust2);

    g.lstTablolar = new QListWidget(ust);
    g.lstTablolar->setObjectName(QStringLiteral("lstTablolar"));
    g.lstTablolar->setFont(Yazi(19));
    g.lstTablolar->setSortingEnabled(false);
    duzen->addWidget(g.lstTablolar, 1);

    g.lblYukleniyor = Etiket(ust, "lblYukleniyor", yukleniyor);
    YaziRengi(g.lblYukleniyor, kGri);
    g.lblYukleniyor->hide();
    duzen->addWidget(g.lblYukleniyor);
    return g;
}

QPlainTextEdit* OzetKutusu(QWidget* ust)
{
    auto* m = new QPlainTextEdit(ust);
    m->setObjectName(QStringLiteral("memOzet"));
    m->setReadOnly(true);
    QPalette p = m->palette();
    p.setColor(QPalette::Base, kOzetZemin);
    m->setPalette(p);
    return m;
}

QPlainTextEdit* LogKutusu(QWidget* ust)
{
    auto* m = new QPlainTextEdit(ust);
    m->setObjectName(QStringLiteral("memLog"));
    m->setReadOnly(true);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m->setFont(SabitYazi(16));
    QPalette p = m->palette();
    p.setColor(QPalette::Base, QColor(26, 26, 26));
    p.setColor(QPalette::Text, QColor(220, 240, 196));
    m->setPalette(p);
    return m;
}

void SatirEkle(QPlainTextEdit* mem, const QString& satir)
{
    mem->appendPlainText(satir);
    mem->moveCursor(QTextCursor::End);
    mem->ensureCursorVisible();
}

void PencereyiAyarla(QWidget* pencere, int en, int boy, const QString& baslik)
{
    pencere->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint);
    Gorunum::SabitPencere(pencere, en, boy, baslik);
    pencere->setFont(Yazi(12));
}

void BilgiKutusu(QWidget* ust, const QString& metin)
{
    Diyaloglar::Mesaj(ust, Diyaloglar::Tur::Bilgi, QStringLiteral("Bilgi"), metin);
}

void HataKutusu(QWidget* ust, const QString& metin)
{
    Diyaloglar::Mesaj(ust, Diyaloglar::Tur::Hata, QStringLiteral("Hata"), metin);
}

bool UyariSorusu(QWidget* ust, const QString& metin)
{
    return Diyaloglar::Soru(ust, QStringLiteral("Uyarı"), metin, Diyaloglar::Tur::Uyari);
}

KumSaati::KumSaati() { QApplication::setOverrideCursor(Qt::WaitCursor); }
KumSaati::~KumSaati() { QApplication::restoreOverrideCursor(); }

} // namespace Sihirbaz
