#include "windows/EntryWindow.h"
#include "foundation/AppInfo.h"
#include "foundation/Clock.h"
#include "foundation/Interaction.h"
#include "record/FieldChecks.h"
#include "windows/EntryCommands.h"
#include "windows/EntryLayout.h"
#include "windows/EntryPage.h"
#include "windows/FormFont.h"
#include "windows/ResumeTyping.h"
#include "foundation/Twips.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QShortcut>
#include <QWheelEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <cmath>

namespace {

constexpr int kChengbaoMaxLength = 56;
constexpr double kTwoLinesTwips = 480;

// Keys of the window's commands; the buttons' tooltips show them.
struct CommandKeys {
    const char *button;
    QKeySequence::StandardKey standard;
    std::initializer_list<QKeyCombination> keys;
};

const CommandKeys kCommandKeys[] = {
    {"CmdDiaoru", QKeySequence::Open, {}},
    {"CmdSave", QKeySequence::Save, {Qt::ALT | Qt::Key_S}},
    {"CmdPreviewP", QKeySequence::Print, {Qt::ALT | Qt::Key_P}},
    {"CmdNextPage", QKeySequence::UnknownKey, {Qt::CTRL | Qt::Key_PageDown}},
    {"CmdLastpage", QKeySequence::UnknownKey, {Qt::CTRL | Qt::Key_PageUp}},
    {"cmdHelp", QKeySequence::HelpContents, {Qt::Key_F1}},
};

QString key(const QString &name, int row)
{
    return row < 0 ? name : name + QLatin1Char('#') + QString::number(row);
}

// Fields keep CR LF between lines; the boxes use LF.
QString toRecordText(const QString &boxText)
{
    QString t = boxText;
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t;
}

QString toBoxText(const QString &recordText)
{
    QString t = recordText;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

} // namespace

EntryWindow::EntryWindow(Interaction &ui, QWidget *parent)
    : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("frmRmEdit"));
    setWindowTitle(AppInfo::entryCaption());
    setAcceptDrops(true);
    m_help.setOwner(this);

    buildPages();
    buildButtons();

    // Opening: both pages full size, page 1 shown, both dates today, clean.
    m_pages[0]->setSizeTwips(EntryLayout::kPageWidth, EntryLayout::kPageHeight);
    m_pages[1]->setSizeTwips(EntryLayout::kPageWidth, EntryLayout::kPageHeight);
    m_record.ageReferenceDate = Clock::todayDigits();
    m_record.fillingDate = Clock::todayDigits();
    refreshControls();
    m_record.isDirty = false;

    const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    int height = twipsY(EntryLayout::kPageTop + EntryLayout::kPageHeight);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        height = qMin(height, screen->availableGeometry().height() - 40);
    // Wide enough for the page and for the whole button row.
    const int buttonsRight = button(QStringLiteral("cmdBatch"))->geometry().right() + twipsX(45);
    resize(qMax(twipsX(EntryLayout::kPageWidth) + barWidth, buttonsRight), height);
    layoutViewport();
    showPage(1);
    m_commands = new EntryCommands(*this, ui);
}

EntryWindow::~EntryWindow() = default;

int EntryWindow::twipsX(double twips) const
{
    return twipsToPixels(twips, logicalDpiX());
}

int EntryWindow::twipsY(double twips) const
{
    return twipsToPixels(twips, logicalDpiY());
}

void EntryWindow::buildPages()
{
    m_viewport = new QWidget(this);
    m_viewport->setObjectName(QStringLiteral("pageViewport"));
    for (int i = 0; i < 2; ++i) {
        m_pages[i] = new EntryPage(i + 1, m_viewport);
        m_pages[i]->setObjectName(i == 0 ? QStringLiteral("Picture1") : QStringLiteral("Picture2"));
        m_bars[i] = new QScrollBar(Qt::Vertical, this);
        m_bars[i]->setObjectName(i == 0 ? QStringLiteral("VSCROLL1") : QStringLiteral("VSCROLL2"));
    }
    connect(m_bars[0], &QScrollBar::valueChanged, this, &EntryWindow::scrollPageOne);
    connect(m_bars[1], &QScrollBar::valueChanged, this, &EntryWindow::scrollPageTwo);

    for (const EntryLayout::ControlPlace &place : EntryLayout::controlPlaces()) {
        EntryPage *page = m_pages[place.page - 1];
        auto *box = new QPlainTextEdit(page);
        box->setObjectName(place.name);
        if (place.row >= 0)
            box->setProperty("index", place.row);
        box->setGeometry(page->toPixels(place.rect));
        box->setFont(songtiFont(12));
        box->setTabChangesFocus(true);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // A box of two lines or more shows a scroll bar when its text is
        // longer than the box, so no typed text is hidden without a sign.
        box->setVerticalScrollBarPolicy(place.rect.height() >= kTwoLinesTwips ? Qt::ScrollBarAsNeeded
                                                                             : Qt::ScrollBarAlwaysOff);
        box->setFrameShape(QFrame::NoFrame);
        box->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #f7f9ff; }"));
        // The education rows are one text line high; the text needs all of it.
        box->document()->setDocumentMargin(place.rect.height() < 400 ? 0 : 2);
        bindControl(box, place.name, place.row);
        box->installEventFilter(this);
        box->viewport()->installEventFilter(this);   // drops arrive at the viewport
        m_controls.insert(key(place.name, place.row), box);
    }

    auto *photo = new QPushButton(QStringLiteral("照 片"), m_pages[0]);
    photo->setObjectName(QStringLiteral("cmdPicture"));
    photo->setGeometry(m_pages[0]->toPixels(EntryLayout::photoFrame()));
    photo->setFont(songtiFont(12));
    m_buttons.insert(photo->objectName(), photo);
}

