#pragma once
#include "layout/DrawingSurface.h"
#include "foundation/Twips.h"
#include <QString>

// Small drawing steps shared by both pages.
namespace PageDrawing {

// The form's typefaces, by the names the page methods set.
inline QString songTi() { return QStringLiteral("宋体"); }
inline QString kaiTi() { return QStringLiteral("楷体"); }

} // namespace PageDrawing
