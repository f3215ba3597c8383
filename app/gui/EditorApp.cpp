#include "app/gui/EditorApp.h"
#include "app/gui/WidgetInteraction.h"
#include "entry/gui/EntryWindow.h"

#include <QApplication>

int runEditor(int argc, char **argv)
{
    QApplication app(argc, argv);
    WidgetInteraction ui;
    EntryWindow window(ui);
    ui.setParentWidget(&window);
    // Closing the entry window ends the program with every other window.
    QObject::connect(&window, &EntryWindow::unloaded, &app, &QApplication::closeAllWindows,
                     Qt::QueuedConnection);
    QObject::connect(&window, &EntryWindow::unloaded, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    return app.exec();
}
