// "appointform render" and "appointform check": documents through the same
// path as the window (load, checks, hand-off, both pages) without any
// window. Nothing here waits for input; messages go to stderr.
#include "app/CommandLine.h"

#include "foundation/Clock.h"
#include "app/EditorArguments.h"
#include "record/MarginSettings.h"
#include "foundation/OrderedBatch.h"
#include "foundation/ScriptedInteraction.h"
#include "layout/MeasuringSurface.h"
#include "layout/RecordingSurface.h"
#include "commands/BatchOutput.h"
#include "commands/DocumentPipeline.h"
#include "pages/DocumentRender.h"

#include <QCommandLineParser>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {

// A batch script stops on anything but 0. 3 is a document that was drawn
// but not in full: a text left out or running out of its cell.
enum ExitCode { kOk = 0, kFailed = 1, kBadArguments = 2, kOmissions = 3 };

// The exit statuses, for --help.
QString exitStatusText()
{
    return usageText("\nExit status: 0 every document printed in full; 1 a document could not be loaded, checked "
                     "or written, or the form's fonts are missing; 2 wrong arguments; 3 printed with omissions "
                     "(a text left out or running out of its cell).",
                     "\n退出码：0 所有文档完整输出；1 有文档未能调入、校验或写出，或缺少表格所用的字体；"
                     "2 参数有误；3 输出有遗漏（有文字未打印或超出格子）。");
}

const char kSynopsis[] =
    "usage: appointform render DOC... (-o OUT.pdf | -o OUT.png | --output-dir DIR | --display-list) [options]\n"
    "       appointform check DOC... [options]\n"
    "       (\"appointform render --help\" lists the options)\n";

void printErr(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stderr);
}

