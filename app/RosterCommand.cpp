#include "app/RosterCommand.h"
#include "commands/BatchOutput.h"
#include "commands/Roster.h"

#include <QCommandLineParser>
#include <QElapsedTimer>

#include <cstdio>
#include <unistd.h>

QString RosterCommand::name() const
{
    return QStringLiteral("roster");
}

QString RosterCommand::description() const
{
    return usageText("One row per document, in the order given, of the fields as the form prints them (name, sex, "
                     "birth date, age ... reporting unit) and the document's file. Documents that fail to load or "
                     "fail the checks get no row and are listed on stderr.",
                     "每个文档一行，按给出的顺序，列出表格所印的各项（姓名、性别、出生年月、年龄……呈报单位）和文档文件。"
                     "未能调入或未通过校验的文档不列入，在标准错误输出中列出。");
}

QList<QCommandLineOption> RosterCommand::ownOptions() const
{
    return {m_output, m_force};
}

Result<> RosterCommand::readOwnOptions(const QCommandLineParser &parser, CommandOptions &o) const
{
    o.output = parser.value(m_output);
    o.replaceReadOnly = parser.isSet(m_force);
    return {};
}

Result<> RosterCommand::checkOptions(const CommandOptions &o) const
{
    if (o.output.isEmpty())
        return usage("say where to: -o OUT.xlsx or -o OUT.csv");
    if (!Roster::formatOf(o.output))
        return usage("-o takes a .xlsx or .csv file");
    return {};
}

QString RosterCommand::unknownOptionHint() const
{
    return QStringLiteral(" (roster takes documents, -o, --force, --today and --jobs only)");
}

QString RosterCommand::exitStatusHelp() const
{
    return usageText("\nExit status: 0 every document is in the roster; 1 a document failed (listed on stderr and "
                     "on the spreadsheet's second sheet) or the file could not be written; 2 wrong arguments.",
                     "\n退出码：0 所有文档都已列入名册；1 有文档未通过（在标准错误输出和电子表格的第二个工作表中列出）"
                     "或文件未能写出；2 参数有误。");
}

int RosterCommand::execute(const CommandOptions &o) const
{
    // Progress on a terminal, every few hundred documents.
    const bool shown = isatty(fileno(stderr));
    QElapsedTimer clock;
    clock.start();
    const int total = int(o.documents.size());
    const Roster::Report report = Roster::write(
        o.documents, o.output, o.jobs > 0 ? o.jobs : BatchOutput::defaultJobs(),
        [&](int done, int) {
            if (shown && (done % 500 == 0 || done == total))
                printErr(QStringLiteral("[%1/%2] (%3 documents/s)\n")
                             .arg(done)
                             .arg(total)
                             .arg(done / std::max(0.001, clock.elapsed() / 1000.0), 0, 'f', 0));
            return true;
        },
        o.replaceReadOnly);
    for (const BatchOutput::Problem &failed : report.failed)
        printErr(lineName(failed.document) + QStringLiteral(": ") + failed.message + QLatin1Char('\n'));
    if (!report.written) {
        printErr(QStringLiteral("appointform: ") + oneLine(report.written.error()) + QLatin1Char('\n'));
        return exitStatusFor(report.written.kind());
    }
    return report.failed.isEmpty() ? kExitOk : kExitFailed;
}
