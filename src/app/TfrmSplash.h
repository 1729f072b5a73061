// The splash window: the maker's picture and a link to the maker's web site.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class LinkLabel;
class PictureLabel;

class TfrmSplash : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmSplash(QWidget *parent = nullptr);

    // The maker's web site, and its host name as the link shows it.
    static QString webSite();
    static QString webHost();

    QLabel *imgLogo;
    PictureLabel *imgWeb;
    LinkLabel *lnkWeb;
    QPushButton *btnChiudi;

    void lnkWebClick();
    void btnChiudiClick();

  protected:
    void showEvent(QShowEvent *event) override;
};
