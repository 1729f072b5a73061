// The spreadsheet writer fed from damaged record bytes, for both sheets: the
// export of the record file, and the same records written through the grid's
// path (addRow of cellsOf), which must give the same file. Each record is one
// row of exactly its sheet's cells, whatever the fields hold.
#include "FuzzSupport.h"

#include "output/SpreadsheetExport.h"
#include "storage/RecordFile.h"

namespace {

QByteArray readBack(const QString &path) {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void exportBoth(const spreadsheet::Sheet &sheet, QByteArrayView bytes) {
    const RecordLayout &layout = *sheet.layout;
    const QString records = fuzz::put(QString::fromLatin1(layout.fileName), bytes);
    const QString direct = fuzz::path(QStringLiteral("direct.xls"));
    const qint64 rows = spreadsheet::exportArchive(sheet, records, direct);
    FUZZ_CHECK(rows == bytes.size() / layout.size);

    const QString viaGrid = fuzz::path(QStringLiteral("grid.xls"));
    {
        spreadsheet::Writer writer(viaGrid, sheet);
        RecordFile file;
        file.openForReading(layout, records);
        Record record(layout);
        while (!file.atEnd()) {
            file.read(record);
            writer.addRow(spreadsheet::cellsOf(sheet, record));
        }
        writer.commit();
    }
    const QByteArray written = readBack(direct);
    FUZZ_CHECK(written == readBack(viaGrid));
    // The table's markup is only ours: every "<" opens a tag of the sheet.
    const qsizetype cells = written.count("<td");
    FUZZ_CHECK(cells == (rows + 1) * qsizetype(sheet.columns.size()));
    FUZZ_CHECK(written.count("<tr>") == rows + 1);
    FUZZ_CHECK(written.count("</td>") == cells);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArrayView bytes = fuzz::view(data, size);
    exportBoth(spreadsheet::databaseSheet, bytes);
    exportBoth(spreadsheet::clientSheet, bytes);
    return 0;
}
