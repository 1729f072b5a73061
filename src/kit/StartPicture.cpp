#include "StartPicture.h"

#include "WindowKit.h"
#include "storage/AppFolder.h"
#include "storage/PictureFile.h"

#include <QPainter>

const QImage &defaultStartPicture() {
    static const QImage picture = builtInStartPicture();
    return picture;
}

QImage loadLogo(const AppFolder &folder) {
    return readPictureFile(folder.logoFile());
}

QPixmap fittedPicture(const QImage &picture, QSize area) {
    QPixmap canvas(area);
    canvas.fill(Qt::white);
    if (picture.isNull())
        return canvas;
    const QSize size = picture.size().scaled(area, Qt::KeepAspectRatio);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(
        QRect(QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2), size),
        picture);
    return canvas;
}
