// Everything that prepares a run of the server's command-line tools or judges its
// outcome without running anything: tool lookup, the option file, the command line
// and the verdict on the tool's error stream.
#include "backup/uBackupLogic.h"

#include "platform/GuvenliDosya.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

#ifdef _WIN32
const QString kExeUzanti = QStringLiteral(".exe");
#else
const QString kExeUzanti;
#endif

// Control characters, '"', '<', '>' and '|' make a path invalid on every platform.
void YolDogrula(const QString& parca)
{
    for (QChar c : parca) {
        const char16_t u = c.unicode();
        if (u < 32 || u == u'"' || u == u'<' || u == u'>' || u == u'|')
            throw KelmorHata(QStringLiteral("Yolda gecersiz karakter var: ") + parca);
    }
}

QString AracBul(const QString& binYolu, const char* birinci, const char* ikinci)
{
    if (binYolu.isEmpty())
        return QString();
    for (const char* ad : {birinci, ikinci}) {
        const QString yol = YolBirlestir(binYolu, QLatin1String(ad) + kExeUzanti);
        if (QFileInfo(yol).isFile()) // follows links
            return yol;
    }
    return QString();
}

// Only A-Z are lowered; other letters stay as the tool wrote them.
QString AsciiKucuk(const QString& s)
{
    QString k = s;
    for (QChar& c : k) {
        const char16_t u = c.unicode();
        if (u >= u'A' && u <= u'Z')
            c = QChar(char16_t(u + 32));
    }
    return k;
}

// One argument of the dump tool: on the argument vector it is onek + deger; on the
// logged (and Windows) command line it is " " + onek + ArgTirnakla(deger).
struct DumpParca {
    QString onek;
    QString deger;
};

QList<DumpParca> DumpParcalari(const TYedekIstegi& istek, const QString& cnfYolu)
{
    QList<DumpParca> p;
    p.append({QStringLiteral("--defaults-extra-file="), cnfYolu});
    for (const char* o : {"--single-transaction", "--quick", "--no-create-db", "--default-character-set=utf8mb4",
                          "--set-charset"})
        p.append({QString(), QLatin1String(o)});
    switch (istek.YedekMod) {
    case bmTam:
        for (const char* o : {"--routines", "--triggers", "--events"})
            p.append({QString(), QLatin1String(o)});
        break;
    case bmSadeceDB:
    case bmTablolar:
        p.append({QString(), QStringLiteral("--skip-triggers")});
        break;
    }
    p.append({QString(), istek.Veritabani});
    if (istek.YedekMod == bmTablolar)
        for (const QString& t : istek.Tablolar)
            p.append({QString(), t});
    return p;
}

} // namespace

QString YolBirlestir(const QString& klasor, const QString& ad)
{
    YolDogrula(klasor);
    YolDogrula(ad);
    if (klasor.isEmpty() || klasor.endsWith(QLatin1Char('/')) || klasor.endsWith(QLatin1Char('\\')) ||
        klasor.endsWith(QLatin1Char(':')))
        return klasor + ad;
    return klasor + QLatin1Char('/') + ad;
}

QString DumpExeBul(const QString& binYolu) { return AracBul(binYolu, "mariadb-dump", "mysqldump"); }

QString ClientExeBul(const QString& binYolu) { return AracBul(binYolu, "mariadb", "mysql"); }

qint64 DosyaBoyutu(const QString& yol)
{
    if (yol.isEmpty() || !QFileInfo::exists(yol))
        return 0;
    QFile f(yol);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const qint64 n = f.size();
    return n < 0 ? 0 : n;
}

QByteArray CnfIcerigi(const TKelmorAyar& ayar)
{
    QString sifre = ayar.Sifre;
    sifre.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    sifre.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    const QString crlf = QStringLiteral("\r\n");
    QString m = QStringLiteral("[client]") + crlf;
    m += QStringLiteral("host=") + ayar.Host + crlf;
    m += QStringLiteral("port=") + QString::number(ayar.Port) + crlf;
    m += QStringLiteral("user=") + ayar.Kullanici + crlf;
    m += QStringLiteral("password=\"") + sifre + QStringLiteral("\"") + crlf;
#ifndef _WIN32
    // A client here reads the host "localhost" as its local socket and ignores the
    // port; TCP makes host and port mean what they say.
    m += QStringLiteral("protocol=TCP") + crlf;
#endif
    return m.toLocal8Bit();
}

QString CnfOlustur(const TKelmorAyar& ayar)
{
    // Qt reports an empty path when TMPDIR names no folder; "" must not become "/".
    const QString klasor = QDir::tempPath();
    if (klasor.isEmpty())
        throw KelmorHata(QStringLiteral("Gecici klasor bulunamadi"));
    YolDogrula(klasor);
    QString yol, hata;
    if (!YeniGeciciDosyaYaz(klasor, QStringLiteral("kelmor_"), QStringLiteral(".cnf"), CnfIcerigi(ayar), yol,
                            hata)) {
        // A half-written file holds part of the credentials: it goes at once.
        if (!yol.isEmpty())
            QFile::remove(yol);
        throw KelmorHata(hata);
    }
    return yol;
}

QString ArgTirnakla(const QString& arg)
{
    if (!arg.contains(QLatin1Char(' ')))
        return arg;
    QString s = arg;
    s.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

QStringList DumpArgumanlari(const TYedekIstegi& istek, const QString& cnfYolu)
{
    QStringList a;
    for (const DumpParca& p : DumpParcalari(istek, cnfYolu))
        a << p.onek + p.deger;
    return a;
}

QString DumpKomutuOlustur(const TYedekIstegi& istek, const QString& cnfYolu, const QString& exeYolu)
{
    QString k = ArgTirnakla(exeYolu);
    for (const DumpParca& p : DumpParcalari(istek, cnfYolu))
        k += QLatin1Char(' ') + p.onek + ArgTirnakla(p.deger);
    return k;
}

bool StderrHataVarMi(const QString& stderrMetni, const TLogProc& log)
{
    if (stderrMetni.isEmpty())
        return false;
    QString metin = stderrMetni;
    metin.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    metin.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    bool hata = false;
    for (const QString& ham : metin.split(QLatin1Char('\n'))) {
        const QString satir = KirpAscii(ham);
        if (satir.isEmpty())
            continue;
        const QString kucuk = AsciiKucuk(satir);
        if (kucuk.contains(QLatin1String("using a password")))
            continue;
        Bildir(log, QStringLiteral("     ") + satir);
        if (kucuk.contains(QLatin1String("error")) && !kucuk.contains(QLatin1String("warning")) &&
            !kucuk.contains(QLatin1String("[note]")))
            hata = true;
    }
    return hata;
}
