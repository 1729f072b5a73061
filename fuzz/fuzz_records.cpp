// The record reader of both archives on arbitrary bytes: open, count, read
// every record through RecordFile and RecordScanner (the two must agree), and
// every field's text, raw bytes and the Yes/No flag.
#include "FuzzSupport.h"

#include "storage/RecordFile.h"

namespace {

void readAll(const RecordLayout &layout, int yesNoField, QByteArrayView bytes) {
    const QString file = fuzz::put(QString::fromLatin1(layout.fileName), bytes);
    RecordFile records;
    records.openForReading(layout, file);
    const qint64 count = records.size();
    FUZZ_CHECK(count == bytes.size() / layout.size);

    RecordScanner scanner(layout, file);
    FUZZ_CHECK(scanner.count() == count);

    Record record(layout);
    for (qint64 i = 0; i < count; ++i) {
        records.seek(i);
        records.read(record);
        const char *scanned = scanner.next();
        FUZZ_CHECK(scanned && QByteArrayView(scanned, layout.size) == record.bytes());
        FUZZ_CHECK(record.bytes() == bytes.sliced(i * layout.size, layout.size));
        for (int f = 0; f < int(layout.fields.size()); ++f) {
            const QByteArrayView raw = record.raw(f);
            FUZZ_CHECK(raw.size() <= layout.fields[f].capacity);
            const QString text = record.text(f);
            FUZZ_CHECK(text.size() <= raw.size());
        }
        const std::optional<bool> flag = record.yesNo(yesNoField);
        if (flag)
            FUZZ_CHECK(record.text(yesNoField) == (*flag ? u"Sì" : u"No"));
    }
    FUZZ_CHECK(records.atEnd());
    FUZZ_CHECK(scanner.next() == nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArrayView bytes = fuzz::view(data, size);
    readAll(DatabaseRecord::kLayout, DatabaseField::Segnala, bytes);
    readAll(ClientRecord::kLayout, ClientField::Ricontatta, bytes);
    return 0;
}
