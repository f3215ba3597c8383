#pragma once
#include <QList>
#include <QSizeF>
#include <QString>

// How large the preview shows the sheet: a fixed scale (1 is the sheet at
// its printed size on the screen) or one that follows the window, the page
// width or the whole page.
struct PreviewZoom {
    enum class Fit { None, PageWidth, WholePage };
    Fit fit = Fit::None;
    double scale = 1.0;   // the fixed scale; with a fit, the one last worked out

    static constexpr double kMinScale = 0.25;
    static constexpr double kMaxScale = 3.0;   // a sheet drawn larger takes too much memory
    // Room left beside the sheet at page width, in twips of the sheet.
    static constexpr double kSideGap = 360;

    // The fixed scales offered, smallest first; Ctrl+Plus and Ctrl+Minus go
    // from one to the next.
    static const QList<double> &steps();
    // The next step above (direction > 0) or below the scale shown now.
    static double nextStep(double shown, int direction);
    // The scale at which the sheet (twips) with `gap` twips above and below
    // it, and kSideGap beside it, fits the viewport (twips): its width only,
    // or all of it.
    static double fitScale(Fit fit, QSizeF sheet, QSizeF viewport, double gap);

    // Stored as "PAGE_WIDTH", "WHOLE_PAGE" or the percentage of a step;
    // anything else reads as 100 %.
    QString toSetting() const;
    static PreviewZoom fromSetting(const QString &text);
    // As the zoom box shows it: "页宽", "整页", "125%".
    QString label() const;
};
