#pragma once
#include "foundation/Result.h"
#include "record/PageMargins.h"
#include <QString>

// The margin dialog's conversions and checks, without the window: margins
// are shown in whole millimetres and entered as numbers of millimetres.
namespace MarginInput {

// A margin in twips as the dialog shows it: twips / 56.6, fraction dropped.
int shownMillimetres(int twips);

// Three margins as entered and accepted.
struct Accepted {
    QString topText, leftText, backLeftText;   // texts written back to the boxes
    int top = 0, pageOneLeft = 0, pageTwoLeft = 0;   // twips
};

// Checks the three texts in the dialog's order and converts them
// (RefusedMargins when one is refused); `refusedControl` (when
// given) is set to the box to focus: "txtTop", "txtLeft" or "txtBackLeft".
::Result<Accepted> check(const QString &top, const QString &left, const QString &backLeft,
                         QString *refusedControl = nullptr);

// Applies accepted margins (top and both left edges only).
void apply(const Accepted &accepted, PageMargins &margins);

} // namespace MarginInput
