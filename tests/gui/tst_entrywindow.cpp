#include "app/AppInfo.h"
#include "app/Clock.h"
#include "app/ScriptedInteraction.h"
#include "app/gui/HelpLauncher.h"
#include "app/gui/WidgetInteraction.h"
#include "entry/gui/EntryPage.h"
#include "entry/gui/EntryWindow.h"
#include "entry/gui/ResumeTyping.h"

#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {
const QString kIndent(18, QLatin1Char(' '));

// Types any text, one key event per character (keyClicks knows ASCII only).
void typeKeys(QWidget *target, const QString &text)
{
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(target, &release);
    }
}
}

class EntryWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void opening();
    void controlsWhereTheFormHasThem();
    void editsSetDirtyFlag();
    void refreshDoesNotSetDirtyFlag();
    void paging();
    void scrollBarsMoveTheirPage();
    void checkFailures_data();
    void checkFailures();
    void checkPreparationsShowInTheBoxes();
    void checkSelectsFirstLine();
    void checkPassesOnFreshWindow();
    void resumeEnterRule();
    void resumeEnterKeys();
    void resumeEnterAtStart();
    void chengbaoLength();
    void helpStartsAViewerEachTime();
    void helpCommand();
    void helpFileIsThere();
    void closeEndsTheWindow();
    void realDialogsAnswer();
    void busyPointer();

private:
    QPlainTextEdit *box(const QString &name, int row = -1) { return w->control(name, row); }
    void type(const QString &name, const QString &text, int row = -1);

    ScriptedInteraction ui;
    std::unique_ptr<EntryWindow> w;
};

void EntryWindowTest::init()
{
    Clock::setToday(QDate(2003, 9, 26));
    ui = ScriptedInteraction();
    w = std::make_unique<EntryWindow>(ui);
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
}

void EntryWindowTest::cleanup()
{
    w.reset();
    Clock::setToday(QDate());
}

void EntryWindowTest::type(const QString &name, const QString &text, int row)
{
    QPlainTextEdit *b = box(name, row);
    QVERIFY(b);
    b->setPlainText(text);
}

void EntryWindowTest::opening()
{
    QCOMPARE(w->windowTitle(), QStringLiteral("任免审批表录入(2.09)"));
    QCOMPARE(w->currentPage(), 1);
    QVERIFY(w->page(1)->isVisible());
    QVERIFY(!w->page(2)->isVisible());
    QVERIFY(w->pageScrollBar(1)->isVisible());
    QVERIFY(!w->pageScrollBar(2)->isVisible());
    QCOMPARE(box("txtDate")->toPlainText(), QStringLiteral("20030926"));
    QCOMPARE(box("txtFillDate")->toPlainText(), QStringLiteral("20030926"));
    QCOMPARE(w->record().Date, QStringLiteral("20030926"));
    QVERIFY(!w->dirtyFlag());
    QCOMPARE(box("txtName")->toPlainText(), QString());
    QVERIFY(!w->record().HasPhoto);

    const QStringList enabled = {"CmdNextPage", "CmdLastpage", "CmdClose", "cmdHelp"};
    const QStringList later = {"CmdDiaoru", "CmdSave", "CmdPreviewP", "cmdDist", "cmdPhoto", "cmdPicture"};
    for (const QString &name : enabled)
        QVERIFY2(w->findChild<QPushButton *>(name)->isEnabled(), qPrintable(name));
    for (const QString &name : later)
        QVERIFY2(!w->findChild<QPushButton *>(name)->isEnabled(), qPrintable(name));
    QCOMPARE(w->findChild<QPushButton *>("CmdPreviewP")->text(), QStringLiteral("预 览 "));
    QCOMPARE(w->findChild<QPushButton *>("CmdDiaoru")->text(), QStringLiteral("调  入"));
    QCOMPARE(w->findChild<QPushButton *>("cmdPicture")->text(), QStringLiteral("照 片"));

    // All buttons in one row above the pages.
    const int pagesTop = w->page(1)->mapTo(w.get(), QPoint(0, 0)).y();
    for (const char *name : {"CmdDiaoru", "CmdSave", "CmdNextPage", "CmdLastpage", "CmdPreviewP",
                             "cmdDist", "cmdPhoto", "CmdClose", "cmdHelp"}) {
        QPushButton *b = w->findChild<QPushButton *>(name);
        QVERIFY2(b, name);
        QCOMPARE(b->y(), w->findChild<QPushButton *>("CmdDiaoru")->y());
        QVERIFY(b->geometry().bottom() < pagesTop);
    }
}

