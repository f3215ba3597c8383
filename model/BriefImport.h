#pragma once
#include "model/AppointmentRecord.h"
#include <QString>
#include <QStringList>

// One cadre as the brief information form ("干部简要情况表") stores him: a
// ".ljy" or ".jan" document of 32 items. Family columns keep the form's
// "@"-terminated cells (nine rows on that form).
struct BriefRecord {
    QString name, sex, birthDate;
    int wholeNumber = 0;            // item 4, not used
    QString ethnicGroup, nativePlace;
    QString partyDate, party1, party2, party3;
    QString birthPlace, workStartDate, fullTimeEducation, fullTimeSchool, professionalTitle, health, specialities;
    QString resume, rewardsAndPunishments;
    QString familyRelations, familyNames, familyBirthDates, familyPoliticalStatus, familyWorkplaces;
    QString currentPosts, proposedUse, appraisalResults, remarks, ageReferenceDate;
};

constexpr int kBriefItemCount = 32;

// The 32 items of a brief document in file order; the party join date has
// every "." removed.
BriefRecord briefRecordFromItems(const QStringList &items);

// Puts the brief record into a target addressed by control names, as on any
// window carrying those names: controls the target lacks are skipped, the
// party text is rebuilt and family columns are cut or padded to the target's
// rows. Fields the brief form does not carry keep their values.
void fillFromBrief(AppointmentRecord &target, const BriefRecord &brief);
// The party text rebuilt from a join date and three party names.
QString briefPartyText(const BriefRecord &brief);

// The fields of the appointment record that a brief document does not
// carry, which an import therefore leaves as they were: the lower lines of
// the full-time education cells, the in-service education rows, the posts
// proposed, the reasons and the reporting unit. Labels as the form shows
// them, only those that hold text.
QStringList briefUncarriedFieldsInUse(const AppointmentRecord &record);
void clearFieldsBriefDoesNotCarry(AppointmentRecord &record);
// Whether importing a brief document of `briefName` over `record` would put
// two people on one form: the record names someone else.
bool briefIsAnotherPerson(const AppointmentRecord &record, const QString &briefName);
