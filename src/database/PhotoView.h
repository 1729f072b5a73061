// A picture shown scaled to fit its area with its proportions kept, centred.
// It keeps the picture at its own pixel size: what is saved, zoomed or
// printed is the picture itself, not the scaled copy on screen.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

class PhotoView : public QWidget {
    Q_OBJECT
  public:
    PhotoView(const QString &objectName, QWidget *parent);

    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

  private:
    QImage m_picture;
    QPixmap m_scaled; // the picture at the size last painted
};
