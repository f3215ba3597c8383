#pragma once
#include "layout/DrawingSurface.h"

// Prints the résumé line by line in "楷体" in one of six size steps above
// bottomMm (0 means 220 mm); warns and prints nothing when it cannot fit.
// `resumeFontSize` is the size the résumé of this document was last drawn
// at (12 after a load): a drawing never prints larger than an earlier one
// that had to shrink, and leaves its own final size there. With a
// `rightEdge` (twips, 0 for none), one message names the lines that run
// past it: nothing wraps a résumé line, so such a line runs off the table.
void printResume(const QString &text, int x, int y, DrawingSurface &surface, double bottomMm,
                int &resumeFontSize, int rightEdge = 0);
