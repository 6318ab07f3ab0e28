#include "db/MariaBaglanti.h"

#include <mysql.h>

#include <mutex>

namespace {

// How long a login may wait for an unreachable host before giving up.
constexpr unsigned int kBaglantiZamanAsimiSn = 10;

// mysql_init would initialise the library lazily, but not thread-safely; the
// restore engine may reach us from a worker thread, so do it exactly once here.
// Per-thread state needs no call of ours: Connector/C 3 sets it up by itself.
void KutuphaneyiHazirla()
{
    static std::once_flag bayrak;
    static int sonuc = 0;
    std::call_once(bayrak, [] { sonuc = mysql_library_init(0, nullptr, nullptr); });
    if (sonuc != 0)
        throw EMariaDBHata(QStringLiteral("MariaDB istemci kütüphanesi başlatılamadı"));
}

} // namespace

TMariaBaglanti::TMariaBaglanti(const TKelmorAyar& ayar)
    : m_host(ayar.Host.toUtf8()), m_kullanici(ayar.Kullanici.toUtf8()), m_sifre(ayar.Sifre.toUtf8()),
      m_port(static_cast<unsigned int>(ayar.Port))
{
    KutuphaneyiHazirla();
    m_db = mysql_init(nullptr);
    if (!m_db)
        throw EMariaDBHata(QStringLiteral("MariaDB bağlantısı oluşturulamadı (bellek yetersiz)"));
    const unsigned int protokol = MYSQL_PROTOCOL_TCP;
    const unsigned int zamanAsimi = kBaglantiZamanAsimiSn;
    if (mysql_options(m_db, MYSQL_OPT_PROTOCOL, &protokol) != 0 ||
        mysql_options(m_db, MYSQL_SET_CHARSET_NAME, "utf8mb4") != 0 ||
        mysql_options(m_db, MYSQL_OPT_CONNECT_TIMEOUT, &zamanAsimi) != 0) {
        const QString mesaj = QString::fromUtf8(mysql_error(m_db));
        mysql_close(m_db);
        m_db = nullptr;
        throw EMariaDBHata(mesaj);
    }
}

TMariaBaglanti::~TMariaBaglanti()
{
    if (m_db)
        mysql_close(m_db);
}

void TMariaBaglanti::HataFirlat()
{
    throw EMariaDBHata(QString::fromUtf8(mysql_error(m_db)));
}

void TMariaBaglanti::Baglan(const QString& varsayilanDb)
{
    const QByteArray db = varsayilanDb.toUtf8();
    if (!mysql_real_connect(m_db, m_host.constData(), m_kullanici.constData(), m_sifre.constData(),
                            db.isEmpty() ? nullptr : db.constData(), m_port, nullptr, 0))
        HataFirlat();
}

void TMariaBaglanti::SorguGonder(const QString& sql)
{
    const QByteArray metin = sql.toUtf8();
    if (mysql_real_query(m_db, metin.constData(), static_cast<unsigned long>(metin.size())) != 0)
        HataFirlat();
}

QStringList TMariaBaglanti::IlkSutun(const QString& sql)
{
    SorguGonder(sql);
    MYSQL_RES* sonuc = mysql_store_result(m_db);
    if (!sonuc) {
        if (mysql_field_count(m_db) != 0)
            HataFirlat();
        return {};
    }
    QStringList satirlar;
    while (MYSQL_ROW satir = mysql_fetch_row(sonuc)) {
        const unsigned long* uzunluk = mysql_fetch_lengths(sonuc);
        satirlar << (satir[0] ? QString::fromUtf8(satir[0], static_cast<qsizetype>(uzunluk[0])) : QString());
    }
    mysql_free_result(sonuc);
    return satirlar;
}

void TMariaBaglanti::Calistir(const QString& sql)
{
    SorguGonder(sql);
    if (MYSQL_RES* sonuc = mysql_store_result(m_db))
        mysql_free_result(sonuc);
    else if (mysql_field_count(m_db) != 0)
        HataFirlat();
}

QString TMariaBaglanti::DizeSabiti(const QString& deger)
{
    const QByteArray ham = deger.toUtf8();
    QByteArray kacik(ham.size() * 2 + 1, Qt::Uninitialized);
    const unsigned long n =
        mysql_real_escape_string(m_db, kacik.data(), ham.constData(), static_cast<unsigned long>(ham.size()));
    if (n == static_cast<unsigned long>(-1))
        HataFirlat();
    kacik.truncate(static_cast<qsizetype>(n));
    return QLatin1Char('\'') + QString::fromUtf8(kacik) + QLatin1Char('\'');
}
