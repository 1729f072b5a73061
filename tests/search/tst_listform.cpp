// The result lists as the search keeps them (Windows-1252 bytes, sorted once
// by keys) against the plain form kept here as the reference: every line a
// QString made from its record, the lines put in order by search::listsBefore,
// the in-list find comparing characters. Random archives and filters, every
// kind of byte a field can hold: same rows, same lines, same finds.
#include "search/Search.h"
#include "storage/ClientRecord.h"
#include "storage/DatabaseRecord.h"
#include "storage/RecordFile.h"
#include "storage/TextRules.h"
#include "support/Files.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cstring>
#include <functional>
#include <span>

using search::Filter;
using search::Hit;
using search::HitList;
using search::Missing;

namespace {

// A few pieces that make lines equal for long stretches, differ only in
// case, end early, or hold bytes of every kind.
const QByteArray kPieces[] = {
    "a",    "A",    "b",  "B",    "z",    " ",    "  ",   "rossi", "ROSSI",    "Rossi",
    "\x01", "\x7F", "\\", "\t",   "\x80", "\x81", "\x9F", "\xE0",  "\xC0",     "\xFF",
    "_",    "[",    "0",  "9",    "~",    "@",    "`",    "{",     "zzzzzzzz", "€",
};

// A stored field: its length byte (sometimes larger than the field, as a
// damaged file has it) and random pieces.
void fillField(Record &record, const FieldSlot &field, QRandomGenerator &random) {
    QByteArray text;
    const int pieces = int(random.bounded(6));
    for (int i = 0; i < pieces; ++i)
        text += kPieces[random.bounded(int(std::size(kPieces)))];
    text.truncate(field.capacity);
    char *at = record.data() + field.offset;
    std::memset(at, 0, size_t(field.capacity) + 1);
    at[0] = char(random.bounded(8) == 0 ? 255 : text.size());
    std::memcpy(at + 1, text.constData(), size_t(text.size()));
}

// `count` records of `layout`, a few of them free slots (all zeros) and a
// few copies of the one before; with `twins`, most of them copies of three
// records, so that long runs of equal lines are put in order too.
QByteArray randomArchive(const RecordLayout &layout, int count, bool twins,
                         QRandomGenerator &random) {
    QByteArray all;
    Record previous(layout);
    std::vector<Record> three;
    for (int i = 0; i < 3; ++i) {
        three.emplace_back(layout);
        for (const FieldSlot &field : layout.fields)
            fillField(three.back(), field, random);
    }
    for (int i = 0; i < count; ++i) {
        Record r(layout);
        const int kind = int(random.bounded(20));
        if (kind == 0) {
            all += QByteArray(layout.size, '\0');
            continue;
        }
        if (twins && kind > 5) {
            r = three[random.bounded(3)];
        } else if (kind == 1 && i > 0) {
            r = previous;
        } else {
            for (const FieldSlot &field : layout.fields)
                if (random.bounded(3) != 0)
                    fillField(r, field, random);
            // Flagged, or to be recontacted.
            const int flag = &layout == &databaseLayout ? int(DatabaseField::Segnala)
                                                        : int(ClientField::Ricontatta);
            if (random.bounded(4) == 0)
                std::memcpy(r.data() + layout.fields[flag].offset, "\x02S\xEC", 3);
        }
        all += r.bytes();
        previous = r;
    }
    return all;
}

// The stored text of a field as the reference reads it: the length byte (at
// most the field), the bytes decoded, blanks and control characters cut at
// both ends.
QString storedText(const Record &r, int field) {
    const FieldSlot &slot = r.layout().fields[field];
    const char *at = r.data() + slot.offset;
    return text::trimmed(text::decode1252(
        QByteArrayView(at + 1, std::min<int>(static_cast<unsigned char>(at[0]), slot.capacity))));
}

// The reference: the records `selects` takes, each line a QString of its
// own, in the order listsBefore gives.
QList<Hit> reference(const QString &path, const RecordLayout &layout,
                     const std::function<bool(const Record &)> &selects,
                     const std::function<QString(const Record &)> &lineOf) {
    QList<Hit> hits;
    RecordScanner scanner(layout, path);
    while (const char *bytes = scanner.nextCard()) {
        Record r(layout);
        std::memcpy(r.data(), bytes, size_t(layout.size));
        if (selects(r))
            hits.append({scanner.position(), lineOf(r)});
    }
    std::stable_sort(hits.begin(), hits.end(), search::listsBefore);
    return hits;
}

// Every filled filter occurs in its field, A–Z folded.
std::function<bool(const Record &)> everyFilter(const QList<Filter> &filters) {
    return [filters](const Record &r) {
        return std::all_of(filters.begin(), filters.end(), [&r](const Filter &f) {
            return text::trimmed(f.text).isEmpty() ||
                   text::toLowerAscii(storedText(r, f.field)).contains(text::toLowerAscii(f.text));
        });
    };
}

std::function<bool(const Record &)> saysYes(int field) {
    return [field](const Record &r) { return storedText(r, field) == QString::fromUtf8("Sì"); };
}

// The reference find: the first row from `from` on (round the end) whose
// line holds `typed` with A–Z folded, comparing characters; -1 for none.
int referenceFind(const QList<Hit> &hits, int from, const QString &typed) {
    const QString t = text::toLowerAscii(typed);
    for (int k = 0; k < hits.size() && !t.isEmpty(); ++k) {
        const int i = (from + k) % int(hits.size());
        if (text::toLowerAscii(hits[i].line).contains(t))
            return i;
    }
    return -1;
}

// A filter or find text: a piece of a stored text or of a line, or random
// pieces.
QString pieceOf(const QString &text, QRandomGenerator &random) {
    if (text.size() > 1 && random.bounded(3) != 0) {
        const int from = int(random.bounded(int(text.size())));
        return text.mid(from, 1 + int(random.bounded(4)));
    }
    return text::decode1252(kPieces[random.bounded(int(std::size(kPieces)))]) +
           (random.bounded(2) ? QString() : QString::fromUtf8("€ł")); // ł: no such byte
}

QList<Filter> randomFilters(std::span<const int> boxes, const QByteArray &archive,
                            const RecordLayout &layout, QRandomGenerator &random) {
    QList<Filter> filters;
    for (int k = int(random.bounded(4)); k > 0; --k) {
        const int field = boxes[random.bounded(int(boxes.size()))];
        Record r(layout);
        const int records = int(archive.size() / layout.size);
        std::memcpy(r.data(), archive.constData() + qsizetype(random.bounded(records)) * layout.size,
                    size_t(layout.size));
        filters.append({field, pieceOf(storedText(r, field), random)});
    }
    return filters;
}

// What the engine keeps, row by row.
QList<Hit> rowsOf(const HitList &hits) {
    QList<Hit> rows;
    for (qsizetype row = 0; row < hits.size(); ++row)
        rows.append({hits.position(row), hits.line(row)});
    return rows;
}

} // namespace

