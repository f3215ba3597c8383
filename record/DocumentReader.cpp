#include "record/DocumentReader.h"
#include "foundation/Clock.h"
#include "foundation/TextUtilities.h"
#include "record/BriefImport.h"
#include "record/DocumentItems.h"
#include "record/FieldLabels.h"

namespace {

QString part(const QStringList &parts, int i)
{
    return i < parts.size() ? parts.at(i) : QString();
}

QString withoutLineBreaks(const QString &text)
{
    return stripLineBreaks(text);
}

void clearFamily(AppointmentRecord &r)
{
    for (auto *column : {&r.familyRelations, &r.familyNames, &r.familyBirthDates, &r.familyPoliticalStatus, &r.familyWorkplaces})
        column->fill(QString());
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

// Items 1 to 5 and 7 to 31 of a ".dwz" document. An older ".ren" document
// holds the same items in the same order, `shift` places further on after
// the party text, which it spreads over four items.
void applySharedItems(const QStringList &items, AppointmentRecord &r, int shift)
{
    auto at = [&items, shift](int number) { return part(items, number - 1 + (number > 6 ? shift : 0)); };
    r.name = at(1);
    r.sex = at(2);
    r.birthDate = at(3);
    r.ethnicGroup = at(4);
    r.nativePlace = at(5);
    r.health = at(7);
    r.birthPlace = at(8);
    r.workStartDate = at(9);
    splitEducationItem(at(10), r.fullTimeEducation, r.fullTimeDegree, r.inServiceEducation, r.inServiceDegree);
    splitEducationItem(at(11), r.fullTimeSchool, r.fullTimeSpeciality, r.inServiceSchool, r.inServiceSpeciality);
    r.professionalTitle = at(12);
    r.specialities = at(17);
    r.resume = at(18);
    r.rewardsAndPunishments = at(19);
    r.appraisalResults = at(20);
    readFamilyColumn(at(21), r.familyRelations);
    readFamilyColumn(at(22), r.familyNames);
    readFamilyColumn(at(23), r.familyBirthDates);
    readFamilyColumn(at(24), r.familyPoliticalStatus);
    readFamilyColumn(at(25), r.familyWorkplaces);
    r.currentPosts = withoutLineBreaks(at(26));
    r.proposedPosts = at(27);
    r.postsToBeRemoved = at(28);
    r.reasonForAppointment = at(29);
    r.reportingUnit = at(30);
    r.ageReferenceDate = at(31);
}

} // namespace

void applyDwzItems(const QStringList &items, AppointmentRecord &r)
{
    applySharedItems(items, r, 0);
    r.partyMembership = part(items, 5);
    r.filledBy = part(items, 31);
}

void applyRenItems(const QStringList &items, AppointmentRecord &r)
{
    applySharedItems(items, r, 3);
    r.partyMembership = renPartyText(part(items, 5), part(items, 6), part(items, 7), part(items, 8));
}

Result<> checkFieldLengths(const AppointmentRecord &record)
{
    for (const FieldLabel &f : kFieldLabels) {
        const int limit = f.text == &AppointmentRecord::resume ? kMaxResumeLength : kMaxFieldLength;
        for (int row = 0; row < (f.column ? AppointmentRecord::kFamilyRows : 1); ++row) {
            const QString &text = f.column ? (record.*(f.column))[row] : record.*(f.text);
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
        fillFromBrief(r, briefRecordFromItems(items.value()));
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
