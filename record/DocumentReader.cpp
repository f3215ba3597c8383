#include "record/DocumentReader.h"
#include "foundation/Clock.h"
#include "foundation/TextUtilities.h"
#include "record/BriefImport.h"
#include "record/DocumentItems.h"
#include "record/FieldSchema.h"

namespace {

QString part(const QStringList &parts, int i)
{
    return i < parts.size() ? parts.at(i) : QString();
}

void clearFamily(AppointmentRecord &r)
{
    for (const RecordField &f : recordFields())
        if (f.isFamily())
            (r.*(f.column)).fill(QString());
}

} // namespace

void splitEducationItem(const QString &item, QString &upper1, QString &lower1, QString &upper2,
                        QString &lower2)
{
    const QStringList halves = item.split(QLatin1Char('@'));
    const QStringList first = part(halves, 0).split(QLatin1Char('#'));
    const QStringList second = part(halves, 1).split(QLatin1Char('#'));
    upper1 = part(first, 0);
    lower1 = part(first, 1);
    upper2 = part(second, 0);
    lower2 = part(second, 1);
}

void readFamilyColumn(const QString &item, AppointmentRecord::FamilyColumn &column)
{
    int row = 0, start = 0;
    while (row < AppointmentRecord::kFamilyRows) {
        const int at = item.indexOf(QLatin1Char('@'), start);
        if (at < 0)
            break;
        column[row++] = item.mid(start, at - start);
        start = at + 1;
    }
}

QString renPartyText(const QString &a6, const QString &a7, const QString &a8, const QString &a9)
{
    const QString semi = QStringLiteral("；");
    if (!a6.isEmpty()) {
        if (a8.isEmpty() && a9.isEmpty())
            return a6;
        QString s = a6 + semi;
        for (const QString &a : {a8, a9})
            if (!a.isEmpty())
                s += a + semi;
        return s;
    }
    QStringList present;
    for (const QString &a : {a7, a8, a9})
        if (!a.isEmpty())
            present << a;
    if (present.size() == 1)
        return present.first();
    QString s;
    for (const QString &a : present)
        s += a + semi;
    return s;
}

namespace {

QString packedPart(const QString &item, int which)
{
    QString lines[4];
    splitEducationItem(item, lines[0], lines[1], lines[2], lines[3]);
    return lines[which];
}

// A ".dwz" document and an older ".ren" one differ only in where each
// field's item is and in how the party text is stored.
void applyItems(const QStringList &items, AppointmentRecord &r, DocumentKind kind)
{
    for (const RecordField &f : recordFields()) {
        const int number = kind == DocumentKind::Dwz ? f.dwzItem : f.renItem;
        if (number == 0)
            continue;
        const QString item = part(items, number - 1);
        if (f.has(RecordField::PartyText) && kind == DocumentKind::Ren)
            f.in(r) = renPartyText(item, part(items, number), part(items, number + 1), part(items, number + 2));
        else if (f.isFamily())
            readFamilyColumn(item, r.*(f.column));
        else if (f.packedPart >= 0)
            f.in(r) = packedPart(item, f.packedPart);
        else
            f.in(r) = f.has(RecordField::OneLineOnLoading) ? stripLineBreaks(item) : item;
    }
}

} // namespace

void applyDwzItems(const QStringList &items, AppointmentRecord &r)
{
    applyItems(items, r, DocumentKind::Dwz);
}

void applyRenItems(const QStringList &items, AppointmentRecord &r)
{
    applyItems(items, r, DocumentKind::Ren);
}

Result<> checkFieldLengths(const AppointmentRecord &record)
{
    for (const RecordField &f : recordFields()) {
        const int limit = f.text == &AppointmentRecord::resume ? kMaxResumeLength : kMaxFieldLength;
        for (int row = 0; row < f.rows(); ++row) {
            const QString &text = f.in(record, row);
            if (text.size() <= limit)
                continue;
            QString field = QStringLiteral("“%1”").arg(QString::fromUtf8(f.label).remove(QChar(0xFF1A)));
            if (f.column)
                field = QStringLiteral("家庭成员第 %1 行的%2").arg(row + 1).arg(field);
            return Failure{FailureKind::DamagedInput, QStringLiteral("%1一项有 %2 个字符，超过了表中能容纳的 %3 个字符，不是正常的表格内容")
                               .arg(field).arg(text.size()).arg(limit)};
        }
    }
    return {};
}

Result<> readDocument(QIODevice &device, DocumentKind kind, AppointmentRecord &record)
{
    if (kind == DocumentKind::Unknown)
        return Failure{FailureKind::WrongFileType, QStringLiteral("文件类型不正确！")};
    const Result<QStringList> items = readDocumentItems(device, documentItemCount(kind), documentMinimumItemCount(kind));
    if (!items)
        return items.failure();

    AppointmentRecord r = record;
    clearFamily(r);
    r.fillingDate.clear();
    switch (kind) {
    case DocumentKind::Dwz:
        applyDwzItems(items.value(), r);
        break;
    case DocumentKind::Ren:
        applyRenItems(items.value(), r);
        r.filledBy.clear();
        break;
    case DocumentKind::Ljy:
    case DocumentKind::Jan:
        fillFromBrief(r, items.value());
        break;
    case DocumentKind::Unknown:
        break;
    }

    if (r.ageReferenceDate.isEmpty())
        r.ageReferenceDate = Clock::todayDigits();
    r.fillingDate = Clock::todayDigits();
    r.partyMembership = removeChar(r.partyMembership, QStringLiteral("."));
    if (const Result<> sane = checkFieldLengths(r); !sane)
        return sane;
    record = r;
    return {};
}
