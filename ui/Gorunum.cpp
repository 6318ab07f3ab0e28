#include "ui/Gorunum.h"

#include <QDialog>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

namespace {
bool AileVar(const QString& aile)
{
    return QFontDatabase::families().contains(aile, Qt::CaseInsensitive);
}
} // namespace

QString Gorunum::AnaAile()
{
    static const QString segoe = QStringLiteral("Segoe UI");
    if (AileVar(segoe))
        return segoe;
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QFont Gorunum::Font(int piksel, bool kalin, const QString& aile)
{
    const QString istenen = aile.isEmpty() ? QStringLiteral("Segoe UI") : aile;
    QFont f(AileVar(istenen) ? istenen : AnaAile());
    f.setPixelSize(piksel);
    f.setBold(kalin);
    // The forms were measured with Segoe UI, Verdana and Arial; the usual stand-ins
    // (DejaVu Sans and the like) run wider, so they are narrowed to keep labels
    // clear of the boxes beside them.
    if (f.family() != istenen && istenen != QLatin1String("Verdana"))
        f.setStretch(QFont::SemiCondensed);
    return f;
}

void Gorunum::ZeminRengi(QWidget* w, const QColor& renk)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, renk);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void Gorunum::YaziRengi(QWidget* w, const QColor& renk)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, renk);
    p.setColor(QPalette::ButtonText, renk);
    w->setPalette(p);
}

QWidget* Gorunum::Panel(QWidget* ust, const char* ad, const QRect& yer, const QColor& renk)
{
    auto* p = new QWidget(ust);
    p->setObjectName(QLatin1String(ad));
    p->setGeometry(yer);
    ZeminRengi(p, renk);
    return p;
}

QLabel* Gorunum::Etiket(QWidget* ust, const char* ad, const QString& metin, int x, int y)
{
    auto* l = new QLabel(metin, ust);
    l->setObjectName(QLatin1String(ad));
    l->move(x, y);
    l->adjustSize();
    return l;
}

QLabel* Gorunum::Etiket(QWidget* ust, const char* ad, const QString& metin, int x, int y, const QFont& font)
{
    QLabel* l = Etiket(ust, ad, metin, x, y);
    l->setFont(font);
    l->adjustSize();
    return l;
}

void Gorunum::Sigdir(QLabel* l, const QSize& alan)
{
    QFont f = l->font();
    const int ilk = f.pixelSize();
    if (ilk <= 0)
        return;
    for (int px = ilk; px >= ilk * 3 / 4; --px) {
        f.setPixelSize(px);
        l->setFont(f);
        const QSize gerek =
            l->wordWrap() ? QSize(alan.width(), l->heightForWidth(alan.width())) : l->sizeHint();
        if (gerek.width() <= alan.width() && gerek.height() <= alan.height())
            break;
    }
    if (!l->wordWrap())
        l->adjustSize();
}

void Gorunum::SabitPencere(QWidget* w, int genislik, int yukseklik, const QString& baslik)
{
    w->setFixedSize(genislik, yukseklik);
    w->setWindowTitle(baslik);
}

void Gorunum::EkranOrtala(QWidget* w)
{
    QScreen* ekran = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    if (!ekran)
        return;
    QRect r(QPoint(), w->size());
    r.moveCenter(ekran->availableGeometry().center());
    w->move(r.topLeft());
}

TLinkEtiket::TLinkEtiket(const QString& metin, QWidget* ust) : QLabel(metin, ust)
{
    setCursor(Qt::PointingHandCursor);
}

void TLinkEtiket::mousePressEvent(QMouseEvent* e)
{
    m_basili = e->button() == Qt::LeftButton;
    QLabel::mousePressEvent(e);
}

void TLinkEtiket::mouseReleaseEvent(QMouseEvent* e)
{
    // A click is a press and a release over the label, as with a button.
    const bool tik = m_basili && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
    m_basili = false;
    QLabel::mouseReleaseEvent(e);
    if (tik)
        Q_EMIT tiklandi();
}

void TLinkEtiket::enterEvent(QEnterEvent* e)
{
    QLabel::enterEvent(e);
    Q_EMIT fareGirdi();
}

void TLinkEtiket::leaveEvent(QEvent* e)
{
    QLabel::leaveEvent(e);
    Q_EMIT fareCikti();
}
