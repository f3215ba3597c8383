#include "record/BriefImport.h"
#include "foundation/TextUtilities.h"
#include "record/FieldSchema.h"

#include <QRegularExpression>

QString briefPartyText(const QString &joinDate, const QString &party1, const QString &party2, const QString &party3)
{
    const QString semi = QStringLiteral("；");
    QString s = joinDate + semi + party1 + semi + party2 + semi + party3 + semi;
    s.replace(QStringLiteral("；中共；"), semi);
    s.replace(QStringLiteral("；；；；"), QString());
    s.replace(QStringLiteral("；；；"), semi);
    s.replace(QStringLiteral("；；"), semi);
    return s;
}

void fillFromBrief(AppointmentRecord &t, const QStringList &items)
{
    auto at = [&items](int number) { return number <= items.size() ? items.at(number - 1) : QString(); };
    for (const RecordField &f : recordFields()) {
        const int n = f.briefItem;
        if (n == 0)
            continue;
        if (f.has(RecordField::PartyText)) {
            f.in(t) = briefPartyText(removeChar(at(n), QStringLiteral(".")), at(n + 1), at(n + 2), at(n + 3));
        } else if (f.isFamily()) {
            const QStringList cells = at(n).split(QLatin1Char('@'));
            for (int row = 0; row < f.rows(); ++row)
                f.in(t, row) = cells.value(row);
        } else {
            f.in(t) = at(n);
        }
    }
}

namespace {

QString comparableName(const QString &name)
{
    QString s = name;
    s.remove(QRegularExpression(QStringLiteral("\\s")));
    return s;
}

} // namespace

QStringList briefUncarriedFieldsInUse(const AppointmentRecord &record)
{
    QStringList labels;
    for (const RecordField &f : recordFields())
        if (f.leftByBrief && !trimSpaces(stripLineBreaks(f.in(record))).isEmpty())
            labels << QString::fromUtf8(f.leftByBrief);
    return labels;
}

void clearFieldsBriefDoesNotCarry(AppointmentRecord &record)
{
    for (const RecordField &f : recordFields())
        if (f.leftByBrief)
            f.in(record).clear();
}

bool briefIsAnotherPerson(const AppointmentRecord &record, const QString &briefName)
{
    const QString current = comparableName(record.name);
    return !current.isEmpty() && current != comparableName(briefName);
}