void writeOut(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

int badArguments(const QString &why)
{
    printErr(QStringLiteral("appointform: ") + why + QLatin1Char('\n'));
    std::fputs(kSynopsis, stderr);
    return kBadArguments;
}

QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// A document's name at the head of an output line, its control characters
// escaped ("\n", "\t", "\x01"): a name with a line break stays one line.
QString lineName(const QString &doc)
{
    QString out;
    for (const QChar c : doc) {
        if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

struct Options {
    QString command;
    QStringList documents;
    QString output;
    QString outputDir;
    DocumentRender::Pages pages = DocumentRender::Pages::Both;
    bool pageGiven = false;
    int dpi = 150;
    bool dpiGiven = false;
    DocumentRender::Paper paper = DocumentRender::Paper::B5;
    bool marginsGiven = false;
    PageMargins margins;
    QDate today;
    bool displayList = false;
    bool replaceReadOnly = false;
    int jobs = 0;   // 0: one per processor
};

bool parseMargins(const QString &text, PageMargins &m)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 3)
        return false;
    int values[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        values[i] = parts.at(i).trimmed().toInt(&ok);
        if (!ok || values[i] < -100000 || values[i] > 100000)
            return false;
    }
    m.top = values[0];
    m.pageOneLeft = values[1];
    m.pageTwoLeft = values[2];
    return true;
}

// The options of "render" and "check", described for --help.
struct OptionSet {
    QCommandLineOption output{QStringList{QStringLiteral("o"), QStringLiteral("output")},
                              usageText("All pages of every document in one PDF (600 dpi), or one page of one "
                                   "document as PNG.",
                                   "把每个文档的各页写进一个 PDF（600 dpi），或把一个文档的一页写成 PNG。"),
                              QStringLiteral("OUT.pdf|OUT.png")};
    QCommandLineOption outputDir{QStringLiteral("output-dir"),
                                 usageText("One PDF per document, named after it.", "每个文档一个 PDF，以文档命名。"),
                                 QStringLiteral("DIR")};
    QCommandLineOption displayList{QStringLiteral("display-list"),
                                   usageText("Print the drawing operations to stdout instead of drawing.",
                                        "不绘制，把绘制操作逐行写到标准输出。")};
    QCommandLineOption force{QStringLiteral("force"),
                             usageText("Replace output files that are read-only (they are left alone otherwise).",
                                       "替换只读的输出文件（否则不替换）。")};
    QCommandLineOption page{QStringLiteral("page"), usageText("Only this page.", "只输出这一页。"), QStringLiteral("1|2")};
    QCommandLineOption paper{QStringLiteral("paper"),
                             usageText("Sheet of the PDF or PNG: b5 (182 x 257 mm, the printers' B5; default) or a4.",
                                       "PDF 或 PNG 的纸张：b5（182 × 257 毫米，即打印机的 B5；默认）或 a4。"),
                             QStringLiteral("b5|a4")};
    QCommandLineOption dpi{QStringLiteral("dpi"), usageText("Resolution of a PNG (default 150).", "PNG 的分辨率（默认 150）。"),
                           QStringLiteral("N")};
    QCommandLineOption margins{QStringLiteral("margins"),
                               usageText("Top, page-one left and page-two left margins in twips (default: the saved "
                                    "margin settings).",
                                    "上边距、第一页左边距、第二页左边距，单位缇（默认：已保存的边距设置）。"),
                               QStringLiteral("T,L,B")};
    QCommandLineOption today{QStringLiteral("today"),
                             usageText("The date taken as today (fill-in date, checks).", "作为今天的日期（填表时间、校验）。"),
                             QStringLiteral("yyyymmdd")};
    QCommandLineOption jobs{QStringLiteral("jobs"),
                            usageText("Documents laid out at once (default: one per processor); output keeps the order "
                                 "of the documents given.",
                                 "同时处理的文档数（默认：每个处理器一个）；输出保持文档的给出顺序。"),
                            QStringLiteral("N")};
    QCommandLineOption help{QStringList{QStringLiteral("h"), QStringLiteral("help")},
                            usageText("Show this help and exit.", "显示本帮助后退出。")};
};

// Says what is wrong with the arguments, if anything. `helpShown` is set
// when --help was asked for and printed.
Result<> parseOptions(const QStringList &args, Options &o, bool *helpShown)
{
    o.command = args.value(1);
    const bool render = o.command == QLatin1String("render");
    OptionSet set;
    QCommandLineParser parser;
    const QString description =
        (render ? usageText("Draw documents without a window: the same load, checks and pages as the editor.",
                            "不开窗口输出文档：与编辑器相同的调入、校验和页面。")
                : usageText("Load, check and lay out documents; exit 0 when all pass.",
                            "调入、校验并排版文档；全部通过时退出码为 0。"))
        + exitStatusText();
    QList<QCommandLineOption> options;
    if (render)
        options << set.output << set.outputDir << set.displayList << set.force << set.page << set.paper << set.dpi;
    options << set.margins << set.today << set.jobs << set.help;
    parser.addOptions(options);
    QStringList rest = args;
    rest.removeAt(1);
    if (!parser.parse(rest)) {
        QString why = parser.errorText();
        if (!render && why.contains(QLatin1String("Unknown option")))
            why += QStringLiteral(" (check takes documents, --margins, --today and --jobs only)");
        return Failure{why};
    }
    if (parser.isSet(set.help)) {
        const QString text = helpText(QStringLiteral("appointform ") + o.command, usageText("DOC...", "文档..."),
                                      description, options,
                                      {{usageText("DOC", "文档"), usageText("Documents (.dwz, .ren, .ljy, .jan).",
                                                                           "文档（.dwz、.ren、.ljy、.jan）。")}});
        std::fputs(text.toLocal8Bit().constData(), stdout);
        *helpShown = true;
        return {};
    }
    o.documents = parser.positionalArguments();
    QString v;
    if (render) {
        o.output = parser.value(set.output);
        o.outputDir = parser.value(set.outputDir);
        o.displayList = parser.isSet(set.displayList);
        o.replaceReadOnly = parser.isSet(set.force);
        if (parser.isSet(set.page)) {
            v = parser.value(set.page);
            if (v != QLatin1String("1") && v != QLatin1String("2"))
                return Failure{QStringLiteral("--page takes 1 or 2")};
            o.pages = v == QLatin1String("1") ? DocumentRender::Pages::One : DocumentRender::Pages::Two;
            o.pageGiven = true;
        }
        if (parser.isSet(set.paper)) {
            v = parser.value(set.paper).toLower();
            if (v != QLatin1String("b5") && v != QLatin1String("a4"))
                return Failure{QStringLiteral("--paper takes b5 or a4")};
            o.paper = v == QLatin1String("a4") ? DocumentRender::Paper::A4 : DocumentRender::Paper::B5;
        }
        if (parser.isSet(set.dpi)) {
            bool ok = false;
            o.dpi = parser.value(set.dpi).toInt(&ok);
            if (!ok || o.dpi < 10 || o.dpi > 2400)
                return Failure{QStringLiteral("--dpi takes a whole number from 10 to 2400")};
            o.dpiGiven = true;
        }
    }
    if (parser.isSet(set.margins)) {
        if (!parseMargins(parser.value(set.margins), o.margins))
            return Failure{QStringLiteral("--margins takes three whole numbers of twips: T,L,B")};
        o.marginsGiven = true;
    }
    if (parser.isSet(set.today)) {
        v = parser.value(set.today);
        if (v.size() == 8)
            o.today = QDate::fromString(v, QStringLiteral("yyyyMMdd"));
        if (!o.today.isValid())
            return Failure{QStringLiteral("--today takes a date as yyyymmdd")};
    }
    if (parser.isSet(set.jobs)) {
        bool ok = false;
        o.jobs = parser.value(set.jobs).toInt(&ok);
        if (!ok || o.jobs < 1 || o.jobs > 256)
            return Failure{QStringLiteral("--jobs takes a whole number from 1 to 256")};
    }
    if (o.documents.isEmpty())
        return Failure{QStringLiteral("no document given")};
    if (!render)
        return {};

    const int targets = (o.output.isEmpty() ? 0 : 1) + (o.outputDir.isEmpty() ? 0 : 1) + (o.displayList ? 1 : 0);
    if (targets == 0)
        return Failure{QStringLiteral("say where to: -o, --output-dir or --display-list")};
    if (targets > 1)
        return Failure{QStringLiteral("-o, --output-dir and --display-list exclude each other")};
    if (!o.output.isEmpty()) {
        const QString suffix = QFileInfo(o.output).suffix().toLower();
        if (suffix != QLatin1String("pdf") && suffix != QLatin1String("png"))
            return Failure{QStringLiteral("-o takes a .pdf or .png file")};
        if (suffix == QLatin1String("png") && o.documents.size() != 1)
            return Failure{QStringLiteral("a PNG holds one page of one document")};
    }
    return {};
}

void flushOut()
{
    std::fflush(stdout);
}

int jobsFor(const Options &o)
{
    return o.jobs > 0 ? o.jobs : BatchOutput::defaultJobs();
}

// Every message a document raised, one whole line each, with its name and
// the message's title in front, as they go to stderr.
QString messageLines(const QString &doc, const ScriptedInteraction &ui)
{
    QString out;
    for (const ScriptedInteraction::Shown &s : ui.shown)
        out += lineName(doc) + QStringLiteral(": ") + s.title + QStringLiteral(": ") + oneLine(s.text) + QLatin1Char('\n');
    return out;
}

// What one document produced, handed back in the order of the arguments.
struct Outcome {
    bool ok = true;
    bool omitted = false;   // drawn, but a text left out or past its cell
    QByteArray out;   // for stdout, UTF-8 (encoded on the worker)
    QString err;   // for stderr
    std::unique_ptr<RecordingSurface> recorded;   // pages for the combined PDF
};

// Runs `work` on every document with the chosen number of jobs; what it
// produced is written in argument order, each document's lines at once.
// A document that throws is reported and the others go on. When this
// thread has work of its own in `deliver` (painting the combined PDF), it
// counts as one of the jobs.
void forEachDocument(const Options &o, bool busyDelivering, const std::function<Outcome(int)> &work,
                     const std::function<void(int, Outcome &)> &deliver)
{
    const int jobs = jobsFor(o);
    const int workers = jobs <= 1 ? 0 : (busyDelivering ? jobs - 1 : jobs);
    const std::function<Outcome(int)> guarded = [&](int i) {
        try {
            return work(i);
        } catch (...) {
            Outcome failed;
            failed.ok = false;
            failed.err = o.documents.at(i) + QStringLiteral(": 处理时发生内部错误，已跳过\n");
            return failed;
        }
    };
    runOrdered<Outcome>(int(o.documents.size()), workers, 2 * jobs, guarded, deliver);
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

// A failure outweighs an omission, which outweighs success.
void noteOutcome(int &code, const Outcome &r)
{
    if (!r.ok)
        code = kFailed;
    else if (r.omitted && code == kOk)
        code = kOmissions;
}

int runCheck(const Options &o)
{
    int code = kOk;
    forEachDocument(
        o, false,
        [&](int i) {
            const QString &doc = o.documents.at(i);
            const QString name = lineName(doc) + QStringLiteral(": ");
            Outcome result;
            // Every message of the load is reported in the order raised; when
            // the document fails, the reason comes last.
            const BatchOutput::DocumentCheck check = BatchOutput::checkDocument(doc, o.margins);
            QString lines = check.prepared ? name + QStringLiteral("ok\n") : QString();
            for (const QString &warning : check.loadMessages + check.layoutMessages)
                lines += name + QStringLiteral("warning: ") + oneLine(warning) + QLatin1Char('\n');
            if (!check.prepared) {
                lines += name + oneLine(check.prepared.error()) + QLatin1Char('\n');
                result.ok = false;
            }
            result.omitted = !check.layoutMessages.isEmpty();
            result.out = lines.toUtf8();
            return result;
        },
        [&](int, Outcome &r) {
            writeOut(r.out);
            printErr(r.err);
            flushOut();
            noteOutcome(code, r);
        });
    return code;
}

int runRender(const Options &o)
{
    const bool toPng = !o.output.isEmpty() && QFileInfo(o.output).suffix().toLower() == QLatin1String("png");
    const bool toOnePdf = !o.output.isEmpty() && !toPng;
    if (!o.outputDir.isEmpty() && !QDir().mkpath(o.outputDir)) {
        printErr(QStringLiteral("appointform: 无法建立文件夹“%1”\n").arg(o.outputDir));
        return kFailed;
    }
    const QStringList pdfNames = o.outputDir.isEmpty() ? QStringList() : BatchOutput::pdfNamesFor(o.documents);
    Progress progress(int(o.documents.size()),
                      (!o.outputDir.isEmpty() || toOnePdf) && isatty(fileno(stderr)));

    int code = kOk;
    // -o OUT.pdf: documents are laid out on the workers and painted here, in
    // order; the file is begun with the first document that loads.
    DocumentRender::PdfBook book(o.output, o.paper, o.replaceReadOnly);
    bool bookFailed = false;
    int done = 0;
    forEachDocument(
        o, toOnePdf,
        [&](int i) {
            const QString &doc = o.documents.at(i);
            Outcome result;
            ScriptedInteraction messages;
            FormPages pages;
            pages.margins = o.margins;
            if (const Result<> prepared = prepareDocument(doc, pages, messages); !prepared) {
                showFailure(messages, prepared, QStringLiteral("系统"));
                result.ok = false;
                result.err = messageLines(doc, messages);
                return result;
            }
            Result<> written;
            // Every message raised from here on is a text the drawing could not place.
            const qsizetype loadMessages = messages.shown.size();
            int listMessages = 0;
            if (o.displayList) {
                result.out = DocumentRender::displayList(pages, o.pages, &listMessages).toUtf8();
            } else if (toPng) {
                const int page = o.pages == DocumentRender::Pages::Two ? 2 : 1;
                written = DocumentRender::writePng(o.output, pages, page, o.dpi, &messages, o.paper, o.replaceReadOnly);
            } else if (!o.outputDir.isEmpty()) {
                const QString out = QDir(o.outputDir).filePath(pdfNames.at(i));
                written = DocumentRender::writePdf(out, {{&pages, &messages}}, o.pages, o.paper, o.replaceReadOnly);
            } else {
                result.recorded = DocumentRender::recordPages(pages, o.pages, &messages);
            }
            result.err = messageLines(doc, messages);
            result.omitted = listMessages > 0 || messages.shown.size() > loadMessages;
            if (!written) {
                result.err += lineName(doc) + QStringLiteral(": ") + oneLine(written.error()) + QLatin1Char('\n');
                result.ok = false;
            }
            return result;
        },
        [&](int i, Outcome &r) {
            const QString &doc = o.documents.at(i);
            if (r.recorded && !bookFailed) {
                const Result<> opened = book.isOpen() ? Result<>() : book.open();
                if (!opened) {
                    printErr(QStringLiteral("appointform: ") + oneLine(opened.error()) + QLatin1Char('\n'));
                    bookFailed = true;
                    code = kFailed;
                } else {
                    book.addRecorded(*r.recorded);
                }
                r.recorded.reset();
            }
            writeOut(r.out);
            printErr(r.err);
            flushOut();
            noteOutcome(code, r);
            ++done;
            progress.done(done, pdfNames.isEmpty() ? lineName(doc)
                                                   : lineName(doc) + QStringLiteral(" -> ")
                                                         + QDir(o.outputDir).filePath(pdfNames.at(i)));
        });

    if (book.isOpen()) {
        if (const Result<> finished = book.finish(); !finished) {
            printErr(QStringLiteral("appointform: ") + oneLine(finished.error()) + QLatin1Char('\n'));
            code = kFailed;
        }
    }
    return code;
}

// The offscreen platform complains about a missing runtime folder, which
// the command line never uses; the image decoders' English remarks on a
// photo (libjpeg, libpng) would land amid the Chinese lines, which already
// say what matters about it. Everything else is passed on.
QtMessageHandler previousHandler = nullptr;

void quietMessages(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    if (type != QtFatalMsg
        && ((context.category && std::strncmp(context.category, "qt.gui.imageio", 14) == 0)
            || text.startsWith(QLatin1String("libpng "))))
        return;
    if (previousHandler)
        previousHandler(type, context, text);
}

} // namespace

bool isCommandLineInvocation(int argc, char **argv)
{
    return argc > 1 && (std::strcmp(argv[1], "render") == 0 || std::strcmp(argv[1], "check") == 0);
}

int runCommandLine(int argc, char **argv)
{
    // Headless: fonts and painting work without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    previousHandler = qInstallMessageHandler(quietMessages);
    QGuiApplication app(argc, argv);

    Options o;
    bool helpShown = false;
    const Result<> parsed = parseOptions(QCoreApplication::arguments(), o, &helpShown);
    if (helpShown)
        return kOk;
    if (!parsed)
        return badArguments(parsed.error());
    if (!o.marginsGiven) {
        QString problem;
        o.margins = MarginSettings::load(&problem);
        if (!problem.isEmpty())
            printErr(QStringLiteral("appointform: ") + problem + QLatin1Char('\n'));
    }
    // One date for the whole run, taken once: a batch that runs past
    // midnight still dates every document alike, and the threads that lay
    // documents out never ask the system clock.
    Clock::setToday(o.today.isValid() ? o.today : QDate::currentDate());

    // Without the form's typefaces every cell is measured with another font:
    // the output is not what the form prints, so the run does not pass.
    const QStringList missingFonts = missingFormFonts();
    for (const QString &line : missingFonts)
        printErr(QStringLiteral("appointform: ") + line + QLatin1Char('\n'));
    const int code = o.command == QLatin1String("check") ? runCheck(o) : runRender(o);
    return missingFonts.isEmpty() ? code : kFailed;
}
