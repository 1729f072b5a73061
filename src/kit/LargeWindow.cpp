#include "LargeWindow.h"

#include "Shell.h"
#include "WindowKit.h"

#include <QCloseEvent>
#include <QShowEvent>
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

LargeWindow *LargeWindow::closeTarget() {
    return Shell::isRunning() ? shell().startScreen() : nullptr;
}

void LargeWindow::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void LargeWindow::FormClose() {
    // The target shows before this window hides (the close completes after
    // this handler).
    LargeWindow *target = closeTarget();
    if (target && target != this)
        target->present();
}

void LargeWindow::closeEvent(QCloseEvent *event) {
    // The window is hidden, never destroyed: it is the program's for the whole run.
    if (Shell::isRunning() && !shell().terminating()) {
        if (!mayClose()) {
            event->ignore();
            return;
        }
        event->accept();
        FormClose();
        return;
    }
    event->accept();
}
