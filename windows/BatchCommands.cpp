#include "windows/BatchCommands.h"
#include "foundation/Interaction.h"
#include "commands/DocumentCommands.h"
#include "commands/ReplaceQuestion.h"
#include "layout/PainterSurface.h"
#include "layout/RecordingSurface.h"
#include "commands/BatchOutput.h"
#include "commands/Roster.h"
#include "pages/WordDocument.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>

namespace {

const QString kDocumentFilter = QStringLiteral("任免审批表 (.dwz;.ren)|*.dwz;*.ren|所有文件 (*.*)|*.*");
const QString kPdfFilter = QStringLiteral("PDF 文件 (.pdf)|*.pdf");
const QString kWordFilter = QStringLiteral("Word文档 (*.docx)|*.docx");
const QString kRosterFilter = QStringLiteral("Excel工作簿 (*.xlsx)|*.xlsx|CSV文件 (*.csv)|*.csv");
constexpr int kListedAtMost = 15;

QString problemLines(const QList<BatchOutput::Problem> &problems)
{
    QStringList lines;
    for (int i = 0; i < problems.size() && i < kListedAtMost; ++i) {
        QString message = problems.at(i).message;
        message.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        lines << QFileInfo(problems.at(i).document).fileName() + QStringLiteral("：") + message.trimmed();
    }
    if (problems.size() > kListedAtMost)
        lines << QStringLiteral("……另有 %1 份").arg(problems.size() - kListedAtMost);
    return lines.join(QStringLiteral("\r\n"));
}

// How the messages name the files of an export.
QString kindName(BatchOutput::Format format)
{
    return format == BatchOutput::Format::Word ? QStringLiteral("Word") : QStringLiteral("PDF");
}

DocumentRender::Pages pagesFor(int which)
{
    return which == 1 ? DocumentRender::Pages::One
                      : which == 2 ? DocumentRender::Pages::Two : DocumentRender::Pages::Both;
}

} // namespace

BatchCommands::BatchCommands(Interaction &ui, const PageMargins &margins, QWidget *parent)
    : printerChooser(FormPrinter::systemPrinterDialog(parent)), jobs(BatchOutput::defaultJobs()), m_ui(ui),
      m_margins(margins)
{
}

QStringList BatchCommands::chooseAndCheck(const QString &action)
{
    const QStringList documents = m_ui.openFileNames(QStringLiteral("请选择要%1的文件（可多选）").arg(action),
                                                     DocumentCommands::lastSaveFolderSetting(), kDocumentFilter);
    if (documents.isEmpty())
        return {};
    const int total = int(documents.size());
    const BatchOutput::CheckReport report = BatchOutput::checkDocuments(
        documents, m_margins, jobs, [this, total](int done, int) {
            return m_ui.progress(title(), QStringLiteral("正在校验 %1/%2 份……").arg(done).arg(total), done, total);
        });
    m_ui.progress(title(), QString(), total, total);
    if (report.stopped)
        return {};

    QString text = QStringLiteral("共选择 %1 份，%2 份通过校验。").arg(total).arg(report.passed.size());
    if (!report.failed.isEmpty())
        text += QStringLiteral("\r\n\r\n以下 %1 份未通过校验，不%2：\r\n").arg(report.failed.size()).arg(action) +
                problemLines(report.failed);
    if (!report.warned.isEmpty())
        text += QStringLiteral("\r\n\r\n以下 %1 份有文字超出格子，仍%2：\r\n").arg(report.warned.size()).arg(action) +
                problemLines(report.warned);
    if (report.passed.isEmpty()) {
        m_ui.message(title(), text, MessageIcon::Exclamation);
        return {};
    }
    text += QStringLiteral("\r\n\r\n要%1这 %2 份吗？").arg(action).arg(report.passed.size());
    if (!m_ui.askYesNo(title(), text))
        return {};
    return report.passed;
}

