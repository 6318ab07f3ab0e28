#include "platform/GuvenliDosya.h"

#include "platform/Tick.h"

#include <QDir>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr int kDeneme = 1000;

QString AdAday(const QString& klasor, const QString& onek, const QString& sonek, quint32 tick, int n)
{
    QString ad = onek + QString::number(tick);
    if (n > 0)
        ad += QLatin1Char('_') + QString::number(n);
    ad += sonek;
    QString k = klasor;
    if (!k.endsWith(QLatin1Char('/')) && !k.endsWith(QLatin1Char('\\')))
        k += QLatin1Char('/');
    return k + ad;
}

#ifndef _WIN32
QString SistemHatasi(int e) { return QString::fromLocal8Bit(std::strerror(e)); }
#else
QString SistemHatasi(DWORD e)
{
    wchar_t* buf = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, e, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
    QString s = buf ? QString::fromWCharArray(buf).trimmed() : QString::number(e);
    LocalFree(buf);
    return s;
}
#endif

} // namespace

bool YeniGeciciDosyaYaz(const QString& klasor, const QString& onek, const QString& sonek,
                        const QByteArray& icerik, QString& yol, QString& hata)
{
    yol.clear();
    hata.clear();
    const quint32 tick = TickSayaci();
    for (int n = 0; n < kDeneme; ++n) {
        const QString aday = AdAday(klasor, onek, sonek, tick, n);
#ifdef _WIN32
        HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(aday).utf16()),
                               GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            DWORD e = GetLastError();
            if (e == ERROR_FILE_EXISTS || e == ERROR_ALREADY_EXISTS)
                continue;
            hata = aday + QStringLiteral(": ") + SistemHatasi(e);
            return false;
        }
        yol = aday;
        DWORD yazilan = 0;
        bool ok = WriteFile(h, icerik.constData(), DWORD(icerik.size()), &yazilan, nullptr) &&
                  yazilan == DWORD(icerik.size());
        DWORD e = GetLastError();
        CloseHandle(h);
        if (!ok) {
            hata = aday + QStringLiteral(": ") + SistemHatasi(e);
            return false;
        }
        return true;
#else
        const QByteArray yerel = QFile::encodeName(aday);
        int fd = ::open(yerel.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            hata = aday + QStringLiteral(": ") + SistemHatasi(errno);
            return false;
        }
        yol = aday;
        const char* p = icerik.constData();
        qsizetype kalan = icerik.size();
        while (kalan > 0) {
            ssize_t w = ::write(fd, p, size_t(kalan));
            if (w < 0) {
                if (errno == EINTR)
                    continue;
                int e = errno;
                ::close(fd);
                hata = aday + QStringLiteral(": ") + SistemHatasi(e);
                return false;
            }
            p += w;
            kalan -= w;
        }
        if (::close(fd) != 0) {
            hata = aday + QStringLiteral(": ") + SistemHatasi(errno);
            return false;
        }
        return true;
#endif
    }
    hata = klasor + QStringLiteral(": bos dosya adi bulunamadi");
    return false;
}

bool YeniGeciciKlasor(const QString& klasor, const QString& onek, QString& yol, QString& hata)
{
    yol.clear();
    hata.clear();
    QDir().mkpath(klasor);
    const quint32 tick = TickSayaci();
    for (int n = 0; n < kDeneme; ++n) {
        const QString aday = AdAday(klasor, onek, QString(), tick, n);
#ifdef _WIN32
        if (!CreateDirectoryW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(aday).utf16()), nullptr)) {
            DWORD e = GetLastError();
            if (e == ERROR_ALREADY_EXISTS)
                continue;
            hata = aday + QStringLiteral(": ") + SistemHatasi(e);
            return false;
        }
#else
        if (::mkdir(QFile::encodeName(aday).constData(), 0700) != 0) {
            if (errno == EEXIST)
                continue;
            hata = aday + QStringLiteral(": ") + SistemHatasi(errno);
            return false;
        }
#endif
        yol = aday;
        return true;
    }
    hata = klasor + QStringLiteral(": bos klasor adi bulunamadi");
    return false;
}
