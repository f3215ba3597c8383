#include "app/EditorApp.h"
#include "windows/QtTranslations.h"
#include "windows/WidgetInteraction.h"
#include "windows/EntryCommands.h"
#include "windows/EntryWindow.h"
#include "record/RecoveryStore.h"
#include "layout/MeasuringSurface.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

int runEditor(int argc, char **argv, const QString &document)
{
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
    // Without the form's typefaces every cell measures wrong: said once,
    // before anything else, once the window is up.
    QTimer::singleShot(0, &window, [&ui] { tellMissingFormFonts(ui); });
    // Unsaved work survives a crash: a copy is kept while the record has
    // changes, and one left by an editor that did not end normally is
    // offered once the window is up.
    RecoveryStore recovery(RecoveryStore::defaultFolder());
    window.commands().setRecoveryStore(&recovery);
    QTimer::singleShot(0, &window, [&window] { window.commands().documents().startRecovery(); });
    window.show();
    if (!document.isEmpty()) {
        // Once the window is up (and after the recovery question), so that
        // the load's messages and save prompt have it as parent.
        QTimer::singleShot(0, &window, [&window, document] { window.commands().openDocument(document); });
    }
    const int code = app.exec();
    window.commands().setRecoveryStore(nullptr);
    return code;
}
