#include "commands/BatchOutput.h"
#include "commands/DocumentPipeline.h"
#include "foundation/OrderedBatch.h"
#include "layout/RecordingSurface.h"
#include "pages/WordDocument.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <atomic>
#include <memory>
#include <thread>

namespace BatchOutput {

DocumentCheck checkDocument(const QString &document, const PageMargins &margins)
{
    DocumentCheck result;
    CollectedMessages collected;
    FormPages pages;
    pages.margins = margins;
    result.prepared = prepareDocument(document, pages, collected);
    result.loadMessages = collected.texts();
    if (!result.prepared)
        return result;
    for (const Failure &said : DocumentRender::layoutMessages(pages, DocumentRender::Pages::Both))
        result.layoutMessages << said.message;
    return result;
}

int defaultJobs()
{
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 0 ? int(cores) : 1;
}

// The calling thread only waits for results in order, so it is none of them.
int workersFor(int jobs)
{
    return jobs <= 1 ? 0 : jobs;
}

CheckReport checkDocuments(const QStringList &documents, const PageMargins &margins, int jobs,
                           const Progress &progress)
{
    CheckReport report;
    std::atomic<bool> stop{false};
    const int total = int(documents.size());
    runOrdered<DocumentCheck>(
        total, workersFor(jobs), 2 * qMax(1, jobs),
        [&](int i) { return stop ? DocumentCheck() : checkDocument(documents.at(i), margins); },
        [&](int i, DocumentCheck &r) {
            if (stop)
                return;
            if (r.prepared)
                report.passed << documents.at(i);
            else
                report.failed.append({documents.at(i), r.prepared.failure().message});
            if (r.prepared && !r.layoutMessages.isEmpty())
                report.warned.append({documents.at(i), r.layoutMessages.first()});
            if (progress && !progress(i + 1, total)) {
                stop = true;
                report.stopped = true;
            }
        });
    return report;
}

int drawDocuments(const QStringList &documents, const PageMargins &margins, DocumentRender::Pages which,
                  int jobs, const std::function<void(const RecordingSurface &)> &paint,
                  const Progress &progress)
{
    std::atomic<bool> stop{false};
    int drawn = 0;
    const int total = int(documents.size());
    runOrdered<std::unique_ptr<RecordingSurface>>(
        total, workersFor(jobs), 2 * qMax(1, jobs),
        [&](int i) -> std::unique_ptr<RecordingSurface> {
            if (stop)
                return nullptr;
            CollectedMessages quiet;
            FormPages pages;
            pages.margins = margins;
            if (!prepareDocument(documents.at(i), pages, quiet))
                return nullptr;
            return DocumentRender::recordPages(pages, which, nullptr);
        },
        [&](int i, std::unique_ptr<RecordingSurface> &recorded) {
            if (stop)
                return;
            if (recorded) {
                paint(*recorded);
                recorded.reset();
                ++drawn;
            }
            if (progress && !progress(i + 1, total))
                stop = true;
        });
    return drawn;
}

QStringList outputNamesFor(const QStringList &documents, const QString &suffix)
{
    QSet<QString> used;
    QStringList names;
    for (const QString &doc : documents) {
        const QString base = QFileInfo(doc).completeBaseName();
        QString name = base + suffix;
        for (int n = 2; used.contains(name.toCaseFolded()); ++n)
            name = QStringLiteral("%1 (%2)").arg(base).arg(n) + suffix;
        used.insert(name.toCaseFolded());
        names << name;
    }
    return names;
}

QString suffixOf(Format format)
{
    return format == Format::Word ? QStringLiteral(".docx") : QStringLiteral(".pdf");
}

FolderReport exportToFolder(const QStringList &documents, const PageMargins &margins, const QString &folder,
                            int jobs, const Progress &progress, Format format)
{
    FolderReport report;
    const QStringList names = outputNamesFor(documents, suffixOf(format));
    std::atomic<bool> stop{false};
    const int total = int(documents.size());
    struct Written {
        bool ok = false;
        QString pathOrReason;
    };
    runOrdered<Written>(
        total, workersFor(jobs), 2 * qMax(1, jobs),
        [&](int i) -> Written {
            if (stop)
                return {};
            CollectedMessages quiet;   // the check before has shown what a document says
            FormPages pages;
            pages.margins = margins;
            if (const Result<> prepared = prepareDocument(documents.at(i), pages, quiet); !prepared)
                return {false, prepared.failure().message};
            const QString out = QDir(folder).filePath(names.at(i));
            const Result<> written =
                format == Format::Word
                    ? WordDocument::writeDocx(out, {{&pages, nullptr}}, DocumentRender::Pages::Both)
                    : DocumentRender::writePdf(out, {{&pages, nullptr}}, DocumentRender::Pages::Both);
            return written ? Written{true, out} : Written{false, written.failure().message};
        },
        [&](int i, Written &r) {
            if (stop)
                return;
            if (r.ok)
                report.written << r.pathOrReason;
            else
                report.failed.append({documents.at(i), r.pathOrReason});
            if (progress && !progress(i + 1, total)) {
                stop = true;
                report.stopped = true;
            }
        });
    return report;
}

} // namespace BatchOutput
