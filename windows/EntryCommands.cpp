#include "windows/EntryCommands.h"
#include "record/MarginSettings.h"
#include "windows/MarginDialog.h"
#include "windows/PhotoDialog.h"
#include "windows/BatchCommands.h"
#include "windows/EntryWindow.h"
#include "windows/PreviewWindow.h"
#include <QCloseEvent>
#include <QIcon>
#include <QMenu>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

EntryCommands::EntryCommands(EntryWindow &window, Interaction &ui)
    : QObject(&window), m_window(window), m_ui(ui), m_documents(window.record(), m_vars, ui)
{
    setObjectName(QStringLiteral("entryCommands"));
    // Opening: the margins come from the settings store.
    QString marginProblem;
    m_margins = MarginSettings::load(&marginProblem);
    if (!marginProblem.isEmpty()) {
        QTimer::singleShot(0, this, [this, marginProblem] {
            m_ui.message(QStringLiteral("系统"), marginProblem, MessageIcon::Information);
        });
    }

    m_documents.onRecordChanged = [this] {
        m_window.refreshControls();
        showPhotoFrame();
    };
    m_documents.onCheckFailed = [this](const FieldPlace &refused) { m_window.showField(refused); };
    m_documents.onPartyTextRejected = [this] { focusPartyText(); };
    m_documents.onResumeFontSize = [this](int points) { m_window.setResumeBoxFontSize(points); };

    const struct {
        const char *name;
        void (EntryCommands::*slot)();
    } commands[] = {
        {"CmdDiaoru", &EntryCommands::load},   {"CmdSave", &EntryCommands::saveDocument},
        {"CmdPreviewP", &EntryCommands::preview}, {"cmdDist", &EntryCommands::editMargins},
        {"cmdPhoto", &EntryCommands::choosePhoto},     {"cmdPicture", &EntryCommands::choosePicture},
    };
    for (const auto &c : commands) {
        if (QPushButton *b = m_window.button(QLatin1String(c.name))) {
            b->setEnabled(true);
            connect(b, &QPushButton::clicked, this, c.slot);
        }
    }
    m_batch = std::make_unique<BatchCommands>(ui, m_margins, &m_window);
    if (QPushButton *b = m_window.button(QStringLiteral("cmdBatch"))) {
        auto *menu = new QMenu(b);
        menu->setObjectName(QStringLiteral("batchMenu"));
        menu->addAction(QStringLiteral("打印多份文件…"), this, [this] { m_batch->printDocuments(); });
        menu->addAction(QStringLiteral("多份文件导出为一个PDF…"), this, [this] { m_batch->exportDocuments(); });
        b->setMenu(menu);
        b->setToolTip(QStringLiteral("选择多份已保存的文件，校验后一次打印或导出为一个PDF"));
    }
    // The close box and "关  闭" both pass the save prompt first.
    m_window.installEventFilter(this);
    connect(&m_window, &EntryWindow::unloaded, this, &EntryCommands::endOfApplication);
    showPhotoFrame();
}

EntryCommands::~EntryCommands() = default;

PreviewWindow *EntryCommands::renderer() const
{
    return m_renderer.data();
}

void EntryCommands::load()
{
    m_documents.load();
}

void EntryCommands::openDocument(const QString &path)
{
    m_documents.openDocument(path);
}

void EntryCommands::saveDocument()
{
    m_documents.saveDocument();
}

void EntryCommands::preview()
{
    if (!m_documents.checkAndHandOff())
        return;
    m_vars.margins = m_margins;
    m_vars.takePhoto(m_window.record());
    if (!m_renderer) {
        m_renderer = new PreviewWindow(m_vars, m_ui, &m_window);
        m_renderer->onUnload = [this](int points) { m_window.setResumeBoxFontSize(points); };
        if (onRendererCreated)
            onRendererCreated(*m_renderer);
    }
    m_renderer->showModal();
}

void EntryCommands::editMargins()
{
    MarginDialog dialog(m_margins, m_ui, &m_window);
    dialog.exec();
}

void EntryCommands::choosePhoto()
{
    PhotoDialog dialog(m_window.record(), m_ui, &m_window);
    dialog.exec();
    showPhotoFrame();
    if (m_recoveryDelay && m_recoveryTimer->isActive())
        m_recoveryDelay->start();
}

void EntryCommands::showPhotoFrame()
{
    QPushButton *frame = m_window.button(QStringLiteral("cmdPicture"));
    if (!frame)
        return;
    const AppointmentRecord &record = m_window.record();
    if (record.hasPhoto && !record.photo.isNull()) {
        const QSize room = frame->size() - QSize(6, 6);
        frame->setIcon(QIcon(QPixmap::fromImage(record.photo)));
        frame->setIconSize(record.photo.size().scaled(room, Qt::KeepAspectRatio));
        frame->setText(QString());
    } else {
        frame->setIcon(QIcon());
        frame->setText(QStringLiteral("照 片"));
    }
}

void EntryCommands::setRecoveryStore(RecoveryStore *store)
{
    m_documents.setRecoveryStore(store);
    if (!m_recoveryTimer) {
        m_recoveryTimer = new QTimer(this);
        m_recoveryTimer->setInterval(kRecoveryInterval);
        connect(m_recoveryTimer, &QTimer::timeout, this, [this] { m_documents.keepRecoveryCopy(); });
        connect(&m_window, &EntryWindow::pageSwitched, this, [this] { m_documents.keepRecoveryCopy(); });
        // A copy is small: written a moment after the last change, typing
        // and a crash a few seconds later lose nothing.
        m_recoveryDelay = new QTimer(this);
        m_recoveryDelay->setSingleShot(true);
        m_recoveryDelay->setInterval(kRecoveryDelay);
        connect(m_recoveryDelay, &QTimer::timeout, this, [this] { m_documents.keepRecoveryCopy(); });
        connect(&m_window, &EntryWindow::recordEdited, this, [this] {
            if (m_recoveryTimer->isActive())
                m_recoveryDelay->start();
        });
    }
    if (store) {
        m_recoveryTimer->start();
    } else {
        m_recoveryTimer->stop();
        m_recoveryDelay->stop();
    }
}

void EntryCommands::focusPartyText()
{
    const FieldPlace place{QStringLiteral("txtRudang"), -1, 1};
    m_window.showField(place);
    if (QPlainTextEdit *box = m_window.control(place.controlName))
        box->selectAll();
}

bool EntryCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window && event->type() == QEvent::Close) {
        if (!m_documents.canClose()) {
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void EntryCommands::endOfApplication()
{
    if (const Result<> stored = MarginSettings::store(m_margins); !stored)
        showFailure(m_ui, stored, QStringLiteral("系统"));
}
