// A really full filesystem for write-failure tests: a small tmpfs mounted on a
// temporary folder, filled to the last byte on request, unmounted at the end.
// Tests run as root; where mounting is refused the test skips. It can also be
// made read-only, which stops even root's writes.
//
//   FullDisk disk;
//   REQUIRE_MOUNTED(disk);
//   … write a good file into disk.path() …
//   QVERIFY(disk.fill());
//   … a write must now fail and leave the good file as it was …
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

class FullDisk {
  public:
    // The name of the file fill() writes.
    static constexpr const char *kFiller = "riempitivo";

    explicit FullDisk(const char *size = "64k") {
        if (!m_dir.isValid()) {
            m_reason = QStringLiteral("no temporary folder for the small filesystem");
            return;
        }
        const QByteArray options = QByteArray("size=") + size;
        if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs",
                    MS_NOSUID | MS_NODEV, options.constData()) != 0) {
            m_reason = QStringLiteral("cannot mount a small tmpfs (%1): a full disk cannot be "
                                      "made here")
                           .arg(QString::fromLocal8Bit(std::strerror(errno)));
            return;
        }
        m_mounted = true;
    }
    ~FullDisk() {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    bool mounted() const { return m_mounted; }
    // Why mounting failed, for QSKIP.
    const QString &reason() const { return m_reason; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Writes kFiller until not one byte more fits; true when the disk is then full.
    bool fill() {
        const int fd = ::open(QFile::encodeName(filePath(QString::fromLatin1(kFiller))).constData(),
                              O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        static const char zeros[65536] = {};
        int error = 0;
        for (size_t chunk = sizeof zeros; chunk > 0; chunk /= 2) {
            ssize_t n;
            while ((n = ::write(fd, zeros, chunk)) > 0) {
            }
            error = n < 0 ? errno : 0;
        }
        ::close(fd);
        return error == ENOSPC;
    }

    // Frees `bytes` of the filler again, so that small files still fit and
    // large ones do not.
    bool release(qint64 bytes) {
        QFile filler(filePath(QString::fromLatin1(kFiller)));
        return filler.size() >= bytes && filler.resize(filler.size() - bytes);
    }

    // Makes the whole small filesystem read-only: a folder that not even root
    // can write to. True when it is.
    bool makeReadOnly() {
        return ::mount(nullptr, QFile::encodeName(m_dir.path()).constData(), nullptr,
                       MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
    }

  private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_reason;
};

// Skips the test when `disk` could not be mounted, on a machine where that is
// refused; under CI (the CI variable set) fails it instead, so that a fault
// test that cannot provoke its fault never passes there without running.
#define REQUIRE_MOUNTED(disk)                                                                      \
    do {                                                                                           \
        if (!(disk).mounted()) {                                                                   \
            if (qEnvironmentVariableIsSet("CI"))                                                   \
                QFAIL(qPrintable(QStringLiteral("CI: ") + (disk).reason()));                       \
            QSKIP(qPrintable((disk).reason()));                                                    \
        }                                                                                          \
    } while (false)
