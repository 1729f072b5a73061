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
    if (m_scaled.size() != fitted)
        m_scaled = QPixmap::fromImage(
            m_picture.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
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
