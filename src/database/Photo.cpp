#include "Photo.h"

#include "storage/AppFolder.h"
#include "storage/PictureFile.h"
#include "storage/StorageError.h"
#include "storage/TextRules.h"
#include "storage/WholeFile.h"

#include <QImageWriter>
#include <cstdlib>

namespace photo {

QString fileOf(const AppFolder &folder, QStringView position) {
    return folder.file(dataset::photoName(text::trimmed(position)));
}

QImage load(const QString &path) {
    return readPictureFile(path);
}

void saveJpeg(const QImage &picture, const QString &path) {
    if (picture.isNull())
        throw StorageError::unableToWrite(path);
    writeWholeFile(path, [&picture](QIODevice &device) {
        QImageWriter writer(&device, "jpg");
        writer.setQuality(kJpegQuality);
        return writer.write(picture);
    });
}

bool samePicture(const QImage &a, const QImage &b) {
    if (a.size() != b.size() || a.isNull())
        return false;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    qint64 difference = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int column = 0; column < x.width(); ++column)
            difference += std::abs(qRed(p[column]) - qRed(q[column])) +
                          std::abs(qGreen(p[column]) - qGreen(q[column])) +
                          std::abs(qBlue(p[column]) - qBlue(q[column]));
    }
    // JPEG at the quality photos are written with stays well within this.
    constexpr qint64 kStepsPerChannel = 3;
    return difference <= kStepsPerChannel * 3 * qint64(x.width()) * x.height();
}

} // namespace photo
