// A file of fixed-size records laid back to back: no header, no trailer.
// Record i starts at byte i × size; a trailing partial record is not counted.
// Every failing operation raises StorageError. Only a regular file is opened:
// a FIFO, a device, a folder or a link loop is a file error, never a wait.
//
// A record file is opened from the layout of its records, so the record size
// always matches the file: the program works through the typed archives
// DatabaseFile and ClientFile, where a record of the other archive does not
// compile; RecordFile, for code that picks the layout at run time, refuses a
// record of another layout, and a file named after the other archive.
#pragma once

#include "AppFolder.h"
#include "ClientRecord.h"
#include "DatabaseRecord.h"
#include "RecordLayout.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>

class Change;

class RecordFile {
  public:
    RecordFile() = default;
    RecordFile(const RecordFile &) = delete;
    RecordFile &operator=(const RecordFile &) = delete;
    ~RecordFile();

    // Opens `path` as a file of `layout` records for reading and writing; a
    // missing file is created empty, an existing one is never emptied.
    void openOrCreate(const RecordLayout &layout, const QString &path);
    // Opens `path` for reading only: the read path of the program and of the
    // companion. A missing file reads as an empty archive and is not created.
    void openForReading(const RecordLayout &layout, const QString &path);

    // Addresses record `index` for the next read or write; index == size()
    // addresses the end (append).
    void seek(qint64 index);
    // Both raise StorageError for a record of another layout.
    void read(Record &record);
    void write(const Record &record);
    qint64 size() const;
    qint64 position() const { return m_index; }
    bool atEnd() const { return m_index >= size(); }
    void close();

  private:
    void open(const RecordLayout &layout, const QString &path, bool writable);
    void ensureOpen() const;
    void checkLayout(const Record &record) const;
    [[noreturn]] void fail(const QString &what) const;

    QFile m_file;
    QString m_path;
    const RecordLayout *m_layout = nullptr; // set while open
    bool m_writable = false;
    qint64 m_index = 0;
};

// The archive of one record type, in an application folder: Database.pro
// holds DatabaseRecord, Clienti.pro ClientRecord. The file name and the
// record size come from the record type.
template <class R> class TypedRecordFile : private RecordFile {
  public:
    void openOrCreate(const AppFolder &folder) {
        RecordFile::openOrCreate(R::kLayout, folder.file(QString::fromLatin1(R::kLayout.fileName)));
    }
    void openForReading(const AppFolder &folder) {
        RecordFile::openForReading(R::kLayout,
                                   folder.file(QString::fromLatin1(R::kLayout.fileName)));
    }
    void read(R &record) { RecordFile::read(record); }
    void write(const R &record) { RecordFile::write(record); }
    using RecordFile::atEnd;
    using RecordFile::close;
    using RecordFile::position;
    using RecordFile::seek;
    using RecordFile::size;
};

using DatabaseFile = TypedRecordFile<DatabaseRecord>;
using ClientFile = TypedRecordFile<ClientRecord>;

// Adds many records to the end of a record file as one step that can be taken
// back: the new records go after the last whole record, in large writes. Until
// commit() the addition can be undone: rollback(), or destruction without
// commit(), puts the file back to its length and bytes at the start (a
// trailing partial record included), and removes it when the append created
// it. That is the one time a record file is cut, and never below its length at
// the start. Every failing write raises StorageError; the file is then rolled
// back before the error leaves add() or commit().
//
// The append is one change of the folder under its journal (Journal.h): a
// kill or a power cut before commit() returns leaves, after the next start,
// the file as it was at the start.
class RecordAppend {
  public:
    RecordAppend(const RecordLayout &layout, const QString &path);
    RecordAppend(const RecordAppend &) = delete;
    RecordAppend &operator=(const RecordAppend &) = delete;
    ~RecordAppend();

    // Raises StorageError for a record of another layout.
    void add(const Record &record);
    qint64 added() const { return m_added; }
    // Whole records in the file before the append.
    qint64 startCount() const { return m_startBytes / m_layout.size; }
    // Writes what is still buffered; afterwards the records stay.
    void commit();
    // Takes the addition back; raises StorageError when the file cannot be put
    // back (it is then at least as long as at the start).
    void rollback();

  private:
    void writeBuffer();
    [[noreturn]] void fail(const QString &what) const;
    [[noreturn]] void failAndRollBack(const QString &what);

    const RecordLayout &m_layout;
    QString m_path;
    std::unique_ptr<Change> m_change;
    QFile m_file;
    bool m_created = false;
    bool m_open = false; // until commit or rollback
    qint64 m_startBytes = 0;
    QByteArray m_tail; // the bytes of a trailing partial record, overwritten by the append
    QByteArray m_buffer;
    qsizetype m_used = 0;
    qint64 m_written = 0; // records written so far
    qint64 m_added = 0;
};

template <class R> class TypedRecordAppend : private RecordAppend {
  public:
    explicit TypedRecordAppend(const AppFolder &folder)
        : RecordAppend(R::kLayout, folder.file(QString::fromLatin1(R::kLayout.fileName))) {}
    void add(const R &record) { RecordAppend::add(record); }
    using RecordAppend::added;
    using RecordAppend::commit;
    using RecordAppend::rollback;
    using RecordAppend::startCount;
};

// Reads a whole record file in order with large reads, for search, lists,
// export and the command-line companion. It opens the file as
// RecordFile::openForReading does: read only, a missing file is an empty
// archive and is not created.
class RecordScanner {
  public:
    RecordScanner(const RecordLayout &layout, const QString &path);
    RecordScanner(const RecordScanner &) = delete;
    RecordScanner &operator=(const RecordScanner &) = delete;

    qint64 count() const { return m_count; }
    // Reads only the records from `first` (0-based) to before `end`: a part
    // of the file, for one of several readers. count() is then `end` (at most
    // the file's).
    void limit(qint64 first, qint64 end);
    // The bytes of the next record (valid until the next call), or nullptr
    // after the last one.
    const char *next();
    // The same, past the free slots of deleted cards: the next card.
    const char *nextCard();
    // The position (1-based) of the record last returned.
    qint64 position() const { return m_read; }

  private:
    QFile m_file;
    QString m_path;
    int m_recordSize;
    qint64 m_count = 0;
    qint64 m_read = 0;
    QByteArray m_buffer;
    qsizetype m_offset = 0;
    qsizetype m_filled = 0;
};
