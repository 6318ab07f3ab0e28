// One backup of one database: the dump tool writes straight into a new timestamped
// .sql file, the run judges the outcome and packs the file when asked. Two channels:
// the debug log gets a technical trace, the callback the lines meant for the user.
#include "backup/uBackupLogic.h"

#include "core/uLog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {

const QString kAyirici(50, QLatin1Char('='));

QString HataSatiri(const QString& hata) { return QStringLiteral("HATA: ") + hata; }

// The option file holds the password: it goes at the end of the run whatever the
// way out, and the closing line follows.
class KapanisBekcisi {
public:
    QString cnfYolu;
    ~KapanisBekcisi()
    {
        if (!cnfYolu.isEmpty() && QFileInfo::exists(cnfYolu)) {
            if (QFile::remove(cnfYolu))
                LogYaz(QStringLiteral("CNF silindi: ") + cnfYolu);
            else
                LogYaz(QStringLiteral("CNF silinemedi: ") + cnfYolu);
        }
        LogYaz(QStringLiteral("---------- YedekAl bitti ----------"));
    }
};

// Creates the folder with its parents; an unusable path raises an error.
void KlasorOlustur(const QString& klasor)
{
    if (KirpAscii(klasor).isEmpty())
        throw KelmorHata(QStringLiteral("Klasor adi bos"));
    YolBirlestir(klasor, QString()); // rejects characters no path may hold
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(klasor.toStdU16String()), ec);
    if (ec)
        throw KelmorHata(klasor + QStringLiteral(": ") + QString::fromLocal8Bit(ec.message()));
    if (!QFileInfo(klasor).isDir())
        throw KelmorHata(klasor + QStringLiteral(": klasor degil"));
}

// A file the run must get rid of; one that will not go ends the run with an error.
void DosyaSil(const QString& yol)
{
    if (QFileInfo::exists(yol) && !QFile::remove(yol))
        throw KelmorHata(yol + QStringLiteral(": silinemedi"));
}

QString Klasoru(const QString& yol)
{
    const QString k = QFileInfo(yol).path();
    return k.size() > 1 && (k.endsWith(QLatin1Char('/')) || k.endsWith(QLatin1Char('\\'))) ? k.chopped(1) : k;
}

} // namespace

QString YedekModAdi(TYedekMod mod)
{
    switch (mod) {
    case bmTam:
        return QStringLiteral("tam");
    case bmSadeceDB:
        return QStringLiteral("db");
    case bmTablolar:
        return QStringLiteral("tablolar");
    }
    return QStringLiteral("yedek");
}

QString DosyaAdiTemizle(const QString& ad)
{
    QString s = ad;
    for (QChar c : {u'<', u'>', u':', u'"', u'/', u'\\', u'|', u'?', u'*'})
        s.replace(c, QLatin1Char('_'));
    return KirpAscii(s);
}

