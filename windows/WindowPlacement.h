#pragma once
#include <QRect>
#include <QSize>

class QWidget;

// Where dialogs and secondary windows open: centred on the window they
// belong to and wholly on that window's screen, within its available area
// (the desktop less panels).
namespace WindowPlacement {

// The top-left corner for a frame of `frame` centred on `over` and then
// moved inside `available`; a frame larger than `available` starts at its
// top-left corner.
QPoint centredWithin(QSize frame, const QRect &over, const QRect &available);

// The available area of the screen `window` (or the window it belongs to)
// is on.
QRect availableGeometry(const QWidget *window);

// `wanted` (the window without its frame) made small enough for the window
// and its frame to fit the available area.
QSize boundedSize(QSize wanted, const QWidget *window);

// Places `window` centred on its parent's window (on the screen when it has
// none) and inside the available area, at once.
void centre(QWidget *window);

// Does the same each time `window` is shown, once its size is final (a
// message box sizes itself to its text while it is being shown).
void keepCentred(QWidget *window);

} // namespace WindowPlacement
