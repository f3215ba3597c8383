#include "app/Command.h"
#include "app/CheckCommand.h"
#include "app/EditorArguments.h"
#include "app/RenderCommand.h"
#include "app/RosterCommand.h"
#include "commands/BatchOutput.h"
#include "foundation/Interaction.h"
#include "foundation/OrderedBatch.h"

#include <QCommandLineParser>

#include <cstdio>

// The exit statuses of the commands that print, for --help.
QString Command::exitStatusHelp() const
{
    return usageText("\nExit status: 0 every document printed in full; 1 a document could not be loaded, checked "
                     "or written, or the form's fonts are missing; 2 wrong arguments; 3 printed with omissions "
                     "(a text left out or running out of its cell).",
                     "\n退出码：0 所有文档完整输出；1 有文档未能调入、校验或写出，或缺少表格所用的字体；"
                     "2 参数有误；3 输出有遗漏（有文字未打印或超出格子）。");
}

namespace {

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

} // namespace

Failure usage(const char *why)
{
    return Failure{FailureKind::Usage, QString::fromUtf8(why)};
}

int exitStatusFor(FailureKind kind)
{
    switch (kind) {
    case FailureKind::Usage: return kExitBadArguments;
    case FailureKind::TooLongForCell:
    case FailureKind::DoesNotFitCell:
    case FailureKind::ResumeTooLong: return kExitOmissions;
    default: return kExitFailed;
    }
}

Command::~Command() = default;

std::unique_ptr<Command> Command::named(const QString &name)
{
    if (name == QLatin1String("render"))
        return std::make_unique<RenderCommand>();
    if (name == QLatin1String("check"))
        return std::make_unique<CheckCommand>();
    if (name == QLatin1String("roster"))
        return std::make_unique<RosterCommand>();
    return nullptr;
}

Result<> Command::parse(const QStringList &args, CommandOptions &o, bool *helpShown) const
{
    const QCommandLineOption margins{QStringLiteral("margins"),
                                     usageText("Top, page-one left and page-two left margins in twips (default: the "
                                               "saved margin settings).",
                                               "上边距、第一页左边距、第二页左边距，单位缇（默认：已保存的边距设置）。"),
                                     QStringLiteral("T,L,B")};
    const QCommandLineOption today{QStringLiteral("today"),
                                   usageText("The date taken as today (fill-in date, checks).",
                                             "作为今天的日期（填表时间、校验）。"),
                                   QStringLiteral("yyyymmdd")};
    const QCommandLineOption jobs{QStringLiteral("jobs"),
                                  usageText("Documents laid out at once (default: one per processor); output keeps "
                                            "the order of the documents given.",
                                            "同时处理的文档数（默认：每个处理器一个）；输出保持文档的给出顺序。"),
                                  QStringLiteral("N")};
    const QCommandLineOption help{QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  usageText("Show this help and exit.", "显示本帮助后退出。")};
    QList<QCommandLineOption> options = ownOptions();
    if (laysOutPages())
        options << margins;
    options << today << jobs << help;
    QCommandLineParser parser;
    parser.addOptions(options);
    QStringList rest = args;
    rest.removeAt(1);
    if (!parser.parse(rest)) {
        QString why = parser.errorText();
        if (!parser.unknownOptionNames().isEmpty())
            why += unknownOptionHint();
        return Failure{FailureKind::Usage, why};
    }
    if (parser.isSet(help)) {
        const QString text =
            helpText(QStringLiteral("appointform ") + name(), usageText("DOC...", "文档..."),
                     description() + exitStatusHelp(), options,
                     {{usageText("DOC", "文档"),
                       usageText("Documents (.dwz, .ren, .ljy, .jan).", "文档（.dwz、.ren、.ljy、.jan）。")}});
        std::fputs(text.toLocal8Bit().constData(), stdout);
        *helpShown = true;
        return {};
    }
    o.documents = parser.positionalArguments();
    if (const Result<> own = readOwnOptions(parser, o); !own)
        return own;
    if (laysOutPages() && parser.isSet(margins)) {
        if (!parseMargins(parser.value(margins), o.margins))
            return usage("--margins takes three whole numbers of twips: T,L,B");
        o.marginsGiven = true;
    }
    if (parser.isSet(today)) {
        const QString v = parser.value(today);
        if (v.size() == 8)
            o.today = QDate::fromString(v, QStringLiteral("yyyyMMdd"));
        if (!o.today.isValid())
            return usage("--today takes a date as yyyymmdd");
    }
    if (parser.isSet(jobs)) {
        bool ok = false;
        o.jobs = parser.value(jobs).toInt(&ok);
        if (!ok || o.jobs < 1 || o.jobs > 256)
            return usage("--jobs takes a whole number from 1 to 256");
    }
    if (o.documents.isEmpty())
        return usage("no document given");
    return checkOptions(o);
}

void printErr(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stderr);
}

void writeOut(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void flushOut()
{
    std::fflush(stdout);
}

QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

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

QString messageLines(const QString &doc, const CollectedMessages &messages)
{
    QString out;
    for (const CollectedMessages::Kept &m : messages.kept())
        out += lineName(doc) + QStringLiteral(": ") + m.title + QStringLiteral(": ") + oneLine(m.text) + QLatin1Char('\n');
    return out;
}

void noteOutcome(int &status, const Outcome &outcome)
{
    if (outcome.status == kExitFailed)
        status = kExitFailed;
    else if (outcome.status == kExitOmissions && status == kExitOk)
        status = kExitOmissions;
}

void deliverOutcome(int &status, const Outcome &outcome)
{
    writeOut(outcome.out);
    printErr(outcome.err);
    flushOut();
    noteOutcome(status, outcome);
}

void forEachDocument(const CommandOptions &o, bool busyDelivering, const std::function<Outcome(int)> &work,
                     const std::function<void(int, Outcome &)> &deliver)
{
    const int jobs = o.jobs > 0 ? o.jobs : BatchOutput::defaultJobs();
    const int workers = jobs <= 1 ? 0 : (busyDelivering ? jobs - 1 : jobs);
    const std::function<Outcome(int)> guarded = [&](int i) {
        try {
            return work(i);
        } catch (...) {
            Outcome failed;
            failed.status = kExitFailed;
            failed.err = lineName(o.documents.at(i)) + QStringLiteral(": 处理时发生内部错误，已跳过\n");
            return failed;
        }
    };
    runOrdered<Outcome>(int(o.documents.size()), workers, 2 * jobs, guarded, deliver);
}
