// The table reader (CSV of any separator and encoding, or an HTML table) on
// arbitrary bytes. It raises nothing but its own errors, keeps its limits
// (columns, bytes of a cell) and reads the same rows twice; for a CSV whose
// cells hold no quote, separator or line break, a plain split of each line is
// the reference reading.
#include "FuzzSupport.h"

#include "import/TableReader.h"
#include "storage/StorageError.h"
#include "storage/TextRules.h"

#include <QStringList>

namespace {

QList<QStringList> readAll(const QString &file) {
    QList<QStringList> rows;
    const auto reader = import::openTable(file);
    QStringList cells;
    while (reader->next(cells)) {
        FUZZ_CHECK(cells.size() <= import::kMostColumns);
        for (const QString &cell : cells)
            FUZZ_CHECK(cell.size() <= import::kMostCellBytes * 4);
        rows << cells;
    }
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes = fuzz::view(data, size).toByteArray();
    const QString file = fuzz::put(QStringLiteral("t.csv"), bytes);
    QList<QStringList> rows;
    try {
        rows = readAll(file);
    } catch (const import::FormatError &) {
        return 0;
    } catch (const StorageError &) {
        return 0;
    }
    FUZZ_CHECK(readAll(file) == rows);

    // The reference reading of a plain CSV: ';' lines of ASCII letters and
    // digits, shorter than a cell's limit. The first line picks the
    // separator, so it must hold a ';'.
    bool plain = !bytes.isEmpty() && bytes.size() < import::kMostCellBytes &&
                 bytes.endsWith('\n') && bytes.left(bytes.indexOf('\n')).contains(';');
    for (char c : bytes)
        plain = plain && (std::isalnum(static_cast<unsigned char>(c)) || c == ';' || c == '\n');
    if (plain && !bytes.startsWith('\n')) {
        QList<QStringList> reference;
        for (const QByteArray &line : bytes.split('\n'))
            if (!line.isEmpty())
                reference << QString::fromLatin1(line).split(u';');
        FUZZ_CHECK(rows == reference);
    }
    return 0;
}
