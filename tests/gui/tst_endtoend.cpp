// One clerk's session on the real windows with scripted answers: type a
// record, attach a photo, set a margin, preview and print, save, close;
// start again, load, preview and print. Both prints must agree apart from
// the fill-in date.
#include "app/Clock.h"
#include "app/MarginSettings.h"
#include "app/ScriptedInteraction.h"
#include "app/gui/MarginDialog.h"
#include "app/gui/PhotoDialog.h"
#include "entry/gui/EntryCommands.h"
#include "entry/gui/EntryWindow.h"
#include "render/gui/frmGbrmNew.h"
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {

// Runs `act` on the next modal dialog once it is open.
void onNextModal(std::function<void(QWidget *)> act)
{
    auto tries = std::make_shared<int>(0);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [act, tries, poll] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            act(modal);
            return;
        }
        if (++*tries < 200)
            QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(0, *poll);
}

QString tool(const char *name) { return QStandardPaths::findExecutable(QLatin1String(name)); }

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

struct Word {
    QString box, text;
};

QList<Word> pdfWords(const QString &file)
{
    const QString html = run(tool("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")});
    QList<Word> words;
    static const QRegularExpression re(QStringLiteral("<word (xMin=[^>]*)>([^<]*)</word>|<page "));
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.append({m.captured(1), m.captured(1).isEmpty() ? QStringLiteral("<page>") : m.captured(2)});
    }
    return words;
}

int imagesOnPage(const QString &file, int page)
{
    const QString list = run(tool("pdfimages"), {QStringLiteral("-list"), QStringLiteral("-f"),
                                                 QString::number(page), QStringLiteral("-l"),
                                                 QString::number(page), file});
    return qMax(0, list.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size() - 2);
}

void type(EntryWindow &w, const QString &name, const QString &text, int row = -1)
{
    QPlainTextEdit *box = w.control(name, row);
    QVERIFY2(box, qPrintable(name));
    box->setFocus();
    box->selectAll();
    bool ascii = true;
    for (QChar c : text)
        ascii = ascii && c.unicode() < 128;
    if (ascii)
        QTest::keyClicks(box, text);      // real key presses where the test can make them
    else
        box->insertPlainText(text);       // as an input method delivers it
}

