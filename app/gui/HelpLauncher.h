#pragma once
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

// Starts the help viewer as a separate process and does not wait for it.
// The compiled help opens in "hh.exe" where both the viewer and
// "资源/rmHelp.chm" exist; elsewhere the HTML help in "资源/help" opens in
// the desktop's browser.
class HelpLauncher {
public:
    struct Command {
        QString program;          // viewer to start, or empty
        QStringList arguments;
        QUrl url;                 // page for the desktop's browser when no program
    };
    using Starter = std::function<void(const Command &)>;

    HelpLauncher();

    // The command for a program folder; `hhViewer` is the located "hh.exe"
    // (empty when there is none).
    static Command commandFor(const QString &programDir, const QString &hhViewer);
    // The command for the running program.
    static Command command();

    // Replaces the way a command is started (tests count launches).
    void setStarter(Starter starter) { m_starter = std::move(starter); }
    void launch();

private:
    Starter m_starter;
};
