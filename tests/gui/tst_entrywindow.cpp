#include "foundation/AppInfo.h"
#include "foundation/Clock.h"
#include "record/FieldSchema.h"
#include "record/RecoveryStore.h"
#include "windows/QtTranslations.h"
#include "windows/WidgetInteraction.h"
#include "support/GuiTestSupport.h"
#include <QAbstractFileIconProvider>
#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QMessageBox>
#include <QMimeData>
#include <QMenu>
#include <QScrollArea>

using GuiTest::typeKeys;

const QString kIndent(18, QLatin1Char(' '));

// Boxes typed; the page and box the check stops at, the text it selects;
// box texts afterwards; whether a preparation changed a box.
struct CheckCase { QStringList typed; int page; QString focus, selected; QStringList shown; bool dirty; };
// Enter pressed `presses` times in `text`, selected from `from` to the
// caret at `to` (-1: the end); the field stored and the caret after (-1: the end).
struct EnterCase { QString text; int from, to, presses; QString stored; int caret; QString control = "txtJianLi"; };

class TestEntryWindow : public QObject {
    Q_OBJECT
    ScriptedInteraction ui;
    std::unique_ptr<EntryWindow> w;
    // "txtcsrq#4=2004": the box of row 4 of txtcsrq; text() is "2004".
    QPlainTextEdit *box(const QString &selector) const { return GuiTest::formBox(*w, selector); }
    static QString text(const QString &selector) { return selector.section(QLatin1Char('='), 1); }
    // Page `n` shows with its scroll bar, the other page and bar are hidden.
    void expectPage(int n) const
    {
        QCOMPARE(w->currentPage(), n);
        QVERIFY(w->page(n)->isVisible() && !w->page(3 - n)->isVisible());
        QVERIFY(w->pageScrollBar(n) && !w->pageScrollBar(3 - n));
    }

private slots:
    void initTestCase() { GuiTest::isolateSettings(); }
    void init()
    {
        Clock::setToday(QDate(2003, 9, 26));
        ui = ScriptedInteraction();
        w = std::make_unique<EntryWindow>(ui);
        QVERIFY(GuiTest::showActive(w.get()));
    }
    void cleanup()
    {
        w.reset();
        Clock::setToday(QDate());
    }

