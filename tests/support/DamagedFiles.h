// Damaged stand-ins for the files of an application folder, for the tests
// that walk the program over them.
#pragma once

#include "support/AppFixture.h"
#include "support/Deadline.h"

#include <QBuffer>
#include <QImage>
#include <QtEndian>
#include <QtTest>
#include <sys/resource.h>
#include <sys/stat.h>

// Bytes that are no text and no picture: every value, NUL and line breaks
// included, in no order.
inline QByteArray junkBytes(int size) {
    QByteArray junk(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        junk[i] = char((i * 7919 + 13) % 256);
    return junk;
}

// A picture of `size` filled with `colour`, in the file format `format`.
inline QByteArray encodedPicture(QSize size, Qt::GlobalColor colour, const char *format) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return bytes;
}

// A JPEG of a few pixels whose frame header claims `size`: the decoder must
// refuse it before it allocates anything.
inline QByteArray jpegClaiming(QSize size) {
    QByteArray bytes = encodedPicture(QSize(16, 16), Qt::green, "JPG");
    // The baseline frame header: FF C0, length, precision, height, width.
    const qsizetype sof = bytes.indexOf("\xFF\xC0");
    if (sof >= 0) {
        qToBigEndian<quint16>(quint16(size.height()), bytes.data() + sof + 5);
        qToBigEndian<quint16>(quint16(size.width()), bytes.data() + sof + 7);
    }
    return bytes;
}

// A bitmap of a few pixels whose header claims `size`.
inline QByteArray bitmapClaiming(QSize size) {
    QByteArray bytes = encodedPicture(QSize(2, 2), Qt::green, "BMP");
    qToLittleEndian<qint32>(size.width(), bytes.data() + 18);
    qToLittleEndian<qint32>(size.height(), bytes.data() + 22);
    return bytes;
}

// The first half of a real JPEG picture.
inline QByteArray truncatedJpeg() {
    const QByteArray bytes = encodedPicture(QSize(300, 200), Qt::magenta, "JPG");
    return bytes.left(bytes.size() / 2);
}

// Puts `kind` where the file `name` of the application folder is: "folder",
// "fifo", or the bytes `bytes` ("bytes").
inline void putDamaged(const AppFixture &app, const QString &name, const QString &kind,
                       const QByteArray &bytes) {
    QFile::remove(app.path(name));
    if (kind == u"folder")
        QVERIFY(QDir(app.folder).mkdir(name));
    else if (kind == u"fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(app.path(name)).constData(), 0600), 0);
    else
        QVERIFY(app.write(name, bytes));
}

// How much more memory a walk over a damaged folder may take than the one
// before it: a picture that claimed gigabytes would go far past it. Under
// AddressSanitizer freed memory is held back in quarantine, which counts too.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr long kWalkMemoryMegabytes = 300 + 512;
#else
inline constexpr long kWalkMemoryMegabytes = 300;
#endif

// The peak memory of this process so far, in megabytes.
inline long peakMegabytes() {
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}
