#include "app/Interaction.h"

Interaction::~Interaction() = default;

void Interaction::setBusy(bool) {}

QString qtFileFilter(const QString &vbFilter)
{
    const QStringList parts = vbFilter.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString desc = parts.at(i);
        entries << desc + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}
