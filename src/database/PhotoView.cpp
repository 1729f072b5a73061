#include "PhotoView.h"

#include <QMouseEvent>
#include <QPainter>

PhotoView::PhotoView(const QString &objectName, QWidget *parent) : QWidget(parent) {
    setObjectName(objectName);
}

void PhotoView::setPicture(const QImage &picture) {
    m_picture = picture;
    m_scaled = QPixmap();
    update();
}

void PhotoView::paintEvent(QPaintEvent *) {
    if (m_picture.isNull())
        return;
    const QSize fitted = m_picture.size().scaled(size(), Qt::KeepAspectRatio);
    if (fitted.isEmpty())
        return;
    // Scaled to the device pixels, so the picture stays sharp on high-density screens.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(fitted) * ratio).toSize();
    if (m_scaled.size() != pixels || m_scaled.devicePixelRatio() != ratio) {
        m_scaled = QPixmap::fromImage(
            m_picture.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        m_scaled.setDevicePixelRatio(ratio);
    }
    QRect target(QPoint(), fitted);
    target.moveCenter(rect().center());
    QPainter(this).drawPixmap(target, m_scaled);
}

void PhotoView::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        event->accept();
        emit clicked();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}
