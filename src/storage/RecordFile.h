// A file of fixed-size records laid back to back: no header, no trailer.
// Record i starts at byte i × size; a trailing partial record is not counted.
// Every failing operation raises StorageError.
#pragma once

#include "RecordLayout.h"

#include <QByteArray>
#include <QFile>
#include <QString>

class RecordFile {
  public:
    RecordFile() = default;
    RecordFile(const RecordFile &) = delete;
    RecordFile &operator=(const RecordFile &) = delete;
    ~RecordFile();

    // Opens for reading and writing; a missing file is created empty, an
    // existing one is never emptied.
    void openOrCreate(const QString &path, int recordSize);
    // Addresses record `index` for the next read or write; index == size()
    // addresses the end (append).
    void seek(qint64 index);
    void read(char *record);
    void write(const char *record);
    void read(Record &record) { read(record.data()); }
    void write(const Record &record) { write(record.data()); }
    qint64 size() const;
    qint64 position() const { return m_index; }
    bool atEnd() const { return m_index >= size(); }
    void close();

  private:
    void ensureOpen() const;
    [[noreturn]] void fail(const QString &what) const;

    QFile m_file;
    int m_recordSize = 0;
    qint64 m_index = 0;
};

// Reads a whole record file in order with large reads, for search, lists,
// export and the command-line companion.
class RecordScanner {
  public:
    enum class Missing { Create, Empty };

    // Opens `path`; a missing file is created empty or, with Missing::Empty,
    // read as an empty archive and left uncreated.
    RecordScanner(const QString &path, int recordSize, Missing missing = Missing::Create);
    RecordScanner(const RecordScanner &) = delete;
    RecordScanner &operator=(const RecordScanner &) = delete;

    qint64 count() const { return m_count; }
    // The bytes of the next record (valid until the next call), or nullptr
    // after the last one.
    const char *next();

  private:
    QFile m_file;
    int m_recordSize;
    qint64 m_count = 0;
    qint64 m_read = 0;
    QByteArray m_buffer;
    qsizetype m_offset = 0;
    qsizetype m_filled = 0;
};