int BatchCommands::printDocuments()
{
    const QStringList good = chooseAndCheck(QStringLiteral("打印"));
    if (good.isEmpty())
        return 0;
    const int which = FormPrinter::askPages(m_ui);
    if (which == 0)
        return 0;
    QPrinter printer(QPrinter::HighResolution);
    if (!printerChooser || !printerChooser(printer))
        return 0;
    FormPrinter::setUpForForm(printer, b5);   // otherwise the paper the dialog chose
    printer.setDocName(title());
    FormPrinter::PrintJob job(printer);
    if (const Result<> begun = job.begin(); !begun) {
        m_ui.message(title(), begun.error(), MessageIcon::Exclamation);
        return 0;
    }
    PainterSurface surface(&job.painter(), job.resolution());
    const int total = int(good.size());
    bool stopped = false;
    bool pageFailed = false;
    bool firstPage = true;
    const auto paint = [&](const RecordingSurface &recorded) {
        recorded.replay(surface, [&](int) {
            if (!firstPage && !job.newPage())
                pageFailed = true;
            firstPage = false;
        });
    };
    const int printed = BatchOutput::drawDocuments(
        good, m_margins, pagesFor(which), jobs, paint,
        [&](int done, int) {
            stopped = !m_ui.progress(title(), QStringLiteral("正在打印 %1/%2 份……").arg(done).arg(total), done, total);
            return !stopped && !pageFailed;
        });
    m_ui.progress(title(), QString(), total, total);
    if (stopped || pageFailed) {
        job.abort();
        m_ui.message(title(),
                     stopped ? QStringLiteral("已停止，打印任务已取消。")
                             : QStringLiteral("打印机无法换页，打印任务已取消。"),
                     stopped ? MessageIcon::Information : MessageIcon::Exclamation);
        return 0;
    }
    if (const Result<> ended = job.end(); !ended) {
        m_ui.message(title(), ended.error(), MessageIcon::Exclamation);
        return 0;
    }
    m_ui.message(title(), QStringLiteral("已送出 %1 份到打印机。").arg(printed), MessageIcon::Information);
    return printed;
}

int BatchCommands::exportDocuments(BatchOutput::Format format)
{
    const bool word = format == BatchOutput::Format::Word;
    const QString kind = kindName(format);
    const QStringList good = chooseAndCheck(QStringLiteral("导出"));
    if (good.isEmpty())
        return 0;
    const QString start =
        QDir(QFileInfo(good.first()).absolutePath()).filePath(QStringLiteral("批量打印") + BatchOutput::suffixOf(format));
    QString path = m_ui.saveFileName(QStringLiteral("请指定导出的%1文件名").arg(kind), start, word ? kWordFilter : kPdfFilter);
    if (path.isEmpty())
        return 0;
    path = word ? ReplaceQuestion::docxPath(path) : ReplaceQuestion::pdfPath(path);
    bool replaceReadOnly = false;
    if (!ReplaceQuestion::confirm(m_ui, title(), path, &replaceReadOnly))
        return 0;

    DocumentRender::PdfBook book(path, DocumentRender::Paper::B5, replaceReadOnly);
    WordDocument::WordBook wordBook(path, DocumentRender::Paper::B5, replaceReadOnly);
    if (!word) {
        if (const Result<> opened = book.open(); !opened) {
            m_ui.message(title(), opened.error(), MessageIcon::Exclamation);
            return 0;
        }
    }
    const int total = int(good.size());
    bool stopped = false;
    const int exported = BatchOutput::drawDocuments(
        good, m_margins, DocumentRender::Pages::Both, jobs,
        [&](const RecordingSurface &recorded) {
            if (word)
                wordBook.addRecorded(recorded);
            else
                book.addRecorded(recorded);
        },
        [&](int done, int) {
            stopped = !m_ui.progress(title(), QStringLiteral("正在导出 %1/%2 份……").arg(done).arg(total), done, total);
            return !stopped;
        });
    m_ui.progress(title(), QString(), total, total);
    if (stopped) {
        m_ui.message(title(), QStringLiteral("已停止，没有写入 %1 文件。").arg(kind), MessageIcon::Information);
        return 0;   // the book is discarded unfinished; an earlier file stays
    }
    if (const Result<> finished = word ? wordBook.finish() : book.finish(); !finished) {
        m_ui.message(title(), finished.error(), MessageIcon::Exclamation);
        return 0;
    }
    m_ui.message(title(), QStringLiteral("已把 %1 份导出到“%2”。").arg(exported).arg(QDir::toNativeSeparators(path)),
                 MessageIcon::Information);
    return exported;
}

