#pragma once
#include "foundation/Result.h"
#include "layout/RecordingSurface.h"
#include "pages/DocumentRender.h"
#include "record/PageMargins.h"

#include <QCommandLineOption>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class CollectedMessages;
class QCommandLineParser;

// Exit statuses of the subcommands. A batch script stops on anything but 0.
enum ExitStatus { kExitOk = 0, kExitFailed = 1, kExitBadArguments = 2, kExitOmissions = 3 };
// The status a failure of `kind` ends a run with: the one place that maps them.
int exitStatusFor(FailureKind kind);

// What the options of a subcommand come to, read and checked.
struct CommandOptions {
    QStringList documents;
    QString output;
    QString outputDir;
    DocumentRender::Pages pages = DocumentRender::Pages::Both;
    int dpi = 150;
    DocumentRender::Paper paper = DocumentRender::Paper::B5;
    bool marginsGiven = false;
    PageMargins margins;
    QDate today;
    bool displayList = false;
    bool replaceReadOnly = false;
    bool docx = false;   // --output-dir writes Word documents, not PDFs
    int jobs = 0;   // 0: one per processor
};

// A subcommand of the program ("appointform render ..."): its name, what it
// does, its own options and their checks, and the run. The options every
// subcommand shares (documents, --margins, --today, --jobs, --help) are
// read and checked here, after the command's own.
class Command {
public:
    virtual ~Command();
    virtual QString name() const = 0;
    virtual QString description() const = 0;
    // Shown before the shared options in --help.
    virtual QList<QCommandLineOption> ownOptions() const { return {}; }
    // Reads and checks the command's own options.
    virtual Result<> readOwnOptions(const QCommandLineParser &, CommandOptions &) const { return {}; }
    // Checks that need the whole set, once the documents are known.
    virtual Result<> checkOptions(const CommandOptions &) const { return {}; }
    // Said after the parser's own words when it meets an option it does not know.
    virtual QString unknownOptionHint() const { return {}; }
    // Whether the command lays pages out: only then do --margins and the
    // form's fonts matter to it.
    virtual bool laysOutPages() const { return true; }
    // The exit statuses, as --help states them.
    virtual QString exitStatusHelp() const;
    virtual int execute(const CommandOptions &options) const = 0;

    // `args` as QCoreApplication::arguments(), the command's name second.
    // Prints --help and sets `helpShown` when asked for.
    Result<> parse(const QStringList &args, CommandOptions &options, bool *helpShown) const;

    // The subcommands, "render", "check" and "roster"; null for another name.
    static std::unique_ptr<Command> named(const QString &name);
};

// Output shared by the subcommands: whole lines, the document's name first.
void printErr(const QString &text);
void writeOut(const QByteArray &bytes);
void flushOut();
// CR LF and lone line breaks as spaces.
QString oneLine(QString text);
// A document's name at the head of an output line, its control characters
// escaped ("\n", "\t", "\x01"): a name with a line break stays one line.
QString lineName(const QString &doc);
// Every message a document raised, one whole line each, with its name and
// the message's title in front.
QString messageLines(const QString &doc, const CollectedMessages &messages);

// What one document produced, handed back in the order of the arguments.
struct Outcome {
    int status = kExitOk;   // kExitFailed, or kExitOmissions: drawn, but a text left out or past its cell
    QByteArray out;         // for stdout, UTF-8 (encoded on the worker)
    QString err;            // for stderr
    std::unique_ptr<RecordingSurface> recorded;   // pages for the combined PDF
};
// A failure outweighs an omission, which outweighs success.
void noteOutcome(int &status, const Outcome &outcome);
// Writes what a document produced and notes its status.
void deliverOutcome(int &status, const Outcome &outcome);
// A wrong argument, said in the option's own terms.
Failure usage(const char *why);

// Runs `work` on every document with the chosen number of jobs; what it
// produced is handed to `deliver` in argument order. A document that throws
// is reported and the others go on. When this thread has work of its own
// in `deliver` (painting the combined PDF), it counts as one of the jobs.
void forEachDocument(const CommandOptions &o, bool busyDelivering, const std::function<Outcome(int)> &work,
                     const std::function<void(int, Outcome &)> &deliver);
