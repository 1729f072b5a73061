#include "LargeWindow.h"

#include "WindowKit.h"

void LargeWindow::present() {
    if (minimumSize() == maximumSize()) {
        centerOnScreen(this);
        show();
    } else {
        showMaximized();
    }
    raise();
    activateWindow();
}

void LargeWindow::handOver(LargeWindow *target) {
    target->present();
    hide();
}
