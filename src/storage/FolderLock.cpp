#include "FolderLock.h"

#include <QDeadlineTimer>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

FolderLock::FolderLock(const AppFolder &folder) : m_path(folder.file(fileName())) {}

FolderLock::~FolderLock() {
    release();
}

void FolderLock::release() {
    if (m_fd >= 0)
        ::close(m_fd); // drops every lock of this description
    m_fd = -1;
}

bool FolderLock::open(bool create) {
    if (m_fd >= 0)
        return true;
    const QByteArray path = QFile::encodeName(m_path);
    const int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    do
        m_fd = create ? ::open(path.constData(), flags | O_RDWR | O_CREAT, 0644)
                      : ::open(path.constData(), flags | O_RDONLY);
    while (m_fd < 0 && errno == EINTR);
    return m_fd >= 0;
}

FolderLock::Result FolderLock::lock(int byte, short type, bool wait) {
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = byte;
    range.l_len = 1;
    range.l_pid = 0; // required for open-file-description locks
    for (;;) {
        if (::fcntl(m_fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &range) == 0)
            return Result::Taken;
        if (errno == EINTR)
            continue;
        return errno == EAGAIN || errno == EACCES ? Result::Busy : Result::Unusable;
    }
}

FolderLock::Result FolderLock::holdProgram() {
    if (!open(true))
        return Result::Unusable;
    return lock(0, F_WRLCK, false);
}

void FolderLock::holdChange() {
    if (open(true))
        lock(1, F_WRLCK, true);
}

FolderLock::Result FolderLock::holdReading(int waitMs) {
    if (!open(true) && !open(false))
        return errno == ENOENT || errno == EACCES || errno == EROFS ? Result::Taken
                                                                    : Result::Unusable;
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        const Result result = lock(1, F_RDLCK, false);
        if (result != Result::Busy || deadline.hasExpired())
            return result;
        QThread::msleep(20);
    }
}
