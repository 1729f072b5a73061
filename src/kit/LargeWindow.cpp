#include "LargeWindow.h"

#include "WindowKit.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

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

QVBoxLayout *LargeWindow::centrePanel(QWidget *panel) {
    auto *centre = new QHBoxLayout;
    centre->addStretch();
    centre->addWidget(panel);
    centre->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addLayout(centre);
    layout->addStretch();
    return layout;
}
