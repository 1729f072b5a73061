#include "RecordFile.h"

#include "Journal.h"

#include "RegularFile.h"
#include "StorageError.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

namespace {

QString shown(const QString &path) {
    return QDir::toNativeSeparators(path);
}

// Opens the record file at `path` for `layout`. Returns false for a missing
// file opened for reading (an empty archive); raises for a file that cannot
// be opened or that bears the name of the other archive.
bool openArchive(QFile &file, const RecordLayout &layout, const QString &path, bool writable) {
    const QString name = QFileInfo(path).fileName();
    for (const RecordLayout *other : {&databaseLayout, &clientLayout})
        if (other != &layout &&
            name.compare(QLatin1StringView(other->fileName), Qt::CaseInsensitive) == 0)
            throw StorageError(QStringLiteral("%1: questo file è l'archivio %2, non %3")
                                   .arg(shown(path), QLatin1StringView(other->fileName),
                                        QLatin1StringView(layout.fileName)));
    file.setFileName(path);
    // ReadWrite never truncates; it creates the file when it is missing.
    const auto mode = writable ? QIODevice::ReadWrite | QIODevice::Unbuffered : QIODevice::ReadOnly;
    switch (openRegularFile(file, mode)) {
    case OpenResult::Opened:
        return true;
    case OpenResult::Missing:
        return false;
    case OpenResult::Refused:
        break;
    }
    throw StorageError(QStringLiteral("%1: impossibile aprire l'archivio").arg(shown(path)));
}

} // namespace

RecordFile::~RecordFile() {
    close();
}

void RecordFile::fail(const QString &what) const {
    throw StorageError(QStringLiteral("%1: %2").arg(shown(m_path), what));
}

void RecordFile::ensureOpen() const {
    if (!m_layout)
        throw StorageError(QStringLiteral("archivio non aperto"));
}

void RecordFile::checkLayout(const Record &record) const {
    if (&record.layout() != m_layout)
        fail(QStringLiteral("la scheda di %1 byte non è di questo archivio (%2 byte)")
                 .arg(record.layout().size)
                 .arg(m_layout->size));
}

void RecordFile::open(const RecordLayout &layout, const QString &path, bool writable) {
    close();
    m_path = path;
    m_index = 0;
    openArchive(m_file, layout, path, writable);
    m_layout = &layout;
    m_writable = writable;
}

void RecordFile::openOrCreate(const RecordLayout &layout, const QString &path) {
    open(layout, path, true);
}

void RecordFile::openForReading(const RecordLayout &layout, const QString &path) {
    open(layout, path, false);
}

qint64 RecordFile::size() const {
    ensureOpen();
    return m_file.isOpen() ? m_file.size() / m_layout->size : 0;
}

void RecordFile::seek(qint64 index) {
    ensureOpen();
    if (index < 0 || index > size())
        fail(QStringLiteral("la scheda %1 non esiste").arg(index + 1));
    m_index = index;
}

void RecordFile::read(Record &record) {
    ensureOpen();
    checkLayout(record);
    const int recordSize = m_layout->size;
    if (m_index >= size())
        fail(QStringLiteral("lettura oltre l'ultima scheda"));
    if (!m_file.seek(m_index * recordSize) || m_file.read(record.data(), recordSize) != recordSize)
        fail(QStringLiteral("impossibile leggere la scheda %1").arg(m_index + 1));
    ++m_index;
}

void RecordFile::write(const Record &record) {
    ensureOpen();
    checkLayout(record);
    if (!m_writable)
        fail(QStringLiteral("archivio aperto in sola lettura"));
    const int recordSize = m_layout->size;
    if (!m_file.seek(m_index * recordSize) ||
        m_file.write(record.data(), recordSize) != recordSize || !m_file.flush())
        fail(QStringLiteral("impossibile scrivere la scheda %1").arg(m_index + 1));
    ++m_index;
}

void RecordFile::close() {
    if (m_file.isOpen())
        m_file.close();
    m_layout = nullptr;
}

RecordAppend::RecordAppend(const RecordLayout &layout, const QString &path)
    : m_layout(layout), m_path(path) {
    const QFileInfo info(path);
    m_created = !info.exists();
    // What the append touches is kept before the file is opened (which may
    // create it): its length, and the bytes of a torn trailing record.
    if (m_created || info.isFile()) {
        m_change = std::make_unique<Change>(AppFolder(info.absolutePath()), Change::Kind::Import);
        const qint64 size = m_created ? 0 : info.size();
        m_change->keepRange(info.fileName(), size - size % layout.size, size % layout.size);
        m_change->begin();
    }
    openArchive(m_file, layout, path, true);
    m_open = true;
    m_startBytes = m_file.size();
    const qint64 whole = m_startBytes - m_startBytes % layout.size;
    if (whole < m_startBytes &&
        (!m_file.seek(whole) || (m_tail = m_file.read(m_startBytes - whole)).size() !=
                                    m_startBytes - whole)) {
        m_open = false;
        fail(QStringLiteral("impossibile leggere la fine dell'archivio"));
    }
    m_buffer.resize(qsizetype(std::max(1, (1 << 20) / layout.size)) * layout.size);
}