void EntryWindowTest::controlsWhereTheFormHasThem()
{
    const double dpiX = w->logicalDpiX(), dpiY = w->logicalDpiY();
    auto px = [&](double t) { return int(std::lround(t * dpiX / 1440)); };
    auto py = [&](double t) { return int(std::lround(t * dpiY / 1440)); };
    QCOMPARE(box("txtName")->geometry(), QRect(px(1860), py(1080), px(1275), py(555)));
    QCOMPARE(box("txtJianLi")->geometry(), QRect(px(2460), py(6660), px(7005), py(5355)));
    QCOMPARE(box("txtBiyeAdd2")->geometry(), QRect(px(6270), py(4350), px(3195), py(285)));
    QCOMPARE(box("txtXingm", 3)->geometry(), QRect(px(2730), py(6570), px(1275), py(585)));
    QCOMPARE(box("txtcsrq", 4)->geometry(), QRect(px(4020), py(4620 + 4 * 648), px(1065), py(585)));
    QCOMPARE(box("txtDanwei", 6)->geometry(), QRect(px(6060), py(8490), px(3435), py(585)));
    QCOMPARE(box("txtNameFill")->geometry(), QRect(px(1770), py(10665), px(1770), py(375)));
    QCOMPARE(w->page(1)->size(), QSize(px(9979.2), py(12474)));
    QCOMPARE(w->page(1)->mapTo(w.get(), QPoint(0, 0)).y(), py(450));

    // Every field has its box, on its page, in "宋体" 12 pt.
    for (const RecordField &f : recordFields()) {
        for (int row = 0; row < (f.family ? 7 : 1); ++row) {
            QPlainTextEdit *b = box(QLatin1String(f.controlName), f.family ? row : -1);
            QVERIFY2(b, f.controlName);
            QCOMPARE(b->objectName(), QLatin1String(f.controlName));
            if (f.family)
                QCOMPARE(b->property("index").toInt(), row);
            QCOMPARE(b->parentWidget(), w->page(f.page));
            QCOMPARE(b->font().pointSizeF(), 12.0);
            QVERIFY(b->font().family() == QStringLiteral("SimSun")
                    || b->font().family() == QStringLiteral("AR PL SungtiL GB"));
        }
    }
}

void EntryWindowTest::editsSetDirtyFlag()
{
    for (const RecordField &f : recordFields()) {
        for (int row = 0; row < (f.family ? 7 : 1); ++row) {
            w->setDirtyFlag(false);
            const QString name = QLatin1String(f.controlName);
            w->showNormal();
            if (f.page == 2)
                w->CmdNextPage_Click();
            else
                w->CmdLastpage_Click();
            QPlainTextEdit *b = box(name, f.family ? row : -1);
            b->setFocus();
            b->moveCursor(QTextCursor::End);
            QTest::keyClicks(b, QStringLiteral("1"));
            QVERIFY2(w->dirtyFlag(), f.controlName);
            const QString *field = recordFieldByControl(w->record(), name, row);
            QVERIFY2(field->endsWith(QLatin1Char('1')), f.controlName);
        }
    }
    // A row filled only partly keeps its index in every column.
    QCOMPARE(w->record().Xingm[5], QStringLiteral("1"));
    QCOMPARE(w->record().Chengwei[5], QStringLiteral("1"));
}

void EntryWindowTest::refreshDoesNotSetDirtyFlag()
{
    w->record().Name = QStringLiteral("张三");
    w->record().JianLi = QStringLiteral("1983.09-1987.07  学生\r\n") + kIndent + QStringLiteral("续");
    w->record().Danwei[2] = QStringLiteral("某厂");
    w->refreshControls();
    QVERIFY(!w->dirtyFlag());
    QCOMPARE(box("txtName")->toPlainText(), QStringLiteral("张三"));
    QCOMPARE(box("txtDanwei", 2)->toPlainText(), QStringLiteral("某厂"));
    QCOMPARE(box("txtJianLi")->document()->blockCount(), 2);
    // Editing the box writes CR LF line breaks back.
    box("txtJianLi")->moveCursor(QTextCursor::End);
    typeKeys(box("txtJianLi"), QStringLiteral("读"));
    QCOMPARE(w->record().JianLi,
             QStringLiteral("1983.09-1987.07  学生\r\n") + kIndent + QStringLiteral("续读"));
    QVERIFY(w->dirtyFlag());
}

