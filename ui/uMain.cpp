#include "ui/uMain.h"

#include "core/Ortak.h"
#include "core/uLog.h"
#include "ui/Diyaloglar.h"
#include "ui/Gorunum.h"
#include "ui/uBackupWizard.h"
#include "ui/uRestoreWizard.h"
#include "ui/uSettings.h"

#include <QFileInfo>
#include <QPushButton>
#include <QShowEvent>

#include <functional>

namespace {

const QColor kYesil(160, 222, 192);

// What the user sees of an error no handler expected: the error box with its
// text and the program's name as caption. The window stays usable.
void Korumali(QWidget* w, const std::function<void()>& is)
{
    try {
        is();
    } catch (const std::exception& e) {
        Diyaloglar::Mesaj(w && w->isVisible() ? w : nullptr, Diyaloglar::Tur::Hata,
                          QStringLiteral("Kelmor Yedekleme"), HataMesaji(e));
    }
}

QPushButton* BuyukDugme(QWidget* ust, const char* ad, const QString& metin, int y)
{
    auto* b = new QPushButton(metin, ust);
    b->setObjectName(QLatin1String(ad));
    b->setGeometry(58, y, 300, 59);
    b->setFont(Gorunum::Font(19, true));
    return b;
}

TLinkEtiket* Link(QWidget* ust, const char* ad, const QString& metin, int x)
{
    auto* l = new TLinkEtiket(metin, ust);
    l->setObjectName(QLatin1String(ad));
    l->setFont(Gorunum::Font(19, false, QStringLiteral("Verdana")));
    Gorunum::YaziRengi(l, Gorunum::kBordo);
    l->move(x, 11);
    l->adjustSize();
    return l;
}

} // namespace

TfrmMain::TfrmMain(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(Gorunum::Font(12));
    Gorunum::SabitPencere(this, 420, 343, QStringLiteral("Kelmor Yedekleme"));

    QWidget* pnlBaslik = Gorunum::Panel(this, "pnlBaslik", QRect(0, 0, 420, 63), kYesil);
    Gorunum::Etiket(pnlBaslik, "lblBaslik", QStringLiteral("KELMOR"), 24, 5, Gorunum::Font(23, true));
    QLabel* lblAltBaslik =
        Gorunum::Etiket(pnlBaslik, "lblAltBaslik", QStringLiteral("MariaDB Yedekleme ve Geri Yükleme"), 24,
                        36, Gorunum::Font(16));
    Gorunum::YaziRengi(lblAltBaslik, Gorunum::kBordo);

    QWidget* pnlButonlar = Gorunum::Panel(this, "pnlButonlar", QRect(0, 63, 420, 234), QColor(96, 146, 183));
    QPushButton* btnYedekAl = BuyukDugme(pnlButonlar, "btnYedekAl", QStringLiteral(" YEDEK AL"), 22);
    QPushButton* btnGeriYukle = BuyukDugme(pnlButonlar, "btnGeriYukle", QStringLiteral("GERİ YÜKLE"), 107);
    lblDurum = Gorunum::Etiket(pnlButonlar, "lblDurum", QStringLiteral("Bağlantı Durumu"), 24, 177,
                               Gorunum::Font(16));
    Gorunum::YaziRengi(lblDurum, kYesil);
    lblSonYedek = Gorunum::Etiket(pnlButonlar, "lblSonYedek", QStringLiteral("Son yedek: -"), 24, 203,
                                  Gorunum::Font(16, false, QStringLiteral("Verdana")));
    Gorunum::YaziRengi(lblSonYedek, Gorunum::kSari);

    QWidget* pnlAlt = Gorunum::Panel(this, "pnlAlt", QRect(0, 297, 420, 46), QColor(206, 219, 234));
    TLinkEtiket* lblLogAc = Link(pnlAlt, "lblLogAc", QStringLiteral("Log"), 24);
    TLinkEtiket* lblAyarlar = Link(pnlAlt, "lblAyarlar", QStringLiteral(" Ayarlar"), 325);

    connect(btnYedekAl, &QPushButton::clicked, this,
            [this] { Korumali(this, [this] { btnYedekAlClick(); }); });
    connect(btnGeriYukle, &QPushButton::clicked, this,
            [this] { Korumali(this, [this] { btnGeriYukleClick(); }); });
    connect(lblLogAc, &TLinkEtiket::tiklandi, this, [this] { Korumali(this, [this] { lblLogAcClick(); }); });
    connect(lblAyarlar, &TLinkEtiket::tiklandi, this, &TfrmMain::lblAyarlarClick);
    connect(lblLogAc, &TLinkEtiket::fareGirdi, this, [this, lblLogAc] { LinkGirdi(lblLogAc); });
    connect(lblLogAc, &TLinkEtiket::fareCikti, this, [this, lblLogAc] { LinkCikti(lblLogAc); });
    connect(lblAyarlar, &TLinkEtiket::fareGirdi, this, [this, lblAyarlar] { LinkGirdi(lblAyarlar); });
    connect(lblAyarlar, &TLinkEtiket::fareCikti, this, [this, lblAyarlar] { LinkCikti(lblAyarlar); });

    Gorunum::EkranOrtala(this);
    Korumali(this, [this] { FormCreate(); });
}

