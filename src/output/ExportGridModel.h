// The grid of an export window: one row per record of an archive, read on
// demand a page at a time, so that an archive of a million cards shows at
// once. Column 0 is the row number; the others are the sheet's columns. Cells
// of columns the sheet does not mark read-only accept typing: the texts typed
// are kept beside the records, feed the export file and never reach the
// archive.
#pragma once

#include "SpreadsheetExport.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class ExportGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    ExportGridModel(const spreadsheet::Sheet &sheet, QObject *parent = nullptr);

    const spreadsheet::Sheet &sheet() const { return m_sheet; }

    // Shows the archive at `path`: opens it as the windows open an archive (a
    // missing file is created empty) and takes its record count; the cells
    // are read when they are shown. A failure is silent and leaves the grid
    // empty; the export then fails instead of writing an empty table.
    void load(const QString &path);
    // Forgets the archive and the texts typed.
    void clear();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // Writes the grid, as shown, to the spreadsheet file `target` through the
    // writer: rows nobody typed in straight from the record bytes, the others
    // from their cell texts. `progress` hears the rows written so far now and
    // then. Raises StorageError when the archive cannot be read (or could not
    // be opened when the grid was filled) or the file cannot be written; the
    // target is then left as it was.
    void write(const QString &target, const std::function<void(qint64 rows)> &progress = {}) const;

  private:
    // The cell texts of the page holding `row`, read when first asked for. A
    // record that cannot be read shows empty cells.
    const QList<QStringList> &pageOf(qint64 row) const;
    QString cellText(int row, int column) const;
    // Whether the row is the free slot of a deleted card: shown, marked,
    // not editable, and left out of the file.
    bool isDeleted(int row) const;

    const spreadsheet::Sheet &m_sheet;
    QString m_path;
    qint64 m_count = 0;
    bool m_unreadable = false; // the archive could not be opened
    // Texts typed, by row and then by grid column.
    QHash<qint64, QHash<int, QString>> m_typed;

    // A few pages of decoded records, the oldest dropped first.
    mutable QHash<qint64, QList<QStringList>> m_pages;
    mutable QList<qint64> m_pageOrder;
};
