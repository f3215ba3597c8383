#pragma once
#include <QImage>
#include <QString>
#include <array>

// One cadre's appointment-form data; the family table has seven rows.
// What the program knows of each field (its control, label, box, document
// items) is in record/FieldSchema.h.
struct AppointmentRecord {
    static constexpr int kFamilyRows = 7;
    using FamilyColumn = std::array<QString, kFamilyRows>;

    // Page 1
    QString name, sex, birthDate, ethnicGroup, nativePlace, partyMembership, health, birthPlace, workStartDate;
    QString professionalTitle, specialities;
    QString fullTimeEducation, fullTimeDegree, inServiceEducation, inServiceDegree;
    QString fullTimeSchool, fullTimeSpeciality, inServiceSchool, inServiceSpeciality;
    QString currentPosts, proposedPosts, postsToBeRemoved, resume;
    // Page 2
    QString rewardsAndPunishments, appraisalResults, reasonForAppointment;
    FamilyColumn familyRelations, familyNames, familyBirthDates, familyPoliticalStatus, familyWorkplaces;
    QString reportingUnit, fillingDate, ageReferenceDate, filledBy;

    // Photo values
    QImage photo;
    bool hasPhoto = false;
    QString photoPath;

    // Entry-side state that belongs to the record
    bool isDirty = false;
    QString compactPartyText;   // partyMembership without ASCII spaces, as of the last hand-off

    // Fields compared by value (photo by path and flag, not by pixels).
    bool sameFields(const AppointmentRecord &other) const;
};
