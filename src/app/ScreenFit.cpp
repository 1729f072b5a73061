#include "ScreenFit.h"

#include "kit/LargeWindow.h"

#include <QWidget>
#include <algorithm>
#include <unistd.h>

namespace {
// Room left for the title bar and the frame the window manager adds.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 36;
const char *const kRestarted = "CARTAVERA_SCALED";
} // namespace

double screenShrink(const QList<QWidget *> &windows, QSize available) {
    if (available.isEmpty())
        return 1;
    QSize need(0, 0);
    for (const QWidget *w : windows) {
        const bool fixed = w->minimumSize() == w->maximumSize();
        QSize size = fixed ? w->minimumSize() : w->minimumSizeHint().expandedTo(w->minimumSize());
        if (!fixed || qobject_cast<const LargeWindow *>(w))
            size += QSize(kFrameWidth, kFrameHeight);
        need = need.expandedTo(size);
    }
    if (need.isEmpty())
        return 1;
    return std::min({1.0, double(available.width()) / need.width(),
                     double(available.height()) / need.height()});
}

void restartScaled(char **argv, double shrink) {
    if (shrink >= 0.99 || qEnvironmentVariableIsSet(kRestarted))
        return;
    bool ok = false;
    double factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    if (!ok || factor <= 0)
        factor = 1;
    // A little under the exact factor, for the rounding of every size.
    qputenv("QT_SCALE_FACTOR", QByteArray::number(factor * shrink * 0.98, 'f', 3));
    qputenv(kRestarted, "1");
    execv("/proc/self/exe", argv);
    // Not started again: the program goes on as it is.
    qunsetenv(kRestarted);
}
