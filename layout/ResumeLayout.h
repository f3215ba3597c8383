#pragma once
#include "layout/DrawingSurface.h"

// The size the résumé was last drawn at; 12 at start and after each load.
extern int ResumeFontSize;

// Prints the résumé line by line in "楷体" in one of six size steps above
// bottomMm (0 means 220 mm); warns and prints nothing when it cannot fit.
void FillResume(const QString &text, int x, int y, DrawingSurface &surface, double bottomMm);
