#include "RecordFile.h"

#include "StorageError.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

RecordFile::~RecordFile() {
    close();
}

void RecordFile::fail(const QString &what) const {
    throw StorageError(
        QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(m_file.fileName()), what));
}

void RecordFile::ensureOpen() const {
    if (!m_file.isOpen())
        throw StorageError(QStringLiteral("archivio non aperto"));
}

void RecordFile::openOrCreate(const QString &path, int recordSize) {
    close();
    m_file.setFileName(path);
    m_recordSize = recordSize;
    m_index = 0;
    // ReadWrite never truncates; it creates the file when it is missing.
    if (QFileInfo(path).isDir() || !m_file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        fail(QStringLiteral("impossibile aprire l'archivio"));
}

qint64 RecordFile::size() const {
    ensureOpen();
    return m_file.size() / m_recordSize;
}

void RecordFile::seek(qint64 index) {
    ensureOpen();
    if (index < 0 || index > size())
        throw StorageError(QStringLiteral("%1: la scheda %2 non esiste")
                               .arg(QDir::toNativeSeparators(m_file.fileName()))
                               .arg(index + 1));
    m_index = index;
}

void RecordFile::read(char *record) {
    ensureOpen();
    if (m_index >= size())
        fail(QStringLiteral("lettura oltre l'ultima scheda"));
    if (!m_file.seek(m_index * m_recordSize) || m_file.read(record, m_recordSize) != m_recordSize)
        fail(QStringLiteral("impossibile leggere la scheda %1").arg(m_index + 1));
    ++m_index;
}

void RecordFile::write(const char *record) {
    ensureOpen();
    if (!m_file.seek(m_index * m_recordSize) ||
        m_file.write(record, m_recordSize) != m_recordSize || !m_file.flush())
        fail(QStringLiteral("impossibile scrivere la scheda %1").arg(m_index + 1));
    ++m_index;
}

void RecordFile::close() {
    if (m_file.isOpen())
        m_file.close();
}

RecordScanner::RecordScanner(const QString &path, int recordSize, Missing missing)
    : m_file(path), m_recordSize(recordSize) {
    if (missing == Missing::Empty && !QFileInfo::exists(path))
        return;
    const auto mode = missing == Missing::Create ? QIODevice::ReadWrite : QIODevice::ReadOnly;
    if (QFileInfo(path).isDir() || !m_file.open(mode))
        throw StorageError(QStringLiteral("%1: impossibile aprire l'archivio")
                               .arg(QDir::toNativeSeparators(path)));
    m_count = m_file.size() / m_recordSize;
    // About a megabyte per read, in whole records.
    m_buffer.resize(qsizetype(std::max(1, (1 << 20) / m_recordSize)) * m_recordSize);
}

const char *RecordScanner::next() {
    if (m_read >= m_count)
        return nullptr;
    if (m_offset >= m_filled) {
        const qint64 left = (m_count - m_read) * m_recordSize;
        const qint64 want = std::min<qint64>(left, m_buffer.size());
        if (m_file.read(m_buffer.data(), want) != want)
            throw StorageError(QStringLiteral("%1: impossibile leggere la scheda %2")
                                   .arg(QDir::toNativeSeparators(m_file.fileName()))
                                   .arg(m_read + 1));
        m_offset = 0;
        m_filled = qsizetype(want);
    }
    const char *record = m_buffer.constData() + m_offset;
    m_offset += m_recordSize;
    ++m_read;
    return record;
}
