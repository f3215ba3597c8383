#include "windows/EntryWindow.h"
#include "foundation/AppInfo.h"
#include "foundation/Clock.h"
#include "foundation/Interaction.h"
#include "foundation/TextUtilities.h"
#include "record/FieldSchema.h"
#include "record/DocumentKind.h"
#include "record/FieldChecks.h"
#include "pages/DocumentRender.h"
#include "record/RendererHandoff.h"
#include "record/TextRules.h"
#include "layout/ResumeLayout.h"
#include "windows/EntryBox.h"
#include "windows/EntryCommands.h"
#include "windows/EntryLayout.h"
#include "windows/EntryPage.h"
#include "windows/FormFont.h"
#include "windows/ResumeTyping.h"
#include "foundation/Twips.h"

#include <QCloseEvent>
#include <QFileInfo>
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
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBlock>

namespace {

constexpr int kChengbaoMaxLength = 56;
constexpr double kTwoLinesTwips = 480;
constexpr int kFitCheckDelay = 250;   // ms after the last key before a box is measured

// Keys of the window's commands; the buttons' tooltips show them.
struct CommandKeys {
    QPushButton *EntryButtons::*button;
    QKeySequence::StandardKey standard;
    std::initializer_list<QKeyCombination> keys;
};

const CommandKeys kCommandKeys[] = {
    {&EntryButtons::load, QKeySequence::Open, {}},
    {&EntryButtons::save, QKeySequence::Save, {Qt::ALT | Qt::Key_S}},
    {&EntryButtons::preview, QKeySequence::Print, {Qt::ALT | Qt::Key_P}},
    {&EntryButtons::nextPage, QKeySequence::UnknownKey, {Qt::CTRL | Qt::Key_PageDown}},
    {&EntryButtons::previousPage, QKeySequence::UnknownKey, {Qt::CTRL | Qt::Key_PageUp}},
    {&EntryButtons::help, QKeySequence::HelpContents, {Qt::Key_F1}},
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

    setTabOrderFromLayout();
    showPage(1);
    // Opens showing the whole form where the screen has room for it, and
    // fitted into the screen's free area (without the panels) where not.
    QSize size(m_buttonStrip->width(), twipsY(EntryLayout::kPageTop + EntryLayout::kPageHeight));
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect free = screen->availableGeometry();
        const QSize frame(8, 40);   // the window manager's frame and title bar, before there is one
        size = size.boundedTo(free.size() - frame);
        move(free.topLeft() + QPoint((free.width() - size.width() - frame.width()) / 2,
                                     (free.height() - size.height() - frame.height()) / 2));
    }
    resize(size);
    layoutForm();
    m_commands = new EntryCommands(*this, ui);
    updateTitle();
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
    m_scrollArea = new QScrollArea(this);
    m_scrollArea->setObjectName(QStringLiteral("pageViewport"));
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setFocusPolicy(Qt::NoFocus);
    // Centred sideways, from the top down like a sheet on a desk.
    m_scrollArea->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scrollArea->verticalScrollBar()->setSingleStep(twipsY(240));
    m_sheet = new QWidget;
    m_sheet->setObjectName(QStringLiteral("pageSheet"));
    for (int i = 0; i < 2; ++i) {
        m_pages[i] = new EntryPage(i + 1, m_sheet);
        m_pages[i]->setObjectName(i == 0 ? QStringLiteral("Picture1") : QStringLiteral("Picture2"));
    }
    m_scrollArea->setWidget(m_sheet);
    m_sheet->installEventFilter(this);   // the buttons follow it sideways

    for (const EntryLayout::ControlPlace &place : EntryLayout::controlPlaces()) {
        EntryPage *page = m_pages[place.page - 1];
        auto *box = new EntryBox(place.field->keepsLineBreaks(), page);
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
        if (place.name == QLatin1String("txtJianLi")) {
            // Résumé lines print as typed, never wrapped: the box does not
            // wrap them either, and a guide shows where the printed line ends.
            box->setLineWrapMode(QPlainTextEdit::NoWrap);
            box->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        }
        box->setFrameShape(QFrame::NoFrame);
        box->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #f7f9ff; }"));
        // The education rows are one text line high; the text needs all of
        // it. The others hold two lines, so a value wrapped once shows whole
        // without a scroll bar.
        box->document()->setDocumentMargin(place.rect.height() < 400 ? 0 : 1);
        bindControl(box, place.name, place.row);
        box->installEventFilter(this);
        box->viewport()->installEventFilter(this);   // drops arrive at the viewport
        m_controls.insert(key(place.name, place.row), box);
    }

