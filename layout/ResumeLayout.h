#pragma once
#include "layout/DrawingSurface.h"

// The point size the résumé prints at from y down to bottomMm (0 means
// 220 mm): the largest of six steps at which all its lines fit; 0 when even
// the smallest does not. Depends on the text and the place alone, so a
// shortened résumé prints large again.
double resumeFontSize(const QString &text, int y, double bottomMm);

// Prints the résumé line by line in "楷体" at that size; warns and prints
// nothing when it cannot fit. With a `rightEdge` (twips, 0 for none), one
// message names the lines that run past it: nothing wraps a résumé line, so
// such a line runs off the table.
void printResume(const QString &text, int x, int y, DrawingSurface &surface, double bottomMm,
                 int rightEdge = 0);
