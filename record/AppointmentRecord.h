#pragma once
#include <QImage>
#include <QString>
#include <QVector>
#include <array>

// One cadre's appointment-form data. Field names are the entry controls'
// names without their "txt" prefix; the family table has seven rows.
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

// Name-based access to the text fields, for binding controls and for
// operations that address controls by name.
struct RecordField {
    const char *controlName;    // "txtName", "txtChengwei", ...
    int page;                   // entry page 1 or 2
    bool family;                // one of the five family columns (7 rows)
    QString AppointmentRecord::*text;                      // plain fields
    AppointmentRecord::FamilyColumn AppointmentRecord::*column; // family columns
    // The text may hold line breaks: the résumé prints line by line, and the
    // long texts and the posts still to be named are typed in paragraphs.
    // Every other field is one value on one line; a break in it would only
    // run two values together once removed for printing.
    bool keepsLineBreaks = false;
};

const QVector<RecordField> &recordFields();
// The field behind a control name; row is used for family columns. nullptr if none.
QString *recordFieldByControl(AppointmentRecord &rec, const QString &controlName, int row = 0);
const QString *recordFieldByControl(const AppointmentRecord &rec, const QString &controlName, int row = 0);
const RecordField *findRecordField(const QString &controlName);
