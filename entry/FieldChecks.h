#pragma once
#include "model/AppointmentRecord.h"
#include <QString>

// The checks run before every preview and save, on a record without any
// window. Preparations (normalising) are written into the record and stay
// even when a later step fails.
struct FieldCheckFailure {
    QString controlName;   // e.g. "txtRudang", "txtcsrq"
    int row = -1;          // family row for family columns, else -1
    int page = 1;          // entry page to show
    QString message;       // full message text, ending in CR LF "请重试！"
};

bool checkAllFields(AppointmentRecord &record, FieldCheckFailure *failure);