class TestListForm : public QObject {
    Q_OBJECT
  private slots:
    void sameRowsAndFindsAsThePlainForm();
};

void TestListForm::sameRowsAndFindsAsThePlainForm() {
    QTemporaryDir dir;
    const QString cards = dir.filePath(QStringLiteral("Database.pro"));
    const QString clients = dir.filePath(QStringLiteral("Clienti.pro"));
    QRandomGenerator random(20261211);
    const auto cardLine = [](const Record &r) {
        return search::cardLine(static_cast<const DatabaseRecord &>(r));
    };
    const auto clientLine = [](const Record &r) {
        return search::clientLine(static_cast<const ClientRecord &>(r));
    };
    const auto recontactLine = [](const Record &r) {
        return search::recontactLine(static_cast<const ClientRecord &>(r));
    };
    for (int round = 0; round < 16; ++round) {
        const bool twins = round % 4 == 3;
        // The last two rounds' cards are many, all listed: a large file is
        // read in two halves at once, whose lines must come together as one
        // list, and a long list is sorted in shares on both cores.
        const bool large = round >= 14;
        const int cardCount = large ? 60'000 : 400;
        const QByteArray cardBytes = randomArchive(databaseLayout, cardCount, twins, random);
        const QByteArray clientBytes = randomArchive(clientLayout, 400, twins, random);
        QVERIFY(writeFile(cards, cardBytes));
        QVERIFY(writeFile(clients, clientBytes));
        const QList<Filter> cardFilters =
            large ? QList<Filter>()
                  : randomFilters(search::cardFilterFields(), cardBytes, databaseLayout, random);
        const QList<Filter> clientFilters =
            randomFilters(search::clientFilterFields(), clientBytes, clientLayout, random);

        struct List {
            const char *name;
            std::function<void(HitList &)> find;
            QList<Hit> expected;
        };
        const List lists[] = {
            {"cards",
             [&](HitList &h) { search::findCards(cards, cardFilters, Missing::Empty, h); },
             reference(cards, databaseLayout, everyFilter(cardFilters), cardLine)},
            {"clients",
             [&](HitList &h) { search::findClients(clients, clientFilters, Missing::Empty, h); },
             reference(clients, clientLayout, everyFilter(clientFilters), clientLine)},
            {"flagged", [&](HitList &h) { search::flaggedCards(cards, Missing::Empty, h); },
             reference(cards, databaseLayout, saysYes(DatabaseField::Segnala), cardLine)},
            {"recontact",
             [&](HitList &h) { search::clientsToRecontact(clients, Missing::Empty, h); },
             reference(clients, clientLayout, saysYes(ClientField::Ricontatta), recontactLine)},
        };
        for (const List &list : lists) {
            const QByteArray where = QByteArray(list.name) + " round " + QByteArray::number(round);
            HitList hits;
            list.find(hits);
            QVERIFY2(rowsOf(hits) == list.expected, where);
            // The line's bytes are what it shows.
            for (qsizetype row = 0; row < hits.size(); ++row)
                QVERIFY2(text::encode1252(hits.line(row)) == hits.bytes(row), where);
            if (hits.isEmpty())
                continue;
            // The in-list find: a new text, then the same text again.
            for (int k = 0; k < 8; ++k) {
                const QString typed = pieceOf(
                    list.expected[random.bounded(int(list.expected.size()))].line, random);
                search::ListFind find;
                int row = find.next(hits, -1, typed);
                const int first = referenceFind(list.expected, 0, typed);
                QVERIFY2(row == std::max(first, 0) && find.lastFound() == (first >= 0), where);
                const int again = find.next(hits, row, typed);
                const int second = referenceFind(list.expected, row + 1, typed);
                QVERIFY2(again == (second >= 0 ? second : row), where);
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestListForm)
#include "tst_listform.moc"
