#include "windows/HelpLauncher.h"
#include "windows/WindowPlacement.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QShortcut>
#include <QStandardPaths>
#include <QTextBrowser>

namespace {

QString helpPage(const QString &programDir)
{
    return programDir + QStringLiteral("/资源/help/index.html");
}

// Opens a page in the desktop's browser. On X11 and Wayland desktops that is
// xdg-open, which reports a missing browser only through its exit code, so
// it is watched rather than fired and forgotten.
void openInBrowser(const QUrl &url, const std::function<void()> &failed)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        failed();
        return;
    }
    auto *process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QObject::connect(process, &QProcess::finished, process, [process, failed](int code, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit || code != 0)
            failed();
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, failed](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            failed();
            process->deleteLater();
        }
    });
    process->start(opener, {url.toString()});
#else
    if (!QDesktopServices::openUrl(url))
        failed();
#endif
}

void startViewer(const HelpLauncher::Command &c, const std::function<void()> &failed)
{
    if (c.program.isEmpty())
        openInBrowser(c.url, failed);
    else if (!QProcess::startDetached(c.program, c.arguments))
        failed();
}

} // namespace

HelpLauncher::HelpLauncher() : m_starter(startViewer) {}

HelpLauncher::~HelpLauncher()
{
    delete m_window.data();
}

HelpLauncher::Command HelpLauncher::commandFor(const QString &programDir, const QString &helpViewer)
{
    const QDir resources(programDir + QStringLiteral("/资源"));
    const QString chm = resources.filePath(QStringLiteral("rmHelp.chm"));
    Command c;
    if (!helpViewer.isEmpty() && QFileInfo::exists(chm)) {
        c.program = helpViewer;
        c.arguments << QDir::toNativeSeparators(chm);
    } else {
        c.url = QUrl::fromLocalFile(helpPage(programDir));
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
    if (!m_starter)
        return;
    // The launcher lives as long as its owner window; a late failure after
    // that window closed has nowhere to show.
    const QPointer<QWidget> owner = m_owner;
    const bool owned = !owner.isNull();
    m_starter(command(), [this, owner, owned] {
        if (!owned || !owner.isNull())
            showHelpWindow();
    });
}

QTextBrowser *HelpLauncher::showHelpWindow()
{
    if (!m_window) {
        m_window = new QTextBrowser(m_owner);
        m_window->setObjectName(QStringLiteral("helpWindow"));
        m_window->setWindowFlag(Qt::Window);
        m_window->setAttribute(Qt::WA_DeleteOnClose, false);
        m_window->setWindowTitle(QStringLiteral("干部任免审批表 使用帮助"));
        m_window->setOpenExternalLinks(true);
        auto *close = new QShortcut(QKeySequence(Qt::Key_Escape), m_window);
        QObject::connect(close, &QShortcut::activated, m_window.data(), &QWidget::close);
        const QString page = helpPage(QCoreApplication::applicationDirPath());
        m_window->setSearchPaths({QFileInfo(page).absolutePath()});
        if (QFileInfo::exists(page))
            m_window->setSource(QUrl::fromLocalFile(page));
        else
            m_window->setHtml(QStringLiteral("<p>未找到帮助文件：%1</p>").arg(QDir::toNativeSeparators(page).toHtmlEscaped()));
        // Within the screen its owner is on, frame and all, centred on the owner.
        m_window->resize(QSize(900, 700).boundedTo(WindowPlacement::availableGeometry(m_window).size() * 0.9));
        m_window->resize(WindowPlacement::boundedSize(m_window->size(), m_window));
        WindowPlacement::keepCentred(m_window);
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    return m_window;
}