void EntryWindowTest::paging()
{
    QTest::mouseClick(w->findChild<QPushButton *>("CmdNextPage"), Qt::LeftButton);
    QCOMPARE(w->currentPage(), 2);
    QVERIFY(w->page(2)->isVisible());
    QVERIFY(!w->page(1)->isVisible());
    QVERIFY(w->pageScrollBar(2)->isVisible());
    QVERIFY(!w->pageScrollBar(1)->isVisible());
    const int fullHeight = w->page(2)->height();
    QTest::mouseClick(w->findChild<QPushButton *>("CmdLastpage"), Qt::LeftButton);
    QCOMPARE(w->currentPage(), 1);
    QVERIFY(w->page(1)->isVisible());
    QVERIFY(!w->page(2)->isVisible());
    QVERIFY(w->pageScrollBar(1)->isVisible());
    QCOMPARE(w->page(2)->heightTwips(), 11340.0);
    QVERIFY(w->page(2)->height() < fullHeight);
    QVERIFY(!w->dirtyFlag());
}

void EntryWindowTest::scrollBarsMoveTheirPage()
{
    w->resize(w->width(), 400);
    QScrollBar *bar = w->pageScrollBar(1);
    const double visibleTwips = (400 - w->page(1)->mapTo(w.get(), QPoint(0, 0)).y()
                                 + w->page(1)->y()) * 1440.0 / w->logicalDpiY();
    // The bottom of the page can come into view.
    QVERIFY(bar->maximum() + visibleTwips >= 12474 - 1);
    bar->setValue(3000);
    QCOMPARE(w->page(1)->y(), -int(std::lround(3000 * w->logicalDpiY() / 1440.0)));
    bar->setValue(0);
    QCOMPARE(w->page(1)->y(), 0);
    // A failing field out of view is scrolled into view.
    w->record().FillDate = QStringLiteral("2003");
    w->record().Date.clear();
    w->refreshControls();
    QVERIFY(!w->CheckAllFields());
    QPlainTextEdit *date = box("txtDate");
    const QRect inViewport(date->mapTo(w->page(2)->parentWidget(), QPoint(0, 0)), date->size());
    QVERIFY(w->page(2)->parentWidget()->rect().contains(inViewport));
}

void EntryWindowTest::checkFailures_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("page");
    const QString date = QStringLiteral("您所输入的日期值不是编辑器认可的日期值,请参看帮助。");
    QTest::newRow("sex") << "txtSex" << -1 << "m" << "性别请填写“男”或“女”！" << 1;
    QTest::newRow("birthday") << "txtBirthday" << -1 << "19651301"
                              << "您所输入的日期值不是编辑器认可的日期值。" << 1;
    QTest::newRow("party") << "txtRudang" << -1 << "2004；民盟"
                           << "入党时间输入不正确，请参看帮助，重新输入！" << 1;
    QTest::newRow("worktime invalid") << "txtWorktime" << -1 << "1985夏季" << date << 1;
    QTest::newRow("worktime future") << "txtWorktime" << -1 << "20031001"
                                     << "工作时间不能晚于当前时间，重新输入！" << 1;
    QTest::newRow("family invalid") << "txtcsrq" << 1 << "1938.01" << date << 2;
    QTest::newRow("family future row 4") << "txtcsrq" << 4 << "2004"
                                         << "出生时间不能晚于当前时间，重新输入！" << 2;
    QTest::newRow("date empty") << "txtDate" << -1 << " " << "年龄计算参照时间不能为空！" << 2;
    QTest::newRow("date period") << "txtDate" << -1 << "2003春" << date << 2;
    QTest::newRow("fill date empty") << "txtFillDate" << -1 << "" << "填表时间不能为空！" << 2;
    QTest::newRow("fill date invalid") << "txtFillDate" << -1 << "2003093" << date << 2;
}

void EntryWindowTest::checkFailures()
{
    QFETCH(QString, control);
    QFETCH(int, row);
    QFETCH(QString, value);
    QFETCH(QString, message);
    QFETCH(int, page);

    // Start on the other page so the switch is seen.
    if (page == 1)
        w->CmdNextPage_Click();
    type(control, value, row);
    QVERIFY(!w->CheckAllFields());
    QCOMPARE(ui.shown.size(), 1);
    QCOMPARE(ui.shown[0].kind, ScriptedInteraction::Shown::Message);
    QCOMPARE(ui.shown[0].text, message + QStringLiteral("\r\n请重试！"));
    QCOMPARE(ui.shown[0].icon, MessageIcon::Exclamation);
    QCOMPARE(ui.shown[0].title, AppInfo::title());
    QCOMPARE(w->currentPage(), page);
    QVERIFY(w->page(page)->isVisible());
    QVERIFY(!w->page(3 - page)->isVisible());
    QCOMPARE(QApplication::focusWidget(), box(control, row));
}

