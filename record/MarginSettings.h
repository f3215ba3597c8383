#pragma once
#include "foundation/Result.h"
#include "record/PageMargins.h"

// The page margins in the per-user settings store, whole twips as decimal
// text. Read when the entry window opens, written when the application ends.
namespace MarginSettings {

// All five values at their defaults, then the three margins from the
// store; a stored text that is not a number, or a margin the dialog could
// not have set (a damaged store), keeps the default and `problem` (when
// given) says so, as it does for a store that is not a regular file. Width
// and height are never read.
PageMargins load(QString *problem = nullptr);
// Writes the five keys in their fixed order; fails when the store could not
// be written.
Result<> store(const PageMargins &margins);

// The range a stored margin is taken from, in twips: the top as the dialog
// accepts it (15 to 31 mm), the left edges from the paper's width to the
// left up to 31 mm.
constexpr int kMinTop = 850, kMaxMargin = 1758, kMinLeft = -9979;

} // namespace MarginSettings
