#include "app/gui/EditorApp.h"
#include "app/gui/QtTranslations.h"
#include "app/gui/WidgetInteraction.h"
#include "entry/gui/EntryCommands.h"
#include "entry/gui/EntryWindow.h"
#include "layout/ResumeLayout.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

int runEditor(int argc, char **argv, const QString &document)
{
    ResumeFontSize = 12;
    QApplication app(argc, argv);
    QtTranslations::install(app);
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("appointform"),
                                                 QIcon(QStringLiteral(":/icons/appointform.png"))));
    WidgetInteraction ui;
    EntryWindow window(ui);
    ui.setParentWidget(&window);
    // Closing the entry window ends the program with every other window.
    QObject::connect(&window, &EntryWindow::unloaded, &app, &QApplication::closeAllWindows,
                     Qt::QueuedConnection);
    QObject::connect(&window, &EntryWindow::unloaded, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    if (!document.isEmpty()) {
        // Once the window is up, so that the load's messages have it as parent.
        QTimer::singleShot(0, &window, [&window, document] { window.commands().openDocument(document); });
    }
    return app.exec();
}