    auto *photo = new QPushButton(QStringLiteral("照 片"), m_pages[0]);
    photo->setObjectName(QStringLiteral("cmdPicture"));
    photo->setAcceptDrops(true);   // a picture dropped on it is the photo
    photo->installEventFilter(this);
    photo->setGeometry(m_pages[0]->toPixels(EntryLayout::photoFrame()));
    photo->setFont(songtiFont(12));
    m_buttons.photoFrame = photo;

    m_fitTimer = new QTimer(this);
    m_fitTimer->setSingleShot(true);
    m_fitTimer->setInterval(kFitCheckDelay);
    connect(m_fitTimer, &QTimer::timeout, this, &EntryWindow::checkPendingFits);
}

void EntryWindow::buildButtons()
{
    m_buttonStrip = new QWidget(this);
    m_buttonStrip->setObjectName(QStringLiteral("buttonStrip"));
    const QVector<EntryLayout::Button> &list = EntryLayout::buttons();
    for (int i = 0; i < list.size(); ++i) {
        auto *b = new QPushButton(list[i].caption, m_buttonStrip);
        b->setObjectName(QLatin1String(list[i].name));
        const QRectF r = EntryLayout::buttonRect(i);
        b->setGeometry(twipsX(r.left()), twipsY(r.top()), twipsX(r.width()), twipsY(r.height()));
        b->setFont(songtiFont(10.5));
        m_buttons.*list[i].member = b;
    }
    // Printing or exporting many saved documents at once, after the form's
    // own buttons.
    auto *batch = new QPushButton(QStringLiteral("批量打印"), m_buttonStrip);
    batch->setObjectName(QStringLiteral("cmdBatch"));
    const QRectF r = EntryLayout::buttonRect(list.size());
    batch->setGeometry(twipsX(r.left()), twipsY(r.top()), twipsX(r.width()), twipsY(r.height()));
    batch->setFont(songtiFont(10.5));
    // Its caption says enough; the menu arrow would crowd it.
    batch->setStyleSheet(QStringLiteral("QPushButton::menu-indicator { image: none; width: 0px; }"));
    m_buttons.batch = batch;
    // The form is as wide as its page or its button row, whichever is wider.
    m_buttonStrip->resize(qMax(twipsX(EntryLayout::kPageWidth), batch->geometry().right() + 1 + twipsX(45)),
                          twipsY(EntryLayout::kPageTop));
    connect(m_buttons.nextPage, &QPushButton::clicked, this, &EntryWindow::showNextPage);
    connect(m_buttons.previousPage, &QPushButton::clicked, this, &EntryWindow::showPreviousPage);
    connect(m_buttons.close, &QPushButton::clicked, this, &EntryWindow::closeEditor);
    connect(m_buttons.help, &QPushButton::clicked, this, &EntryWindow::showHelp);
    installCommandKeys();
}

void EntryWindow::installCommandKeys()
{
    for (const CommandKeys &c : kCommandKeys) {
        QPushButton *b = m_buttons.*c.button;
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
            setWindowModified(true);
            emit recordEdited();
        }
        afterEdit(box);
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
        afterEdit(box);
    }
    m_refreshing = false;
    setWindowModified(m_record.isDirty);
}

void EntryWindow::afterEdit(QPlainTextEdit *box)
{
    if (!m_pendingFits.contains(box))
        m_pendingFits.append(box);
    m_fitTimer->start();
    const QString name = box->objectName();
    if (name == QLatin1String("txtJianLi") || name == QLatin1String("txtXianRen") || name == QLatin1String("txtNiRen")
        || name == QLatin1String("txtNiMian"))
        updateResumeGuide();
}

PageMargins EntryWindow::margins() const
{
    return m_commands ? m_commands->margins() : PageMargins();
}

void EntryWindow::updateResumeGuide()
{
    auto *box = qobject_cast<EntryBox *>(control(QStringLiteral("txtJianLi")));
    if (!box)
        return;
    // The résumé prints in one of six sizes chosen from its line count and
    // the room below the posts; at a smaller size a line holds more. The
    // box shows "宋体", which has the form's character widths.
    FormPages probe;
    probe.margins = margins();
    probe.currentPosts = trimSpaces(m_record.currentPosts);
    probe.proposedPosts = trimSpaces(m_record.proposedPosts);
    probe.postsToBeRemoved = trimSpaces(m_record.postsToBeRemoved);
    const double printed = resumeFontSize(m_record.resume, probe.resumeTop(), 0);
    const double room = probe.resumeRoom() * box->font().pointSizeF() / (printed > 0 ? printed : 8);
    box->setGuide(twipsX(room));
    box->setToolTip(box->overflow().isEmpty() && printed > 0
                        ? QStringLiteral("简历打印为 %1 磅，虚线是打印时一行的右端").arg(printed)
                        : box->overflow());
}

