// The information window: the program, its maker and a link that writes to them.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class LinkLabel;
class PictureLabel;

class TfrmInfo : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmInfo(QWidget *parent = nullptr);

    // The maker's contact address and the mail the link starts.
    static QString contactAddress();
    static QString mailSubject();
    static QString mailBody();

    QLabel *imgLogo;
    QPushButton *btnChiudi;
    PictureLabel *imgEmail;
    LinkLabel *lnkWeb;

    void lnkWebClick();
    void btnChiudiClick();
};
