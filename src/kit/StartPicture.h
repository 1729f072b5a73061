// The start-screen picture: Logo.bmp in the application folder, or the
// built-in picture when Logo.bmp cannot be loaded.
#pragma once

#include <QImage>
#include <QPixmap>

class AppFolder;

// The built-in start-screen picture (912 × 409), drawn once per run so that
// every window shows and stores the very same pixels.
const QImage &defaultStartPicture();
// The picture of Logo.bmp, or a null image when it is missing or unreadable.
QImage loadLogo(const AppFolder &folder);
// `picture` fitted into `area` (aspect kept, centred on white), as a pixmap of
// exactly that size.
QPixmap fittedPicture(const QImage &picture, QSize area);
