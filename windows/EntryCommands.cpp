#include "windows/EntryCommands.h"
#include "record/MarginSettings.h"
#include "windows/MarginDialog.h"
#include "windows/PhotoDialog.h"
#include "windows/BatchCommands.h"
#include "windows/EntryWindow.h"
#include "windows/PreviewWindow.h"
#include <QCloseEvent>
#include <QAction>
#include <QIcon>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QShortcut>
#include <QToolButton>
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
        commandDone();
    };
    m_documents.onCheckFailed = [this](const FieldPlace &refused) { m_window.showField(refused); };
    m_documents.onPartyTextRejected = [this] { focusPartyText(); };

    const EntryButtons &buttons = m_window.buttons();
    connect(buttons.load, &QPushButton::clicked, this, &EntryCommands::load);
    connect(buttons.save, &QPushButton::clicked, this, &EntryCommands::saveDocument);
    connect(buttons.preview, &QPushButton::clicked, this, &EntryCommands::preview);
    connect(buttons.margins, &QPushButton::clicked, this, &EntryCommands::editMargins);
    connect(buttons.photo, &QPushButton::clicked, this, &EntryCommands::choosePhoto);
    connect(buttons.photoFrame, &QPushButton::clicked, this, &EntryCommands::choosePicture);
    m_batch = std::make_unique<BatchCommands>(ui, m_margins, &m_window);
    if (QPushButton *b = buttons.batch) {
        auto *menu = new QMenu(b);
        menu->setObjectName(QStringLiteral("batchMenu"));
        menu->addAction(QStringLiteral("打印多份文件…"), this, [this] { m_batch->printDocuments(); });
        menu->addAction(QStringLiteral("多份文件导出为一个PDF…"), this, [this] { m_batch->exportDocuments(); });
        menu->addAction(QStringLiteral("每份文件导出一个PDF到文件夹…"), this,
                        [this] { m_batch->exportDocumentsToFolder(); });
        menu->addAction(QStringLiteral("多份文件导出为一个Word文档…"), this,
                        [this] { m_batch->exportDocuments(BatchOutput::Format::Word); });
        menu->addAction(QStringLiteral("每份文件导出一个Word文档到文件夹…"), this,
                        [this] { m_batch->exportDocumentsToFolder(BatchOutput::Format::Word); });
        menu->addAction(QStringLiteral("导出名册…"), this, [this] { m_batch->exportRoster(); });
        menu->addSeparator();
        QAction *b5 = menu->addAction(QStringLiteral("B5或16开纸打印"));
        b5->setObjectName(QStringLiteral("batchB5"));
        b5->setCheckable(true);
        connect(b5, &QAction::toggled, this, [this](bool on) { m_batch->b5 = on; });
        b->setMenu(menu);
        b->setToolTip(QStringLiteral("选择多份已保存的文件，校验后一次打印，或导出为一个PDF或Word文档，或每份一个"));
    }
    // The documents opened last: from a small arrow beside 调入, a right
    // click on it, or a key.
    if (QPushButton *load = buttons.load) {
        m_recentMenu = new QMenu(load);
        m_recentMenu->setObjectName(QStringLiteral("recentMenu"));
        connect(m_recentMenu, &QMenu::aboutToShow, this, &EntryCommands::fillRecentMenu);
        auto *arrow = new QToolButton(load->parentWidget());
        arrow->setObjectName(QStringLiteral("CmdRecent"));
        arrow->setArrowType(Qt::DownArrow);
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setPopupMode(QToolButton::InstantPopup);
        arrow->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));
        arrow->setMenu(m_recentMenu);
        const QRect r = load->geometry();
        const int w = qMax(12, r.height() / 2);
        load->setGeometry(r.adjusted(0, 0, -w, 0));
        arrow->setGeometry(r.right() - w + 1, r.top(), w, r.height());
        load->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(load, &QWidget::customContextMenuRequested, this,
                [this, load](const QPoint &at) { m_recentMenu->popup(load->mapToGlobal(at)); });
        const QKeySequence key(Qt::CTRL | Qt::SHIFT | Qt::Key_O);
        auto *shortcut = new QShortcut(key, &m_window);
        connect(shortcut, &QShortcut::activated, this,
                [this, load] { m_recentMenu->popup(load->mapToGlobal(QPoint(0, load->height()))); });
        const QString tip = QStringLiteral("最近的文件（%1）").arg(key.toString(QKeySequence::NativeText));
        arrow->setToolTip(tip);
        load->setToolTip(load->toolTip() + QStringLiteral("；右键：") + tip);
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
    commandDone();
}

void EntryCommands::openDocument(const QString &path)
{
    m_documents.openDocument(path);
    commandDone();
}

void EntryCommands::openRecent(const QString &path)
{
    m_documents.openRecent(path);
    commandDone();
}

void EntryCommands::fillRecentMenu()
{
    m_recentMenu->clear();
    const QStringList paths = m_documents.recentDocuments();
    for (int i = 0; i < paths.size(); ++i) {
        const QFileInfo file(paths[i]);
        // The name to pick by, its folder beside it.
        QAction *a = m_recentMenu->addAction(QStringLiteral("&%1  %2\t%3")
                                                 .arg(i + 1 == 10 ? 0 : i + 1)
                                                 .arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath())));
        const QString path = paths[i];
        connect(a, &QAction::triggered, this, [this, path] { openRecent(path); });
    }
    if (paths.isEmpty())
        m_recentMenu->addAction(QStringLiteral("（还没有调入或保存过文件）"))->setEnabled(false);
}

void EntryCommands::saveDocument()
{
    m_documents.saveDocument();
    commandDone();
}

void EntryCommands::commandDone()
{
    showPhotoFrame();
    m_window.updateTitle();
}

void EntryCommands::attachPhoto(const QString &path)
{
    PhotoDialog::attachPhotoFile(m_window.record(), path, m_ui);
    photoChanged();
}

// A photo is a change like typing: the recovery copy follows it soon.
void EntryCommands::photoChanged()
{
    commandDone();
    keepRecoveryCopySoon();
}

void EntryCommands::keepRecoveryCopySoon()
{
    if (m_recoveryDelay && m_recoveryTimer->isActive())
        m_recoveryDelay->start();
}

void EntryCommands::preview()
{
    if (!m_documents.checkAndHandOff())
        return;
    m_vars.margins = m_margins;
    m_vars.takePhoto(m_window.record());
    if (!m_renderer) {
        m_renderer = new PreviewWindow(m_vars, m_ui, &m_window);
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
    photoChanged();
}

void EntryCommands::showPhotoFrame()
{
    QPushButton *frame = m_window.buttons().photoFrame;
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
        connect(&m_window, &EntryWindow::recordEdited, this, &EntryCommands::keepRecoveryCopySoon);
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
        showFailure(m_ui, stored);
}
