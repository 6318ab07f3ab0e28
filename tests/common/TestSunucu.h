#pragma once
#include "core/uConfig.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The suite's own MariaDB server, started by scripts/test.sh, which hands its
// address to the tests in KELMOR_TEST_HOST/PORT/USER/PASS. A test that needs the
// server fails (never skips) when these are missing.
namespace TestSunucu {

bool Var();
// Settings that reach the test server: host, port, user, password, BinYolu "/usr/bin".
TKelmorAyar Ayar();
// Runs SQL through the real client (TCP, no default database unless given);
// returns the client's standard output; fails the running test on error.
QString Sql(const QString& sql, const QString& veritabani = QString());
// Same, but gives false and the error text instead of failing.
bool SqlDene(const QString& sql, const QString& veritabani, QString& cikti, QString& hata);
// A database name unique within this run ("kt_<prefix>_<n>").
QString YeniAd(const QString& onek);

} // namespace TestSunucu

// Put at the top of a test function that needs the server.
#define SUNUCU_GEREKLI()                                                                                     \
    do {                                                                                                     \
        if (!TestSunucu::Var())                                                                              \
            QFAIL("No test server: run the suite through scripts/test.sh (KELMOR_TEST_* not set)");         \
    } while (0)

// Writes a file (creating folders); for fixtures.
void DosyaYaz(const QString& yol, const QByteArray& icerik);
QByteArray DosyaOku(const QString& yol);