void EntryWindowTest::checkPreparationsShowInTheBoxes()
{
    type("txtSex", " 男 ");
    type("txtBirthday", "1965春");
    type("txtRudang", "1985 07;民盟\n");
    type("txtWorktime", "20030926");
    type("txtcsrq", " 1938 ", 3);
    type("txtcsrq", "2004", 5);
    type("txtcsrq", " 1950 ", 6);
    w->setDirtyFlag(false);
    QVERIFY(!w->CheckAllFields());
    QCOMPARE(QApplication::focusWidget(), box("txtcsrq", 5));
    QCOMPARE(box("txtSex")->toPlainText(), QStringLiteral("男"));
    QCOMPARE(box("txtBirthday")->toPlainText(), QStringLiteral("1965春"));
    QCOMPARE(box("txtRudang")->toPlainText(), QStringLiteral("198507；民盟"));
    QCOMPARE(w->record().Rudang, QStringLiteral("198507；民盟"));
    QCOMPARE(box("txtcsrq", 3)->toPlainText(), QStringLiteral("1938"));
    QCOMPARE(box("txtcsrq", 6)->toPlainText(), QStringLiteral(" 1950 "));
    QVERIFY(w->dirtyFlag());
    // Corrected, the same command passes and leaves the record as shown.
    box("txtcsrq", 5)->setPlainText(QStringLiteral("1960"));
    QVERIFY(w->CheckAllFields());
    QCOMPARE(ui.shown.size(), 1);
    QCOMPARE(w->record().csrq[6], QStringLiteral("1950"));
    QCOMPARE(box("txtcsrq", 6)->toPlainText(), QStringLiteral("1950"));
}

void EntryWindowTest::checkSelectsFirstLine()
{
    type("txtSex", "女人\n第二行");
    QVERIFY(!w->CheckAllFields());
    QCOMPARE(box("txtSex")->textCursor().selectedText(), QStringLiteral("女人"));
    QCOMPARE(box("txtSex")->textCursor().selectionStart(), 0);
    // Normalised fields are one line: all of it is selected.
    type("txtSex", "");
    type("txtWorktime", "2003\n1001");
    QVERIFY(!w->CheckAllFields());
    QCOMPARE(box("txtWorktime")->textCursor().selectedText(), QStringLiteral("20031001"));
}

void EntryWindowTest::checkPassesOnFreshWindow()
{
    QVERIFY(w->CheckAllFields());
    QVERIFY(ui.shown.isEmpty());
    QVERIFY(!w->dirtyFlag());
    QCOMPARE(w->currentPage(), 1);
}

void EntryWindowTest::resumeEnterRule()
{
    const QString line = QStringLiteral("1983.09-1987.07  学生");   // 19 characters
    QVERIFY(resumeEnterEdit(QString()).insertBreak);
    QVERIFY(resumeEnterEdit(line).insertBreak);
    QCOMPARE(resumeEnterEdit(line).removeBefore, 0);
    const ResumeEnterEdit fresh = resumeEnterEdit(line + QLatin1Char('\n') + kIndent);
    QCOMPARE(fresh.removeBefore, 18);
    QVERIFY(!fresh.insertBreak);
    // At the very start the position is below 20 even after a fresh
    // indent: CR LF and 17 spaces are 19 characters.
    QVERIFY(resumeEnterEdit(QLatin1Char('\n') + QString(17, QLatin1Char(' '))).insertBreak);
    // CR LF and 18 spaces are 20: the indent is taken back.
    QCOMPARE(resumeEnterEdit(QLatin1Char('\n') + kIndent).removeBefore, 18);
    // 19 spaces after the break is not a fresh continuation line.
    QVERIFY(resumeEnterEdit(line + QLatin1Char('\n') + kIndent + QLatin1Char(' ')).insertBreak);
}