void EntryWindow::buildButtons()
{
    const QVector<EntryLayout::Button> &list = EntryLayout::buttons();
    for (int i = 0; i < list.size(); ++i) {
        auto *b = new QPushButton(list[i].caption, this);
        b->setObjectName(QLatin1String(list[i].name));
        const QRectF r = EntryLayout::buttonRect(i);
        b->setGeometry(twipsX(r.left()), twipsY(r.top()), twipsX(r.width()), twipsY(r.height()));
        b->setFont(songtiFont(10.5));
        m_buttons.insert(b->objectName(), b);
    }
    // Printing or exporting many saved documents at once, after the form's
    // own buttons.
    auto *batch = new QPushButton(QStringLiteral("批量打印"), this);
    batch->setObjectName(QStringLiteral("cmdBatch"));
    const QRectF r = EntryLayout::buttonRect(list.size());
    batch->setGeometry(twipsX(r.left()), twipsY(r.top()), twipsX(r.width()), twipsY(r.height()));
    batch->setFont(songtiFont(10.5));
    // Its caption says enough; the menu arrow would crowd it.
    batch->setStyleSheet(QStringLiteral("QPushButton::menu-indicator { image: none; width: 0px; }"));
    m_buttons.insert(batch->objectName(), batch);
    connect(button(QStringLiteral("CmdNextPage")), &QPushButton::clicked, this, &EntryWindow::showNextPage);
    connect(button(QStringLiteral("CmdLastpage")), &QPushButton::clicked, this, &EntryWindow::showPreviousPage);
    connect(button(QStringLiteral("CmdClose")), &QPushButton::clicked, this, &EntryWindow::closeEditor);
    connect(button(QStringLiteral("cmdHelp")), &QPushButton::clicked, this, &EntryWindow::showHelp);
    installCommandKeys();
}

void EntryWindow::installCommandKeys()
{
    for (const CommandKeys &c : kCommandKeys) {
        QPushButton *b = button(QLatin1String(c.button));
        if (!b)
            continue;
        QList<QKeySequence> keys;
        if (c.standard != QKeySequence::UnknownKey)
            keys << QKeySequence::keyBindings(c.standard);
        for (QKeyCombination k : c.keys)
            if (!keys.contains(QKeySequence(k)))
                keys << QKeySequence(k);
        QStringList shown;
        for (const QKeySequence &k : keys) {
            m_commandKeys << k;
            auto *shortcut = new QShortcut(k, this);
            connect(shortcut, &QShortcut::activated, b, &QPushButton::click);
            shown << k.toString(QKeySequence::NativeText);
        }
        b->setToolTip(b->text().simplified().remove(QLatin1Char(' ')) + QStringLiteral("（") +
                      shown.join(QStringLiteral("，")) + QStringLiteral("）"));
    }
}

void EntryWindow::bindControl(QPlainTextEdit *box, const QString &name, int row)
{
    connect(box, &QPlainTextEdit::textChanged, this, [this, box, name, row] {
        if (m_refreshing)
            return;
        if (QString *field = recordFieldByControl(m_record, name, row < 0 ? 0 : row)) {
            *field = toRecordText(box->toPlainText());
            m_record.isDirty = true;
            emit recordEdited();
        }
    });
}

void EntryWindow::refreshControls()
{
    m_refreshing = true;
    for (const EntryLayout::ControlPlace &place : EntryLayout::controlPlaces()) {
        QPlainTextEdit *box = control(place.name, place.row);
        const QString *field = recordFieldByControl(m_record, place.name, place.row < 0 ? 0 : place.row);
        if (!box || !field)
            continue;
        const QString text = toBoxText(*field);
        if (box->toPlainText() != text)
            box->setPlainText(text);
    }
    m_refreshing = false;
}

