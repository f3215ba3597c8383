#pragma once
#include <QString>

// The renderer's variables: one text per record field, normalised for
// printing by the hand-off, from which both pages are drawn and which the
// document writer stores.
struct RendererVars {
    QString name, sex, birthDate, ethnicGroup, nativePlace;
    QString partyJoinDate, partyName1, partyName2, partyName3;
    QString health, birthPlace, workStartDate, professionalTitle;
    QString educationItems, schoolItems;          // education and school items
    QString specialities, currentPosts, proposedPosts, postsToBeRemoved, resume;
    QString rewardsAndPunishments, appraisalResults, reasonForAppointment;
    QString familyRelations, familyNames, familyBirthDates, familyPoliticalStatus, familyWorkplaces;   // family column items
    QString reportingUnit, filledBy, ageReferenceDate, fillingDate;
};
