#include "app/gui/EditorApp.h"
#include <QApplication>
#include <QLabel>

int runEditor(int argc, char **argv)
{
    QApplication app(argc, argv);
    QLabel l(QStringLiteral("AppointForm"));
    l.show();
    return app.exec();
}
