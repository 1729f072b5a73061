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

    QLabel *imgLogo;
    QLabel *lblRigo05;
    QLineEdit *txtPassword;
    QFrame *effPassword;
    QPushButton *cmdOK;
    QPushButton *cmdEsci;
    QPushButton *btnCambiaPassword;
    // Hidden memory label, emptied when the password change window hands back.
    QLabel *lblMemory;

    void FormShow() override;
    void txtPasswordChange();
    void cmdOKClick();
    void cmdEsciClick();
    void btnCambiaPasswordClick();

  protected:
    void closeEvent(QCloseEvent *event) override;
};
