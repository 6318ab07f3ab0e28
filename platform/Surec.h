#pragma once
#include <QString>
#include <QStringList>

// Runs one external tool to its end with chosen standard handles, the way both
// engines need it: the tool's output never passes through the program, its error
// stream is read through a pipe until the tool closes it (so megabytes of messages
// never block it), and nothing but the three standard handles is inherited.

struct SurecIstegi {
    QString Program;        // full path of the tool
    QStringList Argumanlar; // arguments after the program name (POSIX)
    QString KomutSatiri;    // Windows: the whole command line handed to CreateProcess

    enum class Giris { Miras, Dosya };
    Giris GirisTuru = Giris::Miras; // Dosya: the file GirisDosyasi is standard input
    QString GirisDosyasi;

    enum class Cikis { Miras, Dosya, Yok };
    Cikis CikisTuru = Cikis::Miras; // Dosya: created anew (emptied when present); Yok: discarded
    QString CikisDosyasi;
};

struct SurecSonucu {
    bool Basladi = false;     // the tool was started and has ended
    quint32 CikisKodu = 0;    // 128 + signal number when a signal ended it
    QString Stderr;           // everything the tool wrote to its error stream
    quint32 SistemHatasi = 0; // errno / GetLastError of the step that failed
};

SurecSonucu SurecCalistir(const SurecIstegi& istek);
