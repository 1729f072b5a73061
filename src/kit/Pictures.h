// Our pictures and icons, drawn from the SVGs in the resources.
#pragma once

#include <QIcon>
#include <QImage>
#include <QSize>
#include <QString>

class QLabel;
class QWidget;

// Our pictures, drawn at their own sizes.
QImage builtInStartPicture(); // 912 × 409
QImage defaultPhoto();        // 230 × 307
QImage renderPicture(const QString &resource, QSize size);
QIcon icon(const QString &name);

// The program's heading picture, named `objectName`, at `size`.
QLabel *headingPicture(const QString &objectName, QSize size, QWidget *parent);
