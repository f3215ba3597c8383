#include "record/DocumentWriter.h"
#include "foundation/TextUtilities.h"
#include "record/DocumentItems.h"

QStringList dwzDocumentItems(const RendererVars &v, const QString &compactPartyText)
{
    const QString dot = QStringLiteral(".");
    return {
        v.name, v.sex, removeChar(v.birthDate, dot), v.ethnicGroup, v.nativePlace,
        compactPartyText, v.health, v.birthPlace, removeChar(v.workStartDate, dot),
        v.educationItems, v.schoolItems, v.professionalTitle,
        QString(), QString(), QString(), QString(),   // the wage items stay empty
        v.specialities, v.resume, v.rewardsAndPunishments, v.appraisalResults,
        v.familyRelations, v.familyNames, v.familyBirthDates, v.familyPoliticalStatus, v.familyWorkplaces,
        v.currentPosts, v.proposedPosts, v.postsToBeRemoved, v.reasonForAppointment, v.reportingUnit, v.ageReferenceDate, v.filledBy,
    };
}

Result<QByteArray> dwzDocumentBytes(const RendererVars &vars, const QString &compactPartyText)
{
    return encodeDocumentItems(dwzDocumentItems(vars, compactPartyText));
}
