// Every window within the screen: when the screen's free area (the whole
// screen but the desktop's panels) is smaller than the program's largest
// window, as on a small laptop screen or at a large scale factor, the program
// starts again at the scale that makes that window fit, so that every
// control stays reachable.
#pragma once

#include <QList>
#include <QSize>

class QWidget;

// How much the windows must shrink to fit `available`: 1 when they fit, or
// the factor (below 1) that makes the largest fit. A window that the program
// shows maximized needs its least size plus room for the title bar of the
// window manager; a fixed window its fixed size.
double screenShrink(const QList<QWidget *> &windows, QSize available);

// Starts the program again with Qt's scale factor multiplied by `shrink`,
// once: never when the program was already started again. Returns only when
// it did not (then the program goes on at the scale it has).
void restartScaled(char **argv, double shrink);
