#pragma once
#include "layout/DrawingSurface.h"
#include "foundation/Twips.h"
#include <QString>

// Small drawing steps shared by both pages.
namespace PageDrawing {

// Text at an exact (unrounded) position: currentX/currentY, then printText.
inline void printAt(DrawingSurface &s, double x, double y, const QString &text)
{
    s.currentX = x;
    s.currentY = y;
    s.printText(text);
}

// The form's typefaces, by the names the page methods set.
inline QString songTi() { return QStringLiteral("宋体"); }
inline QString kaiTi() { return QStringLiteral("楷体"); }

} // namespace PageDrawing
