// Card photos: one JPEG file per stored card, in the application folder,
// named after the card's record position (1.jpg, 2.jpg, …).
#pragma once

#include <QImage>
#include <QString>
#include <QStringView>

class AppFolder;

namespace photo {

// The quality photo files are written with.
inline constexpr int kJpegQuality = 90;

// The photo file of the card at `position` (blanks around it ignored).
QString fileOf(const AppFolder &folder, QStringView position);

// The picture stored in `path`, whatever its format; a null image when the
// file is missing or holds no picture we can read.
QImage load(const QString &path);

// Writes `picture` to `path` as JPEG at its own pixel size. The file is
// replaced as a whole: written aside and renamed over the old one, so a
// failure leaves the previous photo in place. Raises
// StorageError::unableToWrite(<path>) on failure.
void saveJpeg(const QImage &picture, const QString &path);

// True when `a` and `b` are the same picture, allowing for the small losses of
// a photo file written and read back: the same size, and on average no
// colour more than a few steps apart.
bool samePicture(const QImage &a, const QImage &b);

} // namespace photo
