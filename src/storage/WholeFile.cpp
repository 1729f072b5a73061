#include "WholeFile.h"

#include "RegularFile.h"
#include "StorageError.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

// Passes every write on to the temporary file and remembers the furthest byte
// written, so commit() can compare it with the size on disk. Closing it only
// closes this door: the temporary file stays open until commit().
class WholeFile::Sink : public QIODevice {
  public:
    explicit Sink(QFile &file) : m_file(file) {
        QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

    qint64 end() const { return m_end; }
    bool broken() const { return m_broken; }
    bool isSequential() const override { return false; }
    qint64 size() const override { return m_end; }
    bool seek(qint64 pos) override {
        if (QIODevice::seek(pos) && m_file.seek(pos))
            return true;
        m_broken = true;
        return false;
    }

  protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 len) override {
        if (m_broken || (m_file.pos() != pos() && !m_file.seek(pos())) ||
            m_file.write(data, len) != len) {
            m_broken = true;
            return -1;
        }
        m_end = std::max(m_end, pos() + len);
        return len;
    }

  private:
    QFile &m_file;
    qint64 m_end = 0;
    bool m_broken = false;
};

namespace {

// Syncs the folder that holds `path`, so a rename there survives a power cut.
bool syncFolderOf(const QString &path) {
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                          O_RDONLY | O_CLOEXEC | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return synced;
}

} // namespace

WholeFile::WholeFile(const QString &path) : m_path(path), m_target(path) {
    // Only a regular file is ever replaced; a link is followed to its file.
    if (!canReplace(path))
        throw StorageError::unableToWrite(m_path);
    const QFileInfo target(path);
    if (target.isSymLink() && target.exists())
        m_target = target.canonicalFilePath();
    // A short name, so that a target of the longest name still has a
    // temporary file beside it.
    const QString prefix =
        QFileInfo(m_target).absolutePath() + u'/' + QLatin1String(kTemporaryPrefix);
    // A fresh name each try: a temporary file that is there already is never used.
    for (int attempt = 0; attempt < 100 && !m_file.isOpen(); ++attempt) {
        m_file.setFileName(prefix +
                           QString::number(QRandomGenerator::global()->generate(), 36));
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly) &&
            !QFileInfo::exists(m_file.fileName()))
            break;
    }
    if (!m_file.isOpen())
        throw StorageError::unableToWrite(m_path);
    m_sink = new Sink(m_file);
}

WholeFile::~WholeFile() {
    delete m_sink;
    if (!m_committed && !m_file.fileName().isEmpty()) {
        m_file.close();
        QFile::remove(m_file.fileName());
    }
}

QIODevice *WholeFile::device() {
    return m_sink;
}

void WholeFile::fail() {
    m_failed = true;
    if (!m_committed) {
        m_file.close();
        QFile::remove(m_file.fileName());
    }
    throw StorageError::unableToWrite(m_path);
}

void WholeFile::write(QByteArrayView bytes) {
    if (m_failed || m_committed || !m_sink->isOpen())
        fail();
    if (m_sink->write(bytes.data(), bytes.size()) != bytes.size())
        fail();
}

void WholeFile::copyFrom(const QString &source) {
    QFile in(source);
    if (openRegularFile(in, QIODevice::ReadOnly) != OpenResult::Opened) {
        m_failed = true;
        throw StorageError::unableToRead(source);
    }
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(chunk.data(), chunk.size());
        if (got < 0) {
            m_failed = true;
            throw StorageError::unableToRead(source);
        }
        if (got == 0)
            break;
        write(QByteArrayView(chunk.constData(), got));
    }
}

void WholeFile::commit() {
    if (m_failed || m_committed)
        fail();
    // Everything buffered must reach the disk before the rename, and the file
    // on disk must hold every byte handed in.
    const bool written = m_file.isOpen() && !m_sink->broken() && m_file.flush() &&
                         m_file.bytesToWrite() == 0 && m_file.error() == QFileDevice::NoError &&
                         m_file.size() == m_sink->end() && ::fsync(m_file.handle()) == 0;
    if (!written)
        fail();
    m_file.close();
    if (::rename(QFile::encodeName(m_file.fileName()).constData(),
                 QFile::encodeName(m_target).constData()) != 0)
        fail();
    m_committed = true;
    if (!syncFolderOf(m_target))
        throw StorageError::unableToWrite(m_path);
}

void writeWholeFile(const QString &path, QByteArrayView bytes) {
    WholeFile file(path);
    file.write(bytes);
    file.commit();
}

void writeWholeFile(const QString &path, const std::function<bool(QIODevice &)> &produce) {
    WholeFile file(path);
    if (!produce(*file.device()))
        file.fail();
    file.commit();
}

void copyWholeFile(const QString &source, const QString &target) {
    WholeFile file(target);
    file.copyFrom(source);
    file.commit();
}

void removeLeftoverTemporaries(const QString &folder) {
    const QDir dir(folder);
    const QStringList leftovers = dir.entryList({QLatin1String(kTemporaryPrefix) + u'*'},
                                                QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : leftovers)
        QFile::remove(dir.filePath(name));
}
