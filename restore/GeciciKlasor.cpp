#include "restore/RestoreYardimci.h"
#include "restore/uRestoreLogic.h"

#include "backup/uBackupLogic.h"
#include "platform/GuvenliDosya.h"

#include <QDir>
#include <QFileInfo>

namespace restore_detail {

bool AsciiSonEk(const QString& metin, const char* sonek)
{
    const qsizetype n = qsizetype(qstrlen(sonek));
    if (metin.size() < n)
        return false;
    const qsizetype bas = metin.size() - n;
    for (qsizetype i = 0; i < n; ++i) {
        char16_t c = metin.at(bas + i).unicode();
        char16_t s = char16_t(uchar(sonek[i]));
        if (c >= 'A' && c <= 'Z')
            c = char16_t(c + 32);
        if (s >= 'A' && s <= 'Z')
            s = char16_t(s + 32);
        if (c != s)
            return false;
    }
    return true;
}

QByteArray AsciiBuyukKirp(const QByteArray& satir)
{
    qsizetype b = 0, e = satir.size();
    while (b < e && uchar(satir.at(b)) <= 32)
        ++b;
    while (e > b && uchar(satir.at(e - 1)) <= 32)
        --e;
    QByteArray s = satir.mid(b, e - b);
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = char(c - 32);
    return s;
}

void KlasorSil(const QString& klasor)
{
    if (klasor.isEmpty())
        return;
    QDir d(klasor);
    if (d.exists())
        d.removeRecursively();
}

bool DosyaVar(const QString& yol)
{
    const QFileInfo fi(yol);
    return fi.exists() && !fi.isDir();
}

QString GeciciKlasor()
{
    // Qt reports an empty path when TMPDIR names no folder; "" must never become "/".
    const QString tmp = QDir::tempPath();
    if (tmp.isEmpty())
        throw KelmorHata(QStringLiteral("Gecici klasor bulunamadi"));
    YolBirlestir(tmp, QString()); // rejects characters no path may hold
    return tmp;
}

QString UstKlasor(const QString& dosya) { return QFileInfo(dosya).absolutePath(); }

} // namespace restore_detail

QString GeciciKlasorOlustur()
{
    // A fresh folder every time: two steps of one run never share one, so deleting
    // one step's folder can never take another step's script with it.
    const QString tmp = restore_detail::GeciciKlasor();
    QString yol, hata;
    if (!YeniGeciciKlasor(tmp, QStringLiteral("kelmor_restore_"), yol, hata))
        throw KelmorHata(hata);
    return yol;
}
