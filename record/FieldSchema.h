#pragma once
#include "record/AppointmentRecord.h"
#include "record/RendererVars.h"
#include <QRectF>
#include <QString>
#include <QVector>

// Where a field stands in the roster of many documents (commands/Roster.h):
// its 1-based column, 0 when not listed, and the column's heading when it
// is not the field's label. Fields of one column are joined by a space.
struct RosterColumn {
    int column = 0;
    const char *heading = nullptr;
};

// Everything the program knows of one field of the form, one row a field:
// the document reader and writer, the recovery copy, the brief import and
// the entry window's boxes are all read off this table, so adding a field
// is adding a row.
struct RecordField {
    // The entry control that edits the field. Recovery copies store fields
    // under these names and the checks point at boxes by them, so they keep
    // the old program's spelling.
    const char *controlName;
    // The label the printed form shows for its cell, without the form's
    // spacing (the entry window's label for the dates the form leaves
    // unlabelled); messages about the field name it so.
    const char *label;
    QString AppointmentRecord::*text;                           // plain fields
    AppointmentRecord::FamilyColumn AppointmentRecord::*column; // family columns (7 rows)
    int page;       // entry page 1 or 2
    int tab;        // place in its page's Tab order; the family columns share one, row by row
    QRectF box;     // entry box in twips from the page's top-left; family columns: row 1
    // The hand-off value the pages draw and the ".dwz" writer stores; the
    // education lines share one item.
    QString RendererVars::*handOff;
    int dwzItem;    // 1-based item of a ".dwz" document, 0 = not stored
    int renItem;    // of an older ".ren" document
    int briefItem;  // of a brief document (".ljy", ".jan")
    int packedPart; // education items hold four lines as "upper#lower@upper#lower": which one; -1 none
    unsigned rules;
    // How the brief import's question names a field it leaves as it was;
    // nullptr for those it carries or need not mention.
    const char *leftByBrief;
    RosterColumn roster;

    enum Rule : unsigned {
        // The text may hold line breaks: the résumé prints line by line, the
        // long texts and the posts still to be named are typed in paragraphs.
        // Every other field is one value on one line; a break in it would
        // only run two values together once removed for printing.
        KeepsLineBreaks = 1,
        // Documents lose its line breaks on loading.
        OneLineOnLoading = 2,
        // Stored in a ".dwz" document without its "." separators.
        StoredWithoutDots = 4,
        // The party text: one item of a ".dwz" document (without spaces),
        // four of a ".ren" document and of a brief document (date, three
        // parties), rebuilt into one text on loading.
        PartyText = 8,
        // A date: what is typed is brought into the stored digit form when
        // its box is left.
        HoldsDate = 16,
    };

    bool isFamily() const { return column != nullptr; }
    bool keepsLineBreaks() const { return rules & KeepsLineBreaks; }
    bool has(Rule rule) const { return rules & rule; }
    // The field's text; row is used for family columns.
    QString &in(AppointmentRecord &record, int row = 0) const
    {
        return column ? (record.*column)[row] : record.*text;
    }
    const QString &in(const AppointmentRecord &record, int row = 0) const
    {
        return column ? (record.*column)[row] : record.*text;
    }
    int rows() const { return column ? AppointmentRecord::kFamilyRows : 1; }
};

// Every field, in the record's order.
const QVector<RecordField> &recordFields();
const RecordField *findRecordField(const QString &controlName);
// The field behind a control name; row is used for family columns. nullptr if none.
QString *recordFieldByControl(AppointmentRecord &rec, const QString &controlName, int row = 0);
const QString *recordFieldByControl(const AppointmentRecord &rec, const QString &controlName, int row = 0);