    void openingPagingAndScrolling()
    {
        QVERIFY(w->windowTitle() == AppInfo::entryCaption() + QStringLiteral("[*]") && !w->isWindowModified());
        expectPage(1);
        QVERIFY(box("txtDate")->toPlainText() == QStringLiteral("20030926") && w->record().fillingDate == QStringLiteral("20030926"));
        // The pages start 450 twips down, below the buttons; boxes stand where the form has them.
        auto px = [&](double t) { return int(std::lround(t * w->logicalDpiX() / 1440)); };
        auto py = [&](double t) { return int(std::lround(t * w->logicalDpiY() / 1440)); };
        QCOMPARE(w->page(1)->mapTo(w.get(), QPoint(0, 0)).y(), py(450));
        for (const EntryLayout::Button &b : EntryLayout::buttons())
            QVERIFY2((w->buttons().*b.member)->geometry().bottom() < py(450), b.name);
        QCOMPARE(box("txtJianLi")->geometry(), QRect(px(2460), py(6660), px(7005), py(5355)));
        QCOMPARE(box("txtcsrq#4")->geometry(), QRect(px(4020), py(4620 + 4 * 648), px(1065), py(585)));
        // While the record has unsaved changes a page switch keeps a recovery copy.
        QTemporaryDir dir;
        RecoveryStore store(dir.filePath(QStringLiteral("recovery")));
        QVERIFY(store.start());
        w->commands().setRecoveryStore(&store);
        QTest::mouseClick(w->buttons().nextPage, Qt::LeftButton);
        expectPage(2);
        QVERIFY(!w->isDirty() && !store.hasCopy());
        typeKeys(box("txtChengbao"), QStringLiteral("某区委"));
        // A moment after the typing stops, not only at the next page switch.
        QTRY_VERIFY_WITH_TIMEOUT(store.hasCopy(), 2 * EntryCommands::kRecoveryDelay);
        QTest::mouseClick(w->buttons().previousPage, Qt::LeftButton);
        expectPage(1);
        QVERIFY(QString::fromUtf8(readAll(QDir(store.slotFolder()).filePath(QStringLiteral("record.json"))))
                    .contains(QStringLiteral("某区委")));
        w->commands().setRecoveryStore(nullptr);
        QVERIFY(w->page(2)->heightTwips() == 11340.0 && w->isWindowModified());   // typed on page 2

        // Room to spare: the form in the middle. Too little: scroll bars
        // bring every part of it, the last button included, into view.
        auto *area = w->findChild<QScrollArea *>(QStringLiteral("pageViewport"));
        w->resize(w->width() + 300, w->height());
        const int pageLeft = w->page(1)->mapTo(area->viewport(), QPoint(0, 0)).x();
        QVERIFY(qAbs(pageLeft - (area->viewport()->width() - w->page(1)->width()) / 2) <= 1);
        QPushButton *last = w->buttons().batch;
        QVERIFY(qAbs(area->viewport()->width() - last->mapTo(w.get(), QPoint(last->width(), 0)).x()
                     - w->buttons().load->mapTo(w.get(), QPoint(0, 0)).x()) <= 2);
        w->resize(400, 400);
        QScrollBar *bar = w->pageScrollBar(1);
        QVERIFY(bar->isVisible() && area->horizontalScrollBar()->isVisible());
        bar->setValue(bar->maximum());
        area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->maximum());
        const QRect shown = area->viewport()->rect();
        QVERIFY(shown.contains(QRect(w->page(1)->mapTo(area->viewport(), QPoint(0, 0)), w->page(1)->size()).bottomRight()));
        QVERIFY(w->rect().contains(QRect(last->mapTo(w.get(), QPoint(0, 0)), last->size())));
    }

    // Every field has its box, on its page, in "宋体" 12 pt; typing in it is an edit.
    void everyFieldsBox()
    {
        for (const RecordField &f : recordFields())
            for (int row = 0; row < (f.isFamily() ? 7 : 1); ++row) {
                w->setDirty(false);
                f.page == 2 ? w->showNextPage() : w->showPreviousPage();
                QPlainTextEdit *b = w->control(QLatin1String(f.controlName), f.isFamily() ? row : -1);
                QVERIFY2(b && b->parentWidget() == w->page(f.page), f.controlName);
                QVERIFY(b->font().pointSizeF() == 12.0 && QStringList({"SimSun", "AR PL SungtiL GB"}).contains(b->font().family()));
                b->setFocus();
                b->moveCursor(QTextCursor::End);
                QTest::keyClicks(b, QStringLiteral("1"));
                QVERIFY2(w->isDirty() && recordFieldByControl(w->record(), QLatin1String(f.controlName), row)->endsWith('1'),
                         f.controlName);
            }
        // Loading the record into the boxes is no edit; typing writes CR LF back.
        w->setDirty(false);
        w->record().resume = QStringLiteral("学生\r\n") + kIndent + QStringLiteral("续");
        w->refreshControls();
        QVERIFY(!w->isDirty() && box("txtJianLi")->document()->blockCount() == 2);
        box("txtJianLi")->moveCursor(QTextCursor::End);
        typeKeys(box("txtJianLi"), QStringLiteral("读"));
        QCOMPARE(w->record().resume, QStringLiteral("学生\r\n") + kIndent + QStringLiteral("续读"));
    }

    // The window's side of the checks (their messages are the core's): the
    // failing box shown, focused, selected and scrolled into view.
    void checkShowsTheFailure_data()
    {
        QTest::addColumn<CheckCase>("f");
        QTest::newRow("first line selected") << CheckCase{{"txtSex=女人\n第二行"}, 1, "txtSex", "女人", {"txtSex=女人\n第二行"}, false};
        QTest::newRow("normalised, all selected") << CheckCase{{"txtWorktime=2003\n1001"}, 1, "txtWorktime", "20031001", {}, true};
        QTest::newRow("family row 4, preparations shown")
            << CheckCase{{"txtRudang=1985 07;民盟\n", "txtcsrq#3= 1938 ", "txtcsrq#4=2004", "txtcsrq#6= 1950 "}, 2, "txtcsrq#4",
                       "2004", {"txtRudang=198507；民盟", "txtcsrq#3=1938", "txtcsrq#6= 1950 "}, true};
        QTest::newRow("date, far down page 2") << CheckCase{{"txtDate=2003春"}, 2, "txtDate", "2003春", {}, false};
    }
    void checkShowsTheFailure()
    {
        QFETCH(CheckCase, f);
        w->resize(w->width(), 400);   // the failing box must be scrolled into view
        f.page == 1 ? w->showNextPage() : w->showPreviousPage();   // the switch is seen
        for (const QString &t : f.typed)
            box(t)->setPlainText(text(t));
        w->setDirty(false);
        QVERIFY(!w->commands().documents().checkAndHandOff());
        for (const QString &s : f.shown)
            QCOMPARE(box(s)->toPlainText(), text(s));
        QCOMPARE(w->isDirty(), f.dirty);
        QCOMPARE(ui.shown.size(), 1);
        QVERIFY(ui.shown[0].text.endsWith(QStringLiteral("\r\n请重试！")) && ui.shown[0].icon == MessageIcon::Exclamation
                && ui.shown[0].title == AppInfo::title());
        expectPage(f.page);
        QPlainTextEdit *b = box(f.focus);
        QVERIFY(QApplication::focusWidget() == b && b->textCursor().selectionStart() == 0);
        QCOMPARE(b->textCursor().selectedText(), f.selected);
        QWidget *viewport = w->findChild<QScrollArea *>(QStringLiteral("pageViewport"))->viewport();
        QVERIFY(viewport->rect().contains(QRect(b->mapTo(viewport, QPoint(0, 0)), b->size())));
    }

    void resumeEnter_data()
    {
        QTest::addColumn<EnterCase>("c");
        const QString e = QStringLiteral("1983.09-1987.07  某某大学学生"), crlf = QStringLiteral("\r\n");
        const QString s17(17, ' '), s19(19, ' ');
        QTest::newRow("once") << EnterCase{e, -1, -1, 1, e + crlf + kIndent, -1};
        QTest::newRow("twice: left margin") << EnterCase{e, -1, -1, 2, e + crlf, int(e.size()) + 1};
        QTest::newRow("three times") << EnterCase{e, -1, -1, 3, e + crlf + crlf + kIndent, -1};
        QTest::newRow("empty, once") << EnterCase{"", -1, -1, 1, crlf + kIndent, -1};
        QTest::newRow("empty, twice") << EnterCase{"", -1, -1, 2, crlf, 1};   // CR LF + 18 is 20
        QTest::newRow("below 20") << EnterCase{"\n" + s17, -1, -1, 1, crlf + s17 + crlf + kIndent, -1};
        QTest::newRow("19 spaces") << EnterCase{e + "\n" + s19, -1, -1, 1, e + crlf + s19 + crlf + kIndent, -1};
        QTest::newRow("mid line") << EnterCase{e + "在职", -1, int(e.size()), 1, e + crlf + kIndent + "在职", int(e.size()) + 19};
        QTest::newRow("selection") << EnterCase{"abcdef", 1, 3, 1, "a" + crlf + kIndent + "def", 20};
        QTest::newRow("other box") << EnterCase{"甲", -1, -1, 1, "甲" + crlf, -1, "txtNiRen"};
    }
    void resumeEnter()
    {
        QFETCH(EnterCase, c);
        QPlainTextEdit *b = box(c.control);
        b->setPlainText(c.text);
        b->setFocus();
        const int to = c.to < 0 ? int(c.text.size()) : c.to;
        QTextCursor cursor = b->textCursor();
        cursor.setPosition(c.from < 0 ? to : c.from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        b->setTextCursor(cursor);
        for (int i = 0; i < c.presses; ++i)
            QTest::keyClick(b, i % 2 ? Qt::Key_Enter : Qt::Key_Return);   // keypad Enter alike
        QCOMPARE(*recordFieldByControl(w->record(), c.control), c.stored);
        QCOMPARE(b->textCursor().position(), c.caret < 0 ? int(b->toPlainText().size()) : c.caret);
    }

    // Enter (and Shift+Enter) in a box of a one-line field goes on to the
    // next field and types nothing; pasted breaks are left out there.
    void oneLineFields_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("next");   // empty: the field keeps the break
        QTest::newRow("name") << "txtName" << "txtSex";
        QTest::newRow("birth date") << "txtBirthday" << "txtPeople";
        QTest::newRow("current posts") << "txtXianRen" << "txtNiRen";
        QTest::newRow("family cell") << "txtChengwei#2" << "txtXingm#2";
        QTest::newRow("filled by") << "txtNameFill" << "";   // the last box: Tab leaves the form
        QTest::newRow("proposed posts") << "txtNiRen" << "";
        QTest::newRow("rewards") << "txtJiangCheng" << "";
    }
    void oneLineFields()
    {
        QFETCH(QString, control);
        QFETCH(QString, next);
        QPlainTextEdit *b = box(control);
        const bool keeps = findRecordField(control.section('#', 0, 0))->keepsLineBreaks();
        if (b->parentWidget() == w->page(2))
            w->showNextPage();
        const QString *field = recordFieldByControl(w->record(), control.section('#', 0, 0), control.section('#', 1).toInt());
        for (Qt::KeyboardModifier m : {Qt::NoModifier, Qt::ShiftModifier}) {
            b->setFocus();
            b->setPlainText(QStringLiteral("张明华"));
            b->moveCursor(QTextCursor::End);
            QTest::keyClick(b, Qt::Key_Return, m);
            QCOMPARE(*field, keeps ? QStringLiteral("张明华\r\n") : QStringLiteral("张明华"));
            QVERIFY(next.isEmpty() || QApplication::focusWidget() == box(next));
        }
        b->setPlainText(QString());
        QApplication::clipboard()->setText(QStringLiteral("男\r\n汉族\n"));
        b->paste();
        QCOMPARE(*field, keeps ? QStringLiteral("男\r\n汉族\r\n") : QStringLiteral("男汉族"));
        // A value wrapped once fits the box: no scroll bar for it.
        b->setPlainText(QStringLiteral("199001；民盟"));
        QApplication::processEvents();
        QVERIFY(!b->verticalScrollBar()->isVisible());
    }

    // A date typed as the form prints it is stored as digits once its box is left.
    void datesNormalisedOnLeaving()
    {
        QPlainTextEdit *birth = box("txtBirthday");
        birth->setFocus();
        typeKeys(birth, QStringLiteral("1970年3月"));
        QTest::keyClick(birth, Qt::Key_Tab);
        QVERIFY(w->record().birthDate == QStringLiteral("197003") && birth->toPlainText() == QStringLiteral("197003"));
        birth->setPlainText(QStringLiteral("19 70x"));
        birth->setFocus();
        box("txtName")->setFocus();
        QCOMPARE(birth->toPlainText(), QStringLiteral("19 70x"));   // no date: left for the check to refuse
    }

    // A box whose text will not fit its printed cell even at the smallest
    // size is framed in red, saying why, as the print would.
    void printedOverflowMarked_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("why");   // start of the tooltip; empty: not marked
        const QString tooSmall = QStringLiteral("打印时缩到 8 磅也放不下：");
        QTest::newRow("name shrinks") << "txtName" << QString(18, QChar(u'张')) << "";
        QTest::newRow("name too long") << "txtName" << QString(40, QChar(u'张')) << tooSmall + "姓名区域过小";
        QTest::newRow("family row 5") << "txtXingm#5" << QString(40, QChar(u'张')) << tooSmall + "家庭成员姓名";
        QTest::newRow("posts over 75") << "txtXianRen" << QString(76, QChar(u'长')) << "输入文字过长";
        QTest::newRow("posts 75") << "txtXianRen" << QString(75, QChar(u'长')) << "";
        QTest::newRow("education line") << "txtXueliAdd" << QString(60, QChar(u'学')) << tooSmall + "学历学位";
        QTest::newRow("résumé 30 lines") << "txtJianLi" << QStringLiteral("某地工作\n").repeated(30) << "";
        QTest::newRow("résumé 40 lines") << "txtJianLi" << QStringLiteral("某地工作\n").repeated(40) << "简历行数太多";
    }
    void printedOverflowMarked()
    {
        QFETCH(QString, control);
        QFETCH(QString, text);
        QFETCH(QString, why);
        auto *b = qobject_cast<EntryBox *>(box(control));
        b->setPlainText(text);
        if (!why.isEmpty())
            QTRY_VERIFY(!b->overflow().isEmpty());   // a moment after the edit
        w->checkPendingFits();
        QVERIFY2(why.isEmpty() ? b->overflow().isEmpty() : b->overflow().startsWith(why), qPrintable(b->overflow()));
        if (!why.isEmpty())
            QCOMPARE(b->toolTip(), b->overflow());
        b->setPlainText(QString());
        w->checkPendingFits();
        QVERIFY(b->overflow().isEmpty());
    }

    void reportingUnitLength()
    {
        w->showNextPage();
        QPlainTextEdit *b = box("txtChengbao"), *other = box("txtNameFill");
        b->setFocus();
        typeKeys(b, QString(56, QChar(u'单')));
        QTest::keyClick(b, Qt::Key_Tab);
        QVERIFY(ui.shown.isEmpty() && QApplication::focusWidget() != b);

        b->setFocus();
        QTest::keyClick(b, Qt::Key_End);
        typeKeys(b, QStringLiteral("位"));
        QTest::keyClick(b, Qt::Key_Tab);
        QCOMPARE(ui.messageTexts(), QStringList{"所输入的信息太长,不能超过五十六个汉字,请简化输入"});
        QVERIFY(ui.shown[0].icon == MessageIcon::Information && QApplication::focusWidget() == b);
        QCOMPARE(w->record().reportingUnit.size(), 57);   // not shortened
        // Leaving the window is not leaving the field; a focus move by code is.
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(b, &out);
        QCOMPARE(ui.shown.size(), 1);
        other->setFocus();
        QVERIFY(ui.shown.size() == 2 && QApplication::focusWidget() == b);
        // Left by switching to page 1: the clerk is taken back to the field.
        b->setFocus();
        QTest::keyClick(b, Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(ui.shown.size(), 3);
        QTRY_COMPARE(QApplication::focusWidget(), b);
        expectPage(2);
        // Leaving another field runs no check.
        b->setPlainText(QString(56, QChar(u'单')));
        other->setFocus();
        typeKeys(other, QString(80, QChar(u'人')));
        QTest::keyClick(other, Qt::Key_Tab);
        QCOMPARE(ui.shown.size(), 3);
    }

    // Tab walks the page's boxes in reading order, then the photo frame and
    // the buttons once; a box left shows no selection.
    void tabOrder_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QStringList>("stops");
        QTest::newRow("reading order") << "txtBirthday" << QStringList{"txtPeople"};
        QTest::newRow("buttons once, then the page")
            << "txtJianLi"
            << QStringList{"cmdPicture", "CmdDiaoru", "CmdSave", "CmdNextPage", "CmdLastpage", "CmdPreviewP", "cmdDist",
                           "cmdPhoto",  "CmdClose", "cmdHelp", "cmdBatch", "txtName"};
        QTest::newRow("family row by row") << "txtDanwei#0" << QStringList{"txtChengwei#1"};
        QTest::newRow("page 2 ends") << "txtNameFill" << QStringList{"CmdDiaoru"};
    }
    void tabOrder()
    {
        QFETCH(QString, from);
        QFETCH(QStringList, stops);
        QPlainTextEdit *b = box(from);
        if (b->parentWidget() == w->page(2))
            w->showNextPage();
        b->setFocus();
        b->setPlainText(QStringLiteral("甲"));
        b->selectAll();
        QStringList walked;
        for (int i = 0; i < stops.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            const QWidget *f = QApplication::focusWidget();
            walked << f->objectName() + (f->property("index").isValid() ? "#" + f->property("index").toString() : "");
        }
        QCOMPARE(walked, stops);
        QVERIFY(!b->textCursor().hasSelection());
    }

    void help()
    {
        QList<HelpLauncher::Command> started;
        w->helpLauncher().setStarter([&](const HelpLauncher::Command &c, const std::function<void()> &) { started << c; });
        QTest::mouseClick(w->buttons().help, Qt::LeftButton);
        QTest::mouseClick(w->buttons().help, Qt::LeftButton);
        QVERIFY(started.size() == 2 && started[0].url.toLocalFile().endsWith(QStringLiteral("/资源/help/index.html"))
                && !w->helpLauncher().helpWindow());

        // No viewer could be started: the help opens in a window of the program.
        w->helpLauncher().setStarter([](const HelpLauncher::Command &, const std::function<void()> &failed) { failed(); });
        QTest::keyClick(w.get(), Qt::Key_F1);
        QTextBrowser *help = w->helpLauncher().helpWindow();
        QVERIFY(help && help->isVisible() && help->toPlainText().contains(QStringLiteral("帮助")));
        QTest::qWait(20);
        QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(help->frameGeometry()));
    }

    // Command keys reach their commands; Alt with a letter never types into a field.
    void keyboard()
    {
        QPlainTextEdit *name = box("txtName");
        name->setFocus();
        QTest::keyClicks(name, QStringLiteral("ab"));
        for (Qt::Key k : {Qt::Key_X, Qt::Key_S, Qt::Key_Q})
            QTest::keyClick(name, k, Qt::AltModifier);
        QCOMPARE(w->record().name, QStringLiteral("ab"));
        // Alt+S is save: the checks pass and the save dialog opens (cancelled by the script).
        QVERIFY(ui.shown.size() == 1 && ui.shown.first().kind == ScriptedInteraction::Shown::SaveFile);
        // Ctrl+P previews; Escape closes the preview.
        bool previewed = false;
        GuiTest::onNextModal([&previewed](QWidget *preview) {
            previewed = preview->objectName() == QStringLiteral("frmGbrmNew");
            QTest::keyClick(preview, Qt::Key_Escape);
        });
        QTest::keyClick(name, Qt::Key_P, Qt::ControlModifier);
        QVERIFY(previewed && !w->commands().renderer()->isVisible());
        QApplication::setActiveWindow(w.get());   // the offscreen platform leaves it with the closed preview
        name->setFocus();

        QTest::keyClick(name, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(w->currentPage(), 2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(w->currentPage(), 1);
        ui.answers.enqueue(Answer::No);    // the save prompt: go on without saving
        ui.fileNames.enqueue(QString());   // the load dialog, cancelled
        QTest::keyClick(w.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(ui.shown.last().kind, ScriptedInteraction::Shown::OpenFile);
        QVERIFY(w->buttons().save->toolTip().contains(QKeySequence(QKeySequence::Save).toString(QKeySequence::NativeText)));

        // Tabbing into a filled field selects its text and brings it into view.
        w->resize(w->width(), 300);
        QPlainTextEdit *sex = box("txtSex");
        sex->setPlainText(QStringLiteral("女"));
        name->setFocus();
        QTest::keyClick(name, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() == sex && sex->textCursor().selectedText() == QStringLiteral("女"));
        QPlainTextEdit *posts = box("txtNiMian");
        box("txtNiRen")->setFocus();
        QTest::keyClick(box("txtNiRen"), Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() == posts && posts->mapTo(w.get(), QPoint(0, posts->height())).y() <= w->height());

        // The wheel over the form scrolls the page.
        const int before = w->pageScrollBar(1)->value();
        QWheelEvent wheel(QPointF(50, 200), w->mapToGlobal(QPointF(50, 200)), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.get(), &wheel);   // where a real wheel event over the page arrives
        QVERIFY(w->pageScrollBar(1)->value() > before);
    }

    // The résumé box wraps no line, as the print does not: a long line
    // scrolls sideways, and a guide stands where the printed line ends at
    // the size the résumé prints at. The box keeps its own font.
    void resumeBoxAsPrinted()
    {
        auto *resume = qobject_cast<EntryBox *>(box("txtJianLi"));
        resume->setPlainText(QString(40, QChar(u'历')));
        QApplication::processEvents();
        QVERIFY(resume->document()->documentLayout()->documentSize().height() == 1.0   // one line
                && resume->horizontalScrollBar()->isVisible());
        // The table's edge is 7087.7 twips from the résumé's left: 29.5 characters at 12 points.
        const double perTwip = w->logicalDpiX() / 1440.0;
        QCOMPARE(resume->guide(), qRound(7087.7 * perTwip));
        resume->setPlainText(QStringLiteral("1990--  某地工作\n").repeated(29) + QStringLiteral("至今"));
        QCOMPARE(resume->guide(), qRound(7087.7 * 12 / 9 * perTwip));   // printed at 9 points
        resume->moveCursor(QTextCursor::End);
        QApplication::processEvents();
        QVERIFY(resume->verticalScrollBar()->isVisible());
        GuiTest::onNextModal([](QWidget *preview) { preview->close(); });
        QTest::mouseClick(w->buttons().preview, Qt::LeftButton);
        QVERIFY(w->commands().renderer() && resume->font().pointSizeF() == 12.0);
    }

    // A document file dropped on the form loads as 调入 does, after the save prompt.
    void dropDocument()
    {
        QTemporaryDir dir;
        const QString doc = GuiTest::sampleCopy(dir.path(), QStringLiteral("typical.dwz"));
        auto drop = [&](QWidget *target, const QString &file = QString()) {
            QMimeData data;   // the events do not own it
            data.setUrls({QUrl::fromLocalFile(file.isEmpty() ? doc : file)});
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &enter);
            QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &dropped);
            QVERIFY(enter.isAccepted() && dropped.isAccepted());
            QApplication::processEvents();
        };
        box("txtName")->setPlainText(QStringLiteral("未存"));
        ui.answers.enqueue(Answer::No);
        drop(box("txtName")->viewport());
        QVERIFY(ui.shown.size() == 1 && ui.shown.first().kind == ScriptedInteraction::Shown::Question);
        QCOMPARE(w->commands().documents().currentDocumentPath(), doc);
        QVERIFY(w->record().name != QStringLiteral("未存") && !w->record().name.isEmpty() && !w->isDirty());
        drop(w.get());   // on the window between the boxes alike
        QVERIFY(ui.shown.size() == 1 && !w->isWindowModified());
        QCOMPARE(w->windowTitle(), QStringLiteral("typical.dwz[*] - ") + AppInfo::entryCaption());
        // ... and is first among the recent documents under 调入.
        QMenu *recent = w->commands().recentMenu();
        emit recent->aboutToShow();
        QVERIFY(recent->actions().value(0)->text().contains(QStringLiteral("typical.dwz")));

        // A picture dropped on the photo frame is the photo; a file that is
        // none is said, and the photo stays.
        const QString picture = dir.filePath(QStringLiteral("new.png")), broken = dir.filePath(QStringLiteral("broken.jpg"));
        QVERIFY(filledImage(30, 40, Qt::green).save(picture) && writeBytes(broken, "no picture"));
        QPushButton *frame = w->buttons().photoFrame;
        drop(frame, picture);
        QVERIFY(w->record().hasPhoto && w->record().photoPath == picture && w->isWindowModified() && ui.shown.size() == 1);
        drop(frame, broken);
        QCOMPARE(ui.messageTexts(), QStringList{QStringLiteral("文件“%1”已损坏或不是图片，照片没有改变。").arg(broken)});
        QCOMPARE(w->record().photoPath, picture);
    }

    // A failed check stops the preview at the field; closing asks before
    // dropping changes, and Cancel keeps the window.
    void commandsStopForTheUser()
    {
        QSignalSpy unloaded(w.get(), &EntryWindow::unloaded);
        typeKeys(box("txtBirthday"), QStringLiteral("19701399"));
        GuiTest::onNextModal([](QWidget *preview) { preview->close(); });   // a wrong preview must not hang the test
        QTest::mouseClick(w->buttons().preview, Qt::LeftButton);
        QVERIFY(ui.messageTexts().size() == 1 && !w->commands().renderer() && w->focusWidget() == box("txtBirthday"));
        ui.answers << Answer::Cancel << Answer::No;
        w->close();   // the close box
        QVERIFY(unloaded.isEmpty() && w->isVisible() && ui.shown.last().kind == ScriptedInteraction::Shown::Question);
        QTest::mouseClick(w->buttons().close, Qt::LeftButton);
        QCOMPARE(unloaded.size(), 1);
    }

    // Qt's own dialogs and buttons speak Chinese where no locale is set;
    // the program's questions and messages on real dialogs.
    void dialogs()
    {
        QVERIFY(QtTranslations::chosenLocale(QLocale::c()).language() == QLocale::Chinese
                && QtTranslations::chosenLocale(QLocale(QLocale::English, QLocale::UnitedStates)).language() == QLocale::English);
        QVERIFY(QtTranslations::install(*QCoreApplication::instance(), QLocale::c()));

        WidgetInteraction real(w.get());
        const QString question = QStringLiteral("当前任免文件内容已改变\r\n需要保存吗?");
        QString seen;
        GuiTest::onNextModal([&seen](QWidget *box) {
            seen = static_cast<QMessageBox *>(box)->text();
            static_cast<QMessageBox *>(box)->button(QMessageBox::Yes)->click();
        });
        QCOMPARE(real.askYesNoCancel(QStringLiteral("系统"), question), Answer::Yes);
        QCOMPARE(seen, QStringLiteral("当前任免文件内容已改变\n需要保存吗?"));
        // Escape never answers No: it must not drop the changes.
        GuiTest::onNextModal([](QWidget *box) { QTest::keyClick(box, Qt::Key_Escape); });
        QCOMPARE(real.askYesNoCancel(QStringLiteral("系统"), question), Answer::Cancel);

        // A message during busy work shows the arrow; the busy pointer comes back after.
        real.setBusy(true);
        Qt::CursorShape whileShown = Qt::BlankCursor;
        GuiTest::onNextModal([&whileShown](QWidget *box) {
            whileShown = QGuiApplication::overrideCursor()->shape();
            static_cast<QMessageBox *>(box)->button(QMessageBox::Ok)->click();
        });
        real.message(QStringLiteral("系统"), QStringLiteral("文件未能调入"), MessageIcon::Information);
        QVERIFY(whileShown == Qt::ArrowCursor && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor);
        real.setBusy(false);
        QVERIFY(!QGuiApplication::overrideCursor());

        // Boxes open centred on their window and inside the screen, with the
        // size their text gives them; a box over a modal dialog goes over that dialog.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QWidget owner;
        WidgetInteraction boxes(&owner);
        for (const QRect &at : {QRect(250, 300, 300, 200), QRect(650, 700, 150, 100)}) {
            owner.setGeometry(at);
            owner.show();
            QRect shown;
            auto placed = [&](const QRect &box) {
                return screen.contains(box)
                       && (at.x() != 250 || (box.center() - owner.frameGeometry().center()).manhattanLength() <= 2);
            };
            GuiTest::onNextModal([&shown, &placed](QWidget *box) {
                // Placed once it has sized itself: on a busy machine that takes a while.
                (void)QTest::qWaitFor([&] { return placed(box->frameGeometry()); }, 2000);
                shown = box->frameGeometry();
                box->close();
            });
            boxes.message(QStringLiteral("系统"), QString(40, QChar(0x6587)) + QStringLiteral("\r\n").repeated(6),
                          MessageIcon::Exclamation);
            QVERIFY(placed(shown));
        }

        // Qt's file dialog names a folder in Chinese too.
        QCOMPARE(QAbstractFileIconProvider().type(QFileInfo(QDir::tempPath())), QStringLiteral("文件夹"));

        // Filter labels name their patterns once.
        QCOMPARE(qtFileFilter(DocumentCommands::loadDialogFilter()),
                 QStringLiteral("任免审批表 (*.dwz *.ren);;简要情况表 (*.ljy *.jan);;所有文件 (*.*)"));
        QCOMPARE(qtFileFilter(QStringLiteral("照片文件(*.bmp;*.jpg)|*.bmp;*.jpg;*.png")),
                 QStringLiteral("照片文件 (*.bmp *.jpg *.png)"));
    }
};

QTEST_MAIN(TestEntryWindow)
#include "tst_entrywindow.moc"
