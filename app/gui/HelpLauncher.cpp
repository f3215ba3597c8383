#include "app/gui/HelpLauncher.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

void startDetached(const HelpLauncher::Command &c)
{
    if (!c.program.isEmpty())
        QProcess::startDetached(c.program, c.arguments);
    else
        QDesktopServices::openUrl(c.url);   // the browser runs on its own
}

} // namespace

HelpLauncher::HelpLauncher() : m_starter(startDetached) {}

HelpLauncher::Command HelpLauncher::commandFor(const QString &programDir, const QString &hhViewer)
{
    const QDir resources(programDir + QStringLiteral("/资源"));
    const QString chm = resources.filePath(QStringLiteral("rmHelp.chm"));
    Command c;
    if (!hhViewer.isEmpty() && QFileInfo::exists(chm)) {
        c.program = hhViewer;
        c.arguments << QDir::toNativeSeparators(chm);
    } else {
        c.url = QUrl::fromLocalFile(resources.filePath(QStringLiteral("help/index.html")));
    }
    return c;
}

HelpLauncher::Command HelpLauncher::command()
{
    return commandFor(QCoreApplication::applicationDirPath(),
                      QStandardPaths::findExecutable(QStringLiteral("hh.exe")));
}

void HelpLauncher::launch()
{
    if (m_starter)
        m_starter(command());
}
