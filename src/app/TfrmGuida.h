// The guide window: a topic title and its text, and the link to Guida.pdf.
#pragma once

#include "kit/Guide.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class LinkLabel;
class PictureLabel;

class TfrmGuida : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmGuida(QWidget *parent = nullptr);

    // Creates a guide window owned by `owner`, shows `topic` modally and
    // destroys the window when it closes.
    static void showTopic(QWidget *owner, const GuideTopic &topic);

    QLabel *imgLogo;
    QLabel *lblTitolo;
    QPlainTextEdit *txtGuida;
    PictureLabel *imgPDF;
    LinkLabel *lnkWeb;
    QPushButton *btnChiudi;

    void lnkWebClick();
    void btnChiudiClick();
};
