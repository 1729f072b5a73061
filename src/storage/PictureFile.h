// Reading a picture file (JPEG, BMP, …) whatever its name's extension says,
// from a regular file only: a FIFO or a device under a picture's name reads
// as no picture instead of blocking the program.
#pragma once

#include <QImage>
#include <QString>

enum class Orientation { AsStored, FromExif };

// The picture, or a null image when the file is missing, not a regular file
// or not a picture. FromExif turns the picture as its EXIF orientation says.
QImage readPictureFile(const QString &path, Orientation orientation = Orientation::AsStored);
