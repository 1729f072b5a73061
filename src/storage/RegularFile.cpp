#include "RegularFile.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef Q_OS_UNIX

OpenResult openRegularFile(QFile &file, QIODevice::OpenMode mode) {
    const bool writing = mode & QIODevice::WriteOnly;
    // O_NONBLOCK: opening a FIFO or a device must not wait for the other end.
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    flags |= writing ? (O_RDWR | O_CREAT) : O_RDONLY;
    const QByteArray name = QFile::encodeName(file.fileName());
    int fd;
    do {
        fd = ::open(name.constData(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return errno == ENOENT && !writing ? OpenResult::Missing : OpenResult::Refused;
    struct stat st;
    const int status = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || status < 0 ||
        ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return OpenResult::Refused;
    }
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return OpenResult::Refused;
    }
    return OpenResult::Opened;
}

bool canReplace(const QString &path) {
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) == 0)
        return S_ISREG(st.st_mode);
    return errno == ENOENT;
}

bool isSameFile(const QString &a, const QString &b) {
    struct stat sa, sb;
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

#else

OpenResult openRegularFile(QFile &file, QIODevice::OpenMode mode) {
    const QFileInfo info(file.fileName());
    if (!info.exists() && !(mode & QIODevice::WriteOnly) && !info.isSymLink())
        return OpenResult::Missing;
    if ((info.exists() && !info.isFile()) || !file.open(mode))
        return OpenResult::Refused;
    return OpenResult::Opened;
}

bool canReplace(const QString &path) {
    const QFileInfo info(path);
    return info.exists() ? info.isFile() : !info.isSymLink();
}

bool isSameFile(const QString &a, const QString &b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca.compare(QFileInfo(b).canonicalFilePath(), Qt::CaseInsensitive) == 0;
}

#endif
