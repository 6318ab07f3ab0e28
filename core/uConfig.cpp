#include "core/uConfig.h"

#include "core/Ini.h"
#include "core/Ortak.h"
#include "platform/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

const QByteArray kAnahtar = QByteArrayLiteral("MervoQuantil4817^&*");

QByteArray Karistir(QByteArray b)
{
    for (qsizetype i = 0; i < b.size(); ++i)
        b[i] = char(b[i] ^ kAnahtar[i % kAnahtar.size()]);
    return b;
}

// A decimal integer, or a hexadecimal one after "0x"; anything else is not a number.
bool TamsayiOku(const QString& metin, qint32& sonuc)
{
    const QString t = metin.trimmed();
    bool ok = false;
    qint64 v = 0;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const QString h = t.mid(2);
        if (h.isEmpty() || h.startsWith(QLatin1Char('+')) || h.startsWith(QLatin1Char('-')))
            return false;
        v = h.toLongLong(&ok, 16);
        if (!ok || v > 0xFFFFFFFFLL)
            return false;
        sonuc = qint32(quint32(v));
        return true;
    }
    v = t.toLongLong(&ok, 10);
    if (!ok || v < INT32_MIN || v > INT32_MAX)
        return false;
    sonuc = qint32(v);
    return true;
}

} // namespace

void VarsayilanAyar(TKelmorAyar& ayar)
{
    ayar.Host = QStringLiteral("localhost");
    ayar.Port = 3307;
    ayar.Kullanici = QStringLiteral("root");
    ayar.Sifre = QStringLiteral("vabnek407");
    ayar.BinYolu = VarsayilanBinYolu();
    ayar.YedekKlasoru = VarsayilanYedekKlasoru();
    ayar.ZipYap = true;
    ayar.AyarSifresi.clear();
    ayar.SonYedek.clear();
    ayar.SonYedekDosya.clear();
}

QString AyarDosyasi()
{
    return QDir(ExeKlasoru()).filePath(QStringLiteral("ayarlar.ini"));
}

bool AyarDosyasiVarMi()
{
    return QFileInfo::exists(AyarDosyasi());
}

void AyarlariYukle(TKelmorAyar& ayar)
{
    VarsayilanAyar(ayar);
    const QString yol = AyarDosyasi();
    if (!QFileInfo::exists(yol))
        return;
    IniDosyasi ini;
    if (!ini.Yukle(yol))
        return;
    QString d;
    auto metin = [&](const char* bolum, const char* anahtar, QString& alan) {
        if (ini.Oku(QLatin1String(bolum), QLatin1String(anahtar), d))
            alan = d;
    };
    metin("Baglanti", "Host", ayar.Host);
    if (ini.Oku(QStringLiteral("Baglanti"), QStringLiteral("Port"), d)) {
        qint32 p = 0;
        ayar.Port = TamsayiOku(d, p) ? p : 3307;
    }
    metin("Baglanti", "Kullanici", ayar.Kullanici);
    ayar.Sifre = ini.Oku(QStringLiteral("Baglanti"), QStringLiteral("Sifre"), d) ? SifreCoz(d) : QString();
    metin("Baglanti", "BinYolu", ayar.BinYolu);
    metin("Yedek", "Klasor", ayar.YedekKlasoru);
    if (ini.Oku(QStringLiteral("Yedek"), QStringLiteral("ZipYap"), d)) {
        qint32 z = 1;
        ayar.ZipYap = TamsayiOku(d, z) ? z != 0 : true;
    }
    ayar.AyarSifresi =
        ini.Oku(QStringLiteral("Guvenlik"), QStringLiteral("AyarSifresi"), d) ? SifreCoz(d) : QString();
    metin("Durum", "SonYedek", ayar.SonYedek);
    metin("Durum", "SonYedekDosya", ayar.SonYedekDosya);
}

void AyarlariKaydet(const TKelmorAyar& ayar)
{
    const QString yol = AyarDosyasi();
    IniDosyasi ini;
    if (!ini.Yukle(yol))
        throw KelmorHata(QStringLiteral("Ayar dosyası okunamadı: ") + QDir::toNativeSeparators(yol));
    ini.Yaz(QStringLiteral("Baglanti"), QStringLiteral("Host"), ayar.Host);
    ini.Yaz(QStringLiteral("Baglanti"), QStringLiteral("Port"), QString::number(ayar.Port));
    ini.Yaz(QStringLiteral("Baglanti"), QStringLiteral("Kullanici"), ayar.Kullanici);
    ini.Yaz(QStringLiteral("Baglanti"), QStringLiteral("Sifre"), SifreKodla(ayar.Sifre));
    ini.Yaz(QStringLiteral("Baglanti"), QStringLiteral("BinYolu"), ayar.BinYolu);
    ini.Yaz(QStringLiteral("Yedek"), QStringLiteral("Klasor"), ayar.YedekKlasoru);
    ini.Yaz(QStringLiteral("Yedek"), QStringLiteral("ZipYap"), ayar.ZipYap ? QStringLiteral("1") : QStringLiteral("0"));
    ini.Yaz(QStringLiteral("Guvenlik"), QStringLiteral("AyarSifresi"), SifreKodla(ayar.AyarSifresi));
    ini.Yaz(QStringLiteral("Durum"), QStringLiteral("SonYedek"), ayar.SonYedek);
    ini.Yaz(QStringLiteral("Durum"), QStringLiteral("SonYedekDosya"), ayar.SonYedekDosya);

    // Written aside and renamed over the old file: a crash or a full disk never
    // leaves half a file. The file holds passwords, so only its owner may read it.
    QSaveFile f(yol);
    const QByteArray veri = ini.Metin();
    bool ok = f.open(QIODevice::WriteOnly) &&
              f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
              f.write(veri) == veri.size();
    QString neden = f.errorString();
    if (ok) {
        ok = f.commit();
        neden = f.errorString();
    } else {
        f.cancelWriting();
    }
    if (!ok)
        throw KelmorHata(QStringLiteral("Ayar dosyası yazılamadı: ") + QDir::toNativeSeparators(yol) +
                         QStringLiteral(" (") + neden + QLatin1Char(')'));
}

QString SifreKodla(const QString& duz)
{
    if (duz.isEmpty())
        return QString();
    // One line always: a longer text keeps no line breaks, so one INI line holds it whole.
    return QString::fromLatin1(Karistir(duz.toUtf8()).toBase64());
}

QString SifreCoz(const QString& kodlu)
{
    if (kodlu.isEmpty())
        return QString();
    try {
        QByteArray temiz;
        for (QChar c : kodlu) {
            const char16_t u = c.unicode();
            if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '+' ||
                u == '/')
                temiz.append(char(u));
        }
        const QByteArray b = Karistir(QByteArray::fromBase64(temiz));
        QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString s = dec.decode(b);
        if (dec.hasError())
            return QString();
        return s;
    } catch (...) {
        return QString();
    }
}
