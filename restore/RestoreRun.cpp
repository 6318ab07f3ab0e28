#include "restore/RestoreYardimci.h"
#include "restore/uRestoreLogic.h"

#include "backup/uBackupLogic.h"
#include "db/uDatabase.h"
#include "platform/GuvenliDosya.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace restore_detail;

namespace {

const QString kAyirici = QStringLiteral("==================================================");

// Everything a run leaves in the temporary folder goes when the run ends, however
// it ends: the option file first, then the work folders in the order they were made.
struct Temizlik {
    QString cnf;
    QStringList klasorler;
    ~Temizlik()
    {
        if (!cnf.isEmpty() && QFileInfo::exists(cnf))
            QFile::remove(cnf);
        for (const QString& k : klasorler)
            KlasorSil(k);
    }
};

} // namespace

QString RestoreCnfOlustur(const TKelmorAyar& ayar, QString& yol)
{
    // The path is set as soon as the file exists, so a caller can delete it even
    // when writing its content fails.
    QString hata;
    if (!YeniGeciciDosyaYaz(GeciciKlasor(), QStringLiteral("kelmor_r_"), QStringLiteral(".cnf"), CnfIcerigi(ayar),
                            yol, hata))
        throw KelmorHata(hata);
    return yol;
}

TRestoreSonuc GeriYukle(const TRestoreIstegi& istek, const TLogProc& log)
{
    TRestoreSonuc sonuc;

    const QString client = ClientExeBul(istek.Ayar.BinYolu);
    if (client.isEmpty()) {
        sonuc.Hata = QStringLiteral("mysql.exe veya mariadb.exe bulunamadi");
        Bildir(log, QStringLiteral("HATA: ") + sonuc.Hata);
        return sonuc;
    }
    if (!DosyaVar(istek.KaynakDosya)) {
        sonuc.Hata = QStringLiteral("Kaynak dosya yok: ") + istek.KaynakDosya;
        Bildir(log, QStringLiteral("HATA: ") + sonuc.Hata);
        return sonuc;
    }

    Bildir(log, kAyirici);
    Bildir(log, QStringLiteral("Geri yukleme basliyor"));
    Bildir(log, QStringLiteral("  Kaynak: ") + QFileInfo(istek.KaynakDosya).fileName());
    Bildir(log, QStringLiteral("  Hedef DB: ") + istek.HedefVeritabani);

    Temizlik temizlik;
    QString betik = istek.KaynakDosya;

    if (AsciiSonEk(istek.KaynakDosya, ".zip")) {
        const QString cikan = ZipAc(istek.KaynakDosya, log);
        if (cikan.isEmpty()) {
            sonuc.Hata = QStringLiteral("ZIP acilamadi");
            return sonuc;
        }
        betik = cikan;
        temizlik.klasorler << UstKlasor(cikan);
    }

    if (istek.RestoreMod == rmTablolar) {
        if (istek.SeciliTablolar.isEmpty()) {
            sonuc.Hata = QStringLiteral("Tablolar modunda en az bir tablo secilmeli");
            return sonuc;
        }
        Bildir(log, QStringLiteral("  Tablolar filtreleniyor..."));
        const QString filtreli = SqlFiltrele(betik, istek.SeciliTablolar, log);
        if (filtreli.isEmpty()) {
            sonuc.Hata = QStringLiteral("Tablo filtreleme basarisiz");
            return sonuc;
        }
        betik = filtreli;
        temizlik.klasorler << UstKlasor(filtreli);
    }

    const QString temiz = SqlTemizle(betik, log);
    if (temiz != betik) {
        betik = temiz;
        temizlik.klasorler << UstKlasor(temiz);
    }

    if (istek.DBOlustur && !TDB::VeritabaniVarMi(istek.Ayar, istek.HedefVeritabani)) {
        Bildir(log, QStringLiteral("  Hedef DB yok, olusturuluyor: ") + istek.HedefVeritabani);
        QString hata;
        if (!TDB::VeritabaniOlustur(istek.Ayar, istek.HedefVeritabani, hata)) {
            sonuc.Hata = QStringLiteral("DB olusturulamadi: ") + hata;
            return sonuc;
        }
    }

    RestoreCnfOlustur(istek.Ayar, temizlik.cnf);

    if (log)
        Bildir(log, QStringLiteral("  SQL calistiriliyor (") + QString::number(DosyaBoyutu(betik) / 1024) +
                        QStringLiteral(" KB)..."));

    QString stderrMetni;
    quint32 cikisKodu = 0;
    if (!ClientCalistir(client, temizlik.cnf, istek.HedefVeritabani, betik, stderrMetni, cikisKodu)) {
        sonuc.Hata = QStringLiteral("mysql client baslatilamadi");
        return sonuc;
    }

    if (!stderrMetni.isEmpty()) {
        Bildir(log, QStringLiteral("  Cikti:"));
        Bildir(log, KirpAscii(stderrMetni).replace(QLatin1Char('\n'), QStringLiteral("\n     ")));
    }
    if (cikisKodu != 0) {
        sonuc.Hata = QStringLiteral("Geri yukleme basarisiz (cikis kodu ") + QString::number(cikisKodu) +
                     QLatin1Char(')');
        return sonuc;
    }
    sonuc.Basarili = true;
    Bildir(log, QString());
    Bildir(log, QStringLiteral("GERI YUKLEME TAMAM"));
    Bildir(log, kAyirici);
    return sonuc;
}
