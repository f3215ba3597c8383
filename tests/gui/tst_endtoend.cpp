// One clerk's session on the real windows with scripted answers: type a
// record, attach a photo, set a margin, preview and print, save, close;
// start again, load, preview and print. Both prints must agree apart from
// the fill-in date.
#include "foundation/Clock.h"
#include "support/ScriptedInteraction.h"
#include "windows/MarginDialog.h"
#include "windows/PhotoDialog.h"
#include "windows/EntryCommands.h"
#include "windows/EntryWindow.h"
#include "windows/PreviewWindow.h"
#include "support/DocumentTestSupport.h"
#include "support/GuiTestSupport.h"
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using GuiTest::onNextModal;

class TestEndToEnd : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

    // Preview from the entry window and print both pages on B5 into `pdf`.
    void previewAndPrint(EntryWindow &w, ScriptedInteraction &ui, const QString &pdf)
    {
        w.commands().onRendererCreated = [pdf](PreviewWindow &r) { r.printerChooser = GuiTest::pdfPrinter(pdf); };
        ui.inputs << QStringLiteral("3");
        bool seen = false;
        onNextModal([&seen](QWidget *modal) {
            auto *r = qobject_cast<PreviewWindow *>(modal);
            if (!r)
                return;
            seen = r->windowTitle() == QStringLiteral("干部任免审批表第一页");
            r->chkDefaultB5->setChecked(true);
            QTest::mouseClick(r->cmdPrint, Qt::LeftButton);
            QTest::mouseClick(r->cmdClose, Qt::LeftButton);
        });
        QTest::mouseClick(w.buttons().preview, Qt::LeftButton);
        QVERIFY(seen && !w.commands().renderer()->isVisible());
        QVERIFY2(QFile::exists(pdf), qPrintable(ui.messageTexts().join(QLatin1Char('|'))));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        GuiTest::isolateSettings();
        QVERIFY(filledImage(120, 160, QColor(200, 30, 30)).save(path("photo.jpg"), "JPEG"));
    }

    void cleanup() { Clock::setToday(QDate()); }

    void typeSavePrintRestartLoadPrint()
    {
        if (!GuiTest::haveTools() || GuiTest::tool("pdfimages").isEmpty())
            QSKIP("poppler-utils not installed");
        const QString pdf1 = path("first.pdf"), pdf2 = path("second.pdf"), doc = path("zhangsan.dwz");

        // --- First session -------------------------------------------------
        Clock::setToday(QDate(2024, 3, 1));
        ScriptedInteraction ui;
        auto w = std::make_unique<EntryWindow>(ui);
        w->show();
        const QStringList typed = {"txtName=张三", "txtSex=男", "txtBirthday=197005", "txtPeople=汉族",
                                   "txtJiguan=江苏南京", "txtWorktime=199207", "txtXianRen=某某县人民政府副县长",
                                   "txtNiRen=某某县人民政府县长", "txtJianLi=1988.09--1992.07  某某大学经济系学习",
                                   "txtChengbao=中共某某市委组织部", "txtChengwei#0=妻子", "txtXingm#0=李四",
                                   "txtcsrq#0=197203", "txtDanwei#0=某某中学教师"};
        for (const QString &t : typed) {   // as the keyboard (or an input method) delivers it
            GuiTest::formBox(*w, t)->setFocus();
            GuiTest::typeKeys(GuiTest::formBox(*w, t), t.section(QLatin1Char('='), 1));
        }
        QVERIFY(w->isDirty());

        // Photo through the photo frame on page 1.
        ui.fileNames << path("photo.jpg");
        onNextModal([](QWidget *modal) {
            if (auto *d = qobject_cast<PhotoDialog *>(modal)) {
                QTest::mouseClick(d->cmdPhoto, Qt::LeftButton);
                QTest::mouseClick(d->cmdExit, Qt::LeftButton);
            }
        });
        QTest::mouseClick(w->buttons().photoFrame, Qt::LeftButton);
        QVERIFY(w->record().hasPhoto && !w->buttons().photoFrame->icon().isNull());

        // Margins: top 25 mm.
        onNextModal([](QWidget *modal) {
            if (auto *d = qobject_cast<MarginDialog *>(modal)) {
                QTest::mouseClick(d->cmdModify, Qt::LeftButton);
                d->txtTop->setText(QStringLiteral("25"));
                QTest::mouseClick(d->cmdOk, Qt::LeftButton);
            }
        });
        QTest::mouseClick(w->buttons().margins, Qt::LeftButton);
        QCOMPARE(w->commands().margins().top, 1418);   // 25 x 56.7 = 1417.5, to even

        previewAndPrint(*w, ui, pdf1);
        ui.fileNames << doc;
        QTest::mouseClick(w->buttons().save, Qt::LeftButton);
        QCOMPARE(ui.messageTexts(), QStringList());
        QVERIFY(!w->isDirty());
        QCOMPARE(readAll(path("zhangsan.pic")), readAll(path("photo.jpg")));

        QSignalSpy unloaded(w.get(), &EntryWindow::unloaded);
        QTest::mouseClick(w->buttons().close, Qt::LeftButton);
        QCOMPARE(unloaded.size(), 1);
        for (const auto &s : ui.shown)   // saved: no save prompt
            QVERIFY(s.kind != ScriptedInteraction::Shown::Question);
        w.reset();

        // --- Second session, the next day ----------------------------------
        Clock::setToday(QDate(2024, 3, 2));
        ScriptedInteraction ui2;
        auto w2 = std::make_unique<EntryWindow>(ui2);
        w2->show();
        QCOMPARE(w2->commands().margins().top, 1418);   // read back from the store
        ui2.fileNames << doc;
        QTest::mouseClick(w2->buttons().load, Qt::LeftButton);
        QCOMPARE((QStringList{w2->record().name, w2->record().fillingDate}), (QStringList{"张三", "20240302"}));
        QVERIFY(w2->record().hasPhoto);
        previewAndPrint(*w2, ui2, pdf2);
        QCOMPARE(ui2.messageTexts(), QStringList());

        // --- The two prints: only the day of the fill-in date differs ------
        for (int page = 1; page <= 2; ++page) {
            for (const QString &pdf : {pdf1, pdf2})   // the photo on page 1 alone: a header line, a rule, one image
                QCOMPARE(GuiTest::run("pdfimages", {"-list", "-f", QString::number(page), "-l", QString::number(page), pdf})
                             .count(QLatin1Char('\n')), page == 1 ? 3 : 2);
            QCOMPARE(GuiTest::wordDifferences(pdf1, pdf2, page), page == 2 ? QStringList{QStringLiteral("1→2")} : QStringList());
        }
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
