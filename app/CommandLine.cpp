// "appointform render" and "appointform check": documents through the same
// path as the window (load, checks, hand-off, both pages) without any
// window. Nothing here waits for input; messages go to stderr.
#include "app/CommandLine.h"

#include "app/Clock.h"
#include "app/MarginSettings.h"
#include "app/ScriptedInteraction.h"
#include "render/DocumentRender.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSet>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {

enum ExitCode { kOk = 0, kFailed = 1, kBadArguments = 2 };

const char kUsage[] =
    "usage: appointform render DOC... [-o OUT.pdf | -o OUT.png | --output-dir DIR]\n"
    "                          [--page 1|2] [--dpi N] [--margins T,L,B] [--today yyyymmdd]\n"
    "                          [--display-list]\n"
    "       appointform check DOC...\n"
    "  -o OUT.pdf        all pages of every document in one PDF (B5, 600 dpi)\n"
    "  -o OUT.png        one page (--page, default 1) of one document at --dpi (default 150)\n"
    "  --output-dir DIR  one PDF per document, named after it\n"
    "  --page 1|2        only this page\n"
    "  --margins T,L,B   top, page-one left and page-two left margins in twips\n"
    "                    (default: the saved margin settings)\n"
    "  --today yyyymmdd  the date taken as today (fill-in date, checks)\n"
    "  --display-list    print the drawing operations to stdout instead of drawing\n";

void printErr(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stderr);
}

void printOut(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, bytes.size(), stdout);
}

int badArguments(const QString &why)
{
    printErr(QStringLiteral("appointform: ") + why + QLatin1Char('\n'));
    std::fputs(kUsage, stderr);
    return kBadArguments;
}

QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
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
    bool marginsGiven = false;
    PageMargins margins;
    QDate today;
    bool displayList = false;
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
    m.T = values[0];
    m.L = values[1];
    m.B = values[2];
    return true;
}

// Returns an empty string on success, else what is wrong.
QString parseOptions(const QStringList &args, Options &o)
{
    o.command = args.value(1);
    for (int i = 2; i < args.size(); ++i) {
        const QString a = args.at(i);
        auto value = [&](QString *out) {
            if (i + 1 >= args.size())
                return false;
            *out = args.at(++i);
            return true;
        };
        QString v;
        if (!a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            o.documents << a;
        } else if (a == QLatin1String("-o")) {
            if (!value(&o.output))
                return QStringLiteral("-o needs a file name");
        } else if (a == QLatin1String("--output-dir")) {
            if (!value(&o.outputDir))
                return QStringLiteral("--output-dir needs a folder");
        } else if (a == QLatin1String("--page")) {
            if (!value(&v) || (v != QLatin1String("1") && v != QLatin1String("2")))
                return QStringLiteral("--page takes 1 or 2");
            o.pages = v == QLatin1String("1") ? DocumentRender::Pages::One : DocumentRender::Pages::Two;
            o.pageGiven = true;
        } else if (a == QLatin1String("--dpi")) {
            bool ok = false;
            if (value(&v))
                o.dpi = v.toInt(&ok);
            if (!ok || o.dpi < 10 || o.dpi > 2400)
                return QStringLiteral("--dpi takes a whole number from 10 to 2400");
            o.dpiGiven = true;
        } else if (a == QLatin1String("--margins")) {
            if (!value(&v) || !parseMargins(v, o.margins))
                return QStringLiteral("--margins takes three whole numbers of twips: T,L,B");
            o.marginsGiven = true;
        } else if (a == QLatin1String("--today")) {
            if (value(&v) && v.size() == 8)
                o.today = QDate::fromString(v, QStringLiteral("yyyyMMdd"));
            if (!o.today.isValid())
                return QStringLiteral("--today takes a date as yyyymmdd");
        } else if (a == QLatin1String("--display-list")) {
            o.displayList = true;
        } else {
            return QStringLiteral("unknown option ") + a;
        }
    }
    if (o.documents.isEmpty())
        return QStringLiteral("no document given");
    if (o.command != QLatin1String("render")) {
        if (!o.output.isEmpty() || !o.outputDir.isEmpty() || o.pageGiven || o.dpiGiven || o.displayList)
            return QStringLiteral("check takes documents, --margins and --today only");
        return QString();
    }

    const int targets = (o.output.isEmpty() ? 0 : 1) + (o.outputDir.isEmpty() ? 0 : 1) + (o.displayList ? 1 : 0);
    if (targets == 0)
        return QStringLiteral("say where to: -o, --output-dir or --display-list");
    if (targets > 1)
        return QStringLiteral("-o, --output-dir and --display-list exclude each other");
    if (!o.output.isEmpty()) {
        const QString suffix = QFileInfo(o.output).suffix().toLower();
        if (suffix != QLatin1String("pdf") && suffix != QLatin1String("png"))
            return QStringLiteral("-o takes a .pdf or .png file");
        if (suffix == QLatin1String("png") && o.documents.size() != 1)
            return QStringLiteral("a PNG holds one page of one document");
    }
    return QString();
}

