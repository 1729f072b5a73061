#include "FileSteps.h"

#include "Failures.h"
#include "storage/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

namespace backup {

QByteArray encoded(const QString &path) {
    return QFile::encodeName(path);
}

bool lies(const QString &path) {
    return QFileInfo(path).exists() || QFileInfo(path).isSymLink();
}

bool renameOver(const QString &from, const QString &to) {
    return ::rename(encoded(from).constData(), encoded(to).constData()) == 0;
}

void syncFile(const QString &path) {
    const int fd = ::open(encoded(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        if (fd >= 0)
            ::close(fd);
        cannotWrite(path);
    }
    ::close(fd);
}

std::pair<quint32, qint64> fileCrc(const QString &path) {
    QFile in(path);
    if (openRegularFile(in, QIODevice::ReadOnly) != OpenResult::Opened)
        cannotRead(path);
    QByteArray chunk(kChunk, Qt::Uninitialized);
    uLong crc = crc32(0, nullptr, 0);
    qint64 size = 0;
    for (;;) {
        const qint64 got = in.read(chunk.data(), chunk.size());
        if (got < 0)
            cannotRead(path);
        if (got == 0)
            break;
        crc = crc32(crc, reinterpret_cast<const Bytef *>(chunk.constData()), uInt(got));
        size += got;
    }
    return {quint32(crc), size};
}

} // namespace backup
