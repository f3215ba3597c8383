#pragma once
#include "foundation/Result.h"
#include "record/AppointmentRecord.h"
#include <QString>

// The checks run before every preview and save, on a record without any
// window. Preparations (normalising) are written into the record and stay
// even when a later step fails.
// The box that holds a refused value, to be shown and focused.
struct FieldPlace {
    QString controlName;   // e.g. "txtRudang", "txtcsrq"
    int row = -1;          // family row for family columns, else -1
    int page = 1;          // entry page to show
};

// The first refused value fails with its message (a RefusedField failure,
// which asks to try again when shown); `failedPlace`,
// when given, is set to its box.
Result<> checkAllFields(AppointmentRecord &record, FieldPlace *failedPlace = nullptr);

// The boxes that hold a date ("txtBirthday", "txtcsrq", ...): what is typed
// there is brought into the stored digit form when the box is left.
bool holdsDate(const QString &controlName);
