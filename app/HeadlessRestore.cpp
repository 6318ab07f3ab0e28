#include "app/HeadlessRestore.h"

#include "core/uLog.h"

int BassizGeriYukle(const QStringList&)
{
    LogYaz(QStringLiteral("BASSIZ GERI YUKLEME HATA: Kullanim: KelmorBackup.exe /geriyukle <dosya> <dbadi> [tablo ...]"));
    return 2;
}