void TfrmMain::FormCreate()
{
    const bool ilkKez = !AyarDosyasiVarMi();
    if (ilkKez) {
        // Written at once, so the file exists with the defaults even when the
        // settings dialog that follows is cancelled. An error here ends the
        // creation steps: no welcome, no settings dialog, the window opens all the same.
        VarsayilanAyar(FAyar);
        AyarlariKaydet(FAyar);
    } else {
        AyarlariYukle(FAyar);
    }
    DurumuGuncelle();
    if (!ilkKez)
        return;
    // Before the main window appears.
    Diyaloglar::Mesaj(
        nullptr, Diyaloglar::Tur::Bilgi, QStringLiteral("Hoş Geldin"),
        QStringLiteral("Kelmor ilk defa çalıştırılıyor.\r\n"
                       "Varsayılan ayarlar oluşturuldu (ayarlar.ini).\r\n"
                       "Şimdi Ayarlar penceresinden bağlantı bilgilerini ve yolları kontrol et."));
    FAyarlariAc = true;
}

void TfrmMain::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    // The settings dialog of the first start opens after the window has appeared.
    if (FAyarlariAc && !e->spontaneous()) {
        FAyarlariAc = false;
        QMetaObject::invokeMethod(this, &TfrmMain::lblAyarlarClick, Qt::QueuedConnection);
    }
}

void TfrmMain::DurumuGuncelle()
{
    // Says what is configured; whether the server can be reached is not tried here.
    if (AyarDosyasiVarMi())
        lblDurum->setText(QStringLiteral("Hazır - ") + FAyar.Kullanici + QLatin1Char('@') + FAyar.Host);
    else
        lblDurum->setText(QStringLiteral("ilk kullanım - lütfen Ayarlar'dan baglantı bilgilerini girin"));
    lblDurum->adjustSize();
    lblSonYedek->setText(FAyar.SonYedek.isEmpty() ? QStringLiteral("Henüz yedek alınmadı")
                                                  : QStringLiteral("Son yedek: ") + FAyar.SonYedek);
    lblSonYedek->adjustSize();
}

bool TfrmMain::Kaydet()
{
    try {
        AyarlariKaydet(FAyar);
        return true;
    } catch (const std::exception& e) {
        Diyaloglar::Mesaj(this, Diyaloglar::Tur::Hata, QStringLiteral("Kelmor Yedekleme"), HataMesaji(e));
        return false;
    }
}

bool TfrmMain::AyarGerekli(const QString& metin)
{
    // The file may have been deleted while the program runs.
    if (AyarDosyasiVarMi())
        return false;
    Diyaloglar::Mesaj(this, Diyaloglar::Tur::Bilgi, QStringLiteral("Ayar gerekli"), metin);
    lblAyarlarClick();
    return true;
}

void TfrmMain::btnYedekAlClick()
{
    if (AyarGerekli(QStringLiteral("Once Ayarlar menüsunden bağlantı bilgilerini girip kaydet.")))
        return;
    TfrmBackupWizard sihirbaz(this);
    sihirbaz.SetAyar(FAyar);
    if (sihirbaz.exec() == QDialog::Accepted) {
        // After a successful run the wizard has stored folder, ZIP choice and last backup.
        AyarlariYukle(FAyar);
        DurumuGuncelle();
    }
}

void TfrmMain::btnGeriYukleClick()
{
    if (AyarGerekli(QStringLiteral("Önce Ayarlar menüsünden bağlantı bilgilerini girip kaydet.")))
        return;
    TfrmRestoreWizard sihirbaz(this);
    sihirbaz.SetAyar(FAyar);
    sihirbaz.exec();
}

void TfrmMain::lblAyarlarClick()
{
    Korumali(this, [this] {
        // Asked anew every time; a correct answer is not remembered.
        if (!FAyar.AyarSifresi.isEmpty()) {
            QString girilen;
            if (!Diyaloglar::Girdi(this, QStringLiteral("Ayarlar"), QStringLiteral("Yönetici şifresi:"),
                                   girilen, true))
                return;
            if (girilen != FAyar.AyarSifresi) {
                Diyaloglar::Mesaj(this, Diyaloglar::Tur::Hata, QString(), QStringLiteral("Hatalı şifre."));
                return;
            }
        }
        TfrmSettings dlg(this);
        dlg.SetAyar(FAyar);
        if (dlg.exec() != QDialog::Accepted)
            return;
        // When saving fails, FAyar holds the new record all the same; the status stays.
        FAyar = dlg.Ayar();
        if (Kaydet())
            DurumuGuncelle();
    });
}

void TfrmMain::lblLogAcClick()
{
    const QString log = LogDosyasi();
    if (QFileInfo::exists(log))
        Diyaloglar::DosyayiAc(log);
    else
        Diyaloglar::Mesaj(this, Diyaloglar::Tur::Bilgi, QString(),
                          QStringLiteral("Log dosyası henüz oluşturulmamış."));
}

void TfrmMain::LinkGirdi(QLabel* link)
{
    QFont f = link->font();
    f.setUnderline(true);
    link->setFont(f);
    Gorunum::YaziRengi(link, Gorunum::kMavi);
}

void TfrmMain::LinkCikti(QLabel* link)
{
    // Grey once the mouse has passed, with every style removed.
    QFont f = link->font();
    f.setBold(false);
    f.setItalic(false);
    f.setUnderline(false);
    f.setStrikeOut(false);
    link->setFont(f);
    Gorunum::YaziRengi(link, Gorunum::kGri);
}
