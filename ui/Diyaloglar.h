#pragma once
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// The one door to every platform dialog and shell service the windows use:
// message boxes, the input box, the folder browser, the file-open dialog,
// opening a file with its program and showing a file in its folder.
// Tests install a Cevaplayici and answer instead of a person.
namespace Diyaloglar {

enum class Tur { Bilgi, Uyari, Hata, Soru };

// What a test sees of one request, and how it answers it.
struct Istek {
    enum class Cesit { Mesaj, Girdi, Klasor, DosyaAc, Ac, Goster } cesit = Cesit::Mesaj;
    Tur tur = Tur::Bilgi;   // for Mesaj
    QString baslik;
    QString metin;          // message text, input prompt, start folder, or the path to open/show
    bool maskeli = false;   // Girdi: typed text hidden
    bool soru = false;      // Mesaj with Yes and No (Soru)
    bool yeniKlasor = true; // Klasor: a button for creating a new folder is offered
    QString filtre;         // DosyaAc
};
struct Cevap {
    bool kabul = true;      // OK / Yes / a choice made; false = Cancel / No
    QString metin;          // Girdi text, chosen folder or file
};
using Cevaplayici = std::function<Cevap(const Istek&)>;

// Installs the test's answerer (empty: real dialogs again).
void CevaplayiciAyarla(Cevaplayici c);

// Texts may break lines with CR LF or LF. An empty caption gives the kind's own:
// "Bilgi", "Uyarı", "Hata", "Onay" (tests see that caption too).

// A modal message box with OK.
void Mesaj(QWidget* ust, Tur tur, const QString& baslik, const QString& metin);
// A modal question with Yes and No (No is the default); true for Yes. `ikon` is
// Tur::Soru for a plain question, Tur::Uyari when the answer can cost data.
bool Soru(QWidget* ust, const QString& baslik, const QString& metin, Tur ikon = Tur::Soru);
// The input box; false when cancelled.
bool Girdi(QWidget* ust, const QString& baslik, const QString& istem, QString& metin, bool maskeli);
// The folder browser (folders only); false when cancelled. An empty start folder
// leaves the choice of where to start to the dialog.
bool KlasorSec(QWidget* ust, const QString& baslik, const QString& baslangic, QString& klasor,
               bool yeniKlasor = true);
// The file-open dialog; false when cancelled. `dosya` comes in as the folder (or
// file) to start at, empty for the dialog's own choice, and goes out as the choice.
bool DosyaAc(QWidget* ust, const QString& baslik, const QString& filtre, QString& dosya);
// Opens a file with its program.
void DosyayiAc(const QString& yol);
// Shows a file selected in its folder.
void KlasordeGoster(const QString& yol);

} // namespace Diyaloglar
