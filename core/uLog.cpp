#include "core/uLog.h"

#include "platform/AppPaths.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMutex>

namespace {
// Serialises appends from every thread of the process.
QMutex LogKilidi;
const QString kAyrac(43, QLatin1Char('='));
} // namespace

QString LogDosyasi()
{
    return QDir(ExeKlasoru()).filePath(QStringLiteral("kelmor_debug.log"));
}

bool LogBaslat()
{
    const QString yol = LogDosyasi();
    QFile::remove(yol);
    const QString baslik = kAyrac + QStringLiteral("\r\nKELMOR DEBUG LOG\r\nBaşlangıç: ") +
                           QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")) +
                           QStringLiteral("\r\nExe: ") + QDir::toNativeSeparators(ExeYolu()) +
                           QStringLiteral("\r\n") + kAyrac + QStringLiteral("\r\n\r\n");
    QFile f(yol);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bayt = baslik.toUtf8();
    return f.write(bayt) == bayt.size();
}

void LogYaz(const QString& metin)
{
    // The time stamp is the moment of the call, before waiting for the lock.
    const QString yol = LogDosyasi();
    const QByteArray satir =
        (QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")) + QStringLiteral(" | ") + metin +
         QStringLiteral("\r\n"))
            .toUtf8();
    QMutexLocker kilit(&LogKilidi);
    try {
        QFile f(yol);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
            return;
        f.write(satir);
    } catch (...) {
        // A lost line must never stop the caller.
    }
}

QString detail::LogBicimle(const char* bicim, const QStringList& degerler)
{
    const QString b = QString::fromUtf8(bicim);
    QString sonuc;
    sonuc.reserve(b.size() + 32);
    qsizetype sira = 0;
    for (qsizetype i = 0; i < b.size(); ++i) {
        const QChar c = b.at(i);
        if (c == QLatin1Char('%') && i + 1 < b.size()) {
            const QChar d = b.at(i + 1);
            if (d == QLatin1Char('%')) {
                sonuc += QLatin1Char('%');
                ++i;
                continue;
            }
            if (d == QLatin1Char('s') || d == QLatin1Char('d')) {
                if (sira < degerler.size())
                    sonuc += degerler.at(sira);
                ++sira;
                ++i;
                continue;
            }
        }
        sonuc += c;
    }
    return sonuc;
}
