#include "app/RenderCommand.h"
#include "commands/BatchOutput.h"
#include "commands/DocumentPipeline.h"
#include "foundation/Interaction.h"
#include "pages/WordDocument.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

// What -o writes, by its name: "pdf", "docx" or "png" (empty without -o).
QString suffixOf(const QString &output)
{
    return QFileInfo(output).suffix().toLower();
}

// Progress on a terminal: documents done of all, and the rate so far.
class Progress {
public:
    Progress(int total, bool shown) : m_total(total), m_shown(shown) { m_clock.start(); }
    void done(int count, const QString &what)
    {
        if (!m_shown)
            return;
        const double seconds = m_clock.elapsed() / 1000.0;
        const QString rate = seconds > 0 ? QString::number(count / seconds, 'f', 1) : QStringLiteral("-");
        printErr(QStringLiteral("[%1/%2] %3 (%4 documents/s)\n").arg(count).arg(m_total).arg(what, rate));
    }

private:
    int m_total;
    bool m_shown;
    QElapsedTimer m_clock;
};

} // namespace

QString RenderCommand::name() const
{
    return QStringLiteral("render");
}

QString RenderCommand::description() const
{
    return usageText("Draw documents without a window: the same load, checks and pages as the editor.",
                     "不开窗口输出文档：与编辑器相同的调入、校验和页面。");
}

QList<QCommandLineOption> RenderCommand::ownOptions() const
{
    return {m_output, m_outputDir, m_format, m_displayList, m_force, m_page, m_paper, m_dpi};
}

Result<> RenderCommand::readOwnOptions(const QCommandLineParser &parser, CommandOptions &o) const
{
    o.output = parser.value(m_output);
    o.outputDir = parser.value(m_outputDir);
    o.displayList = parser.isSet(m_displayList);
    o.replaceReadOnly = parser.isSet(m_force);
    if (parser.isSet(m_format)) {
        const QString v = parser.value(m_format).toLower();
        if (v != QLatin1String("pdf") && v != QLatin1String("docx"))
            return usage("--format takes pdf or docx");
        if (!parser.isSet(m_outputDir))
            return usage("--format goes with --output-dir (-o takes the format from its name)");
        o.docx = v == QLatin1String("docx");
    }
    if (parser.isSet(m_page)) {
        const QString v = parser.value(m_page);
        if (v != QLatin1String("1") && v != QLatin1String("2"))
            return usage("--page takes 1 or 2");
        o.pages = v == QLatin1String("1") ? DocumentRender::Pages::One : DocumentRender::Pages::Two;
    }
    if (parser.isSet(m_paper)) {
        const QString v = parser.value(m_paper).toLower();
        if (v != QLatin1String("b5") && v != QLatin1String("a4"))
            return usage("--paper takes b5 or a4");
        o.paper = v == QLatin1String("a4") ? DocumentRender::Paper::A4 : DocumentRender::Paper::B5;
    }
    if (parser.isSet(m_dpi)) {
        bool ok = false;
        o.dpi = parser.value(m_dpi).toInt(&ok);
        if (!ok || o.dpi < 10 || o.dpi > 2400)
            return usage("--dpi takes a whole number from 10 to 2400");
    }
    return {};
}

Result<> RenderCommand::checkOptions(const CommandOptions &o) const
{
    const int targets = (o.output.isEmpty() ? 0 : 1) + (o.outputDir.isEmpty() ? 0 : 1) + (o.displayList ? 1 : 0);
    if (targets == 0)
        return usage("say where to: -o, --output-dir or --display-list");
    if (targets > 1)
        return usage("-o, --output-dir and --display-list exclude each other");
    if (!o.output.isEmpty()) {
        const QString suffix = suffixOf(o.output);
        if (suffix != QLatin1String("pdf") && suffix != QLatin1String("png") && suffix != QLatin1String("docx"))
            return usage("-o takes a .pdf, .docx or .png file");
        if (suffix == QLatin1String("png") && o.documents.size() != 1)
            return usage("a PNG holds one page of one document");
    }
    return {};
}

