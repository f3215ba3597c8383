#pragma once
#include "foundation/Result.h"
#include "record/PageMargins.h"
#include <QString>

// The margin dialog's conversions and checks, without the window: margins
// are shown in whole millimetres and entered as numbers of millimetres.
namespace MarginInput {

// A margin in twips as the dialog shows it: twips / 56.6, fraction dropped.
// Not 56.7: a whole millimetre stored at 56.7 twips can have lost a half
// twip to rounding (15 mm is 850 twips), and dividing by a little less
// shows it as the millimetres typed again (15, not 14.99 cut to 14).
int shownMillimetres(int twips);

// Three margins as entered and accepted.
struct Accepted {
    QString topText, leftText, backLeftText;   // texts written back to the boxes
    int top = 0, pageOneLeft = 0, pageTwoLeft = 0;   // twips
};

// The dialog's three boxes.
enum class Box { Top, PageOneLeft, PageTwoLeft };

// Checks the three texts in the dialog's order and converts them
// (RefusedMargins when one is refused); `refused` (when given) is set to the
// box to focus.
::Result<Accepted> check(const QString &top, const QString &left, const QString &backLeft,
                         Box *refused = nullptr);

// Applies accepted margins (top and both left edges only).
void apply(const Accepted &accepted, PageMargins &margins);

} // namespace MarginInput
