// A large window: shown and hidden through its start-up instance, handing
// over to another large window by showing it before hiding itself.
#pragma once

#include <QWidget>

class QVBoxLayout;

class LargeWindow : public QWidget {
    Q_OBJECT
  public:
    explicit LargeWindow(QWidget *parent = nullptr) : QWidget(parent) {}

    // Shows the window as it wants to be seen: maximized, unless it is a
    // fixed-size window (login, password change), which shows centred.
    virtual void present();
    // Shows `target`, then hides this window.
    void handOver(LargeWindow *target);
    // Each showing of the window (not the restoring of a minimized one):
    // the window prepares its own content here.
    virtual void FormShow() {}
    // Asked before the window closes (its exit button, its title bar, Alt+F4):
    // false keeps it open. A workspace asks here about unsaved changes.
    virtual bool mayClose() { return true; }
    // Closing (the window's exit button or its title bar), before it hides:
    // shows closeTarget(). Not run once the program is ending.
    virtual void FormClose();

  protected:
    // Lays `panel` out centred in the window, both ways; returns the window's
    // layout so a caller can set its margins or add a foot below the panel.
    QVBoxLayout *centrePanel(QWidget *panel);

    // The window closing this one leads to: the start screen, unless a
    // window chooses another. nullptr: closing only hides the window.
    virtual LargeWindow *closeTarget();
    // Runs FormShow() when the window is shown, not when it is restored.
    void showEvent(QShowEvent *event) override;
    // Runs FormClose(), unless the program is ending; the window then hides.
    void closeEvent(QCloseEvent *event) override;
};
