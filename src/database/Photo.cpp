#include "Photo.h"

#include "storage/AppFolder.h"
#include "storage/PictureFile.h"
#include "storage/StorageError.h"
#include "storage/TextRules.h"
#include "storage/WholeFile.h"

#include <QImageWriter>

namespace photo {

QString fileOf(const AppFolder &folder, QStringView position) {
    return folder.file(text::trimmed(position) + QStringLiteral(".jpg"));
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

} // namespace photo
