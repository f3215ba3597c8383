#include "record/RendererHandoff.h"
#include "record/TextRules.h"

#include <QStringList>

namespace {

QString trimmedCurled(const QString &text)
{
    return curlQuotes(trimSpaces(text));
}

// Trimmed and on one line; the caller writes the result back into the field.
QString oneLineDate(const QString &text)
{
    return stripLineBreaks(trimSpaces(text));
}

// splitPartyText keeps three entries; a fourth one that is not blank would
// vanish from the printed form without a word, so the hand-off refuses it.
bool partyTextFitsThreeEntries(const QString &text)
{
    const QStringList parts = removeSpaces(text).split(QStringLiteral("；"));
    for (int i = 3; i < parts.size(); ++i)
        if (!trimSpaces(parts.at(i)).isEmpty())
            return false;
    return true;
}

} // namespace

QString familyColumnItem(const AppointmentRecord::FamilyColumn &column)
{
    QString item;
    for (const QString &cell : column)
        item += trimSpaces(cell) + QLatin1Char('@');
    // The printed table has room for two more members.
    item += QStringLiteral("@@");
    return item;
}

void setEducationItems(const AppointmentRecord &r, RendererVars &vars)
{
    const QString hash = QStringLiteral("#"), at = QStringLiteral("@");
    vars.educationItems = trimSpaces(r.fullTimeEducation) + hash + trimSpaces(r.fullTimeDegree) + at + trimSpaces(r.inServiceEducation) + hash
        + trimSpaces(r.inServiceDegree);
    vars.schoolItems = trimSpaces(r.fullTimeSchool) + hash + trimSpaces(r.fullTimeSpeciality) + at + trimSpaces(r.inServiceSchool) + hash
        + trimSpaces(r.inServiceSpeciality);
}

Result<> fillRendererVars(AppointmentRecord &r, RendererVars &vars)
{
    vars.name = trimmedCurled(r.name);
    vars.sex = trimmedCurled(r.sex);
    r.birthDate = oneLineDate(r.birthDate);
    vars.birthDate = curlQuotes(r.birthDate);
    vars.ethnicGroup = trimmedCurled(r.ethnicGroup);
    vars.nativePlace = trimmedCurled(r.nativePlace);

    r.compactPartyText = removeSpaces(r.partyMembership);
    if (!partyTextFitsThreeEntries(r.partyMembership)) {
        return Failure{FailureKind::RefusedPartyText,
                       QStringLiteral("请仔细检查入党时间栏是否在每一个党派后加上了汉字的分号“；”")};
    }
    QString party1, party2, party3;
    const QString joined = splitPartyText(trimSpaces(r.partyMembership), party1, party2, party3);
    vars.partyJoinDate = trimmedCurled(joined);
    vars.partyName1 = trimmedCurled(party1);
    vars.partyName2 = trimmedCurled(party2);
    vars.partyName3 = trimmedCurled(party3);

    vars.health = trimmedCurled(r.health);
    vars.birthPlace = trimmedCurled(r.birthPlace);
    r.workStartDate = oneLineDate(r.workStartDate);
    vars.workStartDate = curlQuotes(r.workStartDate);
    vars.professionalTitle = trimmedCurled(r.professionalTitle);
    setEducationItems(r, vars);
    vars.specialities = trimmedCurled(r.specialities);
    vars.currentPosts = trimmedCurled(r.currentPosts);
    vars.proposedPosts = trimmedCurled(r.proposedPosts);
    vars.postsToBeRemoved = trimmedCurled(r.postsToBeRemoved);
    vars.resume = curlQuotes(r.resume);
    vars.rewardsAndPunishments = trimmedCurled(r.rewardsAndPunishments);
    vars.appraisalResults = trimmedCurled(r.appraisalResults);
    vars.reasonForAppointment = trimmedCurled(r.reasonForAppointment);

    vars.familyRelations = trimmedCurled(familyColumnItem(r.familyRelations));
    QString names = trimmedCurled(familyColumnItem(r.familyNames));
    names.remove(QLatin1Char(' '));
    // Names are padded to a common width; the byte pair 0xA3A0, where some
    // old input methods put a full-width space, reads from code page 936 as
    // U+E5E5, a private-use character no font draws. Like the ASCII spaces,
    // it is padding, not part of the name.
    names.remove(QChar(0xE5E5));
    vars.familyNames = names;
    vars.familyBirthDates = trimmedCurled(familyColumnItem(r.familyBirthDates));
    vars.familyPoliticalStatus = trimmedCurled(familyColumnItem(r.familyPoliticalStatus));
    vars.familyWorkplaces = trimmedCurled(familyColumnItem(r.familyWorkplaces));

    vars.reportingUnit = trimmedCurled(r.reportingUnit);
    vars.filledBy = removeSpaces(r.filledBy);
    vars.ageReferenceDate = trimmedCurled(r.ageReferenceDate);
    vars.fillingDate = trimmedCurled(r.fillingDate);
    return {};
}
