#include "ExportGridModel.h"

#include "storage/RecordFile.h"
#include "storage/StorageError.h"

#include <QColor>
#include <cstring>
#include <limits>

namespace {

constexpr qint64 kPageRows = 256;
constexpr qsizetype kPagesKept = 16;
constexpr qint64 kProgressEvery = 1024;

} // namespace

ExportGridModel::ExportGridModel(const spreadsheet::Sheet &sheet, QObject *parent)
    : QAbstractTableModel(parent), m_sheet(sheet) {}

void ExportGridModel::load(const QString &path) {
    beginResetModel();
    m_path = path;
    m_count = 0;
    m_unreadable = false;
    m_typed.clear();
    m_pages.clear();
    m_pageOrder.clear();
    try {
        RecordFile file;
        file.openOrCreate(*m_sheet.layout, path);
        // A view counts its rows in an int.
        m_count = std::min<qint64>(file.size(), std::numeric_limits<int>::max());
        file.close();
    } catch (const StorageError &) {
        m_count = 0;
        m_unreadable = true;
    }
    endResetModel();
}

void ExportGridModel::clear() {
    beginResetModel();
    m_path.clear();
    m_count = 0;
    m_unreadable = false;
    m_typed.clear();
    m_pages.clear();
    m_pageOrder.clear();
    endResetModel();
}

int ExportGridModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_count);
}

int ExportGridModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_sheet.columns.size()) + 1;
}

const QList<QStringList> &ExportGridModel::pageOf(qint64 row) const {
    const qint64 page = row / kPageRows;
    auto found = m_pages.constFind(page);
    if (found != m_pages.cend())
        return *found;

    QList<QStringList> cells;
    const qint64 first = page * kPageRows;
    const qint64 rows = std::min(kPageRows, m_count - first);
    cells.reserve(rows);
    try {
        RecordFile file;
        file.openForReading(*m_sheet.layout, m_path);
        file.seek(first);
        Record record(*m_sheet.layout);
        for (qint64 i = 0; i < rows && !file.atEnd(); ++i) {
            file.read(record);
            // A deleted card's free slot: no cells, and no row of the file.
            cells << (isFreeSlot(record.data(), m_sheet.layout->size)
                          ? QStringList()
                          : spreadsheet::cellsOf(m_sheet, record));
        }
        file.close();
    } catch (const StorageError &) {
        // The rows not read show empty cells.
    }

    if (m_pageOrder.size() >= kPagesKept)
        m_pages.remove(m_pageOrder.takeFirst());
    m_pageOrder << page;
    return *m_pages.insert(page, std::move(cells));
}

bool ExportGridModel::isDeleted(int row) const {
    const QList<QStringList> &page = pageOf(row);
    return row % kPageRows < page.size() && page[row % kPageRows].isEmpty();
}

QString ExportGridModel::cellText(int row, int column) const {
    if (column == 0)
        return QString::number(qint64(row) + 1);
    if (column == 1 && isDeleted(row))
        return QStringLiteral("(scheda eliminata)");
    const auto typed = m_typed.constFind(row);
    if (typed != m_typed.cend()) {
        const auto text = typed->constFind(column);
        if (text != typed->cend())
            return *text;
    }
    const QList<QStringList> &page = pageOf(row);
    return page.value(row % kPageRows).value(column - 1);
}

QVariant ExportGridModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_count)
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return cellText(index.row(), index.column());
    if (role == Qt::ForegroundRole && isDeleted(index.row()))
        return QColor(0x8a, 0x96, 0xa3);
    return {};
}

QVariant ExportGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return QString::number(qint64(section) + 1);
    if (section == 0)
        return QStringLiteral("N.");
    if (section > 0 && section <= qsizetype(m_sheet.columns.size()))
        return QString::fromUtf8(m_sheet.columns[size_t(section - 1)].gridTitle);
    return {};
}

Qt::ItemFlags ExportGridModel::flags(const QModelIndex &index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() > 0 &&
        !m_sheet.columns[size_t(index.column() - 1)].readOnly && !isDeleted(index.row()))
        f |= Qt::ItemIsEditable;
    return f;
}

bool ExportGridModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString text = value.toString();
    if (text == cellText(index.row(), index.column()))
        return true;
    m_typed[index.row()][index.column()] = text;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

void ExportGridModel::write(const QString &target,
                            const std::function<void(qint64)> &progress) const {
    // An archive that could not be opened is not an empty one.
    if (m_unreadable)
        throw StorageError::unableToRead(m_path);
    spreadsheet::Writer writer(target, m_sheet);
    if (m_count > 0) {
        RecordScanner scanner(*m_sheet.layout, m_path);
        Record record(*m_sheet.layout);
        const int columns = int(m_sheet.columns.size());
        for (qint64 row = 0; row < m_count; ++row) {
            // The archive may have grown since the grid was filled: the file
            // holds the rows the grid shows, no more.
            const char *bytes = scanner.next();
            if (bytes && isFreeSlot(bytes, m_sheet.layout->size))
                continue; // a deleted card's slot is no row
            const auto typed = m_typed.constFind(row);
            if (bytes && typed == m_typed.cend()) {
                writer.addRecord(bytes);
            } else {
                QStringList cells;
                if (bytes) {
                    std::memcpy(record.data(), bytes, size_t(m_sheet.layout->size));
                    cells = spreadsheet::cellsOf(m_sheet, record);
                } else {
                    cells = QStringList(columns, QString());
                }
                if (typed != m_typed.cend())
                    for (auto it = typed->cbegin(); it != typed->cend(); ++it)
                        cells[it.key() - 1] = it.value();
                writer.addRow(cells);
            }
            if (progress && (row + 1) % kProgressEvery == 0)
                progress(row + 1);
        }
    }
    writer.commit();
    if (progress)
        progress(m_count);
}
