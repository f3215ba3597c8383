#include "app/CheckCommand.h"
#include "app/EditorArguments.h"
#include "commands/BatchOutput.h"

QString CheckCommand::name() const
{
    return QStringLiteral("check");
}

QString CheckCommand::description() const
{
    return usageText("Load, check and lay out documents; exit 0 when all pass.",
                     "调入、校验并排版文档；全部通过时退出码为 0。");
}

QString CheckCommand::unknownOptionHint() const
{
    return QStringLiteral(" (check takes documents, --margins, --today and --jobs only)");
}

int CheckCommand::execute(const CommandOptions &o) const
{
    int status = kExitOk;
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
                result.status = exitStatusFor(check.prepared.kind());
            } else if (!check.layoutMessages.isEmpty()) {
                result.status = kExitOmissions;
            }
            result.out = lines.toUtf8();
            return result;
        },
        [&](int, Outcome &r) {
            deliverOutcome(status, r);
        });
    return status;
}