QPlainTextEdit *EntryWindow::control(const QString &name, int row) const
{
    const RecordField *f = findRecordField(name);
    if (!f)
        return nullptr;
    return m_controls.value(key(name, f->family ? qMax(row, 0) : -1), nullptr);
}

QPushButton *EntryWindow::button(const QString &name) const
{
    return m_buttons.value(name, nullptr);
}

EntryPage *EntryWindow::page(int number) const
{
    return (number == 1 || number == 2) ? m_pages[number - 1] : nullptr;
}

QScrollBar *EntryWindow::pageScrollBar(int number) const
{
    return (number == 1 || number == 2) ? m_bars[number - 1] : nullptr;
}

void EntryWindow::setResumeBoxFontSize(double points)
{
    QPlainTextEdit *box = control(QStringLiteral("txtJianLi"));
    box->setFont(songtiFont(points));
    // A new size starts the résumé from its first line.
    box->moveCursor(QTextCursor::Start);
    box->verticalScrollBar()->setValue(0);
}

void EntryWindow::showPage(int number)
{
    const int shown = number - 1, hidden = 1 - shown;
    m_pages[shown]->show();
    m_bars[shown]->show();
    m_pages[hidden]->hide();
    m_bars[hidden]->hide();
    m_currentPage = number;
}

void EntryWindow::layoutViewport()
{
    const int top = twipsY(EntryLayout::kPageTop);
    const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int h = qMax(0, height() - top);
    m_viewport->setGeometry(0, top, qMax(0, width() - barWidth), h);
    for (int i = 0; i < 2; ++i) {
        m_bars[i]->setGeometry(width() - barWidth, top, barWidth, h);
        updateScrollRange(i + 1);
    }
}

void EntryWindow::updateScrollRange(int number)
{
    EntryPage *p = m_pages[number - 1];
    QScrollBar *bar = m_bars[number - 1];
    const double visible = pixelsToTwips(m_viewport->height(), logicalDpiY());
    bar->setRange(0, qMax(0, int(std::ceil(p->heightTwips() - visible))));
    bar->setPageStep(qMax(1, int(visible)));
    bar->setSingleStep(240);
    p->move(0, -twipsY(bar->value()));
}

void EntryWindow::scrollPageOne(int value)
{
    m_pages[0]->move(0, -twipsY(value));
}

void EntryWindow::scrollPageTwo(int value)
{
    m_pages[1]->move(0, -twipsY(value));
}

void EntryWindow::showNextPage()
{
    showPage(2);
    emit pageSwitched();
}

void EntryWindow::showPreviousPage()
{
    m_pages[1]->setSizeTwips(EntryLayout::kPageWidth, EntryLayout::kPage2ShortHeight);
    updateScrollRange(2);
    showPage(1);
    emit pageSwitched();
}

void EntryWindow::closeEditor()
{
    close();
}

void EntryWindow::showHelp()
{
    m_help.launch();
}

void EntryWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit unloaded();
}

void EntryWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutViewport();
}

bool EntryWindow::checkAllFields()
{
    FieldPlace refused;
    const Result<> checked = ::checkAllFields(m_record, &refused);
    refreshControls();   // the preparations stay in the boxes
    if (checked)
        return true;
    showFailure(m_ui, checked, AppInfo::title());
    showField(refused);
    return false;
}

void EntryWindow::showField(const FieldPlace &place)
{
    showPage(place.page);
    if (QPlainTextEdit *box = control(place.controlName, place.row))
        focusAndSelectFirstLine(box);
}

void EntryWindow::focusAndSelectFirstLine(QPlainTextEdit *box)
{
    ensureVisible(box);
    box->setFocus(Qt::OtherFocusReason);
    QTextCursor c(box->document());
    c.setPosition(0);
    c.setPosition(box->document()->firstBlock().length() - 1, QTextCursor::KeepAnchor);
    box->setTextCursor(c);
}

// Scrolls the box's page so that the box is in view.
void EntryWindow::ensureVisible(QPlainTextEdit *box)
{
    auto *p = qobject_cast<EntryPage *>(box->parentWidget());
    if (!p)
        return;
    QScrollBar *bar = m_bars[p->pageNumber() - 1];
    const double perPixel = 1440.0 / logicalDpiY();
    const double top = box->y() * perPixel, bottom = (box->y() + box->height()) * perPixel;
    const double visible = m_viewport->height() * perPixel;
    if (top < bar->value())
        bar->setValue(int(top));
    else if (bottom > bar->value() + visible)
        bar->setValue(int(std::ceil(bottom - visible)));
}

