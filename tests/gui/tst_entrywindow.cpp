#include "foundation/AppInfo.h"
#include "foundation/Clock.h"
#include "foundation/ScriptedInteraction.h"
#include "record/RecoveryStore.h"
#include "windows/EntryCommands.h"
#include "windows/EntryPage.h"
#include "windows/EntryWindow.h"
#include "windows/PreviewWindow.h"
#include "windows/QtTranslations.h"
#include "windows/WidgetInteraction.h"
#include "support/DocumentTestSupport.h"
#include "support/GuiTestSupport.h"
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QUrl>
#include <QtTest>
#include <memory>

using GuiTest::typeKeys;

const QString kIndent(18, QLatin1Char(' '));

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
        QVERIFY(w->pageScrollBar(n)->isVisible() && !w->pageScrollBar(3 - n)->isVisible());
    }

private slots:
    void initTestCase() { GuiTest::isolateSettings(); }
    void init()
    {
        Clock::setToday(QDate(2003, 9, 26));
        ui = ScriptedInteraction();
        w = std::make_unique<EntryWindow>(ui);
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    void cleanup()
    {
        w.reset();
        Clock::setToday(QDate());
    }

    void openingPagingAndScrolling()
    {
        QCOMPARE(w->windowTitle(), QStringLiteral("任免审批表录入(2.09)"));
        expectPage(1);
        QCOMPARE(box("txtDate")->toPlainText(), QStringLiteral("20030926"));
        QCOMPARE(w->record().fillingDate, QStringLiteral("20030926"));
        // The pages start 450 twips down, below the buttons; boxes stand where the form has them.
        auto px = [&](double t) { return int(std::lround(t * w->logicalDpiX() / 1440)); };
        auto py = [&](double t) { return int(std::lround(t * w->logicalDpiY() / 1440)); };
        QCOMPARE(w->page(1)->mapTo(w.get(), QPoint(0, 0)).y(), py(450));
        for (const char *name : {"CmdDiaoru", "CmdSave", "CmdNextPage", "CmdPreviewP", "cmdDist", "CmdClose", "cmdHelp"})
            QVERIFY2(w->button(QLatin1String(name))->geometry().bottom() < py(450), name);
        QCOMPARE(box("txtJianLi")->geometry(), QRect(px(2460), py(6660), px(7005), py(5355)));
        QCOMPARE(box("txtcsrq#4")->geometry(), QRect(px(4020), py(4620 + 4 * 648), px(1065), py(585)));
        // While the record has unsaved changes a page switch keeps a recovery copy.
        QTemporaryDir dir;
        RecoveryStore store(dir.filePath(QStringLiteral("recovery")));
        QVERIFY(store.start());
        w->commands().setRecoveryStore(&store);
        QTest::mouseClick(w->button("CmdNextPage"), Qt::LeftButton);
        expectPage(2);
        QVERIFY(!w->isDirty() && !store.hasCopy());
        typeKeys(box("txtChengbao"), QStringLiteral("某区委"));
        // A moment after the typing stops, not only at the next page switch.
        QTRY_VERIFY_WITH_TIMEOUT(store.hasCopy(), 2 * EntryCommands::kRecoveryDelay);
        QTest::mouseClick(w->button("CmdLastpage"), Qt::LeftButton);
        expectPage(1);
        QVERIFY(QString::fromUtf8(readAll(QDir(store.slotFolder()).filePath(QStringLiteral("record.json"))))
                    .contains(QStringLiteral("某区委")));
        w->commands().setRecoveryStore(nullptr);
        QCOMPARE(w->page(2)->heightTwips(), 11340.0);

        w->resize(w->width(), 400);
        QScrollBar *bar = w->pageScrollBar(1);
        const double visibleTwips = (400 - w->page(1)->mapTo(w.get(), QPoint(0, 0)).y() + w->page(1)->y())
                                    * 1440.0 / w->logicalDpiY();
        QVERIFY(bar->maximum() + visibleTwips >= 12474 - 1);   // the page's bottom comes into view
        bar->setValue(3000);
        QCOMPARE(w->page(1)->y(), -int(std::lround(3000 * w->logicalDpiY() / 1440.0)));
    }

    // Every field has its box, on its page, in "宋体" 12 pt; typing in it is an edit.
    void everyFieldsBox()
    {
        for (const RecordField &f : recordFields())
            for (int row = 0; row < (f.family ? 7 : 1); ++row) {
                w->setDirty(false);
                f.page == 2 ? w->showNextPage() : w->showPreviousPage();
                QPlainTextEdit *b = w->control(QLatin1String(f.controlName), f.family ? row : -1);
                QVERIFY2(b && b->parentWidget() == w->page(f.page), f.controlName);
                QCOMPARE(b->font().pointSizeF(), 12.0);
                QVERIFY(QStringList({"SimSun", "AR PL SungtiL GB"}).contains(b->font().family()));
                b->setFocus();
                b->moveCursor(QTextCursor::End);
                QTest::keyClicks(b, QStringLiteral("1"));
                QVERIFY2(w->isDirty(), f.controlName);
                QVERIFY2(recordFieldByControl(w->record(), QLatin1String(f.controlName), row)->endsWith('1'),
                         f.controlName);
            }
        // Loading the record into the boxes is no edit; typing writes CR LF back.
        w->setDirty(false);
        w->record().resume = QStringLiteral("学生\r\n") + kIndent + QStringLiteral("续");
        w->refreshControls();
        QVERIFY(!w->isDirty());
        QCOMPARE(box("txtJianLi")->document()->blockCount(), 2);
        box("txtJianLi")->moveCursor(QTextCursor::End);
        typeKeys(box("txtJianLi"), QStringLiteral("读"));
        QCOMPARE(w->record().resume, QStringLiteral("学生\r\n") + kIndent + QStringLiteral("续读"));
    }

    // The window's side of the checks (their messages are the core's): the
    // failing box shown, focused, selected and scrolled into view.
    void checkShowsTheFailure_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("focus");       // empty: passes
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QStringList>("shown");   // box texts afterwards
        QTest::addColumn<bool>("dirty");          // a preparation changed a box
        QTest::newRow("first line selected") << QStringList{"txtSex=女人\n第二行"} << 1 << "txtSex" << "女人"
                                             << QStringList{"txtSex=女人\n第二行"} << false;
        QTest::newRow("normalised, all selected") << QStringList{"txtWorktime=2003\n1001"} << 1 << "txtWorktime"
                                                  << "20031001" << QStringList{} << true;
        QTest::newRow("family row 4, preparations shown")
            << QStringList{"txtRudang=1985 07;民盟\n", "txtcsrq#3= 1938 ", "txtcsrq#4=2004", "txtcsrq#6= 1950 "} << 2
            << "txtcsrq#4" << "2004" << QStringList{"txtRudang=198507；民盟", "txtcsrq#3=1938", "txtcsrq#6= 1950 "} << true;
        QTest::newRow("date, far down page 2") << QStringList{"txtDate=2003春"} << 2 << "txtDate" << "2003春" << QStringList{} << false;
        QTest::newRow("passes") << QStringList{"txtSex= 男 ", "txtBirthday=1965春"} << 1 << "" << ""
                                << QStringList{"txtSex=男", "txtBirthday=1965春"} << true;
    }
    void checkShowsTheFailure()
    {
        QFETCH(QStringList, typed);
        QFETCH(int, page);
        QFETCH(QString, focus);
        QFETCH(QStringList, shown);
        w->resize(w->width(), 400);   // the failing box must be scrolled into view
        page == 1 ? w->showNextPage() : w->showPreviousPage();   // the switch is seen
        for (const QString &t : typed)
            box(t)->setPlainText(text(t));
        w->setDirty(false);
        QCOMPARE(w->checkAllFields(), focus.isEmpty());
        for (const QString &s : shown)
            QCOMPARE(box(s)->toPlainText(), text(s));
        QTEST(w->isDirty(), "dirty");
        QCOMPARE(ui.shown.size(), focus.isEmpty() ? 0 : 1);
        if (focus.isEmpty())
            return;
        QVERIFY(ui.shown[0].text.endsWith(QStringLiteral("\r\n请重试！")));
        QCOMPARE(ui.shown[0].icon, MessageIcon::Exclamation);
        QCOMPARE(ui.shown[0].title, AppInfo::title());
        expectPage(page);
        QPlainTextEdit *b = box(focus);
        QCOMPARE(QApplication::focusWidget(), b);
        QCOMPARE(b->textCursor().selectionStart(), 0);
        QTEST(b->textCursor().selectedText(), "selected");
        QWidget *viewport = b->parentWidget()->parentWidget();
        QVERIFY(viewport->rect().contains(QRect(b->mapTo(viewport, QPoint(0, 0)), b->size())));
    }

    void resumeEnter_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("from");   // selection, caret at `to`; -1: the end
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("presses");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("caret");   // -1: the end
        const QString e = QStringLiteral("1983.09-1987.07  某某大学学生"), crlf = QStringLiteral("\r\n");
        const QString resumeBox = QStringLiteral("txtJianLi");
        QTest::newRow("once") << resumeBox << e << -1 << -1 << 1 << e + crlf + kIndent << -1;
        QTest::newRow("twice: left margin") << resumeBox << e << -1 << -1 << 2 << e + crlf << int(e.size()) + 1;
        QTest::newRow("three times") << resumeBox << e << -1 << -1 << 3 << e + crlf + crlf + kIndent << -1;
        QTest::newRow("empty, once") << resumeBox << "" << -1 << -1 << 1 << crlf + kIndent << -1;
        QTest::newRow("empty, twice") << resumeBox << "" << -1 << -1 << 2 << crlf << 1;   // CR LF + 18 is 20
        const QString s17(17, ' '), s19(19, ' ');
        QTest::newRow("below 20") << resumeBox << "\n" + s17 << -1 << -1 << 1 << crlf + s17 + crlf + kIndent << -1;
        QTest::newRow("19 spaces") << resumeBox << e + "\n" + s19 << -1 << -1 << 1 << e + crlf + s19 + crlf + kIndent << -1;
        QTest::newRow("mid line") << resumeBox << e + "在职" << -1 << int(e.size()) << 1
                                  << e + crlf + kIndent + "在职" << int(e.size()) + 19;
        QTest::newRow("selection") << resumeBox << "abcdef" << 1 << 3 << 1 << "a" + crlf + kIndent + "def" << 20;
        QTest::newRow("other box") << "txtXianRen" << "甲" << -1 << -1 << 1 << "甲" + crlf << -1;
    }
    void resumeEnter()
    {
        QFETCH(QString, control);
        QFETCH(QString, text);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, presses);
        QFETCH(int, caret);
        QPlainTextEdit *b = box(control);
        b->setPlainText(text);
        b->setFocus();
        QTextCursor c = b->textCursor();
        c.setPosition(from < 0 ? (to < 0 ? int(text.size()) : to) : from);
        c.setPosition(to < 0 ? int(text.size()) : to, QTextCursor::KeepAnchor);
        b->setTextCursor(c);
        for (int i = 0; i < presses; ++i)
            QTest::keyClick(b, i % 2 ? Qt::Key_Enter : Qt::Key_Return);   // keypad Enter alike
        QTEST(*recordFieldByControl(w->record(), control), "stored");
        QCOMPARE(b->textCursor().position(), caret < 0 ? int(b->toPlainText().size()) : caret);
    }

    void reportingUnitLength()
    {
        w->showNextPage();
        QPlainTextEdit *b = box("txtChengbao"), *other = box("txtNameFill");
        b->setFocus();
        typeKeys(b, QString(56, QChar(u'单')));
        QTest::keyClick(b, Qt::Key_Tab);
        QVERIFY(ui.shown.isEmpty());
        QVERIFY(QApplication::focusWidget() != b);

        b->setFocus();
        QTest::keyClick(b, Qt::Key_End);
        typeKeys(b, QStringLiteral("位"));
        QTest::keyClick(b, Qt::Key_Tab);
        QCOMPARE(ui.messageTexts(), QStringList{"所输入的信息太长,不能超过五十六个汉字,请简化输入"});
        QCOMPARE(ui.shown[0].icon, MessageIcon::Information);
        QCOMPARE(QApplication::focusWidget(), b);
        QCOMPARE(w->record().reportingUnit.size(), 57);   // not shortened
        // Leaving the window is not leaving the field; a focus move by code is.
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(b, &out);
        QCOMPARE(ui.shown.size(), 1);
        other->setFocus();
        QCOMPARE(ui.shown.size(), 2);
        QCOMPARE(QApplication::focusWidget(), b);
        // Leaving another field runs no check.
        b->setPlainText(QString(56, QChar(u'单')));
        other->setFocus();
        typeKeys(other, QString(80, QChar(u'人')));
        QTest::keyClick(other, Qt::Key_Tab);
        QCOMPARE(ui.shown.size(), 2);
    }

    void help()
    {
        QList<HelpLauncher::Command> started;
        w->helpLauncher().setStarter([&](const HelpLauncher::Command &c, const std::function<void()> &) { started << c; });
        QTest::mouseClick(w->button("cmdHelp"), Qt::LeftButton);
        QTest::mouseClick(w->button("cmdHelp"), Qt::LeftButton);
        QCOMPARE(started.size(), 2);
        QVERIFY(started[0].url.toLocalFile().endsWith(QStringLiteral("/资源/help/index.html")));
        QVERIFY(!w->helpLauncher().helpWindow());

        // No viewer could be started: the help opens in a window of the program.
        w->helpLauncher().setStarter([](const HelpLauncher::Command &, const std::function<void()> &failed) { failed(); });
        QTest::keyClick(w.get(), Qt::Key_F1);
        QTextBrowser *help = w->helpLauncher().helpWindow();
        QVERIFY(help && help->isVisible());
        QVERIFY(help->toPlainText().contains(QStringLiteral("帮助")));
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
        QCOMPARE(ui.shown.size(), 1);
        QCOMPARE(ui.shown.first().kind, ScriptedInteraction::Shown::SaveFile);
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
        QVERIFY(w->button("CmdSave")->toolTip().contains(QKeySequence(QKeySequence::Save).toString(QKeySequence::NativeText)));

        // Tabbing into a filled field selects its text and brings it into view.
        w->resize(w->width(), 300);
        QPlainTextEdit *sex = box("txtSex");
        sex->setPlainText(QStringLiteral("女"));
        name->setFocus();
        QTest::keyClick(name, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), sex);
        QCOMPARE(sex->textCursor().selectedText(), QStringLiteral("女"));
        QPlainTextEdit *posts = box("txtNiMian");
        box("txtNiRen")->setFocus();
        QTest::keyClick(box("txtNiRen"), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), posts);
        QVERIFY(posts->mapTo(w.get(), QPoint(0, posts->height())).y() <= w->height());

        // The wheel over the form scrolls the page.
        const int before = w->pageScrollBar(1)->value();
        QWheelEvent wheel(QPointF(50, 200), w->mapToGlobal(QPointF(50, 200)), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.get(), &wheel);   // where a real wheel event over the page arrives
        QVERIFY(w->pageScrollBar(1)->value() > before);
    }

    // A long text shows a scroll bar; a new résumé size shows the résumé's first line.
    void nothingHidden()
    {
        QPlainTextEdit *resume = box("txtJianLi");
        resume->setPlainText(QStringLiteral("一行\n").repeated(40));
        resume->moveCursor(QTextCursor::End);
        QApplication::processEvents();
        QVERIFY(resume->verticalScrollBar()->isVisible());
        w->setResumeBoxFontSize(10);
        QCOMPARE(resume->verticalScrollBar()->value(), 0);
        QCOMPARE(resume->textCursor().position(), 0);
    }

    // A document file dropped on the form loads as 调入 does, after the save prompt.
    void dropDocument()
    {
        const QString doc = QStringLiteral(AF_SOURCE_DIR "/samples/typical.dwz");
        auto drop = [&](QWidget *target) {
            QMimeData data;   // the events do not own it
            data.setUrls({QUrl::fromLocalFile(doc)});
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &dropped);
            QVERIFY(dropped.isAccepted());
            QApplication::processEvents();
        };
        box("txtName")->setPlainText(QStringLiteral("未存"));
        ui.answers.enqueue(Answer::No);
        drop(box("txtName")->viewport());
        QCOMPARE(ui.shown.size(), 1);
        QCOMPARE(ui.shown.first().kind, ScriptedInteraction::Shown::Question);
        QCOMPARE(w->commands().documents().currentDocumentPath(), doc);
        QVERIFY(w->record().name != QStringLiteral("未存") && !w->record().name.isEmpty() && !w->isDirty());
        drop(w.get());   // on the window between the boxes alike
        QCOMPARE(ui.shown.size(), 1);
    }

    // A failed check stops the preview at the field; closing asks before
    // dropping changes, and Cancel keeps the window.
    void commandsStopForTheUser()
    {
        QSignalSpy unloaded(w.get(), &EntryWindow::unloaded);
        typeKeys(box("txtBirthday"), QStringLiteral("19701399"));
        GuiTest::onNextModal([](QWidget *preview) { preview->close(); });   // a wrong preview must not hang the test
        QTest::mouseClick(w->button("CmdPreviewP"), Qt::LeftButton);
        QCOMPARE(ui.messageTexts().size(), 1);
        QVERIFY(!w->commands().renderer());
        QCOMPARE(w->focusWidget(), box("txtBirthday"));
        ui.answers << Answer::Cancel << Answer::No;
        w->close();   // the close box
        QVERIFY(unloaded.isEmpty() && w->isVisible());
        QCOMPARE(ui.shown.last().kind, ScriptedInteraction::Shown::Question);
        QTest::mouseClick(w->button("CmdClose"), Qt::LeftButton);
        QCOMPARE(unloaded.size(), 1);
    }

    // Qt's own dialogs and buttons speak Chinese where no locale is set;
    // the program's questions and messages on real dialogs.
    void dialogs()
    {
        QCOMPARE(QtTranslations::chosenLocale(QLocale::c()).language(), QLocale::Chinese);
        QCOMPARE(QtTranslations::chosenLocale(QLocale(QLocale::English, QLocale::UnitedStates)).language(),
                 QLocale::English);
        QVERIFY(QtTranslations::install(*QCoreApplication::instance(), QLocale::c()));
        QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Yes);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));

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
        QCOMPARE(whileShown, Qt::ArrowCursor);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        real.setBusy(false);
        QVERIFY(!QGuiApplication::overrideCursor());

        // Filter labels name their patterns once.
        QCOMPARE(qtFileFilter(DocumentCommands::loadDialogFilter()),
                 QStringLiteral("任免审批表 (*.dwz *.ren);;简要情况表 (*.ljy *.jan);;所有文件 (*.*)"));
        QCOMPARE(qtFileFilter(QStringLiteral("照片文件(*.bmp;*.jpg)|*.bmp;*.jpg;*.png")),
                 QStringLiteral("照片文件 (*.bmp *.jpg *.png)"));
    }
};

QTEST_MAIN(TestEntryWindow)
#include "tst_entrywindow.moc"
