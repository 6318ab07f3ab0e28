#pragma once
#include <QColor>
#include <QFont>
#include <QLabel>
#include <QString>

class QWidget;
class QDialog;

// The windows' common look: fonts given by pixel height (as the forms were drawn
// at 96 dots per inch), coloured bands and labels, fixed sizes, and the text links.
namespace Gorunum {

// The forms' own font family: "Segoe UI" when installed, else the platform's sans-serif.
QString AnaAile();
// A font of `aile` (falling back like AnaAile when it is missing) at `piksel` pixels height.
QFont Font(int piksel, bool kalin = false, const QString& aile = QString());

// Background of a band, panel or group box.
void ZeminRengi(QWidget* w, const QColor& renk);
// Text colour of a label, button or box title.
void YaziRengi(QWidget* w, const QColor& renk);

// A child widget with its object name at a fixed place and size.
QWidget* Panel(QWidget* ust, const char* ad, const QRect& yer, const QColor& renk);
// A label sized to its text (in the parent's font, or in `font`).
QLabel* Etiket(QWidget* ust, const char* ad, const QString& metin, int x, int y);
QLabel* Etiket(QWidget* ust, const char* ad, const QString& metin, int x, int y, const QFont& font);

// Where a stand-in font runs wider than the design's, lowers the label's pixel
// size (to three quarters at most) until its text fits `alan`; wrapped labels
// fit their width and height. A no-op with the design's own fonts.
void Sigdir(QLabel* l, const QSize& alan);

// A fixed client area, a title, and the window placed in the middle of its screen.
void SabitPencere(QWidget* w, int genislik, int yukseklik, const QString& baslik);
void EkranOrtala(QWidget* w);

// Colours the forms use by name.
inline const QColor kBordo{128, 0, 0};
inline const QColor kSari{255, 255, 0};
inline const QColor kMavi{0, 0, 255};
inline const QColor kGri{128, 128, 128};

} // namespace Gorunum

// A label used as a link: hand cursor, and signals for a left click and for the
// mouse entering and leaving (the form changes the look on those).
class TLinkEtiket : public QLabel {
    Q_OBJECT
public:
    explicit TLinkEtiket(const QString& metin, QWidget* ust = nullptr);

Q_SIGNALS:
    void tiklandi();
    void fareGirdi();
    void fareCikti();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    bool m_basili = false;
};
