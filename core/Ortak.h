#pragma once
#include <QString>
#include <QStringList>

#include <exception>
#include <functional>

// A progress line meant for the user; an empty TLogProc means nobody listens.
using TLogProc = std::function<void(const QString&)>;

// Helper for callers that may hold an empty callback.
inline void Bildir(const TLogProc& log, const QString& satir)
{
    if (log)
        log(satir);
}

// The program's own error: what() in UTF-8, Mesaj() as the text the user sees.
class KelmorHata : public std::exception {
public:
    explicit KelmorHata(QString mesaj) : m_mesaj(std::move(mesaj)), m_utf8(m_mesaj.toUtf8()) {}
    const char* what() const noexcept override { return m_utf8.constData(); }
    const QString& Mesaj() const { return m_mesaj; }

private:
    QString m_mesaj;
    QByteArray m_utf8;
};

// The message of any error that reaches a catch-all.
inline QString HataMesaji(const std::exception& e)
{
    if (auto k = dynamic_cast<const KelmorHata*>(&e))
        return k->Mesaj();
    return QString::fromUtf8(e.what());
}

// Trims characters with codes up to 32 from both ends (not Unicode blanks).
inline QString KirpAscii(const QString& s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s.at(b).unicode() <= 32)
        ++b;
    while (e > b && s.at(e - 1).unicode() <= 32)
        --e;
    return s.mid(b, e - b);
}
