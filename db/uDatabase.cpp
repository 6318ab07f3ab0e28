#include "db/uDatabase.h"

#include "core/uLog.h"
#include "db/MariaBaglanti.h"

#include <algorithm>
#include <exception>

namespace {

// The kind of error for the connection test's log line.
QString HataTuru(const std::exception& e)
{
    if (dynamic_cast<const EMariaDBHata*>(&e))
        return QStringLiteral("EMariaDBHata");
    return QStringLiteral("Exception");
}

// Compares ignoring the case of A-Z only; other letters must match exactly.
bool AsciiBuyukKucukFarksizEsit(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return false;
    const auto kucuk = [](char16_t c) -> char16_t { return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c; };
    for (qsizetype i = 0; i < a.size(); ++i)
        if (kucuk(a.at(i).unicode()) != kucuk(b.at(i).unicode()))
            return false;
    return true;
}

bool SistemVeritabani(const QString& ad)
{
    static const char16_t* const sistem[] = {u"information_schema", u"mysql", u"performance_schema", u"sys"};
    for (const char16_t* s : sistem)
        if (AsciiBuyukKucukFarksizEsit(ad, QString::fromUtf16(s)))
            return true;
    return false;
}

// The server reads the value of SHOW DATABASES LIKE as a pattern; escaping its
// wildcards (and the escape character itself) makes only the exact name match.
QString LikeDesenKacisla(const QString& ad)
{
    QString desen;
    desen.reserve(ad.size() + 8);
    for (const QChar c : ad) {
        if (c == u'\\' || c == u'_' || c == u'%')
            desen += u'\\';
        desen += c;
    }
    return desen;
}

// A database name between backquotes, inner backquotes doubled so that no name
// can end the identifier early.
QString TanimlayiciTirnakla(const QString& ad)
{
    QString t = ad;
    t.replace(u'`', QStringLiteral("``"));
    return u'`' + t + u'`';
}

} // namespace

bool TDB::Test(const TKelmorAyar& Ayar, QString& Hata, QString& Versiyon)
{
    LogYazF("TDB.Test -> %s:%d kullanici=%s", Ayar.Host, Ayar.Port, Ayar.Kullanici);
    Hata.clear();
    Versiyon.clear();
    bool sonuc = false;
    try {
        TMariaBaglanti b(Ayar);
        LogYaz(QStringLiteral("  BaglantiKur tamam, Connect deniyoruz..."));
        b.Baglan();
        LogYaz(QStringLiteral("  Connect basarili"));
        const QStringList satirlar = b.IlkSutun(QStringLiteral("SELECT VERSION()"));
        if (!satirlar.isEmpty())
            Versiyon = satirlar.first();
        LogYaz(QStringLiteral("  Versiyon: ") + Versiyon);
        sonuc = true;
    } catch (const std::exception& e) {
        Hata = HataMesaji(e);
        LogYaz(QStringLiteral("  HATA: ") + HataTuru(e) + QStringLiteral(": ") + Hata);
    }
    LogYazF("TDB.Test sonuc: %s", sonuc ? "True" : "False");
    return sonuc;
}

QStringList TDB::Veritabanlari(const TKelmorAyar& Ayar, QString& Hata)
{
    Hata.clear();
    try {
        TMariaBaglanti b(Ayar);
        b.Baglan();
        QStringList liste;
        for (const QString& ad : b.IlkSutun(QStringLiteral("SHOW DATABASES")))
            if (!SistemVeritabani(ad))
                liste << ad;
        return liste;
    } catch (const std::exception& e) {
        Hata = HataMesaji(e);
    }
    return {};
}

QStringList TDB::Tablolar(const TKelmorAyar& Ayar, const QString& DB, QString& Hata)
{
    Hata.clear();
    try {
        TMariaBaglanti b(Ayar);
        b.Baglan(DB);
        QStringList liste = b.IlkSutun(QStringLiteral("SHOW FULL TABLES WHERE Table_type = 'BASE TABLE'"));
        // QString's operator< compares UTF-16 code units: "A" < "Z" < "a".
        std::sort(liste.begin(), liste.end());
        return liste;
    } catch (const std::exception& e) {
        Hata = HataMesaji(e);
    }
    return {};
}

bool TDB::VeritabaniVarMi(const TKelmorAyar& Ayar, const QString& DB)
{
    // No database has an empty name, but the server reads an empty LIKE value as "no filter".
    if (DB.isEmpty())
        return false;
    try {
        TMariaBaglanti b(Ayar);
        b.Baglan();
        const QString sql = QStringLiteral("SHOW DATABASES LIKE ") + b.DizeSabiti(LikeDesenKacisla(DB));
        return !b.IlkSutun(sql).isEmpty();
    } catch (const std::exception&) {
        // A failure reads as "not there": the caller then tries to create it and reports that error.
    }
    return false;
}

bool TDB::VeritabaniOlustur(const TKelmorAyar& Ayar, const QString& DB, QString& Hata)
{
    Hata.clear();
    try {
        TMariaBaglanti b(Ayar);
        b.Baglan();
        b.Calistir(QStringLiteral("CREATE DATABASE IF NOT EXISTS ") + TanimlayiciTirnakla(DB) +
                   QStringLiteral(" CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci"));
        return true;
    } catch (const std::exception& e) {
        Hata = HataMesaji(e);
    }
    return false;
}
