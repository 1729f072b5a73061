// The login window: the program's main window and the only one shown at start.
#pragma once

#include "kit/LargeWindow.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class TfrmPassword : public LargeWindow {
    Q_OBJECT
  public:
    explicit TfrmPassword(QWidget *parent = nullptr);

    // The windows the login leads to, handed in by the registry.
    struct Destinations {
        LargeWindow *startScreen = nullptr;
        LargeWindow *passwordChange = nullptr;
    };
    void setDestinations(const Destinations &destinations) { m_to = destinations; }

    QLabel *imgLogo;
    QLabel *lblRigo05;
    QLineEdit *txtPassword;
    QFrame *effPassword;
    QPushButton *cmdOK;
    QPushButton *cmdEsci;
    QPushButton *btnCambiaPassword;
    // Hidden memory label, emptied at each showing.
    QLabel *lblMemory;

    void FormShow() override;
    void txtPasswordChange();
    void cmdOKClick();
    void cmdEsciClick();
    void btnCambiaPasswordClick();

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    Destinations m_to;
};
