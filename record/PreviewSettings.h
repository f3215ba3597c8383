#pragma once
#include "foundation/Result.h"
#include <QSize>
#include <QString>

class QSettings;

// How the preview window was left: its size (pixels, not maximised), whether
// it was maximised, and its zoom ("PAGE_WIDTH", "WHOLE_PAGE" or a percentage).
// Kept in the per-user store beside the margins: application "KQTS",
// section "PREVIEW".
struct PreviewSettings {
    QSize size;   // invalid: never stored, or not a usable size
    bool maximized = false;
    QString zoom;

    static PreviewSettings load(QSettings &store);
    static PreviewSettings load();   // the user's store
    Result<> store(QSettings &store) const;
    Result<> store() const;
};