QString EntryWindow::printedOverflow(const QPlainTextEdit *box) const
{
    const QString name = box->objectName();
    const int row = box->property("index").isValid() ? box->property("index").toInt() : 0;
    const RecordField *field = findRecordField(name);
    if (!field)
        return QString();
    AppointmentRecord alone;
    FormPages pages;
    pages.margins = margins();
    if (name == QLatin1String("txtJianLi")) {
        alone.currentPosts = m_record.currentPosts;
        alone.proposedPosts = m_record.proposedPosts;
        alone.postsToBeRemoved = m_record.postsToBeRemoved;
    }
    // The field on its own, so that what the fitter says is about this box;
    // an education line shares its cell's size with the line beside it.
    *recordFieldByControl(alone, name, row) = *recordFieldByControl(m_record, name, row);
    if (field->packedPart >= 0)
        for (const RecordField &f : recordFields())
            if (f.handOff == field->handOff && f.packedPart / 2 == field->packedPart / 2)
                f.in(alone) = f.in(m_record);
    if (!fillRendererVars(alone, pages))
        return QString();
    if (name == QLatin1String("txtJianLi")) {
        // Only the résumé's own warning: the posts have boxes of their own.
        if (!pages.resume.isEmpty() && resumeFontSize(pages.resume, pages.resumeTop(), 0) == 0)
            return QStringLiteral("简历行数太多，打印时缩到 8 磅也放不下，请适当精简");
        return QString();
    }
    const QList<Failure> said = DocumentRender::layoutMessages(
        pages, field->page == 1 ? DocumentRender::Pages::One : DocumentRender::Pages::Two);
    if (said.isEmpty())
        return QString();
    if (said.first().kind == FailureKind::DoesNotFitCell)
        return QStringLiteral("打印时缩到 8 磅也放不下：") + said.first().message;
    return said.first().message;
}

void EntryWindow::checkPendingFits()
{
    const QList<QPointer<QPlainTextEdit>> boxes = m_pendingFits;
    m_pendingFits.clear();
    for (QPlainTextEdit *box : boxes)
        if (auto *b = qobject_cast<EntryBox *>(box))
            b->setOverflow(printedOverflow(b));
    updateResumeGuide();
}

QPlainTextEdit *EntryWindow::control(const QString &name, int row) const
{
    const RecordField *f = findRecordField(name);
    if (!f)
        return nullptr;
    return m_controls.value(key(name, f->isFamily() ? qMax(row, 0) : -1), nullptr);
}

EntryPage *EntryWindow::page(int number) const
{
    return (number == 1 || number == 2) ? m_pages[number - 1] : nullptr;
}

QScrollBar *EntryWindow::pageScrollBar(int number) const
{
    return number == m_currentPage ? m_scrollArea->verticalScrollBar() : nullptr;
}

void EntryWindow::showPage(int number)
{
    const int shown = number - 1, hidden = 1 - shown;
    QScrollBar *bar = m_scrollArea->verticalScrollBar();
    if (number != m_currentPage)
        m_pageScroll[hidden] = bar->value();
    m_pages[shown]->show();
    m_pages[hidden]->hide();
    m_currentPage = number;
    layoutForm();
    bar->setValue(m_pageScroll[shown]);   // each page keeps its own place
}

void EntryWindow::updateTitle()
{
    if (m_commands) {
        setWindowFilePath(m_commands->documents().currentDocumentPath());
        setWindowTitle(m_commands->documents().windowTitle());
    }
    setWindowModified(m_record.isDirty);
}

void EntryWindow::layoutForm()
{
    const int top = twipsY(EntryLayout::kPageTop);
    m_scrollArea->setGeometry(0, top, width(), qMax(0, height() - top));
    // The sheet holds the page shown, centred under the button row.
    const EntryPage *page = m_pages[m_currentPage - 1];
    const int sheetWidth = qMax(m_buttonStrip->width(), page->width());
    m_sheet->resize(sheetWidth, page->height());
    for (EntryPage *p : m_pages)
        p->move((sheetWidth - p->width()) / 2, 0);
}

