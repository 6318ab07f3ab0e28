#include "ui/uSettings.h"

#include "core/Ortak.h"
#include "db/uDatabase.h"
#include "ui/Diyaloglar.h"
#include "ui/Gorunum.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

QGroupBox* Grup(QWidget* ust, const char* ad, const QString& baslik, int ust_, int yukseklik)
{
    auto* g = new QGroupBox(baslik, ust);
    g->setObjectName(QLatin1String(ad));
    g->setGeometry(9, ust_, 516, yukseklik);
    g->setFont(Gorunum::Font(16));
    Gorunum::ZeminRengi(g, QColor(206, 219, 234));
    return g;
}

QLineEdit* Kutu(QWidget* ust, const char* ad, int x, int y, int genislik, bool maskeli = false)
{
    auto* e = new QLineEdit(ust);
    e->setObjectName(QLatin1String(ad));
    if (maskeli) {
        e->setEchoMode(QLineEdit::Password);
        e->setStyleSheet(QStringLiteral("lineedit-password-character: 42;")); // '*'
    }
    e->setGeometry(x, y, genislik, e->sizeHint().height());
    return e;
}

QPushButton* Dugme(QWidget* ust, const char* ad, const QString& metin, const QRect& yer)
{
    auto* b = new QPushButton(metin, ust);
    b->setObjectName(QLatin1String(ad));
    b->setGeometry(yer);
    return b;
}

// The hourglass over the whole application for as long as it lives.
struct KumSaati {
    KumSaati() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~KumSaati() { QApplication::restoreOverrideCursor(); }
    KumSaati(const KumSaati&) = delete;
    KumSaati& operator=(const KumSaati&) = delete;
};

} // namespace

TfrmSettings::TfrmSettings(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmSettings"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(Gorunum::Font(12));
    Gorunum::SabitPencere(this, 536, 550, QStringLiteral("Ayarlar - Kelmor"));

    QWidget* pnlBaslik = Gorunum::Panel(this, "pnlBaslik", QRect(0, 0, 536, 50), QColor(129, 197, 139));
    Gorunum::Etiket(pnlBaslik, "lblBaslik", QStringLiteral("Ayarlar"), 20, 14, Gorunum::Font(19, true));

    QWidget* pnlIcerik = Gorunum::Panel(this, "pnlIcerik", QRect(0, 50, 536, 440), QColor(83, 159, 196));

    QGroupBox* grpBaglanti = Grup(pnlIcerik, "grpBaglanti", QStringLiteral("Veritabanı Bağlantısı"), 9, 182);
    Gorunum::Sigdir(Gorunum::Etiket(grpBaglanti, "lblHost", QStringLiteral("Sunucu:"), 16, 30),
                    QSize(87, 40));
    edtHost = Kutu(grpBaglanti, "edtHost", 107, 27, 200);
    Gorunum::Sigdir(Gorunum::Etiket(grpBaglanti, "lblPort", QStringLiteral("Port:"), 366, 30), QSize(38, 40));
    edtPort = Kutu(grpBaglanti, "edtPort", 406, 27, 90);
    Gorunum::Sigdir(Gorunum::Etiket(grpBaglanti, "lblKullanici", QStringLiteral("Kullanıcı :"), 16, 64),
                    QSize(89, 40));
    edtKullanici = Kutu(grpBaglanti, "edtKullanici", 107, 61, 140);
    Gorunum::Sigdir(Gorunum::Etiket(grpBaglanti, "lblSifre", QStringLiteral("Şifre :"), 290, 64),
                    QSize(43, 40));
    edtSifre = Kutu(grpBaglanti, "edtSifre", 335, 62, 161, true);
    Gorunum::Sigdir(Gorunum::Etiket(grpBaglanti, "lblBin", QStringLiteral("bin Klasörü :"), 16, 103),
                    QSize(89, 40));
    edtBin = Kutu(grpBaglanti, "edtBin", 107, 100, 304);
    QPushButton* btnBinSec =
        Dugme(grpBaglanti, "btnBinSec", QStringLiteral("Seç..."), QRect(422, 99, 75, 30));
    QPushButton* btnTest =
        Dugme(grpBaglanti, "btnTest", QStringLiteral("Baglantıyı Test Et"), QRect(107, 136, 126, 36));
    btnTest->setFont(Gorunum::Font(13, true, QStringLiteral("Arial")));

    QGroupBox* grpYedek = Grup(pnlIcerik, "grpYedek", QStringLiteral("  Yedek Ayarları"), 201, 100);
    Gorunum::Sigdir(Gorunum::Etiket(grpYedek, "lblKlasor", QStringLiteral("Yedek klasoru:"), 16, 28),
                    QSize(104, 40));
    edtKlasor = Kutu(grpYedek, "edtKlasor", 122, 25, 285);
    QPushButton* btnKlasorSec =
        Dugme(grpYedek, "btnKlasorSec", QStringLiteral("Seç..."), QRect(422, 24, 75, 31));
    chkZip = new QCheckBox(QStringLiteral("Yedekleri ZIP olarak sıkıştır (varsayılan)"), grpYedek);
    chkZip->setObjectName(QStringLiteral("chkZip"));
    chkZip->move(16, 67);
    chkZip->adjustSize();

    QGroupBox* grpGuvenlik = Grup(pnlIcerik, "grpGuvenlik", QStringLiteral("Güvenlik"), 313, 116);
    Gorunum::Sigdir(Gorunum::Etiket(grpGuvenlik, "lblAyarSifre", QStringLiteral("Ayarlar şifresi :"), 16, 28),
                    QSize(102, 40));
    edtAyarSifre = Kutu(grpGuvenlik, "edtAyarSifre", 120, 25, 250, true);
    QLabel* lblSifreIpucu = Gorunum::Etiket(
        grpGuvenlik, "lblSifreIpucu",
        QStringLiteral("Boş bırakırsan Ayarlar menüsüne girerken şifre sorulmaz. Bir şifre girersen, bundan "
                       "sonra sadece bu şifreyi bilen Ayarlar a girebilir."),
        15, 63);
    lblSifreIpucu->setWordWrap(true);
    lblSifreIpucu->setGeometry(15, 63, 457, 42);
    Gorunum::Sigdir(lblSifreIpucu, QSize(457, 42));
    lblSifreIpucu->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Gorunum::YaziRengi(lblSifreIpucu, Gorunum::kBordo);

    QWidget* pnlAlt = Gorunum::Panel(this, "pnlAlt", QRect(0, 490, 536, 60), QColor(206, 219, 234));
    QPushButton* btnIptal = Dugme(pnlAlt, "btnIptal", QStringLiteral("İptal"), QRect(320, 12, 100, 37));
    QPushButton* btnKaydet = Dugme(pnlAlt, "btnKaydet", QStringLiteral("Kaydet"), QRect(425, 12, 100, 37));
    btnIptal->setFont(Gorunum::Font(16));
    btnKaydet->setFont(Gorunum::Font(16));
    btnKaydet->setDefault(true);

    connect(btnTest, &QPushButton::clicked, this, &TfrmSettings::btnTestClick);
    connect(btnBinSec, &QPushButton::clicked, this, &TfrmSettings::btnBinSecClick);
    connect(btnKlasorSec, &QPushButton::clicked, this, &TfrmSettings::btnKlasorSecClick);
    connect(btnKaydet, &QPushButton::clicked, this, &TfrmSettings::btnKaydetClick);
    connect(btnIptal, &QPushButton::clicked, this, &TfrmSettings::btnIptalClick);

    Gorunum::EkranOrtala(this);
}

