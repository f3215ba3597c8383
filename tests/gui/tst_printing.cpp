// Printing into a PDF printer with scripted page answers: which pages come
// out, on what paper, and whether every text lands where the pages put it.
#include "windows/BatchCommands.h"
#include "layout/RecordingSurface.h"
#include "support/GuiTestSupport.h"
#include "support/FullDisk.h"

using namespace GuiTest;

// The answer to the page prompt (null: cancelled), whether the printer
// dialog is accepted, the file; the pages printed; whether that dialog came up.
struct Choice { QString answer; bool accept; QString file; int pages; bool asked; };

class TestPrinting : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        isolateSettings();
        QVERIFY(m_dir.isValid());
        if (!haveTools())
            QSKIP("poppler-utils not installed");
    }

    void answersChooseThePages_data()
    {
        QTest::addColumn<Choice>("c");
        QTest::newRow("3 with spaces") << Choice{" 3 ", true, "a.pdf", 2, true};
        QTest::newRow("1") << Choice{"1", true, "b.pdf", 1, true};
        QTest::newRow("2") << Choice{"2", true, "c.pdf", 1, true};
        QTest::newRow("0") << Choice{"0", true, "d.pdf", 0, false};
        QTest::newRow("4") << Choice{"4", true, "e.pdf", 0, false};
        QTest::newRow("31") << Choice{"31", true, "f.pdf", 0, false};
        QTest::newRow("full-width 3") << Choice{QStringLiteral("３"), true, "g.pdf", 0, false};
        QTest::newRow("empty") << Choice{"", true, "h.pdf", 0, false};
        QTest::newRow("cancel") << Choice{QString(), true, "i.pdf", 0, false};
        QTest::newRow("printer dialog cancelled") << Choice{"3", false, "j.pdf", 0, true};
        QTest::newRow("printer error") << Choice{"3", true, "no/such/folder/k.pdf", 0, true};
    }
    void answersChooseThePages()
    {
        QFETCH(Choice, c);
        const QString &file = c.file;
        ScriptedInteraction ui;
        ui.inputs << c.answer;
        FormPages form;
        fillSample(form);
        int choices = 0;
        const auto pdf = pdfPrinter(m_dir.filePath(file), c.accept);
        QCOMPARE(FormPrinter::print(form, ui, false, [&](QPrinter &p) { ++choices; return pdf(p); }), c.pages);
        // The page prompt only; a file that cannot be written is said, naming its folder.
        const bool unwritable = file.startsWith(QLatin1String("no/"));
        QCOMPARE(ui.shown.size(), unwritable ? 2 : 1);
        QVERIFY(!unwritable || ui.shown[1].text.contains(QStringLiteral("文件夹“%1”不存在").arg(m_dir.filePath("no/such/folder"))));
        QVERIFY(ui.shown[0].kind == ScriptedInteraction::Shown::Input && ui.shown[0].startPath == QStringLiteral("3")
                && ui.shown[0].title == QStringLiteral("请选择打印的页"));
        QCOMPARE(ui.shown[0].text, QStringLiteral("请选择打印的页：\r\n\r\n    0 - 两页均不打印\r\n    1 - 打印第一页\r\n"
                                                  "    2 - 打印第二页\r\n    3 - 两页均打印"));
        QVERIFY(choices == (c.asked ? 1 : 0) && QFile::exists(m_dir.filePath(file)) == (c.pages > 0));
        if (c.pages == 0)
            return;
        QCOMPARE(pdfInfo(m_dir.filePath(file), "Pages").toInt(), c.pages);
        // Page one opens with the form's title, page two with its first label.
        QCOMPARE(pdfWords(m_dir.filePath(file), 1).value(0).text, c.answer.trimmed() == "2" ? "奖" : "干");
    }

    // The window's "打印" with its B5 box; the dialog's paper (A4) otherwise,
    // upright whatever the dialog said.
    void paperFromTheWindow()
    {
        ScriptedInteraction ui;
        PreviewWindow w(ui);
        setUpSample(w);
        for (bool b5 : {true, false}) {
            const QString file = m_dir.filePath(QStringLiteral("window-%1.pdf").arg(b5));
            w.printerChooser = pdfPrinter(file);
            w.chkDefaultB5->setChecked(b5);
            ui.inputs << QStringLiteral("2");
            QTest::mouseClick(w.cmdPrint, Qt::LeftButton);
            QCOMPARE(pdfInfo(file, "Pages"), QStringLiteral("1"));
            // Ticked: the drivers' B5, 182 x 257 mm.
            QVERIFY2(b5 ? pageSizeNear(file, kB5Width, kB5Height) : pageSizeNear(file, 595.276, 841.89),
                     qPrintable(pdfInfo(file, "Page size")));
        }
    }

    // What the print dialog prints (to a PDF file, at a printer's 1200 dpi,
    // B5 ticked) and what "导出PDF" writes are the same sheets: rasterised
    // at 150 dpi they differ only by anti-aliasing, line weights included.
    void printedPagesEqualTheExportedPdf()
    {
        const QString printed = m_dir.filePath(QStringLiteral("printed-b5.pdf"));
        const QString exported = m_dir.filePath(QStringLiteral("exported.pdf"));
        ScriptedInteraction ui;
        PreviewWindow w(ui);
        setUpSample(w);
        w.printerChooser = [&](QPrinter &p) {
            const bool chosen = pdfPrinter(printed)(p);
            p.setResolution(1200);   // an office laser printer's, where pixel pens came out at half weight
            return chosen;
        };
        w.chkDefaultB5->setChecked(true);
        ui.inputs << QStringLiteral("3");
        ui.fileNames << exported;
        QVERIFY(w.printPages() == 2 && w.exportPdf() && pdfInfo(exported, "Pages") == QStringLiteral("2"));
        for (int page : {1, 2}) {
            QImage image[2];
            for (int i = 0; i < 2; ++i) {
                const QString base = m_dir.filePath(QStringLiteral("raster%1-%2").arg(i).arg(page));
                run("pdftoppm", {"-r", "150", "-gray", "-singlefile", "-f", QString::number(page), "-l",
                                 QString::number(page), i ? exported : printed, base});
                image[i] = QImage(base + QStringLiteral(".pgm")).convertToFormat(QImage::Format_Grayscale8);
            }
            QVERIFY(!image[0].isNull() && image[0].size() == image[1].size());
            // Half-weight lines would leave thousands of pixels apart.
            int apart = 0;
            for (int y = 0; y < image[0].height(); ++y)
                for (int x = 0; x < image[0].width(); ++x)
                    apart += qAbs(qGray(image[0].pixel(x, y)) - qGray(image[1].pixel(x, y))) > 128;
            QVERIFY2(apart < 200, qPrintable(QStringLiteral("%1 pixels apart on page %2").arg(apart).arg(page)));
        }
    }

    // Every text the pages draw, found in the printed page at its twip
    // position (20 twips to the point), by its first character.
    void printedTextsStandWhereThePagesPutThem()
    {
        const QString file = m_dir.filePath(QStringLiteral("both.pdf"));
        ScriptedInteraction ui;
        ui.inputs << QStringLiteral("3");
        FormPages form;
        fillSample(form);
        form.margins.top = 1300;   // margins reach the print unchanged
        form.margins.pageOneLeft = 700;
        QCOMPARE(FormPrinter::print(form, ui, true, pdfPrinter(file)), 2);
        for (int page = 1; page <= 2; ++page) {
            RecordingSurface drawn;
            page == 1 ? form.drawPageOne(drawn) : form.drawPageTwo(drawn);
            const QList<Word> words = pdfWords(file, page);
            int checked = 0;
            for (const auto &op : drawn.texts()) {
                if (op.text.trimmed().isEmpty() || op.text.startsWith(QLatin1Char(' ')))
                    continue;
                const bool found = std::any_of(words.begin(), words.end(), [&](const Word &w) {
                    return w.text.startsWith(op.text.left(1)) && qAbs(w.x - op.x / 20.0) < 1.0;
                });
                QVERIFY2(found, qPrintable(QStringLiteral("%1 at x=%2pt").arg(op.text).arg(op.x / 20.0)));
                ++checked;
            }
            QVERIFY(checked > 10);
        }
    }

    // Printed to a file, the form goes through a temporary file: out of room,
    // the old file stays as it was and the failure is said, after the
    // message the drawing raised, which waits until the painter has ended
    // (the file is then whole). The batch's print says so too.
    void printToFileOnAFullDisk()
    {
        QTemporaryDir folder;
        FullDisk disk(folder.path());
        const QString file = folder.filePath(QStringLiteral("out.pdf"));
        QVERIFY(writeBytes(file, "the old pdf"));
        struct CheckingInteraction : ScriptedInteraction {
            QString file;
            QStringList completeWhenSaid;
            void message(const QString &title, const QString &text, MessageIcon icon) override
            {
                if (text.startsWith(QStringLiteral("输入文字过长")))
                    completeWhenSaid << QString::number(readAll(file).trimmed().endsWith("%%EOF"));
                ScriptedInteraction::message(title, text, icon);
            }
        } ui;
        ui.file = file;
        FormPages form;
        fillSample(form);
        form.proposedPosts = QString(76, QChar(0x957F));
        ui.inputs << QStringLiteral("1") << QStringLiteral("1");
        disk.fill(0);
        QVERIFY(FormPrinter::print(form, ui, true, pdfPrinter(file)) == 0 && ui.messageTexts().size() == 2);
        QVERIFY2(ui.messageTexts().last().startsWith(QStringLiteral("PDF 文件未能写入：") + file),
                 qPrintable(ui.messageTexts().last()));
        QCOMPARE(readAll(file), QByteArray("the old pdf"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), disk.isTmpfs() ? 2 : 1);

        ScriptedInteraction batchUi;
        PageMargins margins;
        BatchCommands batch(batchUi, margins, nullptr);
        batch.printerChooser = pdfPrinter(file);
        batchUi.fileLists << QStringList{QStringLiteral(AF_SOURCE_DIR "/samples/typical.dwz")};
        batchUi.answers << Answer::Yes;
        batchUi.inputs << QStringLiteral("3");
        QVERIFY(batch.printDocuments() == 0 && batchUi.messageTexts().last().startsWith(QStringLiteral("PDF 文件未能写入：")));
        QCOMPARE(readAll(file), QByteArray("the old pdf"));
        disk.release();

        ui.shown.clear();
        QCOMPARE(FormPrinter::print(form, ui, true, pdfPrinter(file)), 1);
        QCOMPARE(ui.completeWhenSaid, (QStringList{"0", "1"}));   // the failed file never was; the good one is whole
    }

    // Several documents from the editor: the failing one is listed with its
    // reason, the good ones come out in one job, in the order chosen.
    void batchPrintAndExport()
    {
        const QString typical = QStringLiteral(AF_SOURCE_DIR "/samples/typical.dwz");
        const QString posts = QStringLiteral(AF_SOURCE_DIR "/samples/long_posts.dwz");
        const QString bad = m_dir.filePath(QStringLiteral("坏.dwz"));
        QVERIFY(writeBytes(bad, "\"only one item\"\r\n"));
        // A refused field is listed by its reason; the list is nothing to retry from.
        const QString refused = m_dir.filePath(QStringLiteral("refused.dwz"));
        QStringList items(32);
        items[0] = QStringLiteral("测试"), items[1] = QStringLiteral("男性"), items[30] = QStringLiteral("20240101");
        QVERIFY(writeBytes(refused, encodeDocumentItems(items).value()));
        PageMargins margins;

        for (int jobs : {1, 2}) {
            ScriptedInteraction ui;
            BatchCommands batch(ui, margins, nullptr);
            batch.jobs = jobs;
            const QString out = m_dir.filePath(QStringLiteral("batch%1.pdf").arg(jobs));
            ui.fileLists << QStringList{typical, bad, refused, posts};
            ui.answers << Answer::Yes;
            ui.fileNames << out;
            QCOMPARE(batch.exportDocuments(), 2);
            const QString question = ui.texts(ScriptedInteraction::Shown::Question).value(0);
            QVERIFY2(question.contains(QStringLiteral("坏.dwz：")) && question.contains(QStringLiteral("2 份通过校验"))
                         && question.contains(QStringLiteral("refused.dwz：性别请填写“男”或“女”！\r\n"))
                         && !question.contains(QStringLiteral("请重试")), qPrintable(question));
            QCOMPARE(pdfInfo(out, "Pages"), QStringLiteral("4"));
            QVERIFY(run("pdftotext", {"-f", "1", "-l", "1", out, "-"}).contains(QStringLiteral("张明华"))
                    && run("pdftotext", {"-f", "3", "-l", "3", out, "-"}).contains(QStringLiteral("欧阳志远")));
        }

        // Printing: pages asked as from the preview, one job of four pages.
        {
            ScriptedInteraction ui;
            BatchCommands batch(ui, margins, nullptr);
            const QString out = m_dir.filePath(QStringLiteral("printed.pdf"));
            batch.printerChooser = pdfPrinter(out);
            batch.b5 = true;   // the menu's "B5或16开纸打印" box, over the dialog's A4
            ui.fileLists << QStringList{typical, bad, posts};
            ui.answers << Answer::Yes;
            ui.inputs << QStringLiteral("1");
            QVERIFY(batch.printDocuments() == 2 && pdfInfo(out, "Pages") == QStringLiteral("2") && pageSizeNear(out, kB5Width, kB5Height));
            // 停止 while painting: the job is cancelled, and said so.
            ui.progressCalls = 0;
            ui.stopAtProgressCall = 5;
            ui.fileLists << QStringList{typical, bad, posts};
            ui.answers << Answer::Yes;
            ui.inputs << QStringLiteral("1");
            QVERIFY(batch.printDocuments() == 0 && ui.progressCalls == 6);   // three checked; stopped at the first painted, then closed
            QCOMPARE(ui.messageTexts().last(), QStringLiteral("已停止，打印任务已取消。"));
        }

        // Stopped in the progress: nothing is written, an earlier file stays.
        {
            ScriptedInteraction ui;
            BatchCommands batch(ui, margins, nullptr);
            const QString out = m_dir.filePath(QStringLiteral("batch1.pdf"));
            const QByteArray before = readAll(out);
            ui.fileLists << QStringList{typical, posts};
            ui.answers << Answer::Yes << Answer::Yes;   // export them; replace the file
            ui.fileNames << out;
            ui.stopAtProgressCall = 1;    // stopped while checking: nothing more is asked
            QVERIFY(batch.exportDocuments() == 0 && ui.answers.size() == 2);
            ui.progressCalls = 0;
            ui.stopAtProgressCall = 4;    // two checked, then stopped after the first is painted
            ui.fileLists << QStringList{typical, posts};
            QVERIFY(batch.exportDocuments() == 0 && ui.messageTexts().last().contains(QStringLiteral("已停止")));
            QCOMPARE(readAll(out), before);
        }

        // One PDF each into a folder: namesakes from other folders get " (2)",
        // the failing one is named; a PDF there from before is replaced only when the clerk agrees.
        {
            const QString other = m_dir.filePath(QStringLiteral("other/typical.dwz"));
            QVERIFY(QDir().mkpath(QFileInfo(other).path()) && QFile::copy(typical, other));
            const QString folder = m_dir.filePath(QStringLiteral("each"));
            QVERIFY(QDir().mkpath(folder) && writeBytes(folder + QStringLiteral("/typical.pdf"), "old"));
            ScriptedInteraction ui;
            BatchCommands batch(ui, margins, nullptr);
            batch.jobs = 2;
            ui.fileLists << QStringList{typical, bad, posts, other} << QStringList{typical, other};
            ui.answers << Answer::Yes << Answer::No << Answer::Yes << Answer::Yes;
            ui.fileNames << folder << folder;
            QVERIFY(batch.exportDocumentsToFolder() == 0 && readAll(folder + QStringLiteral("/typical.pdf")) == "old");   // not replaced
            QCOMPARE(batch.exportDocumentsToFolder(), 2);
            QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), QStringList({"typical (2).pdf", "typical.pdf"}));
            QCOMPARE(pdfInfo(folder + QStringLiteral("/typical (2).pdf"), "Pages"), QStringLiteral("2"));
            QVERIFY(std::any_of(ui.shown.cbegin(), ui.shown.cend(), [&](const auto &s) {
                return s.kind == ScriptedInteraction::Shown::Folder && s.startPath == QFileInfo(typical).absolutePath();
            }));
            QVERIFY(ui.messageTexts().last().contains(QStringLiteral("已把 2 份导出")));
            // As Word: one document each under the same names, and all in one.
            ui.fileLists << QStringList{typical, other} << QStringList{typical, posts};
            ui.answers << Answer::Yes << Answer::Yes;
            ui.fileNames << folder << folder + QStringLiteral("/all");
            QCOMPARE(batch.exportDocumentsToFolder(BatchOutput::Format::Word), 2);
            QCOMPARE(batch.exportDocuments(BatchOutput::Format::Word), 2);
            QCOMPARE(QDir(folder).entryList({"*.docx"}, QDir::Files, QDir::Name),
                     QStringList({"all.docx", "typical (2).docx", "typical.docx"}));
        }

        // 导出名册: the rows written and the failing document named in one
        // message; a name without its extension becomes a spreadsheet; 停止
        // leaves the file as it was.
        {
            ScriptedInteraction ui;
            BatchCommands batch(ui, margins, nullptr);
            const QString out = m_dir.filePath(QStringLiteral("名册"));
            ui.fileLists << QStringList{typical, bad, posts} << QStringList{typical, posts};
            ui.fileNames << out << out + QStringLiteral(".xlsx");
            ui.answers << Answer::Yes;   // replace the first roster
            QCOMPARE(batch.exportRoster(), 2);
            QVERIFY(readAll(out + QStringLiteral(".xlsx")).startsWith("PK") && ui.messageTexts().size() == 1);
            QVERIFY(ui.messageTexts().last().contains(QStringLiteral("已把 2 份写入名册"))
                    && ui.messageTexts().last().contains(QStringLiteral("坏.dwz：")));
            QVERIFY(ui.texts(ScriptedInteraction::Shown::SaveFile)
                        .contains(QStringLiteral("Excel工作簿 (*.xlsx)|*.xlsx|CSV文件 (*.csv)|*.csv")));
            const QByteArray before = readAll(out + QStringLiteral(".xlsx"));
            ui.progressCalls = 0;
            ui.stopAtProgressCall = 1;
            QVERIFY(batch.exportRoster() == 0 && ui.messageTexts().last() == QStringLiteral("已停止，没有写入名册。"));
            QCOMPARE(readAll(out + QStringLiteral(".xlsx")), before);
        }

        // Nothing passes: a message, no question.
        {
            ScriptedInteraction ui;
            BatchCommands batch(ui, margins, nullptr);
            ui.fileLists << QStringList{bad};
            QVERIFY(batch.printDocuments() == 0 && ui.messageTexts().size() == 1);
            QVERIFY(ui.messageTexts().first().contains(QStringLiteral("0 份通过校验")));
        }
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