bool EntryWindow::resumeKeyPress(int keyAscii)
{
    if (keyAscii != 13)
        return false;
    QPlainTextEdit *box = control(QStringLiteral("txtJianLi"));
    QTextCursor c = box->textCursor();
    c.beginEditBlock();
    c.removeSelectedText();
    const ResumeEnterEdit edit = resumeEnterEdit(box->toPlainText().left(c.position()));
    if (edit.removeBefore > 0) {
        c.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, edit.removeBefore);
        c.removeSelectedText();
    }
    if (edit.insertBreak)
        c.insertText(QLatin1Char('\n') + QString(kResumeIndent, QLatin1Char(' ')));
    c.endEditBlock();
    box->setTextCursor(c);
    return true;
}

void EntryWindow::reportingUnitFocusLost()
{
    if (m_checkingChengbao || m_record.reportingUnit.size() <= kChengbaoMaxLength)
        return;
    m_checkingChengbao = true;
    m_ui.message(AppInfo::title(), QStringLiteral("所输入的信息太长,不能超过五十六个汉字,请简化输入"),
                 MessageIcon::Information);
    QPlainTextEdit *box = control(QStringLiteral("txtChengbao"));
    if (currentPage() != 2)
        showPage(2);
    box->setFocus(Qt::OtherFocusReason);
    m_checkingChengbao = false;
}

void EntryWindow::wheelEvent(QWheelEvent *event)
{
    // The wheel over the form scrolls the page shown, wherever the pointer is.
    QScrollBar *bar = m_bars[m_currentPage - 1];
    if (bar->isVisible() && bar->maximum() > 0) {
        QCoreApplication::sendEvent(bar, event);
        return;
    }
    QWidget::wheelEvent(event);
}

QString EntryWindow::droppedDocument(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return QString();
    for (const QUrl &url : data->urls())
        if (url.isLocalFile())
            return url.toLocalFile();
    return QString();
}

bool EntryWindow::acceptDocumentDrop(QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (droppedDocument(drag->mimeData()).isEmpty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QString path = droppedDocument(drop->mimeData());
        if (path.isEmpty())
            return false;
        drop->acceptProposedAction();
        // Loaded after the drop has finished: the save prompt and the load's
        // messages must not run inside the drag-and-drop loop.
        QTimer::singleShot(0, this, [this, path] { m_commands->openDocument(path); });
        return true;
    }
    default:
        return false;
    }
}

void EntryWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!acceptDocumentDrop(event))
        QWidget::dragEnterEvent(event);
}

void EntryWindow::dragMoveEvent(QDragMoveEvent *event)
{
    if (!acceptDocumentDrop(event))
        QWidget::dragMoveEvent(event);
}

void EntryWindow::dropEvent(QDropEvent *event)
{
    if (!acceptDocumentDrop(event))
        QWidget::dropEvent(event);
}

bool EntryWindow::eventFilter(QObject *watched, QEvent *event)
{
    // A document file dropped anywhere on the form loads it; text dropped
    // into a box is the box's own business.
    if ((event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
         event->type() == QEvent::Drop) &&
        acceptDocumentDrop(event))
        return true;
    auto *box = qobject_cast<QPlainTextEdit *>(watched);
    if (box && event->type() == QEvent::ShortcutOverride) {
        // The window's command keys win over a box's own use of them
        // (Ctrl+PageDown would otherwise move the cursor).
        const auto *k = static_cast<QKeyEvent *>(event);
        if (m_commandKeys.contains(QKeySequence(k->keyCombination())))
            return true;
    } else if (box && event->type() == QEvent::KeyPress) {
        // Alt with a letter is a command key or nothing; it never types into
        // the record. (AltGr arrives as Ctrl+Alt on some systems and types.)
        const auto *k = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers mods = k->modifiers();
        if ((mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) && !k->text().isEmpty())
            return true;
    } else if (box && event->type() == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) {
            ensureVisible(box);
            if (box == control(QStringLiteral("txtJianLi")))
                box->moveCursor(QTextCursor::Start);   // typing must not replace a whole résumé
            else
                box->selectAll();
        }
    }
    if (watched == control(QStringLiteral("txtJianLi")) && event->type() == QEvent::KeyPress) {
        const auto *k = static_cast<QKeyEvent *>(event);
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && resumeKeyPress(13))
            return true;
    } else if (watched == control(QStringLiteral("txtChengbao")) && event->type() == QEvent::FocusOut) {
        // Leaving the field, not the window: another application, a menu or
        // our own message box taking the focus is no reason to check.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            reportingUnitFocusLost();
    }
    return QWidget::eventFilter(watched, event);
}