// Messages of one document go to stderr with its name in front.
struct DocumentMessages : StderrInteraction {
    explicit DocumentMessages(const QString &document) { prefix = document + QStringLiteral(": "); }
};

int runCheck(const Options &o)
{
    int code = kOk;
    for (const QString &doc : o.documents) {
        ScriptedInteraction collected;
        FormPages pages;
        pages.margins = o.margins;
        if (!DocumentRender::prepareDocument(doc, pages, collected)) {
            const QStringList shown = collected.messageTexts();
            printOut(doc + QStringLiteral(": ") + oneLine(shown.value(0, QStringLiteral("cannot be loaded"))) +
                     QLatin1Char('\n'));
            code = kFailed;
            continue;
        }
        printOut(doc + QStringLiteral(": ok\n"));
        for (const QString &warning : DocumentRender::layoutMessages(pages, DocumentRender::Pages::Both))
            printOut(doc + QStringLiteral(": warning: ") + oneLine(warning) + QLatin1Char('\n'));
    }
    return code;
}

// A PDF name per document; a second document of the same base name keeps
// its extension in the name rather than overwrite the first.
QString pdfNameFor(const QString &doc, QSet<QString> &used)
{
    const QFileInfo info(doc);
    QString name = info.completeBaseName() + QStringLiteral(".pdf");
    if (used.contains(name))
        name = info.fileName() + QStringLiteral(".pdf");
    used.insert(name);
    return name;
}

int runRender(const Options &o)
{
    const bool toPng = !o.output.isEmpty() && QFileInfo(o.output).suffix().toLower() == QLatin1String("png");
    const bool progress = !o.outputDir.isEmpty() && isatty(fileno(stderr));
    if (!o.outputDir.isEmpty() && !QDir().mkpath(o.outputDir)) {
        printErr(QStringLiteral("appointform: cannot create ") + o.outputDir + QLatin1Char('\n'));
        return kFailed;
    }

    int code = kOk;
    // -o OUT.pdf collects every document, with its messages, into one file
    struct Kept {
        std::unique_ptr<FormPages> pages;
        std::unique_ptr<DocumentMessages> messages;
    };
    std::vector<Kept> kept;
    QSet<QString> usedNames;
    const int total = o.documents.size();
    for (int i = 0; i < total; ++i) {
        const QString &doc = o.documents.at(i);
        auto messages = std::make_unique<DocumentMessages>(doc);
        auto pages = std::make_unique<FormPages>();
        pages->margins = o.margins;
        if (!DocumentRender::prepareDocument(doc, *pages, *messages)) {
            code = kFailed;
            continue;
        }
        QString error;
        bool written = true;
        if (o.displayList) {
            printOut(DocumentRender::displayList(*pages, o.pages));
        } else if (toPng) {
            const int page = o.pages == DocumentRender::Pages::Two ? 2 : 1;
            written = DocumentRender::writePng(o.output, *pages, page, o.dpi, messages.get(), &error);
        } else if (!o.outputDir.isEmpty()) {
            const QString out = QDir(o.outputDir).filePath(pdfNameFor(doc, usedNames));
            written = DocumentRender::writePdf(out, {{pages.get(), messages.get()}}, o.pages, &error);
            if (progress)
                printErr(QStringLiteral("[%1/%2] %3 -> %4\n").arg(i + 1).arg(total).arg(doc, out));
        } else {
            kept.push_back({std::move(pages), std::move(messages)});
        }
        if (!written) {
            printErr(doc + QStringLiteral(": ") + error + QLatin1Char('\n'));
            code = kFailed;
        }
    }

    if (!kept.empty()) {
        // One PDF for all documents; a document's messages keep its name.
        QList<DocumentRender::PdfDocument> documents;
        for (const Kept &k : kept)
            documents.append({k.pages.get(), k.messages.get()});
        QString error;
        if (!DocumentRender::writePdf(o.output, documents, o.pages, &error)) {
            printErr(QStringLiteral("appointform: ") + error + QLatin1Char('\n'));
            code = kFailed;
        }
    }
    return code;
}

// The offscreen platform complains about a missing runtime folder, which
// the command line never uses; everything else is passed on.
QtMessageHandler previousHandler = nullptr;

void quietMessages(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
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
    const QString why = parseOptions(QCoreApplication::arguments(), o);
    if (!why.isEmpty())
        return badArguments(why);
    if (!o.marginsGiven)
        o.margins = MarginSettings::load();
    if (o.today.isValid())
        Clock::setToday(o.today);

    return o.command == QLatin1String("check") ? runCheck(o) : runRender(o);
}
