// "appointform render" and "appointform check": documents through the same
// path as the window (load, checks, hand-off, both pages) without any
// window. Nothing here waits for input; messages go to stderr.
#include "app/CommandLine.h"
#include "app/Command.h"

#include "foundation/Clock.h"
#include "layout/MeasuringSurface.h"
#include "record/MarginSettings.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstring>

namespace {

const char kSynopsis[] =
    "usage: appointform render DOC... (-o OUT.pdf|OUT.docx|OUT.png | --output-dir DIR | --display-list) [options]\n"
    "       appointform check DOC... [options]\n"
    "       appointform roster DOC... -o OUT.xlsx|OUT.csv [options]\n"
    "       (\"appointform render --help\" lists the options)\n";

int badArguments(const Result<> &parsed)
{
    printErr(QStringLiteral("appointform: ") + parsed.error() + QLatin1Char('\n'));
    std::fputs(kSynopsis, stderr);
    return exitStatusFor(parsed.kind());
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
    return argc > 1 && Command::named(QString::fromLocal8Bit(argv[1])) != nullptr;
}

int runCommandLine(int argc, char **argv)
{
    // Headless: fonts and painting work without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    previousHandler = qInstallMessageHandler(quietMessages);
    QGuiApplication app(argc, argv);

    const QStringList args = QCoreApplication::arguments();
    const std::unique_ptr<Command> command = Command::named(args.value(1));
    CommandOptions o;
    bool helpShown = false;
    const Result<> parsed = command->parse(args, o, &helpShown);
    if (helpShown)
        return kExitOk;
    if (!parsed)
        return badArguments(parsed);
    if (!o.marginsGiven && command->laysOutPages()) {
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
    const QStringList missingFonts = command->laysOutPages() ? missingFormFonts() : QStringList();
    for (const QString &line : missingFonts)
        printErr(QStringLiteral("appointform: ") + line + QLatin1Char('\n'));
    const int status = command->execute(o);
    return missingFonts.isEmpty() ? status : exitStatusFor(FailureKind::MissingFont);
}
