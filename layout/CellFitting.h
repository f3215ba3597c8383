#pragma once
#include "layout/DrawingSurface.h"
#include "layout/TextRules.h"   // StripLineBreaks
#include <QStringList>

// Cell text fitting: sizes from the surface's size down to 8 points.
void fitTextInArea(const QString &text, int x, int y, int w, int h, DrawingSurface &surface,
                   const QString &label, double sizeFactor, int hAlign, int vAlign, int overflowMode);
void fitTextInAreaInTwoPointSteps(const QString &text, int x, int y, int w, int h, DrawingSurface &surface,
                        const QString &label, double sizeFactor, int hAlign, int vAlign, int overflowMode);
void drawLinesInArea(const QStringList &lines, int x, int y, int w, int h, DrawingSurface &surface,
                     int hAlign, int vAlign, bool overflowFlag, int overflowMode);
// Measures on `ms` (a drawing's own MeasuringSurface) and leaves it at the
// size it returns or the last one tried.
double findFittingFontSize(MeasuringSurface &ms, const QString &text, int w, int h, const QString &fontName,
                       double startSize);
