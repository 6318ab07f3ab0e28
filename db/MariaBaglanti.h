#pragma once
#include "core/Ortak.h"
#include "core/uConfig.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

struct st_mysql;

// An error reported by the client library or the server; the message is the
// library's text unchanged.
class EMariaDBHata : public KelmorHata {
public:
    using KelmorHata::KelmorHata;
};

// One connection to the server, owned by one call and closed when it goes out of
// scope, whatever happened. Host, port, user and password come from the settings;
// the connection always uses TCP (so "localhost" does not silently switch to the
// local socket and another server), the character set utf8mb4 and no option files.
class TMariaBaglanti {
public:
    // Configures the connection without connecting; throws EMariaDBHata.
    explicit TMariaBaglanti(const TKelmorAyar& ayar);
    ~TMariaBaglanti();
    TMariaBaglanti(const TMariaBaglanti&) = delete;
    TMariaBaglanti& operator=(const TMariaBaglanti&) = delete;

    // Logs in; a non-empty varsayilanDb becomes the default database.
    void Baglan(const QString& varsayilanDb = QString());
    // Runs a statement with rows and returns the first column of every row
    // (SQL NULL as an empty string).
    QStringList IlkSutun(const QString& sql);
    // Runs a statement without rows.
    void Calistir(const QString& sql);
    // The value as a quoted string literal for this connection.
    QString DizeSabiti(const QString& deger);

private:
    [[noreturn]] void HataFirlat();
    void SorguGonder(const QString& sql);

    st_mysql* m_db = nullptr;
    QByteArray m_host, m_kullanici, m_sifre;
    unsigned int m_port = 0;
};