int RenderCommand::execute(const CommandOptions &o) const
{
    const QString suffix = suffixOf(o.output);
    const bool toPng = suffix == QLatin1String("png");
    const bool toOneDocx = suffix == QLatin1String("docx");
    const bool toOnePdf = !o.output.isEmpty() && !toPng && !toOneDocx;
    if (!o.outputDir.isEmpty() && !QDir().mkpath(o.outputDir)) {
        printErr(QStringLiteral("appointform: 无法建立文件夹“%1”\n").arg(o.outputDir));
        return exitStatusFor(FailureKind::FileSystem);
    }
    // --output-dir: the file each document goes to.
    QStringList outputPaths;
    if (!o.outputDir.isEmpty()) {
        const QDir dir(o.outputDir);
        for (const QString &name :
             BatchOutput::outputNamesFor(o.documents, o.docx ? QStringLiteral(".docx") : QStringLiteral(".pdf")))
            outputPaths << dir.filePath(name);
    }
    Progress progress(int(o.documents.size()),
                      (!o.outputDir.isEmpty() || toOnePdf || toOneDocx) && isatty(fileno(stderr)));

    int status = kExitOk;
    // -o OUT.pdf: documents are laid out on the workers and painted here, in
    // order; the file is begun with the first document that loads.
    DocumentRender::PdfBook book(toOnePdf ? o.output : QString(), o.paper, o.replaceReadOnly);
    // -o OUT.docx: the same, the pages converted here and the file written at the end.
    std::optional<WordDocument::WordBook> wordBook;
    if (toOneDocx)
        wordBook.emplace(o.output, o.paper, o.replaceReadOnly);
    bool bookFailed = false;
    int done = 0;
    forEachDocument(
        o, toOnePdf || toOneDocx,
        [&](int i) {
            const QString &doc = o.documents.at(i);
            Outcome result;
            CollectedMessages messages;
            FormPages pages;
            pages.margins = o.margins;
            if (const Result<> prepared = prepareDocument(doc, pages, messages); !prepared) {
                showFailure(messages, prepared);
                result.status = exitStatusFor(prepared.kind());
                result.err = messageLines(doc, messages);
                return result;
            }
            Result<> written;
            // Every message raised from here on is a text the drawing could not place.
            const qsizetype loadMessages = messages.kept().size();
            int listMessages = 0;
            if (o.displayList) {
                result.out = DocumentRender::displayList(pages, o.pages, &listMessages).toUtf8();
            } else if (toPng) {
                const int page = o.pages == DocumentRender::Pages::Two ? 2 : 1;
                written = DocumentRender::writePng(o.output, pages, page, o.dpi, &messages, o.paper, o.replaceReadOnly);
            } else if (!o.outputDir.isEmpty()) {
                const QString &out = outputPaths.at(i);
                written = o.docx ? WordDocument::writeDocx(out, {{&pages, &messages}}, o.pages, o.paper, o.replaceReadOnly)
                                 : DocumentRender::writePdf(out, {{&pages, &messages}}, o.pages, o.paper,
                                                            o.replaceReadOnly);
            } else {
                result.recorded = DocumentRender::recordPages(pages, o.pages, &messages);
            }
            result.err = messageLines(doc, messages);
            if (listMessages > 0 || messages.kept().size() > loadMessages)
                result.status = kExitOmissions;
            if (!written) {
                result.err += lineName(doc) + QStringLiteral(": ") + oneLine(written.error()) + QLatin1Char('\n');
                result.status = exitStatusFor(written.kind());
            }
            return result;
        },
        [&](int i, Outcome &r) {
            const QString &doc = o.documents.at(i);
            if (r.recorded && wordBook) {
                wordBook->addRecorded(*r.recorded);
                r.recorded.reset();
            } else if (r.recorded && !bookFailed) {
                const Result<> opened = book.isOpen() ? Result<>() : book.open();
                if (!opened) {
                    printErr(QStringLiteral("appointform: ") + oneLine(opened.error()) + QLatin1Char('\n'));
                    bookFailed = true;
                    status = exitStatusFor(opened.kind());
                } else {
                    book.addRecorded(*r.recorded);
                }
                r.recorded.reset();
            }
            deliverOutcome(status, r);
            ++done;
            progress.done(done, outputPaths.isEmpty() ? lineName(doc)
                                                      : lineName(doc) + QStringLiteral(" -> ") + outputPaths.at(i));
        });

    if (wordBook && wordBook->pageCount() > 0) {
        if (const Result<> finished = wordBook->finish(); !finished) {
            printErr(QStringLiteral("appointform: ") + oneLine(finished.error()) + QLatin1Char('\n'));
            status = exitStatusFor(finished.kind());
        }
    }
    if (book.isOpen()) {
        if (const Result<> finished = book.finish(); !finished) {
            printErr(QStringLiteral("appointform: ") + oneLine(finished.error()) + QLatin1Char('\n'));
            status = exitStatusFor(finished.kind());
        }
    }
    return status;
}
