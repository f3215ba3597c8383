#pragma once
#include "layout/DrawingSurface.h"
#include "foundation/TextUtilities.h"   // StripLineBreaks
#include <QStringList>

// Where text sits across its area; text of two or more lines always starts
// at the left edge. A value other than these (only by a cast) is the edge.
enum class HorizontalAlignment { Centre = 0, Left = 1, Right = 2 };
// Where text sits down its area; other values are the top edge.
enum class VerticalAlignment { Middle = 0, Top = 1, Bottom = 2 };
// What is drawn when the text still does not fit at the smallest size.
enum class OverflowMode {
    FittingLines = 0,   // of several lines those that fit; a single line not at all
    Nothing = 1,        // an empty line
    Everything = 2,     // every line, past the area's edge (so is any other value)
};

// Cell text fitting: sizes from the surface's size down to 8 points.
void fitTextInArea(const QString &text, int x, int y, int w, int h, DrawingSurface &surface,
                   const QString &label, double sizeFactor, HorizontalAlignment hAlign,
                   VerticalAlignment vAlign = VerticalAlignment::Middle,
                   OverflowMode overflowMode = OverflowMode::FittingLines);
// The same, trying every second size.
void fitTextInAreaInTwoPointSteps(const QString &text, int x, int y, int w, int h, DrawingSurface &surface,
                                  const QString &label, double sizeFactor, HorizontalAlignment hAlign,
                                  VerticalAlignment vAlign = VerticalAlignment::Middle,
                                  OverflowMode overflowMode = OverflowMode::FittingLines);
void drawLinesInArea(const QStringList &lines, int x, int y, int w, int h, DrawingSurface &surface,
                     HorizontalAlignment hAlign, VerticalAlignment vAlign, bool overflowFlag,
                     OverflowMode overflowMode);
// Measures on `ms` (a drawing's own MeasuringSurface) and leaves it at the
// size it returns or the last one tried.
double findFittingFontSize(MeasuringSurface &ms, const QString &text, int w, int h, const QString &fontName,
                           double startSize);
