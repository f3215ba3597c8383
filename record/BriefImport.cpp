#include "record/BriefImport.h"
#include "foundation/TextUtilities.h"

#include <QRegularExpression>

namespace {

void setControl(AppointmentRecord &target, const char *controlName, const QString &value)
{
    if (QString *field = recordFieldByControl(target, QLatin1String(controlName)))
        *field = value;
}

// Highest row index of a control array on the target, -1 when it has none.
int upperBound(AppointmentRecord &target, const char *controlName)
{
    if (!findRecordField(QLatin1String(controlName)))
        return -1;
    int row = 0;
    while (recordFieldByControl(target, QLatin1String(controlName), row + 1))
        ++row;
    return row;
}

void fillColumn(AppointmentRecord &target, const char *controlName, const QString &item, int upper)
{
    QStringList cells = item.split(QLatin1Char('@'));
    for (int row = 0; row <= upper; ++row) {
        QString *cell = recordFieldByControl(target, QLatin1String(controlName), row);
        if (cell)
            *cell = row < cells.size() ? cells.at(row) : QString();
    }
}

} // namespace

BriefRecord briefRecordFromItems(const QStringList &items)
{
    auto at = [&items](int number) { return number <= items.size() ? items.at(number - 1) : QString(); };
    BriefRecord b;
    b.name = at(1);
    b.sex = at(2);
    b.birthDate = at(3);
    b.wholeNumber = trimSpaces(at(4)).toInt();   // unused; anything unreadable counts as 0
    b.ethnicGroup = at(5);
    b.nativePlace = at(6);
    b.partyDate = removeChar(at(7), QStringLiteral("."));
    b.party1 = at(8);
    b.party2 = at(9);
    b.party3 = at(10);
    b.birthPlace = at(12);
    b.workStartDate = at(13);
    b.fullTimeEducation = at(15);
    b.fullTimeSchool = at(16);
    b.professionalTitle = at(17);
    b.health = at(19);
    b.specialities = at(20);
    b.resume = at(21);
    b.rewardsAndPunishments = at(22);
    b.familyRelations = at(23);
    b.familyNames = at(24);
    b.familyBirthDates = at(25);
    b.familyPoliticalStatus = at(26);
    b.familyWorkplaces = at(27);
    b.currentPosts = at(28);
    b.proposedUse = at(29);
    b.appraisalResults = at(30);
    b.remarks = at(31);
    b.ageReferenceDate = at(32);
    return b;
}

QString briefPartyText(const BriefRecord &b)
{
    const QString semi = QStringLiteral("；");
    QString s = b.partyDate + semi + b.party1 + semi + b.party2 + semi + b.party3 + semi;
    s.replace(QStringLiteral("；中共；"), semi);
    s.replace(QStringLiteral("；；；；"), QString());
    s.replace(QStringLiteral("；；；"), semi);
    s.replace(QStringLiteral("；；"), semi);
    return s;
}

void fillFromBrief(AppointmentRecord &t, const BriefRecord &b)
{
    const int upper = upperBound(t, "txtChengwei");

    setControl(t, "txtName", b.name);
    setControl(t, "txtSex", b.sex);
    setControl(t, "txtBirthday", b.birthDate);
    setControl(t, "txtPeople", b.ethnicGroup);
    setControl(t, "txtJiguan", b.nativePlace);
    setControl(t, "txtRudang", briefPartyText(b));

    setControl(t, "txtHealth", b.health);
    setControl(t, "txtBirPlace", b.birthPlace);
    setControl(t, "txtWorktime", b.workStartDate);
    setControl(t, "txtXueli", b.fullTimeEducation);
    setControl(t, "txtXuewei", b.professionalTitle);
    setControl(t, "txtBiye", b.fullTimeSchool);
    setControl(t, "txtShuxi", b.specialities);
    setControl(t, "txtXianRen", b.currentPosts);
    setControl(t, "txtSyyx", b.proposedUse);
    setControl(t, "txtJianLi", b.resume);
    setControl(t, "txtJiangCheng", b.rewardsAndPunishments);
    setControl(t, "txtKaoHe", b.appraisalResults);

    fillColumn(t, "txtChengwei", b.familyRelations, upper);
    fillColumn(t, "txtXingm", b.familyNames, upper);
    fillColumn(t, "txtcsrq", b.familyBirthDates, upper);
    fillColumn(t, "txtMianmao", b.familyPoliticalStatus, upper);
    fillColumn(t, "txtDanwei", b.familyWorkplaces, upper);

    setControl(t, "txtBeizhu", b.remarks);
    setControl(t, "txtDate", b.ageReferenceDate);
}

namespace {

struct UncarriedField {
    QString AppointmentRecord::*field;
    const char *label;
};

const UncarriedField kUncarried[] = {
    {&AppointmentRecord::fullTimeDegree, "全日制教育的学位"},
    {&AppointmentRecord::fullTimeSpeciality, "全日制教育的专业"},
    {&AppointmentRecord::inServiceEducation, "在职教育的学历"},
    {&AppointmentRecord::inServiceDegree, "在职教育的学位"},
    {&AppointmentRecord::inServiceSchool, "在职教育的毕业院校系"},
    {&AppointmentRecord::inServiceSpeciality, "在职教育的专业"},
    {&AppointmentRecord::proposedPosts, "拟任职务"},
    {&AppointmentRecord::postsToBeRemoved, "拟免职务"},
    {&AppointmentRecord::reasonForAppointment, "任免理由"},
    {&AppointmentRecord::reportingUnit, "呈报单位"},
};

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
    for (const UncarriedField &f : kUncarried)
        if (!trimSpaces(stripLineBreaks(record.*f.field)).isEmpty())
            labels << QString::fromUtf8(f.label);
    return labels;
}

void clearFieldsBriefDoesNotCarry(AppointmentRecord &record)
{
    for (const UncarriedField &f : kUncarried)
        (record.*f.field).clear();
}

bool briefIsAnotherPerson(const AppointmentRecord &record, const QString &briefName)
{
    const QString current = comparableName(record.name);
    return !current.isEmpty() && current != comparableName(briefName);
}
