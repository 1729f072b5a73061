// The search engine on arbitrary records: up to three filters, then the four
// passes (card and client search, flagged cards, clients to recontact) over
// the same bytes as Database.pro and as Clienti.pro. Each pass is checked
// against a plain reading of the records: the records it lists, their lines
// (the three line builders) and the list order.
//
// Input: one byte of settings, then each filter as a field byte, a length
// byte and that many bytes of Windows-1252 text, then the records. The
// settings' high bit makes the records short: each chunk of a few bytes
// becomes one record's first field, note and flag, so a small input holds
// up to a hundred lines, past the count the sort handles differently; else the rest is
// the record file as it stands.
#include "FuzzSupport.h"

#include "search/Search.h"
#include "storage/ClientRecord.h"
#include "storage/DatabaseRecord.h"
#include "storage/RecordFile.h"
#include "storage/TextRules.h"

#include <algorithm>

namespace {

QByteArray folded(QByteArrayView bytes) {
    QByteArray out = bytes.toByteArray();
    for (char &c : out)
        if (c >= 'A' && c <= 'Z')
            c = char(c + 32);
    return out;
}

bool plainMatch(const Record &record, const QList<search::Filter> &filters) {
    for (const search::Filter &f : filters) {
        if (text::trimmed(QStringView(f.text)).isEmpty())
            continue;
        const QByteArray field = folded(text::trimmed(record.raw(f.field)));
        if (!field.contains(folded(text::encode1252(f.text))))
            return false;
    }
    return true;
}

bool plainYes(const Record &record, int field) {
    return text::trimmed(record.raw(field)) == QByteArrayView("S\xEC");
}

// The list lines, put together from the decoded field texts.
QString column(const Record &r, int field, int width) {
    return r.text(field).left(width).leftJustified(width, u' ');
}

QString plainCardLine(const Record &r) {
    namespace F = DatabaseField;
    return column(r, F::Campo01, 26) + QStringLiteral("  ") + column(r, F::Campo02, 26) + QStringLiteral("  ") +
           column(r, F::Campo03, 26) + column(r, F::Cliente, 26) + QStringLiteral("  Tel. ") +
           column(r, F::Recapito, 15) + QStringLiteral("  C.F. ") + column(r, F::CodFisc, 16);
}

QString plainClientLine(const Record &r, int last) {
    namespace F = ClientField;
    return column(r, F::Cliente, 26) + QStringLiteral("  Tel. ") + column(r, F::Recapito, 15) + QStringLiteral("  ") +
           column(r, F::Occupazione, 25) + QStringLiteral("  Prod. ") + column(r, F::Prodotti, 30) + QStringLiteral("  ") +
           r.text(last);
}

// What a pass listed is what a plain reading selects, as `line` makes it, in list order.
template <class R, class Selects, class Line, class PlainLine>
void compare(const QString &file, const QList<search::Hit> &hits, Selects selects, Line line,
             PlainLine plainLine) {
    FUZZ_CHECK(std::is_sorted(hits.begin(), hits.end(), search::listsBefore));
    RecordFile records;
    records.openForReading(R::kLayout, file);
    R record;
    qsizetype expected = 0;
    for (qint64 i = 0; i < records.size(); ++i) {
        records.read(record);
        expected += selects(record) ? 1 : 0;
    }
    FUZZ_CHECK(hits.size() == expected);
    for (const search::Hit &hit : hits) {
        FUZZ_CHECK(hit.position >= 1 && hit.position <= records.size());
        records.seek(hit.position - 1);
        records.read(record);
        FUZZ_CHECK(selects(record));
        FUZZ_CHECK(hit.line == line(record));
        FUZZ_CHECK(hit.line == plainLine(record));
    }
}

QByteArray shortRecords(const RecordLayout &layout, int first, int last, int flag,
                        QByteArrayView bytes, int chunk) {
    QByteArray file;
    Record record(layout);
    for (qsizetype at = 0; at < bytes.size() && file.size() < 100 * layout.size; at += chunk) {
        const QByteArrayView piece = bytes.sliced(at, std::min<qsizetype>(chunk, bytes.size() - at));
        record.clear();
        const FieldSlot &f = layout.fields[first];
        record.data()[f.offset] = char(piece.size());
        std::copy(piece.begin(), piece.end(), record.data() + f.offset + 1);
        record.setText(last, text::decode1252(piece));
        if (piece[0] & 1)
            record.setYesNo(flag, true);
        file += record.bytes();
    }
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace search;
    QByteArrayView in = fuzz::view(data, size);
    if (in.isEmpty())
        return 0;
    const auto settings = uint8_t(in[0]);
    in = in.sliced(1);

    QList<Filter> cardFilters, clientFilters;
    for (int i = 0; i < (settings & 3) && in.size() >= 2; ++i) {
        const auto field = uint8_t(in[0]);
        const qsizetype length = std::min<qsizetype>(uint8_t(in[1]) % 16, in.size() - 2);
        const QString text = text::decode1252(in.sliced(2, length));
        cardFilters.append({field % DatabaseField::Count, text});
        clientFilters.append({field % ClientField::Count, text});
        in = in.sliced(2 + length);
    }

    QByteArray cards = in.toByteArray(), clients = cards;
    if (settings & 0x80) {
        const int chunk = 1 + (settings >> 2) % 16;
        cards = shortRecords(DatabaseRecord::kLayout, DatabaseField::Campo01, DatabaseField::Cliente,
                             DatabaseField::Segnala, in, chunk);
        clients = shortRecords(ClientRecord::kLayout, ClientField::Cliente, ClientField::Note,
                               ClientField::Ricontatta, in, chunk);
    }
    const QString cardFile = fuzz::put(QStringLiteral("Database.pro"), cards);
    const QString clientFile = fuzz::put(QStringLiteral("Clienti.pro"), clients);

    QList<Hit> hits;
    findCards(cardFile, cardFilters, Missing::Empty, hits);
    compare<DatabaseRecord>(
        cardFile, hits, [&](const Record &r) { return plainMatch(r, cardFilters); }, cardLine,
        plainCardLine);
    hits.clear();
    flaggedCards(cardFile, Missing::Empty, hits);
    compare<DatabaseRecord>(
        cardFile, hits, [](const Record &r) { return plainYes(r, DatabaseField::Segnala); },
        cardLine,
        plainCardLine);

    hits.clear();
    findClients(clientFile, clientFilters, Missing::Empty, hits);
    compare<ClientRecord>(
        clientFile, hits, [&](const Record &r) { return plainMatch(r, clientFilters); },
        clientLine, [](const Record &r) { return plainClientLine(r, ClientField::Note); });
    hits.clear();
    clientsToRecontact(clientFile, Missing::Empty, hits);
    compare<ClientRecord>(
        clientFile, hits, [](const Record &r) { return plainYes(r, ClientField::Ricontatta); },
        recontactLine,
        [](const Record &r) { return plainClientLine(r, ClientField::Questioni); });

    // The in-list find lands on a row that holds the text, or stays.
    if (!hits.isEmpty() && !cardFilters.isEmpty()) {
        ListFind find;
        const int row = find.next(hits, -1, cardFilters[0].text);
        FUZZ_CHECK(row >= 0 && row < hits.size());
        find.next(hits, row, cardFilters[0].text);
    }
    return 0;
}
