// Fixed-size windows: the caption bar the kit draws for them, and placing a
// window in the middle of its screen.
#pragma once

#include <QSize>

class QWidget;

// A fixed-size window whose content has the given size, with a title bar
// without buttons under any window manager: the window asks for no frame and
// the kit draws the bar (the window's caption, dragged to move the window) and
// a thin edge itself. A QDialog stays a dialog, anything else a window. The
// one place where a fixed window's flags are set.
void makeFixedWindow(QWidget *window, QSize clientSize);
void centerOnScreen(QWidget *window);
