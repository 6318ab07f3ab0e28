#include "restore/uRestoreLogic.h"

#include "platform/Surec.h"

#include <QDir>

bool ClientCalistir(const QString& clientYolu, const QString& cnfYolu, const QString& veritabani,
                    const QString& sqlYolu, QString& stderrMetni, quint32& cikisKodu)
{
    stderrMetni.clear();
    cikisKodu = 0;

    SurecIstegi istek;
    istek.Program = clientYolu;
    // The option file comes first: the client reads it before anything else.
    istek.Argumanlar = {QStringLiteral("--defaults-extra-file=") + cnfYolu,
                        QStringLiteral("--default-character-set=utf8mb4"), veritabani};
#ifdef _WIN32
    // Nothing inside the quotes is escaped, so a value with a quote of its own
    // would break the command line apart: refuse it.
    const QChar tirnak(u'"');
    if (clientYolu.contains(tirnak) || cnfYolu.contains(tirnak) || veritabani.contains(tirnak))
        return false;
    istek.KomutSatiri = QStringLiteral("\"%1\" --defaults-extra-file=\"%2\" --default-character-set=utf8mb4 \"%3\"")
                            .arg(QDir::toNativeSeparators(clientYolu), QDir::toNativeSeparators(cnfYolu), veritabani);
#endif
    // The script is the client's standard input; its normal output is not kept and
    // never mixes with the error stream.
    istek.GirisTuru = SurecIstegi::Giris::Dosya;
    istek.GirisDosyasi = sqlYolu;
    istek.CikisTuru = SurecIstegi::Cikis::Yok;

    const SurecSonucu sonuc = SurecCalistir(istek);
    if (!sonuc.Basladi)
        return false;
    stderrMetni = sonuc.Stderr;
    cikisKodu = sonuc.CikisKodu;
    return true;
}
