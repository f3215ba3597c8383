#pragma once
#include "foundation/Result.h"
#include "record/PageMargins.h"

class QSettings;

// The page margins in the per-user settings store: application "KQTS",
// section "RM", whole twips as decimal text. Read when the entry window
// opens, written when the application ends.
namespace MarginSettings {

// All five values at their defaults, then the three margins from the
// store; a stored text that is not a number keeps the default. Width and
// height are never read.
PageMargins load(QSettings &store);
PageMargins load();              // the user's store
// Writes the five keys in their fixed order; fails when the store reports
// that it could not be written.
Result<> store(const PageMargins &margins, QSettings &store);
Result<> store(const PageMargins &margins);

} // namespace MarginSettings
