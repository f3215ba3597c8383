#pragma once
#include "foundation/Result.h"
#include "record/AppointmentRecord.h"
#include "record/DocumentKind.h"
#include <QIODevice>
#include <QString>
#include <QStringList>

// Reads one document of any accepted kind into a record. On failure the
// record is left exactly as it was and the failure says why; on success
// the fields the document carries are replaced, the family table and the
// fill-in date are reset, and the common end of loading (dates, party
// text) has run. Photo values and isDirty are the caller's.
Result<> readDocument(QIODevice &device, DocumentKind kind, AppointmentRecord &record);

// No cell of the form shows more than a few hundred characters, the résumé
// a few thousand; a field far longer is no cadre's record, and laying it out
// would take minutes. A record read from a file with a longer field is
// refused, naming the field.
constexpr int kMaxFieldLength = 2000;
constexpr int kMaxResumeLength = 10000;
Result<> checkFieldLengths(const AppointmentRecord &record);

// The item-to-field rules, for callers that already hold the items.
void applyDwzItems(const QStringList &items, AppointmentRecord &record);
void applyRenItems(const QStringList &items, AppointmentRecord &record);
// Party text from the four party entries (items 6 to 9) of a ".ren" document.
QString renPartyText(const QString &a6, const QString &a7, const QString &a8, const QString &a9);
// "upper#lower@upper#lower" into four values.
void splitEducationItem(const QString &item, QString &upper1, QString &lower1, QString &upper2,
                        QString &lower2);
// "cell@cell@..." into rows 0 to 6; cells beyond the last row and text after
// the last "@" are ignored, rows without a cell are left alone.
void readFamilyColumn(const QString &item, AppointmentRecord::FamilyColumn &column);