qint32 TfrmSettings::PortOku(const QString& metin)
{
    const QString t = metin.trimmed();
    bool ok = false;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const QString h = t.mid(2);
        if (h.isEmpty() || h.startsWith(QLatin1Char('+')) || h.startsWith(QLatin1Char('-')))
            return 3306;
        const qint64 v = h.toLongLong(&ok, 16);
        return ok && v <= 0xFFFFFFFFLL ? qint32(quint32(v)) : 3306;
    }
    const qint64 v = t.toLongLong(&ok, 10);
    return ok && v >= INT32_MIN && v <= INT32_MAX ? qint32(v) : 3306;
}

void TfrmSettings::showEvent(QShowEvent* e)
{
    // Filled every time the dialog is opened, not when it comes back from being minimised.
    if (!e->spontaneous())
        FormShow();
    QDialog::showEvent(e);
}

void TfrmSettings::keyPressEvent(QKeyEvent* e)
{
    // No button answers Escape: a stray key press must not throw the edits away.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TfrmSettings::FormShow()
{
    edtHost->setText(FAyar.Host);
    edtPort->setText(QString::number(FAyar.Port));
    edtKullanici->setText(FAyar.Kullanici);
    edtSifre->setText(FAyar.Sifre);
    edtBin->setText(FAyar.BinYolu);
    edtKlasor->setText(FAyar.YedekKlasoru);
    chkZip->setChecked(FAyar.ZipYap);
    edtAyarSifre->setText(FAyar.AyarSifresi);
}

TKelmorAyar TfrmSettings::AyarlariFormdanAl() const
{
    // SonYedek and SonYedekDosya pass through from the record the dialog was given.
    TKelmorAyar a = FAyar;
    a.Host = KirpAscii(edtHost->text());
    a.Port = PortOku(edtPort->text());
    a.Kullanici = KirpAscii(edtKullanici->text());
    a.Sifre = edtSifre->text();
    a.BinYolu = KirpAscii(edtBin->text());
    a.YedekKlasoru = KirpAscii(edtKlasor->text());
    a.ZipYap = chkZip->isChecked();
    a.AyarSifresi = edtAyarSifre->text();
    return a;
}

void TfrmSettings::btnTestClick()
{
    const TKelmorAyar a = AyarlariFormdanAl();
    QString hata, versiyon;
    bool ok = false;
    {
        // The connect timeout of the database service bounds this wait.
        KumSaati k;
        ok = TDB::Test(a, hata, versiyon);
    }
    if (ok)
        Diyaloglar::Mesaj(this, Diyaloglar::Tur::Bilgi, QString(),
                          QStringLiteral("Baglantı başarılı.\r\n\r\nMariaDB / MySQL surumu: ") + versiyon);
    else
        Diyaloglar::Mesaj(this, Diyaloglar::Tur::Hata, QString(),
                          QStringLiteral("Baglantı başarısız:\r\n\r\n") + hata);
}

void TfrmSettings::KlasorSec(QLineEdit* edit, const QString& baslik, bool yeniKlasor)
{
    // The browser starts in the typed folder only when that folder exists.
    const QString yazili = edit->text();
    const QString baslangic = !yazili.isEmpty() && QFileInfo(yazili).isDir() ? yazili : QString();
    QString secilen;
    if (Diyaloglar::KlasorSec(this, baslik, baslangic, secilen, yeniKlasor))
        edit->setText(secilen);
}

void TfrmSettings::btnBinSecClick()
{
    KlasorSec(edtBin, QStringLiteral("MariaDB bin klasörü"), false);
}

void TfrmSettings::btnKlasorSecClick()
{
    KlasorSec(edtKlasor, QStringLiteral("Yedek klasörü"), true);
}

void TfrmSettings::btnKaydetClick()
{
    FAyar = AyarlariFormdanAl();
    accept();
}

void TfrmSettings::btnIptalClick()
{
    reject();
}
