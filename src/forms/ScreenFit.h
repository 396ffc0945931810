#pragma once

#include <QMargins>
#include <QRect>

// Every window opens within the screen it opens on: one larger than the screen's free area
// (a chart window of 960×640 or a print preview of 1000×760 on a 1024×600 laptop) is made
// smaller, and one that hangs over an edge is moved in, so that its buttons can be reached.

// Where a window of client `geometry`, framed by `frame`, lies whole within `area`: at most
// that large, moved no further than it must.
QRect fittedInto(const QRect& geometry, const QMargins& frame, const QRect& area);

// From now on every window of the program that shows is fitted to its screen (once; again when
// the window manager has framed it).
void keepWindowsOnScreen();