RecordAppend::~RecordAppend() {
    if (m_open) {
        try {
            rollback();
        } catch (const StorageError &) {
            // Nothing more can be done here; the caller was told of the first failure.
        }
    }
}

void RecordAppend::fail(const QString &what) const {
    throw StorageError(QStringLiteral("%1: %2").arg(shown(m_path), what));
}

void RecordAppend::failAndRollBack(const QString &what) {
    try {
        rollback();
    } catch (const StorageError &) {
    }
    fail(what);
}

void RecordAppend::add(const Record &record) {
    if (&record.layout() != &m_layout)
        fail(QStringLiteral("la scheda di %1 byte non è di questo archivio (%2 byte)")
                 .arg(record.layout().size)
                 .arg(m_layout.size));
    if (!m_open)
        fail(QStringLiteral("aggiunta già conclusa"));
    if (m_used + m_layout.size > m_buffer.size())
        writeBuffer();
    std::memcpy(m_buffer.data() + m_used, record.data(), size_t(m_layout.size));
    m_used += m_layout.size;
    ++m_added;
}

void RecordAppend::writeBuffer() {
    if (m_used == 0)
        return;
    const qint64 at = startCount() * m_layout.size + m_written * m_layout.size;
    if (!m_file.seek(at) || m_file.write(m_buffer.constData(), m_used) != m_used ||
        !m_file.flush())
        failAndRollBack(QStringLiteral("impossibile scrivere la scheda %1")
                            .arg(startCount() + m_written + 1));
    m_written += m_used / m_layout.size;
    m_used = 0;
}

void RecordAppend::commit() {
    if (!m_open)
        fail(QStringLiteral("aggiunta già conclusa"));
    writeBuffer();
    m_open = false;
    m_file.close();
    if (m_change)
        m_change->commit();
}

void RecordAppend::rollback() {
    if (!m_open)
        return;
    m_open = false;
    m_used = 0;
    const qint64 whole = m_startBytes - m_tail.size();
    const bool restored = m_file.resize(m_startBytes) &&
                          (m_tail.isEmpty() || (m_file.seek(whole) &&
                                                m_file.write(m_tail) == m_tail.size() &&
                                                m_file.flush()));
    m_file.close();
    if (m_created && m_startBytes == 0)
        QFile::remove(m_path);
    if (!restored)
        fail(QStringLiteral("impossibile riportare l'archivio alla lunghezza iniziale"));
    if (m_change)
        m_change->rollback();
}

RecordScanner::RecordScanner(const RecordLayout &layout, const QString &path)
    : m_path(path), m_recordSize(layout.size) {
    if (!openArchive(m_file, layout, path, false))
        return;
    m_count = m_file.size() / m_recordSize;
    // About a megabyte per read, in whole records.
    m_buffer.resize(qsizetype(std::max(1, (1 << 20) / m_recordSize)) * m_recordSize);
}

void RecordScanner::limit(qint64 first, qint64 end) {
    m_count = std::min(m_count, end);
    m_read = std::min(first, m_count);
    m_offset = m_filled = 0;
    if (m_file.isOpen() && !m_file.seek(m_read * m_recordSize))
        throw StorageError(QStringLiteral("%1: impossibile leggere la scheda %2")
                               .arg(shown(m_path))
                               .arg(m_read + 1));
}

const char *RecordScanner::next() {
    if (m_read >= m_count)
        return nullptr;
    if (m_offset >= m_filled) {
        const qint64 left = (m_count - m_read) * m_recordSize;
        const qint64 want = std::min<qint64>(left, m_buffer.size());
        if (m_file.read(m_buffer.data(), want) != want)
            throw StorageError(QStringLiteral("%1: impossibile leggere la scheda %2")
                                   .arg(shown(m_path))
                                   .arg(m_read + 1));
        m_offset = 0;
        m_filled = qsizetype(want);
    }
    const char *record = m_buffer.constData() + m_offset;
    m_offset += m_recordSize;
    ++m_read;
    return record;
}

const char *RecordScanner::nextCard() {
    const char *record = next();
    while (record && isFreeSlot(record, m_recordSize))
        record = next();
    return record;
}
