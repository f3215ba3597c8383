#pragma once
#include "record/FieldSchema.h"
#include <QLineF>
#include <QRectF>
#include <QString>
#include <QVector>

// Where everything sits on the two entry pages, in twips from the page's
// top-left corner. The window converts to pixels at the screen's logical
// resolution.
class QPushButton;

// The entry window's buttons, one member each: a command is connected to a
// member, so a button nothing is connected to shows in the code instead of
// staying silently dead.
struct EntryButtons {
    QPushButton *load = nullptr;
    QPushButton *save = nullptr;
    QPushButton *nextPage = nullptr;
    QPushButton *previousPage = nullptr;
    QPushButton *preview = nullptr;
    QPushButton *margins = nullptr;
    QPushButton *photo = nullptr;
    QPushButton *close = nullptr;
    QPushButton *help = nullptr;
    QPushButton *batch = nullptr;        // 批量打印, after the form's own buttons
    QPushButton *photoFrame = nullptr;   // the photo frame on page one
};

namespace EntryLayout {

constexpr double kPageWidth = 9979.2;
constexpr double kPageHeight = 12474;
constexpr double kPage2ShortHeight = 11340;   // page 2 after "上一页"
constexpr double kPageTop = 450;              // below the button row

struct ControlPlace {
    QString name;   // object name
    int row;        // family row, -1 otherwise
    int page;
    QRectF rect;
    const RecordField *field;
};

// Every field's entry box (every row's, for the family table), in Tab
// order, from the field table.
const QVector<ControlPlace> &controlPlaces();
// The photo frame on page 1.
QRectF photoFrame();

struct Label {
    QRectF rect;
    QString text;      // "\n" separates lines; drawn centred
    double points;     // font size
};

// The form's printed labels and cell lines, drawn behind the boxes.
const QVector<Label> &labels(int page);
const QVector<QLineF> &lines(int page);

// Command buttons above the pages: the window's member, object name and caption.
struct Button {
    QPushButton *EntryButtons::*member;
    const char *name;
    QString caption;
};
const QVector<Button> &buttons();
QRectF buttonRect(int index);

} // namespace EntryLayout
