#include "windows/FormPrinter.h"
#include "layout/PainterSurface.h"
#include "foundation/TextUtilities.h"
#include "pages/DocumentRender.h"
#include "foundation/SafeFile.h"
#include <QDir>
#include <QPdfWriter>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace FormPrinter {

PrinterChooser systemPrinterDialog(QWidget *parent)
{
    return [parent](QPrinter &printer) {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    };
}

QString pagePrompt()
{
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("请选择打印的页：") + crlf + crlf
        + QStringLiteral("    0 - 两页均不打印") + crlf
        + QStringLiteral("    1 - 打印第一页") + crlf
        + QStringLiteral("    2 - 打印第二页") + crlf
        + QStringLiteral("    3 - 两页均打印");
}

QString pagePromptTitle() { return QStringLiteral("请选择打印的页"); }

int pagesFromAnswer(const QString &answer)
{
    const QString a = trimSpaces(answer);
    if (a == QLatin1String("1"))
        return 1;
    if (a == QLatin1String("2"))
        return 2;
    if (a == QLatin1String("3"))
        return 3;
    return 0;
}

int askPages(Interaction &ui)
{
    QString answer;
    if (!ui.inputText(pagePromptTitle(), pagePrompt(), QStringLiteral("3"), &answer))
        return 0;
    return pagesFromAnswer(answer);
}

void setUpForForm(QPrinter &printer, bool b5)
{
    // Paper-size code 13 of the printer drivers: B5 as 182 x 257 mm, the
    // sheet trays hold for "B5或16开" paper, and the sheet of the preview and the PDF.
    if (b5)
        printer.setPageSize(DocumentRender::pageSize(DocumentRender::Paper::B5));
    // The drawing is laid out for an upright sheet whatever the dialog chose.
    printer.setPageOrientation(QPageLayout::Portrait);
    // Coordinates from the paper's corner, as on the preview and in the PDF.
    printer.setFullPage(true);
}

PrintJob::PrintJob(QPrinter &printer) : m_printer(printer) {}

PrintJob::~PrintJob()
{
    abort();
}

Result<> PrintJob::begin()
{
    m_painter = std::make_unique<QPainter>();
    const QString file = m_printer.outputFormat() == QPrinter::PdfFormat ? m_printer.outputFileName() : QString();
    if (file.isEmpty()) {
        if (!m_painter->begin(&m_printer))
            return Failure{FailureKind::Printer, QStringLiteral("打印机无法开始打印。")};
        return {};
    }
    // The same sheet and resolution the dialog set up, painted from the
    // paper's corner as on the printer. The file is the printer the dialog
    // chose: its failures are the printer's.
    const auto failed = [&file](const QString &reason) {
        return Failure{FailureKind::Printer,
                       QStringLiteral("PDF 文件未能写入：%1\r\n%2").arg(QDir::toNativeSeparators(file), reason)};
    };
    m_file = std::make_unique<SafeFile>(file);
    if (!m_file->open(QIODevice::WriteOnly))
        return failed(m_file->failureReason());
    m_writer = std::make_unique<QPdfWriter>(m_file.get());
    m_writer->setResolution(m_printer.resolution());
    QPageLayout layout = m_printer.pageLayout();
    layout.setMode(QPageLayout::FullPageMode);
    m_writer->setPageLayout(layout);
    m_writer->setTitle(m_printer.docName());
    m_writer->setCreator(m_printer.creator());
    if (!m_painter->begin(m_writer.get()))
        return failed(QStringLiteral("无法开始写入"));
    return {};
}

double PrintJob::resolution() const
{
    return m_writer ? m_writer->resolution() : m_printer.resolution();
}

bool PrintJob::newPage()
{
    return m_writer ? m_writer->newPage() : m_printer.newPage();
}

Result<> PrintJob::end()
{
    const bool ended = m_painter && m_painter->isActive() && m_painter->end();
    if (!m_file)
        return ended ? Result<>() : Failure{FailureKind::Printer, QStringLiteral("打印任务未能送出到打印机。")};
    const QString file = m_file->fileName();
    const bool committed = ended && m_file->commit();
    const QString reason = m_file->failureReason();
    m_writer.reset();
    m_file.reset();
    if (committed)
        return {};
    return Failure{FailureKind::Printer, QStringLiteral("PDF 文件未能写入：%1\r\n%2\r\n原有的文件没有改变。")
                       .arg(QDir::toNativeSeparators(file), ended ? reason : QStringLiteral("无法完成写入"))};
}

void PrintJob::abort()
{
    if (m_painter && m_painter->isActive()) {
        if (!m_file)
            m_printer.abort();
        m_painter->end();
    }
    m_writer.reset();
    m_file.reset();   // an uncommitted file is discarded
}

int print(FormPages &pages, Interaction &ui, bool b5, const PrinterChooser &choose, Interaction *drawingMessages)
{
    const int which = askPages(ui);
    if (which == 0)
        return 0;

    QPrinter printer(QPrinter::HighResolution);
    if (!choose || !choose(printer))
        return 0;
    setUpForForm(printer, b5);

    PrintJob job(printer);
    if (const Result<> begun = job.begin(); !begun) {
        showFailure(ui, begun);
        return 0;
    }
    CollectedMessages raised;
    PainterSurface surface(&job.painter(), job.resolution());
    surface.setInteraction(&raised);
    const QList<int> chosen = which == 3 ? QList<int>{1, 2} : QList<int>{which};
    int printed = 0;
    bool pageFailed = false;
    for (int page : chosen) {
        if (printed > 0 && !job.newPage()) {
            pageFailed = true;
            break;
        }
        DocumentRender::drawPage(pages, surface, page);
        ++printed;
    }
    Result<> ended;
    if (pageFailed)
        job.abort();
    else
        ended = job.end();
    raised.showTo(drawingMessages ? *drawingMessages : ui);
    if (pageFailed || !ended) {
        showFailure(ui, pageFailed ? Failure{FailureKind::Printer, QStringLiteral("打印机无法换页，打印已取消。")}
                                   : ended.failure());
        return 0;
    }
    return printed;
}

}