void EntryWindow::setTabOrderFromLayout()
{
    // Each page's boxes as the layout lists them, in reading order; then
    // the buttons once, the photo frame first (among the boxes, typing on
    // after a Tab would go nowhere). The other page's boxes are hidden, so
    // Tab passes over them.
    QList<QWidget *> chain;
    for (const EntryLayout::ControlPlace &place : EntryLayout::controlPlaces())
        chain << control(place.name, place.row);
    chain << m_buttons.photoFrame;
    for (const EntryLayout::Button &b : EntryLayout::buttons())
        chain << m_buttons.*b.member;
    chain << m_buttons.batch;
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void EntryWindow::showNextPage()
{
    showPage(2);
    emit pageSwitched();
}

void EntryWindow::showPreviousPage()
{
    m_pages[1]->setSizeTwips(EntryLayout::kPageWidth, EntryLayout::kPage2ShortHeight);
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
    layoutForm();
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
    // The whole box, not just its caret.
    const QRect r(box->mapTo(m_sheet, QPoint(0, 0)), box->size());
    m_scrollArea->ensureVisible(r.center().x(), r.center().y(), r.width() / 2 + 1, r.height() / 2 + 1);
}

void EntryWindow::resumeEnterPressed()
{
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
}

void EntryWindow::reportingUnitFocusLost()
{
    if (m_checkingChengbao || m_record.reportingUnit.size() <= kChengbaoMaxLength)
        return;
    m_checkingChengbao = true;
    m_ui.message(AppInfo::title(), QStringLiteral("所输入的信息太长,不能超过五十六个汉字,请简化输入"),
                 MessageIcon::Information);
    QPlainTextEdit *box = control(QStringLiteral("txtChengbao"));
    const auto backToField = [this, box] {
        showPage(2);
        box->setFocus(Qt::OtherFocusReason);
    };
    // Left by a switch to page 1: back once the switch is over, or the
    // clerk would land on page 1 with the field out of reach.
    if (box->isVisible())
        backToField();
    else
        QTimer::singleShot(0, this, backToField);
    m_checkingChengbao = false;
}

void EntryWindow::wheelEvent(QWheelEvent *event)
{
    // The wheel over the form scrolls the page shown, wherever the pointer is.
    QScrollBar *bar = m_scrollArea->verticalScrollBar();
    if (bar->maximum() > 0) {
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

bool EntryWindow::isPhotoDrop(QObject *target, const QString &path) const
{
    if (documentKindOf(path) != DocumentKind::Unknown)
        return false;   // a document loads wherever it is dropped
    static const QStringList pictures = {QStringLiteral("bmp"), QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                         QStringLiteral("png"), QStringLiteral("pic")};
    return target == m_buttons.photoFrame || pictures.contains(QFileInfo(path).suffix().toLower());
}

bool EntryWindow::acceptDocumentDrop(QEvent *event, QObject *target)
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
        if (isPhotoDrop(target, path))
            QTimer::singleShot(0, this, [this, path] { m_commands->attachPhoto(path); });
        else
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
        acceptDocumentDrop(event, watched))
        return true;
    if (watched == m_sheet && event->type() == QEvent::Move)
        m_buttonStrip->move(m_sheet->mapTo(this, QPoint(0, 0)).x(), 0);
    auto *box = qobject_cast<QPlainTextEdit *>(watched);
    if (auto *entry = qobject_cast<EntryBox *>(watched); entry && !entry->keepsLineBreaks()
        && event->type() == QEvent::KeyPress) {
        // A one-line field: Enter goes on to the next field as Tab does.
        const auto *k = static_cast<QKeyEvent *>(event);
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && !(k->modifiers() & Qt::AltModifier)) {
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QCoreApplication::sendEvent(entry, &tab);
            return true;
        }
    }
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
    }
    if (box && event->type() == QEvent::FocusOut) {
        // Only the box being typed in shows a selection; a message box or a
        // context menu taking the focus for a moment keeps it.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        QTextCursor c = box->textCursor();
        if (c.hasSelection() && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            c.clearSelection();
            box->setTextCursor(c);
        }
    }
    if (box && event->type() == QEvent::FocusOut && holdsDate(box->objectName())) {
        // "1970.03", "1970年3月" … are stored as the digits the form keeps.
        const QString typed = toRecordText(box->toPlainText());
        QString digits = normalisedDateText(typed);
        if (digits != typed && isValidDateText(digits))
            box->setPlainText(digits);
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
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            resumeEnterPressed();
            return true;
        }
    } else if (watched == control(QStringLiteral("txtChengbao")) && event->type() == QEvent::FocusOut) {
        // Leaving the field, not the window: another application, a menu or
        // our own message box taking the focus is no reason to check.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            reportingUnitFocusLost();
    }
    return QWidget::eventFilter(watched, event);
}
