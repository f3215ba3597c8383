#pragma once
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

class QWidget;
#include <QTextBrowser>

// Starts the help viewer as a separate process and does not wait for it.
// The compiled help opens in "hh.exe" where both the viewer and
// "资源/rmHelp.chm" exist; elsewhere the HTML help in "资源/help" opens in
// the desktop's browser. When no viewer can be started the same HTML opens
// in a help window of the program, so the help button always answers.
class HelpLauncher {
public:
    struct Command {
        QString program;          // viewer to start, or empty
        QStringList arguments;
        QUrl url;                 // page for the desktop's browser when no program
    };
    // Starts a command; calls `failed` (at once or later) when no viewer
    // could show it.
    using Starter = std::function<void(const Command &, const std::function<void()> &failed)>;

    HelpLauncher();
    ~HelpLauncher();

    // The command for a program folder; `helpViewer` is the located "hh.exe"
    // (empty when there is none).
    static Command commandFor(const QString &programDir, const QString &helpViewer);
    // The command for the running program.
    static Command command();

    // Replaces the way a command is started (tests count launches).
    void setStarter(Starter starter) { m_starter = std::move(starter); }
    // The window the help opens in when no viewer starts; parented to `owner`.
    void setOwner(QWidget *owner) { m_owner = owner; }
    void launch();

    // The help window of the program, created on first use and reused.
    QTextBrowser *showHelpWindow();
    QTextBrowser *helpWindow() const { return m_window.data(); }

private:
    Starter m_starter;
    QPointer<QWidget> m_owner;
    QPointer<QTextBrowser> m_window;
};
