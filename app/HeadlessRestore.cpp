#include "app/HeadlessRestore.h"

#include "core/uConfig.h"
#include "core/uLog.h"
#include "restore/uRestoreLogic.h"

#include <QFileInfo>

namespace {

const QString kHata = QStringLiteral("BASSIZ GERI YUKLEME HATA: ");

} // namespace

int BassizGeriYukle(const QStringList& argumanlar)
{
    // Blank words (an empty "" from a script) are not names.
    QStringList adlar;
    for (const QString& a : argumanlar)
        if (!KirpAscii(a).isEmpty())
            adlar << a;
    if (adlar.size() < 2) {
        LogYaz(kHata + QStringLiteral("Kullanim: KelmorBackup.exe /geriyukle <dosya> <dbadi> [tablo ...]"));
        return 2;
    }
    const QString dosya = adlar.at(0);
    const QString db = adlar.at(1);
    LogYaz(QStringLiteral("BASSIZ GERI YUKLEME basliyor: dosya=") + dosya + QStringLiteral(" db=") + db);

    try {
        TRestoreIstegi istek;
        AyarlariYukle(istek.Ayar);
        istek.KaynakDosya = QFileInfo(dosya).absoluteFilePath();
        istek.HedefVeritabani = db;
        istek.SeciliTablolar = adlar.mid(2);
        istek.RestoreMod = istek.SeciliTablolar.isEmpty() ? rmTam : rmTablolar;
        // The command itself is the confirmation: an existing database is replayed into.
        istek.DBOlustur = true;
        const TRestoreSonuc sonuc =
            GeriYukle(istek, [](const QString& satir) { LogYaz(QStringLiteral("[geri] ") + satir); });
        if (!sonuc.Basarili) {
            LogYaz(kHata + sonuc.Hata);
            return 1;
        }
    } catch (const std::exception& e) {
        LogYaz(kHata + HataMesaji(e));
        return 1;
    } catch (...) {
        LogYaz(kHata + QStringLiteral("beklenmeyen hata"));
        return 1;
    }
    LogYaz(QStringLiteral("BASSIZ GERI YUKLEME OK: ") + db);
    return 0;
}
