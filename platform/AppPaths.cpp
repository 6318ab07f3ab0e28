#include "platform/AppPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>

#ifdef _WIN32
#include <windows.h>
#else
#include <limits.h>
#include <unistd.h>
#endif

namespace {
QMutex g_kilit;
QString g_klasor; // set only by tests
} // namespace

QString ExeYolu()
{
#ifdef _WIN32
    wchar_t buf[32768];
    DWORD n = GetModuleFileNameW(nullptr, buf, 32768);
    return QDir::fromNativeSeparators(QString::fromWCharArray(buf, int(n)));
#else
    // Before any QCoreApplication exists, so read the link ourselves.
    char buf[PATH_MAX + 1];
    ssize_t n = readlink("/proc/self/exe", buf, PATH_MAX);
    if (n <= 0)
        return QString();
    return QString::fromLocal8Bit(buf, int(n));
#endif
}

QString ExeKlasoru()
{
    {
        QMutexLocker l(&g_kilit);
        if (!g_klasor.isEmpty())
            return g_klasor;
    }
    return QFileInfo(ExeYolu()).absolutePath();
}

void ExeKlasoruAyarla(const QString& klasor)
{
    QMutexLocker l(&g_kilit);
    g_klasor = klasor;
}

QString ExeSurucusu()
{
#ifdef _WIN32
    const QString yol = QDir::toNativeSeparators(ExeYolu());
    QString surucu;
    if (yol.size() >= 2 && yol[1] == QLatin1Char(':')) {
        surucu = yol.left(2);
    } else if (yol.startsWith(QLatin1String("\\\\"))) {
        // \\server\share
        int s1 = yol.indexOf(QLatin1Char('\\'), 2);
        int s2 = s1 < 0 ? -1 : yol.indexOf(QLatin1Char('\\'), s1 + 1);
        surucu = s2 < 0 ? yol : yol.left(s2);
    }
    return surucu.isEmpty() ? QStringLiteral("C:") : surucu;
#else
    return QString();
#endif
}

QString VarsayilanBinYolu()
{
#ifdef _WIN32
    return ExeSurucusu() + QStringLiteral("\\KelmorOrtakData\\mariadb\\bin");
#else
    return QStringLiteral("/usr/bin");
#endif
}

QString VarsayilanYedekKlasoru()
{
#ifdef _WIN32
    return ExeSurucusu() + QStringLiteral("\\KelmorYedek");
#else
    return QDir::homePath() + QStringLiteral("/KelmorYedek");
#endif
}
