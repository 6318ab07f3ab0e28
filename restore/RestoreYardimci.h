#pragma once
#include <QByteArray>
#include <QString>

// Small helpers shared by the restore engine's files; not part of its interface.
namespace restore_detail {

// Suffix test where only the ASCII letters fold (".SQL" ends in ".sql", but no
// other letter is treated as one of them).
bool AsciiSonEk(const QString& metin, const char* sonek);

// Upper-cases a-z only and trims bytes up to 32 from both ends.
QByteArray AsciiBuyukKirp(const QByteArray& satir);

// Deletes a folder with its content; a missing folder or a failed deletion is ignored.
void KlasorSil(const QString& klasor);

// True when a file (not a folder) is at the path, links followed.
bool DosyaVar(const QString& yol);

// The user's temporary folder; throws KelmorHata when there is none usable.
QString GeciciKlasor();

// The folder that holds a file.
QString UstKlasor(const QString& dosya);

// The UTF-8 byte-order mark that every script written here begins with.
inline const QByteArray& Utf8Bom()
{
    static const QByteArray bom("\xEF\xBB\xBF", 3);
    return bom;
}

// Deletes a work folder when it goes out of scope, unless released.
class KlasorBekcisi {
public:
    explicit KlasorBekcisi(QString klasor) : m_klasor(std::move(klasor)) {}
    ~KlasorBekcisi()
    {
        if (!m_klasor.isEmpty())
            KlasorSil(m_klasor);
    }
    void Birak() { m_klasor.clear(); }
    KlasorBekcisi(const KlasorBekcisi&) = delete;
    KlasorBekcisi& operator=(const KlasorBekcisi&) = delete;

private:
    QString m_klasor;
};

} // namespace restore_detail
