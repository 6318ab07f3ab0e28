#include "ui/PencereliBaslat.h"

#include "core/uLog.h"
#include "ui/uMain.h"

#include <QApplication>
#include <QIcon>

int PencereliBaslat(int& argc, char** argv)
{
    LogYaz(QStringLiteral("Uygulama başlatıldı"));
    {
        QApplication app(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Kelmor Yedekleme"));
        // Lets the desktop match the windows to the installed launcher and its icon.
        QGuiApplication::setDesktopFileName(QStringLiteral("kelmorbackup"));
        const QIcon simge(QStringLiteral(":/kelmor/kelmorbackup.png"));
        if (!simge.isNull())
            QApplication::setWindowIcon(simge);

        // The main window owns the taskbar button; closing it ends the loop.
        TfrmMain w;
        w.show();
        app.exec();
    }
    LogYaz(QStringLiteral("Uygulama kapatıldı"));
    return 0;
}
