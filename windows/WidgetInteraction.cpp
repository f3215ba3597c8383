#include "windows/WidgetInteraction.h"
#include "windows/WindowPlacement.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

// Messages are written with CR LF breaks; a label wants LF.
QString displayText(const QString &text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// The first entry of the filter is the one selected (filter index 1).
QString firstFilter(const QString &qtFilter)
{
    return qtFilter.section(QStringLiteral(";;"), 0, 0);
}

// The busy pointer is for work, not for a question waiting for the clerk:
// while a dialog is open the arrow shows, then the busy pointer returns.
class ArrowWhileAsking {
public:
    explicit ArrowWhileAsking(bool busy) : m_busy(busy)
    {
        if (m_busy)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~ArrowWhileAsking()
    {
        if (m_busy)
            QApplication::restoreOverrideCursor();
    }

private:
    bool m_busy;
};

} // namespace

QWidget *WidgetInteraction::owner() const
{
    // A box raised from the preview or another dialog belongs over that
    // dialog, not behind it over the entry window.
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return m_parent;
}

WidgetInteraction::~WidgetInteraction()
{
    while (m_busyDepth > 0) {
        QApplication::restoreOverrideCursor();
        --m_busyDepth;
    }
}

void WidgetInteraction::message(const QString &title, const QString &text, MessageIcon icon)
{
    ArrowWhileAsking arrow(m_busyDepth > 0);
    QMessageBox box(boxIcon(icon), title, displayText(text), QMessageBox::Ok, owner());
    WindowPlacement::keepCentred(&box);
    box.exec();
}

Answer WidgetInteraction::askYesNoCancel(const QString &title, const QString &text)
{
    ArrowWhileAsking arrow(m_busyDepth > 0);
    QMessageBox box(QMessageBox::Question, title, displayText(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, owner());
    WindowPlacement::keepCentred(&box);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

bool WidgetInteraction::askYesNo(const QString &title, const QString &text)
{
    ArrowWhileAsking arrow(m_busyDepth > 0);
    QMessageBox box(QMessageBox::Question, title, displayText(text),
                    QMessageBox::Yes | QMessageBox::No, owner());
    WindowPlacement::keepCentred(&box);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString WidgetInteraction::openFileName(const QString &title, const QString &startPath,
                                        const QString &filter)
{
    ArrowWhileAsking arrow(m_busyDepth > 0);
    const QString qtFilter = qtFileFilter(filter);
    QString selected = firstFilter(qtFilter);
    return QFileDialog::getOpenFileName(owner(), title, startPath, qtFilter, &selected);
}

QStringList WidgetInteraction::openFileNames(const QString &title, const QString &startPath,
                                             const QString &filter)
{
    ArrowWhileAsking arrow(m_busyDepth > 0);
    const QString qtFilter = qtFileFilter(filter);
    QString selected = firstFilter(qtFilter);
    return QFileDialog::getOpenFileNames(owner(), title, startPath, qtFilter, &selected);
}

QString WidgetInteraction::folderName(const QString &title, const QString &startFolder)
{
    ArrowWhileAsking arrow(m_busyDepth > 0);
    return QFileDialog::getExistingDirectory(owner(), title, startFolder);
}

bool WidgetInteraction::progress(const QString &title, const QString &label, int done, int total)
{
    if (done >= total) {
        delete m_progress.data();
        return true;
    }
    if (!m_progress) {
        m_progress = new QProgressDialog(owner());
        WindowPlacement::keepCentred(m_progress);
        m_progress->setWindowModality(Qt::WindowModal);
        m_progress->setMinimumDuration(0);
        m_progress->setCancelButtonText(QStringLiteral("停止"));
        m_progress->setAutoClose(false);
        m_progress->setAutoReset(false);
    }
    m_progress->setWindowTitle(title);
    m_progress->setLabelText(label);
    m_progress->setMaximum(total);
    m_progress->setValue(done);   // a window-modal dialog processes events here, so 停止 answers
    return !m_progress->wasCanceled();
}

QString WidgetInteraction::saveFileName(const QString &title, const QString &startPath,
                                        const QString &filter)
{
    ArrowWhileAsking arrow(m_busyDepth > 0);
    const QString qtFilter = qtFileFilter(filter);
    QString selected = firstFilter(qtFilter);
    // Replacing an existing document is the user's choice; no extra question.
    return QFileDialog::getSaveFileName(owner(), title, startPath, qtFilter, &selected,
                                        QFileDialog::DontConfirmOverwrite);
}

bool WidgetInteraction::inputText(const QString &title, const QString &prompt,
                                  const QString &defaultText, QString *answer)
{
    ArrowWhileAsking arrow(m_busyDepth > 0);
    QInputDialog dialog(owner());
    dialog.setWindowTitle(title);
    dialog.setLabelText(displayText(prompt));
    dialog.setTextValue(defaultText);
    WindowPlacement::keepCentred(&dialog);
    const bool ok = dialog.exec() == QDialog::Accepted;
    if (ok && answer)
        *answer = dialog.textValue();
    return ok;
}

void WidgetInteraction::setBusy(bool busy)
{
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++m_busyDepth;
    } else if (m_busyDepth > 0) {
        QApplication::restoreOverrideCursor();
        --m_busyDepth;
    }
}
