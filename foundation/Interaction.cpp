#include "foundation/Interaction.h"
#include "foundation/AppInfo.h"

#include <utility>

Interaction::~Interaction() = default;

void Interaction::setBusy(bool) {}

QStringList Interaction::openFileNames(const QString &title, const QString &startPath, const QString &filter)
{
    const QString one = openFileName(title, startPath, filter);
    return one.isEmpty() ? QStringList() : QStringList{one};
}

QString Interaction::folderName(const QString &, const QString &)
{
    return {};
}

bool Interaction::progress(const QString &, const QString &, int, int)
{
    return true;
}

void CollectedMessages::message(const QString &title, const QString &text, MessageIcon icon)
{
    m_kept.append({title, text, icon});
}

void CollectedMessages::showTo(Interaction &ui)
{
    const QList<Kept> kept = std::exchange(m_kept, {});
    for (const Kept &k : kept)
        ui.message(k.title, k.text, k.icon);
}

QStringList CollectedMessages::texts() const
{
    QStringList out;
    for (const Kept &k : m_kept)
        out << k.text;
    return out;
}

FailureLook failureLook(FailureKind kind)
{
    const QString system = QStringLiteral("系统");
    switch (kind) {
    case FailureKind::RefusedField: return {AppInfo::title(), MessageIcon::Exclamation};
    case FailureKind::RefusedPartyText: return {QStringLiteral("系统校验"), MessageIcon::Critical};
    case FailureKind::RefusedMargins: return {QStringLiteral("提示"), MessageIcon::None};
    case FailureKind::WrongFileType: return {QStringLiteral("系统警告"), MessageIcon::Information};
    case FailureKind::MissingFont: return {QStringLiteral("系统警告"), MessageIcon::Exclamation};
    case FailureKind::NotSaved:
    case FailureKind::ResumeTooLong:
    case FailureKind::Printer: return {system, MessageIcon::Exclamation};
    case FailureKind::Other:
    case FailureKind::Usage:
    case FailureKind::Cancelled:
    case FailureKind::FileSystem:
    case FailureKind::DamagedInput:
    case FailureKind::TooLongForCell:
    case FailureKind::DoesNotFitCell:
    case FailureKind::OutOfMemory: break;
    }
    return {system, MessageIcon::Information};
}

void showFailure(Interaction &ui, const Failure &failure)
{
    const FailureLook look = failureLook(failure.kind);
    ui.message(look.title, failure.text(), look.icon);
}

QString qtFileFilter(const QString &vbFilter)
{
    const QStringList parts = vbFilter.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // A label that already names its extensions ("任免审批表 (.dwz;.ren)")
        // shows Qt's pattern list in their place, not a second list after it.
        QString desc = parts.at(i);
        const int open = desc.lastIndexOf(QLatin1Char('('));
        if (open > 0 && desc.endsWith(QLatin1Char(')')))
            desc = desc.left(open).trimmed();
        entries << desc + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}
