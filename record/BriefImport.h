#pragma once
#include "record/AppointmentRecord.h"
#include <QString>
#include <QStringList>

// A brief information form ("干部简要情况表") document, ".ljy" or ".jan",
// holds 32 items; its family columns keep the form's "@"-terminated cells
// (nine rows on that form).
constexpr int kBriefItemCount = 32;

// Puts the items of a brief document into the record: the party text is
// rebuilt from the join date (without its ".") and three party names and
// family columns are cut or padded to the record's rows. Fields the brief
// form does not carry keep their values; its items with no place on this
// form (the proposed use, the remarks, ...) are passed over.
void fillFromBrief(AppointmentRecord &target, const QStringList &items);
// The party text rebuilt from a join date and three party names.
QString briefPartyText(const QString &joinDate, const QString &party1, const QString &party2, const QString &party3);

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
