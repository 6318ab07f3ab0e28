#pragma once
#include <QByteArray>
#include <QFile>
#include <QStringDecoder>

#include <optional>

// Reads a script line by line with a small read buffer, so memory does not grow
// with the file (only with its longest line). A UTF-8 byte-order mark is skipped;
// a UTF-16 one (LE or BE) makes the rest be read as UTF-16. Lines come out as
// UTF-8 bytes exactly as stored (for UTF-8 scripts no byte is ever re-encoded, so
// binary data in string literals passes untouched). Lines end at CR LF, LF or a
// lone CR; the line end is not part of the line. Throws KelmorHata when the file
// cannot be opened or read.
class SatirOkuyucu {
public:
    static constexpr qsizetype kOkumaTamponu = 4096;

    explicit SatirOkuyucu(const QString& yol);
    // False at the end of the file.
    bool Sonraki(QByteArray& satir);

private:
    // Appends the next chunk to m_tampon; false at the end of the file.
    bool Doldur();

    QFile m_dosya;
    QByteArray m_tampon;
    qsizetype m_bas = 0;  // first byte not yet handed out
    qsizetype m_tara = 0; // scanning for a line end resumes here
    bool m_bitti = false;
    bool m_ilk = true;
    std::optional<QStringDecoder> m_utf16;
};
