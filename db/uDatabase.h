#pragma once
#include "core/uConfig.h"

#include <QString>
#include <QStringList>

// The only direct connection to the server: one connection per call, closed in
// every outcome, over TCP with the character set utf8mb4.
class TDB {
public:
    TDB() = delete;
    // Connects, reads SELECT VERSION(); logs its steps to the debug log.
    static bool Test(const TKelmorAyar& Ayar, QString& Hata, QString& Versiyon);
    // User databases in the server's order (system databases left out).
    static QStringList Veritabanlari(const TKelmorAyar& Ayar, QString& Hata);
    // Base tables of DB, sorted by UTF-16 code units.
    static QStringList Tablolar(const TKelmorAyar& Ayar, const QString& DB, QString& Hata);
    // True only when a database of exactly this name exists; false on any error.
    static bool VeritabaniVarMi(const TKelmorAyar& Ayar, const QString& DB);
    // CREATE DATABASE IF NOT EXISTS ... utf8mb4 / utf8mb4_unicode_ci.
    static bool VeritabaniOlustur(const TKelmorAyar& Ayar, const QString& DB, QString& Hata);
};
