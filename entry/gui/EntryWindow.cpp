#include "entry/gui/EntryWindow.h"
#include "app/AppInfo.h"
#include "app/Clock.h"
#include "app/Interaction.h"
#include "entry/FieldChecks.h"
#include "entry/gui/EntryCommands.h"
#include "entry/gui/EntryLayout.h"
#include "entry/gui/EntryPage.h"
#include "entry/gui/FormFont.h"
#include "entry/gui/ResumeTyping.h"
#include "layout/Twips.h"

#include <QCloseEvent>
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

    buildPages();
    buildButtons();

    // Opening: both pages full size, page 1 shown, both dates today, clean.
    m_pages[0]->setSizeTwips(EntryLayout::kPageWidth, EntryLayout::kPageHeight);
    m_pages[1]->setSizeTwips(EntryLayout::kPageWidth, EntryLayout::kPageHeight);
    m_record.Date = Clock::todayDigits();
    m_record.FillDate = Clock::todayDigits();
    refreshControls();
    m_record.dirtyFlag = false;

    const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    int height = twipsY(EntryLayout::kPageTop + EntryLayout::kPageHeight);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        height = qMin(height, screen->availableGeometry().height() - 40);
    resize(twipsX(EntryLayout::kPageWidth) + barWidth, height);
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
    connect(m_bars[0], &QScrollBar::valueChanged, this, &EntryWindow::VSCROLL1_Change);
    connect(m_bars[1], &QScrollBar::valueChanged, this, &EntryWindow::VSCROLL2_Change);

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
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setFrameShape(QFrame::NoFrame);
        box->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #f7f9ff; }"));
        // The education rows are one text line high; the text needs all of it.
        box->document()->setDocumentMargin(place.rect.height() < 400 ? 0 : 2);
        bindControl(box, place.name, place.row);
        m_controls.insert(key(place.name, place.row), box);
    }
    control(QStringLiteral("txtJianLi"))->installEventFilter(this);
    control(QStringLiteral("txtChengbao"))->installEventFilter(this);

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
    connect(button(QStringLiteral("CmdNextPage")), &QPushButton::clicked, this, &EntryWindow::CmdNextPage_Click);
    connect(button(QStringLiteral("CmdLastpage")), &QPushButton::clicked, this, &EntryWindow::CmdLastpage_Click);
    connect(button(QStringLiteral("CmdClose")), &QPushButton::clicked, this, &EntryWindow::CmdClose_Click);
    connect(button(QStringLiteral("cmdHelp")), &QPushButton::clicked, this, &EntryWindow::cmdHelp_Click);
}

void EntryWindow::bindControl(QPlainTextEdit *box, const QString &name, int row)
{
    connect(box, &QPlainTextEdit::textChanged, this, [this, box, name, row] {
        if (m_refreshing)
            return;
        if (QString *field = recordFieldByControl(m_record, name, row < 0 ? 0 : row)) {
            *field = toRecordText(box->toPlainText());
            m_record.dirtyFlag = true;
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
    control(QStringLiteral("txtJianLi"))->setFont(songtiFont(points));
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

void EntryWindow::VSCROLL1_Change(int value)
{
    m_pages[0]->move(0, -twipsY(value));
}

void EntryWindow::VSCROLL2_Change(int value)
{
    m_pages[1]->move(0, -twipsY(value));
}

void EntryWindow::CmdNextPage_Click()
{
    showPage(2);
    emit pageSwitched();
}

void EntryWindow::CmdLastpage_Click()
{
    m_pages[1]->setSizeTwips(EntryLayout::kPageWidth, EntryLayout::kPage2ShortHeight);
    updateScrollRange(2);
    showPage(1);
    emit pageSwitched();
}

void EntryWindow::CmdClose_Click()
{
    close();
}

void EntryWindow::cmdHelp_Click()
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

bool EntryWindow::CheckAllFields()
{
    FieldCheckFailure failure;
    const bool passed = ::CheckAllFields(m_record, &failure);
    refreshControls();   // the preparations stay in the boxes
    if (passed)
        return true;
    m_ui.message(AppInfo::title(), failure.message, MessageIcon::Exclamation);
    showCheckFailure(failure);
    return false;
}

void EntryWindow::showCheckFailure(const FieldCheckFailure &failure)
{
    showPage(failure.page);
    if (QPlainTextEdit *box = control(failure.controlName, failure.row))
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

bool EntryWindow::txtJianLi_KeyPress(int keyAscii)
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

void EntryWindow::txtChengbao_LostFocus()
{
    if (m_checkingChengbao || m_record.Chengbao.size() <= kChengbaoMaxLength)
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

bool EntryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == control(QStringLiteral("txtJianLi")) && event->type() == QEvent::KeyPress) {
        const auto *k = static_cast<QKeyEvent *>(event);
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && txtJianLi_KeyPress(13))
            return true;
    } else if (watched == control(QStringLiteral("txtChengbao")) && event->type() == QEvent::FocusOut) {
        // Leaving the field, not the window: another application, a menu or
        // our own message box taking the focus is no reason to check.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            txtChengbao_LostFocus();
    }
    return QWidget::eventFilter(watched, event);
}
