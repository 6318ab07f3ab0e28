#include "platform/Surec.h"

#include <QDir>
#include <QFile>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

#ifndef _WIN32

namespace {

struct Fd {
    int fd = -1;
    ~Fd() { kapat(); }
    void kapat()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
};

} // namespace

SurecSonucu SurecCalistir(const SurecIstegi& istek)
{
    SurecSonucu s;
    Fd giris, cikis, okur, yazar;

    if (istek.CikisTuru == SurecIstegi::Cikis::Dosya) {
        cikis.fd = ::open(QFile::encodeName(istek.CikisDosyasi).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (cikis.fd < 0) {
            s.SistemHatasi = quint32(errno);
            return s;
        }
    } else if (istek.CikisTuru == SurecIstegi::Cikis::Yok) {
        cikis.fd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (cikis.fd < 0) {
            s.SistemHatasi = quint32(errno);
            return s;
        }
    }
    if (istek.GirisTuru == SurecIstegi::Giris::Dosya) {
        giris.fd = ::open(QFile::encodeName(istek.GirisDosyasi).constData(), O_RDONLY | O_CLOEXEC);
        if (giris.fd < 0) {
            s.SistemHatasi = quint32(errno);
            return s;
        }
    }
    int boru[2];
    if (::pipe2(boru, O_CLOEXEC) != 0) {
        s.SistemHatasi = quint32(errno);
        return s;
    }
    okur.fd = boru[0];
    yazar.fd = boru[1];

    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    if (giris.fd >= 0)
        posix_spawn_file_actions_adddup2(&fa, giris.fd, 0);
    if (cikis.fd >= 0)
        posix_spawn_file_actions_adddup2(&fa, cikis.fd, 1);
    posix_spawn_file_actions_adddup2(&fa, yazar.fd, 2);
    // Whatever else is open in this process (sockets, files of other threads) stays here.
    posix_spawn_file_actions_addclosefrom_np(&fa, 3);

    posix_spawnattr_t at;
    posix_spawnattr_init(&at);
    sigset_t bos, varsayilan;
    sigemptyset(&bos);
    sigemptyset(&varsayilan);
    sigaddset(&varsayilan, SIGPIPE);
    sigaddset(&varsayilan, SIGCHLD);
    posix_spawnattr_setsigmask(&at, &bos);
    posix_spawnattr_setsigdefault(&at, &varsayilan);
    posix_spawnattr_setflags(&at, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    QList<QByteArray> parcalar;
    parcalar << QFile::encodeName(istek.Program);
    for (const QString& a : istek.Argumanlar)
        parcalar << a.toLocal8Bit();
    std::vector<char*> argv;
    for (QByteArray& p : parcalar)
        argv.push_back(p.data());
    argv.push_back(nullptr);

    pid_t pid = -1;
    int rc = posix_spawn(&pid, argv[0], &fa, &at, argv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    posix_spawnattr_destroy(&at);
    if (rc != 0) {
        s.SistemHatasi = quint32(rc);
        return s;
    }
    // Our copies go now, so the pipe reports its end when the tool (and its children) end.
    yazar.kapat();
    giris.kapat();
    cikis.kapat();

    QByteArray hata;
    char buf[4096];
    for (;;) {
        ssize_t n = ::read(okur.fd, buf, sizeof buf);
        if (n > 0) {
            hata.append(buf, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    okur.kapat();

    int durum = 0;
    while (::waitpid(pid, &durum, 0) < 0) {
        if (errno != EINTR) {
            s.SistemHatasi = quint32(errno);
            break;
        }
    }
    if (WIFEXITED(durum))
        s.CikisKodu = quint32(WEXITSTATUS(durum));
    else if (WIFSIGNALED(durum))
        s.CikisKodu = 128u + quint32(WTERMSIG(durum));
    s.Stderr = QString::fromLocal8Bit(hata);
    s.Basladi = true;
    return s;
}

#else // _WIN32

SurecSonucu SurecCalistir(const SurecIstegi& istek)
{
    SurecSonucu s;
    SECURITY_ATTRIBUTES sa{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE giris = GetStdHandle(STD_INPUT_HANDLE);
    HANDLE cikis = GetStdHandle(STD_OUTPUT_HANDLE);
    HANDLE acilanGiris = INVALID_HANDLE_VALUE, acilanCikis = INVALID_HANDLE_VALUE;
    auto yerel = [](const QString& p) {
        return reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(p).utf16());
    };
    if (istek.CikisTuru == SurecIstegi::Cikis::Dosya) {
        acilanCikis = CreateFileW(yerel(istek.CikisDosyasi), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (acilanCikis == INVALID_HANDLE_VALUE) {
            s.SistemHatasi = GetLastError();
            return s;
        }
        cikis = acilanCikis;
    } else if (istek.CikisTuru == SurecIstegi::Cikis::Yok) {
        acilanCikis = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        cikis = acilanCikis;
    }
    if (istek.GirisTuru == SurecIstegi::Giris::Dosya) {
        acilanGiris = CreateFileW(yerel(istek.GirisDosyasi), GENERIC_READ, FILE_SHARE_READ, &sa, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (acilanGiris == INVALID_HANDLE_VALUE) {
            s.SistemHatasi = GetLastError();
            if (acilanCikis != INVALID_HANDLE_VALUE)
                CloseHandle(acilanCikis);
            return s;
        }
        giris = acilanGiris;
    }
    auto kapat = [&](HANDLE& h) {
        if (h != INVALID_HANDLE_VALUE && h != nullptr)
            CloseHandle(h);
        h = INVALID_HANDLE_VALUE;
    };
    HANDLE okur = nullptr, yazar = nullptr;
    if (!CreatePipe(&okur, &yazar, &sa, 0)) {
        s.SistemHatasi = GetLastError();
        kapat(acilanGiris);
        kapat(acilanCikis);
        return s;
    }
    SetHandleInformation(okur, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    si.hStdInput = giris;
    si.hStdOutput = cikis;
    si.hStdError = yazar;
    PROCESS_INFORMATION pi{};
    std::wstring komut = istek.KomutSatiri.toStdWString();
    if (!CreateProcessW(nullptr, komut.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                        &pi)) {
        s.SistemHatasi = GetLastError();
        kapat(acilanGiris);
        kapat(acilanCikis);
        CloseHandle(okur);
        CloseHandle(yazar);
        return s;
    }
    CloseHandle(yazar);
    QByteArray hata;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(okur, buf, 4095, &n, nullptr) && n > 0)
        hata.append(buf, int(n));
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD kod = 0;
    GetExitCodeProcess(pi.hProcess, &kod);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    kapat(acilanGiris);
    kapat(acilanCikis);
    CloseHandle(okur);
    s.CikisKodu = kod;
    s.Stderr = QString::fromLocal8Bit(hata);
    s.Basladi = true;
    return s;
}

#endif