TYedekSonuc YedekAl(const TYedekIstegi& istek, const TLogProc& log)
{
    const TKelmorAyar& a = istek.Ayar;
    LogYaz(QStringLiteral("---------- YedekAl baslatildi ----------"));
    LogYazF("Veritabani: %s, Mod: %s, Hedef: %s", istek.Veritabani, YedekModAdi(istek.YedekMod), istek.HedefKlasor);
    LogYazF("Host: %s:%d, Kullanici: %s, Bin: %s", a.Host, a.Port, a.Kullanici, a.BinYolu);

    TYedekSonuc sonuc;
    auto basarisiz = [&](const QString& hata) {
        sonuc.Hata = hata;
        Bildir(log, HataSatiri(hata));
        return sonuc;
    };

    const QString exe = DumpExeBul(a.BinYolu);
    LogYaz(QStringLiteral("DumpExeBul -> \"") + exe + QLatin1Char('"'));
    if (exe.isEmpty()) {
        const QString hata = QStringLiteral("mysqldump.exe veya mariadb-dump.exe bulunamadi: ") + a.BinYolu;
        LogYaz(HataSatiri(hata));
        return basarisiz(hata);
    }

    if (!QFileInfo(istek.HedefKlasor).isDir()) {
        LogYaz(QStringLiteral("Hedef klasor yok, olusturuluyor: ") + istek.HedefKlasor);
        try {
            KlasorOlustur(istek.HedefKlasor);
        } catch (const std::exception& e) {
            const QString hata = QStringLiteral("Hedef klasor olusturulamadi: ") + HataMesaji(e);
            LogYaz(HataSatiri(hata));
            return basarisiz(hata);
        }
    }

    const QString zaman = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    const QString sqlAdi = DosyaAdiTemizle(istek.Veritabani) + QLatin1Char('_') + YedekModAdi(istek.YedekMod) +
                           QLatin1Char('_') + zaman + QStringLiteral(".sql");
    const QString sqlYolu = YolBirlestir(istek.HedefKlasor, sqlAdi);
    LogYaz(QStringLiteral("Cikti SQL: ") + sqlYolu);

    Bildir(log, kAyirici);
    Bildir(log, QStringLiteral("Yedekleme basliyor: ") + istek.Veritabani);
    Bildir(log, QStringLiteral("  Mod: ") + YedekModAdi(istek.YedekMod));
    Bildir(log, QStringLiteral("  Hedef: ") + sqlAdi);

    KapanisBekcisi bekci;
    try {
        bekci.cnfYolu = CnfOlustur(a);
    } catch (const std::exception& e) {
        const QString hata = QStringLiteral("Gecici config olusturulamadi: ") + HataMesaji(e);
        LogYaz(HataSatiri(hata));
        return basarisiz(hata);
    }
    LogYaz(QStringLiteral("CNF olusturuldu: ") + bekci.cnfYolu);

    const QString komut = DumpKomutuOlustur(istek, bekci.cnfYolu, exe);
    LogYaz(QStringLiteral("Komut: ") + komut);

    QString stderrMetni;
    quint32 cikisKodu = 0, sistemHatasi = 0;
    if (!ProcessCalistir(exe, DumpArgumanlari(istek, bekci.cnfYolu), komut, sqlYolu, stderrMetni, cikisKodu,
                         sistemHatasi)) {
        const QString hata = QStringLiteral("mysqldump baslatilamadi (CreateProcess hatasi)");
        LogYaz(HataSatiri(hata) + QStringLiteral(" GetLastError=") + QString::number(sistemHatasi));
        // The output file may already exist, empty: it is no backup.
        if (QFileInfo(sqlYolu).isFile() && DosyaBoyutu(sqlYolu) == 0)
            QFile::remove(sqlYolu);
        return basarisiz(hata);
    }

    LogYazF("Process bitti, exit code: %d", qint32(cikisKodu));
    if (!stderrMetni.isEmpty()) {
        // Both line ends, the other platform's and this one's, become one separator.
        QString tek = stderrMetni;
        tek.replace(QStringLiteral("\r\n"), QStringLiteral(" | "));
        tek.replace(QLatin1Char('\n'), QStringLiteral(" | "));
        LogYaz(QStringLiteral("STDERR: ") + tek);
    }
    const bool stderrHata = !stderrMetni.isEmpty() && StderrHataVarMi(stderrMetni, log);

    if (cikisKodu != 0 || stderrHata) {
        basarisiz(QStringLiteral("Dump basarisiz (cikis kodu: ") + QString::number(cikisKodu) + QLatin1Char(')'));
        DosyaSil(sqlYolu);
        return sonuc;
    }

    const qint64 sqlBoyut = DosyaBoyutu(sqlYolu);
    if (!QFileInfo::exists(sqlYolu) || sqlBoyut == 0) {
        basarisiz(QStringLiteral("Yedek dosyasi olusmadi veya bos"));
        DosyaSil(sqlYolu);
        return sonuc;
    }

    Bildir(log, QStringLiteral("  SQL tamam: ") + QString::number(sqlBoyut / 1024) + QStringLiteral(" KB"));
    QString kalan = sqlYolu;
    if (istek.ZipYap) {
        const QString zipYolu = sqlYolu.chopped(4) + QStringLiteral(".zip");
        Bildir(log, QStringLiteral("  ZIP olusturuluyor..."));
        if (ZipOlustur(sqlYolu, zipYolu, log)) {
            Bildir(log, QStringLiteral("  ZIP tamam: ") + QString::number(DosyaBoyutu(zipYolu) / 1024) +
                            QStringLiteral(" KB"));
            DosyaSil(sqlYolu);
            kalan = zipYolu;
        } else {
            Bildir(log, QStringLiteral("  UYARI: ZIP olusturulamadi, SQL birakildi"));
        }
    }

    sonuc.Basarili = true;
    sonuc.DosyaYolu = kalan;
    sonuc.Boyut = DosyaBoyutu(kalan);
    LogYazF("YedekAl BASARILI: %s (%d bytes)", sonuc.DosyaYolu, sonuc.Boyut);

    Bildir(log, QString());
    Bildir(log, QStringLiteral("YEDEK TAMAM"));
    Bildir(log, QStringLiteral("  Dosya: ") + QFileInfo(kalan).fileName());
    Bildir(log, QStringLiteral("  Konum: ") + Klasoru(kalan));
    Bildir(log, kAyirici);
    return sonuc;
}
