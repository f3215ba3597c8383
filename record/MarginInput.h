#pragma once
#include "record/PageMargins.h"
#include <QString>

// The margin dialog's conversions and checks, without the window: margins
// are shown in whole millimetres and entered as numbers of millimetres.
namespace MarginInput {

// A margin in twips as the dialog shows it: twips / 56.6, fraction dropped.
int shownMillimetres(int twips);

struct Result {
    bool ok = false;
    QString focusControl;      // "txtTop", "txtLeft" or "txtBackLeft" on failure
    QString message;           // the message to show (title "提示")
    QString topText, leftText, backLeftText;   // texts written back on success
    int top = 0, pageOneLeft = 0, pageTwoLeft = 0;   // twips on success
};

// Checks the three texts in the dialog's order and converts them.
Result check(const QString &top, const QString &left, const QString &backLeft);

// Applies a successful result to the margins (top and both left edges only).
void apply(const Result &result, PageMargins &margins);

} // namespace MarginInput