int BatchCommands::exportDocumentsToFolder(BatchOutput::Format format)
{
    const QString kind = kindName(format);
    const QStringList good = chooseAndCheck(QStringLiteral("导出"));
    if (good.isEmpty())
        return 0;
    const QString folder = m_ui.folderName(QStringLiteral("请选择存放%1文件的文件夹").arg(kind), QFileInfo(good.first()).absolutePath());
    if (folder.isEmpty())
        return 0;
    // Namesakes within the batch get " (2)"…; a file left in the folder from
    // before is replaced only when the clerk says so.
    int existing = 0;
    for (const QString &name : BatchOutput::outputNamesFor(good, BatchOutput::suffixOf(format)))
        existing += QFileInfo::exists(QDir(folder).filePath(name)) ? 1 : 0;
    if (existing > 0 &&
        !m_ui.askYesNo(title(), QStringLiteral("文件夹“%1”中已有 %2 个同名的%3文件，要替换它们吗？")
                                    .arg(QDir::toNativeSeparators(folder))
                                    .arg(existing)
                                    .arg(kind)))
        return 0;

    const int total = int(good.size());
    const BatchOutput::FolderReport report = BatchOutput::exportToFolder(
        good, m_margins, folder, jobs, [&](int done, int) {
            return m_ui.progress(title(), QStringLiteral("正在导出 %1/%2 份……").arg(done).arg(total), done, total);
        }, format);
    m_ui.progress(title(), QString(), total, total);
    QString text = report.stopped ? QStringLiteral("已停止。") : QString();
    text += QStringLiteral("已把 %1 份导出到文件夹“%2”，每份一个%3文件。")
                .arg(report.written.size())
                .arg(QDir::toNativeSeparators(folder))
                .arg(kind);
    if (!report.failed.isEmpty())
        text += QStringLiteral("\r\n\r\n以下 %1 份未能导出：\r\n").arg(report.failed.size()) + problemLines(report.failed);
    m_ui.message(title(), text, report.failed.isEmpty() ? MessageIcon::Information : MessageIcon::Exclamation);
    return int(report.written.size());
}

int BatchCommands::exportRoster()
{
    const QStringList documents = m_ui.openFileNames(QStringLiteral("请选择要导出名册的文件（可多选）"),
                                                     DocumentCommands::lastSaveFolderSetting(), kDocumentFilter);
    if (documents.isEmpty())
        return 0;
    const QString start = QDir(QFileInfo(documents.first()).absolutePath()).filePath(QStringLiteral("名册.xlsx"));
    QString path = m_ui.saveFileName(QStringLiteral("请指定名册的文件名"), start, kRosterFilter);
    if (path.isEmpty())
        return 0;
    if (!Roster::formatOf(path))
        path += QStringLiteral(".xlsx");
    bool replaceReadOnly = false;
    if (!ReplaceQuestion::confirm(m_ui, title(), path, &replaceReadOnly))
        return 0;

    const int total = int(documents.size());
    const Roster::Report report = Roster::write(
        documents, path, jobs,
        [&](int done, int) {
            return m_ui.progress(title(), QStringLiteral("正在导出名册 %1/%2 份……").arg(done).arg(total), done, total);
        },
        replaceReadOnly);
    m_ui.progress(title(), QString(), total, total);
    if (report.stopped) {
        m_ui.message(title(), QStringLiteral("已停止，没有写入名册。"), MessageIcon::Information);
        return 0;
    }
    if (!report.written) {
        m_ui.message(title(), report.written.error(), MessageIcon::Exclamation);
        return 0;
    }
    QString text = QStringLiteral("已把 %1 份写入名册“%2”。").arg(report.rows).arg(QDir::toNativeSeparators(path));
    if (!report.failed.isEmpty())
        text += QStringLiteral("\r\n\r\n以下 %1 份未通过校验，没有列入名册：\r\n").arg(report.failed.size())
                + problemLines(report.failed);
    m_ui.message(title(), text, report.failed.isEmpty() ? MessageIcon::Information : MessageIcon::Exclamation);
    return report.rows;
}
