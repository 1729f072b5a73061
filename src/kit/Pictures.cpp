#include "Pictures.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

QImage renderPicture(const QString &resource, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QSvgRenderer renderer(resource);
    if (renderer.isValid()) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    return image;
}

QImage builtInStartPicture() {
    return renderPicture(QStringLiteral(":/pictures/avvio.svg"), QSize(912, 409));
}

QImage defaultPhoto() {
    return renderPicture(QStringLiteral(":/pictures/foto.svg"), QSize(230, 307));
}

QIcon icon(const QString &name) {
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(name));
}

QLabel *headingPicture(const QString &objectName, QSize size, QWidget *parent) {
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setPixmap(
        QPixmap::fromImage(renderPicture(QStringLiteral(":/pictures/logo.svg"), size)));
    label->setAlignment(Qt::AlignCenter);
    return label;
}
