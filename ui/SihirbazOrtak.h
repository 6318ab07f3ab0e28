#pragma once
#include "ui/Gorunum.h"

#include <QColor>
#include <QFont>
#include <QRadioButton>
#include <QString>
#include <QStringList>

class QBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// Pieces the backup and restore wizards share: fonts and colours of their
// design, the bottom bar, the table check list with its search box and counter,
// and the log memo.
namespace Sihirbaz {

using Gorunum::kBordo;
using Gorunum::kGri;
using Gorunum::YaziRengi;
using Gorunum::ZeminRengi;
inline const QColor kAltCubuk(206, 219, 234);
inline const QColor kOzetZemin(245, 245, 245);
inline const QColor kBasariYesil(34, 122, 0);
inline const QColor kHataKirmizi(255, 0, 0);

// The forms' font (Segoe UI or the platform's sans-serif); size in pixels.
inline QFont Yazi(int px, bool kalin = false) { return Gorunum::Font(px, kalin); }
// Consolas when installed, else the platform's fixed-width font.
QFont SabitYazi(int px);

QLabel* Etiket(QWidget* ust, const char* ad, const QString& metin, int px = 12, bool kalin = false);
QPushButton* Dugme(QWidget* ust, const char* ad, const QString& metin);

// A page of the page control, named.
QWidget* Sayfa(const char* ad);

// Step 1, the mode: the three choices; rbTam starts checked.
struct ModSecimi {
    QRadioButton* rbTam = nullptr;
    QRadioButton* rbSadeceDB = nullptr;
    QRadioButton* rbTablolar = nullptr;

    // Of three values given in the buttons' order, the one of the checked button.
    template <typename T> T Secili(T tam, T sadeceDB, T tablolar) const
    {
        return rbTam->isChecked() ? tam : rbSadeceDB->isChecked() ? sadeceDB : tablolar;
    }
};
// A choice's text (bold, 19 pixels) and the grey explanation under it.
struct ModMetni {
    QString secenek;
    QString aciklama;
};
// The page `tsAdim1`: the title `lblAdim1Baslik`, then the three choices.
QWidget* ModSayfasiYap(ModSecimi& mod, const QString& baslik, const ModMetni& tam, const ModMetni& sadeceDB,
                       const ModMetni& tablolar);

// The bottom bar: step label at the left, İptal, < Geri, İleri > at the right.
struct AltCubuk {
    QWidget* pnlAlt = nullptr;
    QLabel* lblAdimEtiket = nullptr;
    QPushButton* btnIptal = nullptr;
    QPushButton* btnGeri = nullptr;
    QPushButton* btnIleri = nullptr;
};
AltCubuk AltCubukYap(QWidget* ust, int yukseklik);

// The table part of step 2: title, counter, search box, Tümü / Hiçbiri, the check
// list and the "loading" label. Added to `duzen` in this order.
struct TabloGrubu {
    QLabel* lblTablolarBaslik = nullptr;
    QLabel* lblTabloSayac = nullptr;
    QLineEdit* edtAra = nullptr;
    QPushButton* btnTumu = nullptr;
    QPushButton* btnHicbiri = nullptr;
    QListWidget* lstTablolar = nullptr;
    QLabel* lblYukleniyor = nullptr;

    // Shows or hides every control but the loading label.
    void Goster(bool goster) const;
    // Rebuilds the list from `tum` with the trimmed search text (ASCII letters
    // compared case-blind); every check mark is lost.
    void Filtrele(const QStringList& tum) const;
    // "checked / all seçili", all being the number of every table, shown or not.
    void SayaciGuncelle(int tumSayisi) const;
    void HepsiniIsaretle(bool isaretli) const;
    QStringList Isaretliler() const;
};
TabloGrubu TabloGrubuYap(QWidget* ust, QBoxLayout* duzen, const QString& baslik, const QString& sayac,
                         const QString& yukleniyor);

// Lower-cases the letters A to Z only.
QString AsciiKucuk(const QString& s);

// The read-only summary memo and the dark log memo.
QPlainTextEdit* OzetKutusu(QWidget* ust);
QPlainTextEdit* LogKutusu(QWidget* ust);
// Appends one line and scrolls it into view.
void SatirEkle(QPlainTextEdit* mem, const QString& satir);

// Makes the dialog a fixed-size window with only the close box.
void PencereyiAyarla(QWidget* pencere, int en, int boy, const QString& baslik);

// Message boxes with OK, captioned by their kind ("Bilgi", "Hata", "Uyarı").
void BilgiKutusu(QWidget* ust, const QString& metin);
void HataKutusu(QWidget* ust, const QString& metin);
// A warning with Yes and No; true for Yes.
bool UyariSorusu(QWidget* ust, const QString& metin);

// The hourglass for a blocking call; the normal cursor comes back in every outcome.
class KumSaati {
public:
    KumSaati();
    ~KumSaati();
    KumSaati(const KumSaati&) = delete;
    KumSaati& operator=(const KumSaati&) = delete;
};

} // namespace Sihirbaz
