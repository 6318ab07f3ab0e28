// Starting the dump tool: its standard output goes straight into the backup file,
// its error stream is collected, its standard input is the program's own.
#include "backup/uBackupLogic.h"

#include "platform/Surec.h"

bool ProcessCalistir(const QString& exeYolu, const QStringList& argumanlar, const QString& komutSatiri,
                     const QString& ciktiDosyasi, QString& stderrMetni, quint32& cikisKodu, quint32& sistemHatasi)
{
    stderrMetni.clear();
    cikisKodu = 0;
    sistemHatasi = 0;
    SurecIstegi i;
    i.Program = exeYolu;
    i.Argumanlar = argumanlar;
    i.KomutSatiri = komutSatiri;
    i.GirisTuru = SurecIstegi::Giris::Miras;
    i.CikisTuru = SurecIstegi::Cikis::Dosya;
    i.CikisDosyasi = ciktiDosyasi;
    const SurecSonucu s = SurecCalistir(i);
    sistemHatasi = s.SistemHatasi;
    if (!s.Basladi)
        return false;
    stderrMetni = s.Stderr;
    cikisKodu = s.CikisKodu;
    return true;
}