QPushButton *buttonOf(QWidget *parent, const char *name)
{
    return parent->findChild<QPushButton *>(QLatin1String(name));
}

} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

    // Preview from the entry window and print both pages into `pdf`.
    void previewAndPrint(EntryWindow &w, ScriptedInteraction &ui, const QString &pdf)
    {
        w.commands().onRendererCreated = [pdf](frmGbrmNew &r) {
            r.printerChooser = [pdf](QPrinter &printer) {
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(pdf);
                printer.setResolution(600);
                return true;
            };
        };
        ui.inputs << QStringLiteral("3");
        bool seen = false;
        onNextModal([&seen](QWidget *modal) {
            auto *r = qobject_cast<frmGbrmNew *>(modal);
            if (!r)
                return;
            seen = r->windowTitle() == QStringLiteral("干部任免审批表第一页");
            r->chkDefaultB5->setChecked(true);
            QTest::mouseClick(r->cmdPrint, Qt::LeftButton);
            QTest::mouseClick(r->cmdClose, Qt::LeftButton);
        });
        QTest::mouseClick(w.button(QStringLiteral("CmdPreviewP")), Qt::LeftButton);
        QVERIFY(seen);
        QVERIFY(w.commands().renderer() != nullptr);
        QVERIFY(!w.commands().renderer()->isVisible());
        QVERIFY2(QFile::exists(pdf), qPrintable(ui.messageTexts().join(QLatin1Char('|'))));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // Settings go to the test location, never to the user's own.
        QStandardPaths::setTestModeEnabled(true);
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("KQTS"), QStringLiteral("KQTS")).clear();
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("preRMDir"), QStringLiteral("preRMDir")).clear();
        QImage photo(120, 160, QImage::Format_RGB32);
        photo.fill(QColor(200, 30, 30));
        QVERIFY(photo.save(path("photo.jpg"), "JPEG"));
        if (tool("pdftotext").isEmpty() || tool("pdfimages").isEmpty())
            QSKIP("poppler-utils not installed");
    }

    void cleanup() { Clock::setToday(QDate()); }

    void typeSavePrintRestartLoadPrint()
    {
        const QString pdf1 = path("first.pdf"), pdf2 = path("second.pdf"), doc = path("zhangsan.dwz");

        // --- First session -------------------------------------------------
        Clock::setToday(QDate(2024, 3, 1));
        ScriptedInteraction ui;
        auto w = std::make_unique<EntryWindow>(ui);
        w->show();
        QCOMPARE(MarginSettings::current().T, 1134);
        type(*w, QStringLiteral("txtName"), QStringLiteral("张三"));
        type(*w, QStringLiteral("txtSex"), QStringLiteral("男"));
        type(*w, QStringLiteral("txtBirthday"), QStringLiteral("197005"));
        type(*w, QStringLiteral("txtPeople"), QStringLiteral("汉族"));
        type(*w, QStringLiteral("txtJiguan"), QStringLiteral("江苏南京"));
        type(*w, QStringLiteral("txtBirPlace"), QStringLiteral("江苏苏州"));
        type(*w, QStringLiteral("txtWorktime"), QStringLiteral("199207"));
        type(*w, QStringLiteral("txtHealth"), QStringLiteral("健康"));
        type(*w, QStringLiteral("txtXianRen"), QStringLiteral("某某县人民政府副县长"));
        type(*w, QStringLiteral("txtNiRen"), QStringLiteral("某某县人民政府县长"));
        type(*w, QStringLiteral("txtJianLi"), QStringLiteral("1988.09--1992.07  某某大学经济系学习"));
        type(*w, QStringLiteral("txtChengbao"), QStringLiteral("中共某某市委组织部"));
        type(*w, QStringLiteral("txtChengwei"), QStringLiteral("妻子"), 0);
        type(*w, QStringLiteral("txtXingm"), QStringLiteral("李四"), 0);
        type(*w, QStringLiteral("txtcsrq"), QStringLiteral("197203"), 0);
        type(*w, QStringLiteral("txtDanwei"), QStringLiteral("某某中学教师"), 0);
        QVERIFY(w->dirtyFlag());

        // Photo through the photo frame on page 1.
        ui.fileNames << path("photo.jpg");
        onNextModal([](QWidget *modal) {
            if (auto *d = qobject_cast<frmPhotoView *>(modal)) {
                QTest::mouseClick(d->cmdPhoto, Qt::LeftButton);
                QTest::mouseClick(d->cmdExit, Qt::LeftButton);
            }
        });
        QTest::mouseClick(w->button(QStringLiteral("cmdPicture")), Qt::LeftButton);
        QVERIFY(w->record().HasPhoto);
        QVERIFY(!w->button(QStringLiteral("cmdPicture"))->icon().isNull());

        // Margins: top 25 mm.
        onNextModal([](QWidget *modal) {
            if (auto *d = qobject_cast<MarginDialog *>(modal)) {
                QTest::mouseClick(d->cmdModify, Qt::LeftButton);
                d->txtTop->setText(QStringLiteral("25"));
                QTest::mouseClick(d->cmdOk, Qt::LeftButton);
            }
        });
        QTest::mouseClick(w->button(QStringLiteral("cmdDist")), Qt::LeftButton);
        QCOMPARE(MarginSettings::current().T, 1418);   // 25 x 56.7 = 1417.5, to even

        previewAndPrint(*w, ui, pdf1);
        QCOMPARE(ui.messageTexts(), QStringList());

        ui.fileNames << doc;
        QTest::mouseClick(w->button(QStringLiteral("CmdSave")), Qt::LeftButton);
        QCOMPARE(ui.messageTexts(), QStringList());
        QVERIFY(QFile::exists(doc));
        QFile original(path("photo.jpg")), companion(path("zhangsan.pic"));
        QVERIFY(original.open(QIODevice::ReadOnly) && companion.open(QIODevice::ReadOnly));
        QCOMPARE(companion.readAll(), original.readAll());
        QVERIFY(!w->dirtyFlag());

        QSignalSpy unloaded(w.get(), &EntryWindow::unloaded);
        QTest::mouseClick(w->button(QStringLiteral("CmdClose")), Qt::LeftButton);
        QCOMPARE(unloaded.size(), 1);
        const int questions = int(std::count_if(ui.shown.begin(), ui.shown.end(), [](const auto &s) {
            return s.kind == ScriptedInteraction::Shown::Question;
        }));
        QCOMPARE(questions, 0);   // clean: no save prompt
        w.reset();

        // --- Second session, the next day ----------------------------------
        MarginSettings::current() = PageMargins();
        Clock::setToday(QDate(2024, 3, 2));
        ScriptedInteraction ui2;
        auto w2 = std::make_unique<EntryWindow>(ui2);
        w2->show();
        QCOMPARE(MarginSettings::current().T, 1418);   // read back from the store
        ui2.fileNames << doc;
        QTest::mouseClick(w2->button(QStringLiteral("CmdDiaoru")), Qt::LeftButton);
        QCOMPARE(ui2.messageTexts(), QStringList());
        QCOMPARE(w2->record().Name, QStringLiteral("张三"));
        QCOMPARE(w2->record().FillDate, QStringLiteral("20240302"));
        QVERIFY(w2->record().HasPhoto);
        QVERIFY(!w2->button(QStringLiteral("cmdPicture"))->icon().isNull());
        previewAndPrint(*w2, ui2, pdf2);
        QCOMPARE(ui2.messageTexts(), QStringList());

        // --- The two prints -------------------------------------------------
        QCOMPARE(imagesOnPage(pdf1, 1), 1);
        QCOMPARE(imagesOnPage(pdf2, 1), 1);
        const QList<Word> a = pdfWords(pdf1), b = pdfWords(pdf2);
        QCOMPARE(a.size(), b.size());
        QStringList differences;
        for (int i = 0; i < a.size(); ++i)
            if (a[i].text != b[i].text || a[i].box != b[i].box)
                differences << a[i].text + QStringLiteral("→") + b[i].text;
        // Only the day of the fill-in date differs.
        QCOMPARE(differences, QStringList{QStringLiteral("1→2")});
    }

    void closeAsksBeforeDroppingChanges()
    {
        ScriptedInteraction ui;
        auto w = std::make_unique<EntryWindow>(ui);
        w->show();
        QSignalSpy unloaded(w.get(), &EntryWindow::unloaded);
        type(*w, QStringLiteral("txtName"), QStringLiteral("王五"));

        ui.answers << Answer::Cancel;
        w->close();   // the close box
        QCOMPARE(unloaded.size(), 0);
        QVERIFY(w->isVisible());
        QCOMPARE(ui.shown.last().text, QStringLiteral("当前任免文件内容已改变\r\n需要保存吗?"));

        MarginSettings::current().L = 907;   // 16 mm, written at the end
        ui.answers << Answer::No;
        QTest::mouseClick(w->button(QStringLiteral("CmdClose")), Qt::LeftButton);
        QCOMPARE(unloaded.size(), 1);
        QCOMPARE(MarginSettings::load().L, 907);
    }

    void previewStopsAtAFailedCheck()
    {
        ScriptedInteraction ui;
        auto w = std::make_unique<EntryWindow>(ui);
        w->show();
        type(*w, QStringLiteral("txtBirthday"), QStringLiteral("19701399"));
        QTest::mouseClick(w->button(QStringLiteral("CmdPreviewP")), Qt::LeftButton);
        QCOMPARE(ui.messageTexts().size(), 1);
        QVERIFY(w->commands().renderer() == nullptr);
        QCOMPARE(w->focusWidget(), w->control(QStringLiteral("txtBirthday")));
    }
};

QTEST_MAIN(EndToEndTest)
#include "tst_endtoend.moc"
