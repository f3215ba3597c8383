#pragma once
#include "foundation/Result.h"
#include <QSize>
#include <QString>

// How the preview window was left: its size (pixels, not maximised), whether
// it was maximised, and its zoom ("PAGE_WIDTH", "WHOLE_PAGE" or a percentage).
// Kept in the per-user settings store beside the margins.
struct PreviewSettings {
    QSize size;   // invalid: never stored, or not a usable size
    bool maximized = false;
    QString zoom;

    static PreviewSettings load();
    Result<> store() const;
};
