// Reading the rows of a table file for import: CSV as spreadsheet programs
// write it, and the program's own spreadsheet export (an HTML table). The
// file is read in chunks of about a megabyte and decoded one cell at a time,
// so a large file is never held whole.
//
// CSV: comma or semicolon, whichever the first line holds more of outside
// quotes; quoted cells with doubled quotes, separators and line breaks
// inside; CRLF, LF or CR line ends; UTF-8 with or without byte order mark,
// and anything that is not valid UTF-8 throughout read as Windows-1252.
// Empty lines are skipped.
//
// HTML table: one row per <tr>, one cell per <td> or <th>, tags inside a cell
// dropped (<br> becomes a line break), the character references decoded; the
// encoding named by the page's charset, Windows-1252 by default.
//
// vCard: a file that begins "BEGIN:VCARD" is read as a table of clients (see
// vcard::openReader).
//
// A binary spreadsheet (the office suites' own .xls, .xlsx or .ods) is refused
// with a FormatError that says to save it as CSV.
#pragma once

#include "storage/MessageError.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace import {

// The file's content cannot be imported; message() is the text for the user.
class FormatError : public MessageError {
  public:
    using MessageError::MessageError;
};

// A table has at most this many columns: a row with more is refused. A cell
// keeps at most this many bytes (a field holds far fewer): the rest is
// skipped, and the value counts as cut when stored.
inline constexpr qsizetype kMostColumns = 1000;
inline constexpr qsizetype kMostCellBytes = 64 * 1024;
// A row (a vCard's line) takes at most this many bytes of the file, the
// skipped ends of long cells included: a longer one is refused, so a file
// of one endless line is refused as soon as that is plain. (The reader
// checks it a megabyte at a time: a row up to a megabyte longer may pass.)
inline constexpr qint64 kMostRowBytes = 64 * 1024 * 1024;

// Called now and then with the bytes read and the file's size; returning
// false stops the pass.
using Progress = std::function<bool(qint64 done, qint64 total)>;

enum class TableKind { Csv, Html, VCard };
enum class TableEncoding { Utf8, Windows1252 };

class TableReader {
  public:
    virtual ~TableReader() = default;
    // The next row's cells, false after the last row. May raise StorageError
    // when the file cannot be read.
    virtual bool next(QStringList &cells) = 0;
    // Values of the row last read that no column holds (a vCard's second
    // e-mail, for one).
    virtual int droppedInRow() const { return 0; }

    TableKind kind() const { return m_kind; }
    TableEncoding encoding() const { return m_encoding; }
    // The CSV separator (0 for an HTML table).
    char separator() const { return m_separator; }
    // Bytes read so far and in all, for a progress bar.
    qint64 position() const { return m_consumed + m_pos; }
    qint64 size() const { return m_size; }

  protected:
    TableReader(const QString &path, qint64 start, TableKind kind, TableEncoding encoding);
    // A row starts here: kMostRowBytes counts from it.
    void startRow() { m_rowStart = position(); }
    // The next byte, or -1 at the end of the file.
    int get() {
        if (m_pos >= m_end && !refill())
            return -1;
        return static_cast<unsigned char>(m_chunk.constData()[m_pos++]);
    }
    int peek() {
        if (m_pos >= m_end && !refill())
            return -1;
        return static_cast<unsigned char>(m_chunk.constData()[m_pos]);
    }
    // The bytes read from the file and not yet taken (empty at its end), and
    // taking `n` of them.
    QByteArrayView buffered() {
        if (m_pos >= m_end && !refill())
            return {};
        return QByteArrayView(m_chunk.constData() + m_pos, m_end - m_pos);
    }
    void take(qsizetype n) { m_pos += n; }
    // Appends to `into` the bytes before the next `stop` (or to the end of the
    // file), no more than kMostCellBytes in all, and leaves `stop` unread.
    void appendUntil(char stop, QByteArray &into);
    // Adds a byte to a cell, unless the cell is full.
    static void addByte(QByteArray &cell, int c) {
        if (cell.size() < kMostCellBytes)
            cell.append(char(c));
    }
    // The cells of a row are written over the strings of the row before,
    // so that a long table is read without an allocation for each cell:
    // a row starts with startCells(), ends with endCells().
    void startCells() { m_cellCount = 0; }
    qsizetype cellCount() const { return m_cellCount; }
    void endCells(QStringList &cells) const { cells.resize(m_cellCount); }
    // The string of the row's next cell; raises FormatError past
    // kMostColumns.
    QString &nextCell(QStringList &cells);
    // Adds a cell of these bytes in the file's encoding to a row, and
    // returns it.
    QString &addCell(QStringList &cells, QByteArrayView bytes);
    QString decode(const QByteArray &bytes) const;

    TableKind m_kind;
    TableEncoding m_encoding;
    char m_separator = 0;

  private:
    bool refill();

    QString m_path;
    QFile m_file;
    QByteArray m_chunk;
    qsizetype m_pos = 0;
    qsizetype m_end = 0;
    qint64 m_consumed = 0; // bytes before the current chunk
    qint64 m_size = 0;
    qint64 m_rowStart = 0;
    qsizetype m_cellCount = 0;
};

// Opens `path` and tells CSV from HTML, the encoding and the separator by its
// content. Raises StorageError::unableToRead(<path>) when it cannot be
// read, FormatError for a binary spreadsheet. Telling the encoding may read
// the whole file (once for a file opened again unchanged); `progress` hears
// of it, and when it stops the reading no reader is returned.
std::unique_ptr<TableReader> openTable(const QString &path, const Progress &progress = {});

} // namespace import
