// Documents per second through the command line's path: load, checks,
// hand-off and both pages, to the display list, to PDF and to Word.
#include "foundation/Interaction.h"
#include "layout/RecordingSurface.h"
#include "commands/BatchOutput.h"
#include "commands/DocumentPipeline.h"
#include "pages/DocumentRender.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const char *const kSamples[] = {"typical.dwz", "long_resume.dwz", "long_posts.dwz", "older.ren", "brief.ljy"};

// The samples beside this source (or where AF_SAMPLES points).
QString samplePath(int i)
{
    static const QString dir = qEnvironmentVariableIsEmpty("AF_SAMPLES")
                                   ? QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../samples")
                                   : qEnvironmentVariable("AF_SAMPLES");
    return dir + QLatin1Char('/') + QLatin1String(kSamples[i % 5]);
}

void prepare(int i, FormPages &pages)
{
    CollectedMessages ui;
    if (!prepareDocument(samplePath(i), pages, ui))
        std::abort();
}

void BM_DisplayList(benchmark::State &state)
{
    int i = 0;
    for (auto _ : state) {
        FormPages pages;
        prepare(i++, pages);
        benchmark::DoNotOptimize(DocumentRender::displayList(pages, DocumentRender::Pages::Both));
    }
    state.counters["docs/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DisplayList)->Unit(benchmark::kMicrosecond);

// Page drawing alone, the document already loaded.
void BM_DrawPagesOnly(benchmark::State &state)
{
    FormPages pages;
    prepare(0, pages);
    for (auto _ : state) {
        RecordingSurface s;
        DocumentRender::drawPage(pages, s, 1);
        DocumentRender::drawPage(pages, s, 2);
        benchmark::DoNotOptimize(s.ops().size());
    }
    state.counters["docs/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DrawPagesOnly)->Unit(benchmark::kMicrosecond);

void BM_Pdf(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.pdf"));
    int i = 0;
    for (auto _ : state) {
        FormPages pages;
        prepare(i++, pages);
        if (!DocumentRender::writePdf(out, {{&pages, nullptr}}, DocumentRender::Pages::Both))
            std::abort();
    }
    state.counters["docs/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Pdf)->Unit(benchmark::kMillisecond);

// Many documents into one PDF (-o ALL.pdf): the fonts are embedded once.
void BM_PdfOneFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("all.pdf"));
    const int perFile = int(state.range(0));
    std::vector<FormPages> docs(perFile);
    for (int k = 0; k < perFile; ++k)
        prepare(k, docs[k]);
    QList<DocumentRender::PdfDocument> list;
    for (FormPages &d : docs)
        list.append({&d, nullptr});
    for (auto _ : state) {
        if (!DocumentRender::writePdf(out, list, DocumentRender::Pages::Both))
            std::abort();
    }
    state.counters["docs/s"] =
        benchmark::Counter(double(state.iterations()) * perFile, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PdfOneFile)->Arg(50)->Unit(benchmark::kMillisecond);

// Word documents into a folder, one per document, on one core
// (--output-dir DIR --format docx --jobs 1).
void BM_WordFolder(benchmark::State &state)
{
    QTemporaryDir dir;
    QStringList documents;
    for (int k = 0; k < int(state.range(0)); ++k)
        documents << samplePath(k);
    for (auto _ : state) {
        const BatchOutput::FolderReport report =
            BatchOutput::exportToFolder(documents, PageMargins(), dir.path(), 1, {}, BatchOutput::Format::Word);
        if (report.written.size() != documents.size()) {
            for (const BatchOutput::Problem &p : report.failed)
                fprintf(stderr, "%s: %s\n", qPrintable(p.document), qPrintable(p.message));
            std::abort();
        }
    }
    state.counters["docs/s"] =
        benchmark::Counter(double(state.iterations()) * double(documents.size()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WordFolder)->Arg(50)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
