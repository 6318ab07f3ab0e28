#include "app/Headless.h"
#include "app/HeadlessRestore.h"
#include "core/uLog.h"
#include "ui/PencereliBaslat.h"

#include <QCoreApplication>
#include <QStringList>

int main(int argc, char** argv)
{
    LogBaslat();

    QStringList argumanlar;
    for (int i = 1; i < argc; ++i)
        argumanlar << QString::fromLocal8Bit(argv[i]);

    switch (KomutModuBul(argumanlar)) {
    case KomutModu::Yedek: {
        QCoreApplication app(argc, argv);
        return BassizYedek(argumanlar.value(1));
    }
    case KomutModu::GeriYukle: {
        QCoreApplication app(argc, argv);
        return BassizGeriYukle(argumanlar.mid(1));
    }
    case KomutModu::Pencereli:
        break;
    }
    return PencereliBaslat(argc, argv);
}
