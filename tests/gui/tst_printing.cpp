// Printing into a PDF printer with scripted page answers: which pages come
// out, on what paper, and whether every text lands where the pages put it.
#include "app/ScriptedInteraction.h"
#include "layout/RecordingSurface.h"
#include "render/DocumentRender.h"
#include "render/gui/FormPrinter.h"
#include "render/gui/frmGbrmNew.h"
#include <QCheckBox>
#include <QPushButton>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void fillSample(FormPages &p)
{
    p.TNAME = QStringLiteral("李红");
    p.SEX = QStringLiteral("女");
    p.BIRTH = QStringLiteral("1975.11");
    p.PEOPLE = QStringLiteral("汉族");
    p.JIGUAN = QStringLiteral("浙江杭州");
    p.BIRTHDI = QStringLiteral("浙江宁波");
    p.WORKTIME = QStringLiteral("1997.08");
    p.HEALTH = QStringLiteral("健康");
    p.XIANREN = QStringLiteral("某某区教育局局长");
    p.NIREN = QStringLiteral("某某区人民政府副区长");
    p.NIMIAN = QStringLiteral("某某区教育局局长职务");
    p.JIANLI = QStringLiteral("1993.09--1997.07  某某师范大学中文系学习\r\n1997.08--2005.03  某某中学教师");
    p.JIANGCHENG = QStringLiteral("无");
    p.RENMIAN = QStringLiteral("工作需要");
    p.CHENGBAO = QStringLiteral("中共某某区委");
    p.MYDATE = QStringLiteral("20240101");
    p.FillDATE = QStringLiteral("20240315");
}

struct Pdf {
    int pages = 0;
    QString pageSize;
};

// Page size in points within one point of the expected one.
bool sizeNear(const QString &pdfSize, double w, double h)
{
    const QStringList parts = pdfSize.split(QStringLiteral(" x "));
    return parts.size() == 2 && qAbs(parts[0].toDouble() - w) < 1 && qAbs(parts[1].toDouble() - h) < 1;
}
constexpr double kB5W = 498.898, kB5H = 708.661;   // 176 x 250 mm
constexpr double kA4W = 595.276, kA4H = 841.89;

QString tool(const char *name) { return QStandardPaths::findExecutable(QLatin1String(name)); }

Pdf pdfInfo(const QString &file)
{
    QProcess p;
    p.start(tool("pdfinfo"), {file});
    p.waitForFinished();
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    Pdf info;
    const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(out);
    if (pages.hasMatch())
        info.pages = pages.captured(1).toInt();
    const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+ x [\\d.]+)")).match(out);
    if (size.hasMatch())
        info.pageSize = size.captured(1);
    return info;
}

struct Word {
    double xMin, yMin;
    QString text;
};

// The words of one page with their boxes in points from the sheet's corner.
QList<Word> pdfWords(const QString &file, int page)
{
    QProcess p;
    p.start(tool("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page),
                                QStringLiteral("-l"), QString::number(page), file, QStringLiteral("-")});
    p.waitForFinished();
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    QList<Word> words;
    static const QRegularExpression re(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"[\\d.]+\">([^<]*)</word>"));
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.append({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3)});
    }
    return words;
}

// Every text the pages draw, found in the PDF page at its twip position
// (20 twips to the point), by its first word.
void compareTextPositions(const QString &file, int pdfPage, const QList<RecordingSurface::Op> &texts)
{
    const QList<Word> words = pdfWords(file, pdfPage);
    QVERIFY(!words.isEmpty());
    int checked = 0;
    for (const auto &op : texts) {
        const QStringList parts = op.text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (parts.isEmpty() || op.text.startsWith(QLatin1Char(' ')))
            continue;
        const double x = op.x / 20.0;
        bool found = false;
        for (const Word &w : words)
            if (w.text.startsWith(parts.first().left(1)) && qAbs(w.xMin - x) < 1.0) {
                found = true;
                break;
            }
        QVERIFY2(found, qPrintable(QStringLiteral("%1 at x=%2pt").arg(op.text).arg(x)));
        ++checked;
    }
    QVERIFY(checked > 10);
}

} // namespace

class PrintingTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    int m_choices = 0;

    FormPrinter::PrinterChooser pdfPrinter(const QString &file, bool accept = true)
    {
        return [this, file, accept](QPrinter &printer) {
            ++m_choices;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(file);
            printer.setResolution(600);
            printer.setPageSize(QPageSize(QPageSize::A4));
            printer.setPageOrientation(QPageLayout::Landscape);
            return accept;
        };
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        if (tool("pdfinfo").isEmpty() || tool("pdftotext").isEmpty())
            QSKIP("poppler-utils not installed");
    }

    void pagePrompt()
    {
        ScriptedInteraction ui;
        FormPages pages;
        FormPrinter::print(pages, ui, false, pdfPrinter(m_dir.filePath("x.pdf")));
        QCOMPARE(ui.shown.size(), 1);
        QCOMPARE(ui.shown[0].kind, ScriptedInteraction::Shown::Input);
        QCOMPARE(ui.shown[0].title, QStringLiteral("请选择打印的页"));
        QCOMPARE(ui.shown[0].startPath, QStringLiteral("3"));
        QCOMPARE(ui.shown[0].text,
                 QStringLiteral("请选择打印的页：\r\n\r\n    0 - 两页均不打印\r\n    1 - 打印第一页\r\n"
                                "    2 - 打印第二页\r\n    3 - 两页均打印"));
    }

    void answersChooseThePages_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("pages");
        QTest::newRow("3 with spaces") << "  3 " << 2;
        QTest::newRow("1") << "1" << 1;
        QTest::newRow("2") << "2" << 1;
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("4") << "4" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("cancel") << QString() << 0;
        QTest::newRow("full-width 3") << QStringLiteral("３") << 0;
        QTest::newRow("31") << "31" << 0;
    }
    void answersChooseThePages()
    {
        QFETCH(QString, answer);
        QFETCH(int, pages);
        const QString file = m_dir.filePath(QStringLiteral("answer-%1.pdf").arg(QTest::currentDataTag()));
        ScriptedInteraction ui;
        ui.inputs << answer;
        FormPages form;
        fillSample(form);
        m_choices = 0;
        QCOMPARE(FormPrinter::print(form, ui, false, pdfPrinter(file)), pages);
        QCOMPARE(ui.messageTexts(), QStringList());
        // Only a valid answer reaches the printer dialog.
        QCOMPARE(m_choices, pages > 0 ? 1 : 0);
        QCOMPARE(QFile::exists(file), pages > 0);
        if (pages > 0)
            QCOMPARE(pdfInfo(file).pages, pages);
    }

    void cancelledPrinterDialogPrintsNothingSilently()
    {
        const QString file = m_dir.filePath(QStringLiteral("cancelled.pdf"));
        ScriptedInteraction ui;
        ui.inputs << QStringLiteral("3");
        FormPages form;
        QCOMPARE(FormPrinter::print(form, ui, true, pdfPrinter(file, false)), 0);
        QCOMPARE(ui.shown.size(), 1);   // the page prompt only
        QVERIFY(!QFile::exists(file));
    }

    void printerErrorEndsSilently()
    {
        ScriptedInteraction ui;
        ui.inputs << QStringLiteral("3");
        FormPages form;
        const QString file = m_dir.filePath(QStringLiteral("no/such/folder/out.pdf"));
        QCOMPARE(FormPrinter::print(form, ui, false, pdfPrinter(file)), 0);
        QCOMPARE(ui.messageTexts(), QStringList());
    }

    void paperSizeAndOrientation()
    {
        // Ticked: B5, 176 x 250 mm, upright whatever the dialog said.
        const QString b5 = m_dir.filePath(QStringLiteral("b5.pdf"));
        ScriptedInteraction ui;
        ui.inputs << QStringLiteral("1") << QStringLiteral("1");
        FormPages form;
        fillSample(form);
        QCOMPARE(FormPrinter::print(form, ui, true, pdfPrinter(b5)), 1);
        QVERIFY2(sizeNear(pdfInfo(b5).pageSize, kB5W, kB5H), qPrintable(pdfInfo(b5).pageSize));
        // Unticked: the dialog's paper stays (A4), still upright.
        const QString a4 = m_dir.filePath(QStringLiteral("a4.pdf"));
        QCOMPARE(FormPrinter::print(form, ui, false, pdfPrinter(a4)), 1);
        QVERIFY2(sizeNear(pdfInfo(a4).pageSize, kA4W, kA4H), qPrintable(pdfInfo(a4).pageSize));
    }

    void printedTextsStandWhereThePagesPutThem()
    {
        const QString file = m_dir.filePath(QStringLiteral("both.pdf"));
        ScriptedInteraction ui;
        ui.inputs << QStringLiteral("3");
        FormPages form;
        fillSample(form);
        form.margins.T = 1300;   // margins reach the print unchanged
        form.margins.L = 700;
        QCOMPARE(FormPrinter::print(form, ui, true, pdfPrinter(file)), 2);

        RecordingSurface one, two;
        form.预览(one, 12, 6);
        form.DRAWTHEPHOTO(two, 12, 6);
        compareTextPositions(file, 1, one.texts());
        compareTextPositions(file, 2, two.texts());
    }

    void printAndExportAgree()
    {
        // The print on B5 and the exported PDF put every word at one place.
        const QString printed = m_dir.filePath(QStringLiteral("printed.pdf"));
        const QString exported = m_dir.filePath(QStringLiteral("exported.pdf"));
        ScriptedInteraction ui;
        ui.inputs << QStringLiteral("3");
        FormPages form;
        fillSample(form);
        QCOMPARE(FormPrinter::print(form, ui, true, pdfPrinter(printed)), 2);
        QString error;
        QVERIFY2(DocumentRender::writePdf(exported, {{&form, &ui}}, DocumentRender::Pages::Both, &error),
                 qPrintable(error));
        for (int page = 1; page <= 2; ++page) {
            const QList<Word> a = pdfWords(printed, page), b = pdfWords(exported, page);
            QCOMPARE(a.size(), b.size());
            for (int i = 0; i < a.size(); ++i) {
                QCOMPARE(a[i].text, b[i].text);
                QVERIFY(qAbs(a[i].xMin - b[i].xMin) < 0.01 && qAbs(a[i].yMin - b[i].yMin) < 0.01);
            }
        }
    }

    void theWindowPrintsWithItsB5Box()
    {
        const QString file = m_dir.filePath(QStringLiteral("window.pdf"));
        ScriptedInteraction ui;
        frmGbrmNew w(ui);
        fillSample(w.pages());
        w.printerChooser = pdfPrinter(file);
        w.Form_Load();
        w.chkDefaultB5->setChecked(true);
        ui.inputs << QStringLiteral("2");
        QTest::mouseClick(w.cmdPrint, Qt::LeftButton);
        const Pdf info = pdfInfo(file);
        QCOMPARE(info.pages, 1);
        QVERIFY2(sizeNear(info.pageSize, kB5W, kB5H), qPrintable(info.pageSize));
    }
};

QTEST_MAIN(PrintingTest)
#include "tst_printing.moc"
