// Where the windows open: on the screen, whatever its size and scale, and
// the small windows over the main window.
#pragma once

#include <QRect>

class QTabWidget;
class QWidget;

namespace halovane {

// `wanted` made to fit inside `available`: no larger than it (a window
// needs `frame` pixels around its client area for its title bar and
// borders) and moved in where it sticks out.
QRect FitInside(const QRect& wanted, const QRect& available, const QMargins& frame = QMargins(8, 32, 8, 8));

// Gives a top-level window the design geometry `design` (client area),
// made to fit the available area of the screen it opens on.
void PlaceOnScreen(QWidget& window, const QRect& design);

// Centres a top-level window over `owner` (the main window), inside the
// available area of the owner's screen.
void PlaceOver(QWidget& window, const QWidget& owner);

// Shows a window of the Output page in front: one not yet on view at its
// design size `design`, centred over `owner`; one on view stays where it is.
void ShowOver(QWidget& window, const QWidget& owner, const QSize& design);

// The main window ("MainForm") among the top-level windows, or null.
QWidget* MainWindow();

// Every page of the frame goes into a scroll area (unless it is one): it
// keeps the size its controls need and scrolls when the window is smaller.
// A page's layout moves along; controls at fixed positions keep them.
void ScrollFixedPages(QTabWidget& frame);

}  // namespace halovane
