#include "Photo.h"

#include "storage/AppFolder.h"
#include "storage/StorageError.h"
#include "storage/TextRules.h"

#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace photo {

QString fileOf(const AppFolder &folder, QStringView position) {
    return folder.file(text::trimmed(position) + QStringLiteral(".jpg"));
}

QImage load(const QString &path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

void saveJpeg(const QImage &picture, const QString &path) {
    const auto fail = [&path] {
        throw StorageError(
            QStringLiteral("%1: impossibile salvare la foto").arg(QDir::toNativeSeparators(path)));
    };
    if (picture.isNull())
        fail();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail();
    QImageWriter writer(&file, "jpg");
    writer.setQuality(kJpegQuality);
    if (!writer.write(picture)) {
        file.cancelWriting();
        fail();
    }
    if (!file.commit())
        fail();
}

} // namespace photo
