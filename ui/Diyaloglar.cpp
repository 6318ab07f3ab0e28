#include "ui/Diyaloglar.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusMessage>

#ifdef _WIN32
#include <QProcess>
#endif

namespace {
Diyaloglar::Cevaplayici g_cevaplayici;

bool TestVarsa(const Diyaloglar::Istek& istek, Diyaloglar::Cevap& cevap)
{
    if (!g_cevaplayici)
        return false;
    cevap = g_cevaplayici(istek);
    return true;
}

QString Baslik(Diyaloglar::Tur tur, const QString& baslik)
{
    if (!baslik.isEmpty())
        return baslik;
    switch (tur) {
    case Diyaloglar::Tur::Uyari:
        return QStringLiteral("Uyarı");
    case Diyaloglar::Tur::Hata:
        return QStringLiteral("Hata");
    case Diyaloglar::Tur::Soru:
        return QStringLiteral("Onay");
    default:
        return QStringLiteral("Bilgi");
    }
}

// Qt breaks lines at LF only; a CR would show as a stray character.
QString Satirlar(QString metin)
{
    metin.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return metin;
}
} // namespace

void Diyaloglar::CevaplayiciAyarla(Cevaplayici c) { g_cevaplayici = std::move(c); }

void Diyaloglar::Mesaj(QWidget* ust, Tur tur, const QString& baslik, const QString& metin)
{
    Istek i;
    i.cesit = Istek::Cesit::Mesaj;
    i.tur = tur;
    i.baslik = Baslik(tur, baslik);
    i.metin = metin;
    Cevap c;
    if (TestVarsa(i, c))
        return;
    switch (tur) {
    case Tur::Uyari:
        QMessageBox::warning(ust, i.baslik, Satirlar(metin));
        break;
    case Tur::Hata:
        QMessageBox::critical(ust, i.baslik, Satirlar(metin));
        break;
    default:
        QMessageBox::information(ust, i.baslik, Satirlar(metin));
        break;
    }
}

bool Diyaloglar::Soru(QWidget* ust, const QString& baslik, const QString& metin, Tur ikon)
{
    Istek i;
    i.cesit = Istek::Cesit::Mesaj;
    i.tur = ikon == Tur::Uyari ? Tur::Uyari : Tur::Soru;
    i.baslik = Baslik(i.tur, baslik);
    i.metin = metin;
    i.soru = true;
    Cevap c;
    if (TestVarsa(i, c))
        return c.kabul;
    QMessageBox kutu(i.tur == Tur::Uyari ? QMessageBox::Warning : QMessageBox::Question, i.baslik, Satirlar(metin),
                     QMessageBox::Yes | QMessageBox::No, ust);
    kutu.setDefaultButton(QMessageBox::No);
    return kutu.exec() == QMessageBox::Yes;
}

bool Diyaloglar::Girdi(QWidget* ust, const QString& baslik, const QString& istem, QString& metin, bool maskeli)
{
    Istek i;
    i.cesit = Istek::Cesit::Girdi;
    i.baslik = baslik;
    i.metin = istem;
    i.maskeli = maskeli;
    Cevap c;
    if (TestVarsa(i, c)) {
        if (c.kabul)
            metin = c.metin;
        return c.kabul;
    }
    bool ok = false;
    const QString s = QInputDialog::getText(ust, baslik, istem, maskeli ? QLineEdit::Password : QLineEdit::Normal,
                                            metin, &ok);
    if (ok)
        metin = s;
    return ok;
}

bool Diyaloglar::KlasorSec(QWidget* ust, const QString& baslik, const QString& baslangic, QString& klasor,
                           bool yeniKlasor)
{
    Istek i;
    i.cesit = Istek::Cesit::Klasor;
    i.baslik = baslik;
    i.metin = baslangic;
    i.yeniKlasor = yeniKlasor;
    Cevap c;
    if (TestVarsa(i, c)) {
        if (c.kabul)
            klasor = c.metin;
        return c.kabul;
    }
    // A read-only view offers no way to create a folder.
    QFileDialog::Options secenek = QFileDialog::ShowDirsOnly;
    if (!yeniKlasor)
        secenek |= QFileDialog::ReadOnly;
    const QString s = QFileDialog::getExistingDirectory(ust, baslik, baslangic, secenek);
    if (s.isEmpty())
        return false;
    klasor = QDir::toNativeSeparators(s);
    return true;
}

bool Diyaloglar::DosyaAc(QWidget* ust, const QString& baslik, const QString& filtre, QString& dosya)
{
    Istek i;
    i.cesit = Istek::Cesit::DosyaAc;
    i.baslik = baslik;
    i.metin = dosya;
    i.filtre = filtre;
    Cevap c;
    if (TestVarsa(i, c)) {
        if (c.kabul)
            dosya = c.metin;
        return c.kabul;
    }
    const QString s = QFileDialog::getOpenFileName(ust, baslik, dosya, filtre);
    if (s.isEmpty())
        return false;
    dosya = QDir::toNativeSeparators(s);
    return true;
}

void Diyaloglar::DosyayiAc(const QString& yol)
{
    Istek i;
    i.cesit = Istek::Cesit::Ac;
    i.metin = yol;
    Cevap c;
    if (TestVarsa(i, c))
        return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(yol));
}

void Diyaloglar::KlasordeGoster(const QString& yol)
{
    Istek i;
    i.cesit = Istek::Cesit::Goster;
    i.metin = yol;
    Cevap c;
    if (TestVarsa(i, c))
        return;
#ifdef _WIN32
    QProcess::startDetached(QStringLiteral("explorer.exe"),
                            {QStringLiteral("/select,") + QDir::toNativeSeparators(yol)});
#else
    // The desktop's file manager selects the file; without one, open its folder.
    QDBusMessage m = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    m << QStringList{QUrl::fromLocalFile(yol).toString()} << QString();
    const QDBusMessage cevap = QDBusConnection::sessionBus().call(m, QDBus::Block, 3000);
    if (cevap.type() == QDBusMessage::ErrorMessage)
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(yol).absolutePath()));
#endif
}
