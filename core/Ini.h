#pragma once
#include <QString>
#include <QStringList>

// A small INI reader/writer that changes only the keys it is asked to set and keeps
// every other section, key, comment and blank line where it was. Section and key
// names match without regard to ASCII case; values are trimmed; LF and CR LF are
// read, CR LF is written. Text is UTF-8.
class IniDosyasi {
public:
    // Reads the file; a missing file gives an empty document.
    bool Yukle(const QString& yol);
    // Gives true and the value when the key is present (values cut to 2047 characters).
    bool Oku(const QString& bolum, const QString& anahtar, QString& deger) const;
    void Yaz(const QString& bolum, const QString& anahtar, const QString& deger);
    QByteArray Metin() const;

private:
    struct Konum {
        qsizetype bolumBas = -1; // line of the [section] header
        qsizetype bolumSon = -1; // one past the last line of the section
        qsizetype anahtar = -1;  // line of the key
    };
    Konum Bul(const QString& bolum, const QString& anahtar) const;
    QStringList m_satirlar;
};
