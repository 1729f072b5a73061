// Importing a table file into one of the two archives: which column fills
// which field, the rows as they will be stored, and the append itself.
//
// Columns are matched to fields by their header titles, without regard to
// letter case or blanks: the titles of the archive's spreadsheet export (file
// and grid), and for the fourteen free fields of the database the user's own
// titles from Archivio.ini. A first row in which no cell matches a title is
// data, and the columns then follow the export's column order.
//
// Each value is stored as the workspaces store it: trimmed, in Windows-1252
// ("?" for what the code page cannot hold), cut to the field's capacity; a
// flag is "Sì" for Sì, Si, 1, true or x (any letter case) and "No" otherwise.
// A column the export writes as two fields joined with a blank (the town and
// its province) is split at its last blank when the last word is a province
// code (two letters), unless another column fills the province. Rows whose
// cells are all blank are skipped.
#pragma once

#include "import/TableReader.h"
#include "output/SpreadsheetExport.h"
#include "storage/AppFolder.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class Record;

namespace import {

// A field (or two joined fields) a column can fill.
struct Target {
    QString title;       // as offered to the user
    QStringList aliases; // every title that matches it, the title included
    int field;
    int secondField = -1;
    bool flag = false;
};

// What a pass over the file found or did.
struct Counts {
    qint64 rows = 0;          // data rows stored (or to be stored)
    qint64 cutValues = 0;     // values longer than their field
    qint64 replacedValues = 0; // values with characters Windows-1252 cannot hold
    qint64 blankRows = 0;     // rows skipped as blank
    // Rows skipped because the required field (requiredField()) is empty,
    // and the first of them, numbered as the table's rows (the header row
    // included; a CSV file's empty lines are not rows).
    qint64 refusedRows = 0;
    QList<qint64> refusedLines;
    static constexpr qsizetype kListedRefusals = 10;
    // Rows equal to a card already in the archive (KnownCards): found by
    // survey(), skipped by append() when asked to.
    qint64 duplicateRows = 0;
    // Values no field could take (a vCard's second e-mail, for one).
    qint64 droppedValues = 0;
};

// The field without which a workspace refuses to save a card: a database
// card's first field, a client's name.
int requiredField(const spreadsheet::Sheet &sheet);

// How many stored values were cut to its field or had characters replaced by "?".
struct Stored {
    int cut = 0;      // values cut
    int replaced = 0; // values with characters replaced
    void countInto(Counts &counts) const;
};

// Stores `value` into a field as the workspaces do: trimmed, in Windows-1252
// ("?" for what it cannot hold), cut to the field's capacity; notes in
// `stored` what was cut or replaced.
void storeValue(Record &record, int field, QStringView value, Stored &stored);

class Plan {
  public:
    // The plan for the archive exported as `sheet` (databaseSheet or
    // clientSheet), in the application folder `folder`.
    Plan(const spreadsheet::Sheet &sheet, const AppFolder &folder);

    const spreadsheet::Sheet &sheet() const { return m_sheet; }
    const std::vector<Target> &targets() const { return m_targets; }
    // The target a header title matches, or -1.
    int match(const QString &title) const;

    // Sets the columns from the file's first row: whether it is a header,
    // and the column → field mapping that follows from it. A vCard's first
    // row is always its titles, and its rows are cards.
    void setFirstRow(const QStringList &firstRow, TableKind kind = TableKind::Csv);
    bool hasHeader() const { return m_hasHeader; }
    bool ofCards() const { return m_cards; }
    void setHasHeader(bool header);
    int columnCount() const { return int(m_mapping.size()); }
    // The target index of a column, -1 for a column left out.
    int targetOf(int column) const;
    // Whether a column of two joined fields is split into both.
    bool splits(int column) const { return column >= 0 && size_t(column) < m_split.size() && m_split[size_t(column)]; }
    void setTarget(int column, int target);
    // The column titles shown to the user: the header's, or "Colonna N".
    const QStringList &columnTitles() const { return m_titles; }

    // Makes `record` (of the sheet's layout) the card of one row; false for a
    // blank row and for a row without the required field, each counted.
    // Adds what was cut or replaced to `counts`.
    bool fill(const QStringList &cells, Record &record, Counts &counts) const;

  private:
    void mapByPosition();
    void mappingChanged();

    const spreadsheet::Sheet &m_sheet;
    std::vector<Target> m_targets;
    QHash<QString, int> m_keys; // matching key of every alias → target
    QStringList m_firstRow;
    QStringList m_titles;
    std::vector<int> m_mapping;
    std::vector<bool> m_split;
    bool m_hasHeader = false;
    bool m_cards = false;
};

// The file's first row (empty for an empty file), for Plan::setFirstRow, and
// how the file is read. Raises as openTable does.
QStringList firstRowOf(const QString &path, TableKind *kind = nullptr);

// The first `count` data rows as they will be stored, one text per target
// that a column fills, in target order.
QList<QStringList> preview(const QString &path, const Plan &plan, int count);
// The targets preview() shows, in its order.
std::vector<int> previewTargets(const Plan &plan);

// The cards already in the plan's archive, each known by the fields the plan
// fills: a row whose stored values equal a card's in every one of those
// fields (after the trimming and cutting of any stored value) repeats it.
// Built empty, it knows no card.
class KnownCards {
  public:
    KnownCards() = default;
    // Reads the archive, telling `progress` the cards read; raises
    // StorageError when it cannot be read. When `progress` stops it, it
    // knows only part of the archive and complete() is false.
    KnownCards(const Plan &plan, const AppFolder &folder, const Progress &progress = {});
    bool contains(const Record &row) const;
    bool complete() const { return m_complete; }

  private:
    std::pair<size_t, size_t> key(const char *record) const;
    const RecordLayout *m_layout = nullptr;
    bool m_complete = true;
    std::vector<int> m_fields;
    QSet<std::pair<size_t, size_t>> m_keys;
};

// Reads every data row and counts what importing them would store, cut and
// skip, and which rows repeat a card of `known`. Returns false when
// `progress` stopped it.
bool survey(const QString &path, const Plan &plan, Counts &counts, const Progress &progress = {},
            const KnownCards &known = {});

// Appends every data row to the plan's archive in `folder`, but the rows
// that repeat a card of `skip`. When `progress` stops it, or a read or write
// fails (StorageError, FormatError), the record file is left exactly as it
// was. Returns false when stopped.
bool append(const QString &path, const Plan &plan, const AppFolder &folder, Counts &counts,
            const Progress &progress = {}, const KnownCards &skip = {});

} // namespace import
