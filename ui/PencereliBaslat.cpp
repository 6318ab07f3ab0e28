#include "ui/PencereliBaslat.h"

#include <QApplication>
#include <QWidget>

int PencereliBaslat(int& argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget w;
    w.setWindowTitle(QStringLiteral("Kelmor Yedekleme"));
    w.show();
    app.exec();
    return 0;
}
