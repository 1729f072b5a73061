// The spreadsheet export files Database.xls and Clienti.xls: an HTML table
// with the office spreadsheet markup, Windows-1252, all on one line.
//
// The writer is fed rows of cell texts: the export windows feed it the grid
// (with the user's edits), the command-line companion the record file. Cell
// texts are trimmed and have "&", "<" and ">" escaped, and every data cell is
// marked as text for both office suites, so whatever a field holds shows as
// typed (leading zeros, "=", "1e5", long card numbers) and cannot break the
// table. The file goes through the
// whole-file writer: it replaces the target only on a successful commit(), so
// a failure never leaves half a file where a good one stood.
#pragma once

#include "storage/WholeFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <span>

class Record;
struct RecordLayout;

namespace spreadsheet {

// One exported column: the file's header title and width, the grid's own
// header, width and whether the grid lets the user edit it, and the record
// field(s) it shows (a second field is joined to the first with one blank).
struct Column {
    const char *fileTitle;
    int fileWidth;
    const char *gridTitle;
    int gridWidth;
    bool readOnly;
    int field;
    int secondField = -1;
};

struct Sheet {
    const RecordLayout *layout; // of the archive it exports
    const char *fileName;       // in the application folder
    const char *sheetName;      // the worksheet's name inside the file
    std::span<const Column> columns;
};

extern const Sheet databaseSheet; // Database.xls: 23 columns of a DatabaseRecord
extern const Sheet clientSheet;   // Clienti.xls: 25 columns of a ClientRecord

// The cell texts of one record, trimmed, in column order.
QStringList cellsOf(const Sheet &sheet, const Record &record);

class Writer {
  public:
    // Starts the file: everything up to and including the header row. Every
    // call may raise StorageError::unableToWrite(<path>); the target is
    // then left as it was.
    Writer(const QString &path, const Sheet &sheet);
    Writer(const Writer &) = delete;
    Writer &operator=(const Writer &) = delete;

    // One data row; missing cells are written empty, extra cells ignored.
    void addRow(const QStringList &cells);
    // One data row straight from a record's bytes: the same file bytes as
    // addRow(cellsOf(sheet, record)), without decoding.
    void addRecord(const char *recordBytes);
    // Ends the table and puts the file in place.
    void commit();

  private:
    void cell(QByteArrayView text);
    void put(QByteArrayView bytes);
    void flush();

    const Sheet &m_sheet;
    WholeFile m_file;
    QByteArray m_buffer; // output waiting to be written, m_used bytes of it
    qsizetype m_used = 0;
    QByteArray m_scratch;
};

// Writes every record of the record file at `recordPath` (a missing file is
// an empty archive and is not created) to `target`; returns the row count.
qint64 exportArchive(const Sheet &sheet, const QString &recordPath, const QString &target);

} // namespace spreadsheet
