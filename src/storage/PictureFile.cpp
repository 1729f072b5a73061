#include "PictureFile.h"

#include "RegularFile.h"

#include <QFile>
#include <QImageReader>

QImage readPictureFile(const QString &path, Orientation orientation) {
    QFile file(path);
    if (openRegularFile(file, QIODevice::ReadOnly) != OpenResult::Opened)
        return {};
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(orientation == Orientation::FromExif);
    return reader.read();
}
