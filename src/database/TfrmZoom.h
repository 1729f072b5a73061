// The zoom window: the card's photo over the whole screen; a click closes it.
#pragma once

#include <QDialog>

class PhotoView;
class QWidget;

class TfrmZoom : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmZoom(QWidget *parent = nullptr);

    // Creates a zoom window owned by `owner` showing `picture`, runs it
    // modally and destroys it when it closes.
    static void open(QWidget *owner, const QImage &picture);

    QWidget *panContainer;
    PhotoView *imgFoto;

    void FormShow();
    void imgFotoClick();
    void panContainerClick();

  protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};