void EntryWindowTest::resumeEnterKeys()
{
    QPlainTextEdit *b = box("txtJianLi");
    b->setFocus();
    const QString entry = QStringLiteral("1983.09-1987.07  某某大学学生");
    typeKeys(b, entry);
    QTest::keyClick(b, Qt::Key_Return);
    QCOMPARE(w->record().JianLi, entry + QStringLiteral("\r\n") + kIndent);
    QCOMPARE(b->textCursor().position(), b->toPlainText().size());
    QTest::keyClick(b, Qt::Key_Return);
    QCOMPARE(w->record().JianLi, entry + QStringLiteral("\r\n"));
    QCOMPARE(b->textCursor().position(), entry.size() + 1);   // at the left margin
    QTest::keyClick(b, Qt::Key_Enter);                          // keypad Enter alike
    QCOMPARE(w->record().JianLi, entry + QStringLiteral("\r\n\r\n") + kIndent);
    QVERIFY(w->dirtyFlag());

    // Enter in the middle of a line breaks it there with the indent.
    b->setPlainText(entry + QStringLiteral("在职"));
    QTextCursor c = b->textCursor();
    c.setPosition(entry.size());
    b->setTextCursor(c);
    QTest::keyClick(b, Qt::Key_Return);
    QCOMPARE(w->record().JianLi, entry + QStringLiteral("\r\n") + kIndent + QStringLiteral("在职"));

    // Other boxes keep the plain line break.
    box("txtXianRen")->setFocus();
    typeKeys(box("txtXianRen"), QStringLiteral("甲"));
    QTest::keyClick(box("txtXianRen"), Qt::Key_Return);
    QCOMPARE(w->record().XianRen, QStringLiteral("甲\r\n"));
}

void EntryWindowTest::resumeEnterAtStart()
{
    QPlainTextEdit *b = box("txtJianLi");
    b->setFocus();
    QTest::keyClick(b, Qt::Key_Return);
    QCOMPARE(w->record().JianLi, QStringLiteral("\r\n") + kIndent);
    // CR LF and 18 spaces are exactly 20 characters: the indent goes.
    QTest::keyClick(b, Qt::Key_Return);
    QCOMPARE(w->record().JianLi, QStringLiteral("\r\n"));
    // A selection is replaced by the break.
    b->setPlainText(QStringLiteral("abcdef"));
    QTextCursor c = b->textCursor();
    c.setPosition(1);
    c.setPosition(3, QTextCursor::KeepAnchor);
    b->setTextCursor(c);
    QTest::keyClick(b, Qt::Key_Return);
    QCOMPARE(w->record().JianLi, QStringLiteral("a\r\n") + kIndent + QStringLiteral("def"));
}

void EntryWindowTest::chengbaoLength()
{
    w->CmdNextPage_Click();
    QPlainTextEdit *b = box("txtChengbao");
    b->setFocus();
    typeKeys(b, QString(56, QChar(u'单')));
    QTest::keyClick(b, Qt::Key_Tab);
    QVERIFY(ui.shown.isEmpty());
    QVERIFY(QApplication::focusWidget() != b);

    b->setFocus();
    QTest::keyClick(b, Qt::Key_End);
    typeKeys(b, QStringLiteral("位"));
    QTest::keyClick(b, Qt::Key_Tab);
    QCOMPARE(ui.shown.size(), 1);
    QCOMPARE(ui.shown[0].text, QStringLiteral("所输入的信息太长,不能超过五十六个汉字,请简化输入"));
    QCOMPARE(ui.shown[0].icon, MessageIcon::Information);
    QCOMPARE(ui.shown[0].title, AppInfo::title());
    QCOMPARE(QApplication::focusWidget(), b);
    QCOMPARE(w->record().Chengbao.size(), 57);   // not shortened

    // Leaving the window is not leaving the field.
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(b, &out);
    QCOMPARE(ui.shown.size(), 1);
    // Moving the focus elsewhere by any other means is leaving it too.
    box("txtNameFill")->setFocus();
    QCOMPARE(ui.shown.size(), 2);
    QCOMPARE(QApplication::focusWidget(), b);

    // Leaving another field runs no check.
    b->setPlainText(QString(56, QChar(u'单')));
    box("txtNameFill")->setFocus();
    QCOMPARE(QApplication::focusWidget(), box("txtNameFill"));
    typeKeys(box("txtNameFill"), QString(80, QChar(u'人')));
    QTest::keyClick(box("txtNameFill"), Qt::Key_Tab);
    QCOMPARE(ui.shown.size(), 2);
}

