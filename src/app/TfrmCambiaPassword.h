// The password change window, reached from the login before access is granted.
#pragma once

#include "kit/LargeWindow.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class TfrmCambiaPassword : public LargeWindow {
    Q_OBJECT
  public:
    explicit TfrmCambiaPassword(QWidget *parent = nullptr);

    // The login window, which every closing hands back to (set by the registry).
    void setReturnTo(LargeWindow *login) { m_login = login; }

    QLabel *imgLogo;
    QLabel *lblRigo05;
    QLineEdit *txtPasswordOld;
    QLabel *lblRigo06;
    QLineEdit *txtPasswordNew;
    QLabel *lblRigo07;
    QLineEdit *txtConferma;
    QFrame *effPasswordOld;
    QFrame *effPasswordNew;
    QFrame *effConferma;
    QPushButton *cmdEsci;
    QPushButton *cmdOK;

    void FormShow() override;
    void boxesChange();
    void cmdOKClick();
    void cmdEsciClick();

  protected:
    LargeWindow *closeTarget() override;

  private:
    LargeWindow *m_login = nullptr;
};