void EntryWindowTest::helpStartsAViewerEachTime()
{
    QList<HelpLauncher::Command> started;
    w->helpLauncher().setStarter([&](const HelpLauncher::Command &c) { started << c; });
    QPushButton *help = w->findChild<QPushButton *>("cmdHelp");
    QCOMPARE(help->text(), QStringLiteral("帮  助"));
    QTest::mouseClick(help, Qt::LeftButton);
    QTest::mouseClick(help, Qt::LeftButton);
    QCOMPARE(started.size(), 2);
    QVERIFY(started[0].url.toLocalFile().endsWith(QStringLiteral("/资源/help/index.html")));
    QVERIFY(!w->dirtyFlag());
}

void EntryWindowTest::helpCommand()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("资源")));
    // No compiled help: the HTML help in the browser, even with a viewer.
    HelpLauncher::Command c = HelpLauncher::commandFor(dir.path(), QStringLiteral("C:/Windows/hh.exe"));
    QVERIFY(c.program.isEmpty());
    QCOMPARE(c.url, QUrl::fromLocalFile(dir.path() + QStringLiteral("/资源/help/index.html")));
    QFile chm(dir.path() + QStringLiteral("/资源/rmHelp.chm"));
    QVERIFY(chm.open(QIODevice::WriteOnly));
    chm.close();
    // Compiled help but no viewer: still the browser.
    QVERIFY(HelpLauncher::commandFor(dir.path(), QString()).program.isEmpty());
    c = HelpLauncher::commandFor(dir.path(), QStringLiteral("C:/Windows/hh.exe"));
    QCOMPARE(c.program, QStringLiteral("C:/Windows/hh.exe"));
    QCOMPARE(c.arguments, QStringList{QDir::toNativeSeparators(chm.fileName())});
}

void EntryWindowTest::helpFileIsThere()
{
    QFile f(QStringLiteral(AF_SOURCE_DIR "/resources/资源/help/index.html"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(f.readAll());
    for (const char *needle : {"春", "；", "18", "fonts-arphic-gbsn00lp", "fonts-arphic-gkai00mp"})
        QVERIFY2(html.contains(QString::fromUtf8(needle)), needle);
}

void EntryWindowTest::closeEndsTheWindow()
{
    QSignalSpy unloaded(w.get(), &EntryWindow::unloaded);
    QTest::mouseClick(w->findChild<QPushButton *>("CmdClose"), Qt::LeftButton);
    QCOMPARE(unloaded.size(), 1);
    QVERIFY(!w->isVisible());
    QVERIFY(ui.shown.isEmpty());
}

// Presses a button of the message box that is about to open.
static void answerNextBox(std::function<void(QMessageBox *)> press, QString *seenText = nullptr)
{
    QTimer::singleShot(0, [=] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        if (seenText)
            *seenText = box->text();
        press(box);
    });
}

void EntryWindowTest::realDialogsAnswer()
{
    WidgetInteraction real(w.get());
    const QString question = QStringLiteral("当前任免文件内容已改变\r\n需要保存吗?");
    QString seen;
    answerNextBox([](QMessageBox *b) { b->button(QMessageBox::Yes)->click(); }, &seen);
    QCOMPARE(real.askYesNoCancel(QStringLiteral("系统"), question), Answer::Yes);
    QCOMPARE(seen, QStringLiteral("当前任免文件内容已改变\n需要保存吗?"));
    answerNextBox([](QMessageBox *b) { b->button(QMessageBox::No)->click(); });
    QCOMPARE(real.askYesNoCancel(QStringLiteral("系统"), question), Answer::No);
    answerNextBox([](QMessageBox *b) { QTest::keyClick(b, Qt::Key_Escape); });
    QCOMPARE(real.askYesNoCancel(QStringLiteral("系统"), question), Answer::Cancel);
    answerNextBox([](QMessageBox *b) { QTest::keyClick(b, Qt::Key_Escape); });
    QVERIFY(!real.askYesNo(QStringLiteral("系统"), question));
    answerNextBox([](QMessageBox *b) {
        QCOMPARE(b->icon(), QMessageBox::Warning);
        b->button(QMessageBox::Ok)->click();
    });
    real.message(AppInfo::title(), QStringLiteral("x\r\n请重试！"), MessageIcon::Exclamation);
}

void EntryWindowTest::busyPointer()
{
    WidgetInteraction real(w.get());
    real.setBusy(true);
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    real.setBusy(false);
    QVERIFY(!QApplication::overrideCursor());
    real.setBusy(false);   // an extra restore does not pop someone else's cursor
    QApplication::setOverrideCursor(Qt::CrossCursor);
    real.setBusy(false);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QApplication::restoreOverrideCursor();
}

QTEST_MAIN(EntryWindowTest)
#include "tst_entrywindow.moc"
