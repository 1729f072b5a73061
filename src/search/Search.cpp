#include "Search.h"

#include "storage/ClientRecord.h"
#include "storage/DatabaseRecord.h"
#include "storage/RecordFile.h"
#include "storage/TextRules.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace search {
namespace {

// ---- Matching on the stored bytes ------------------------------------------

bool isLowerAscii(unsigned char b) {
    return b >= 'a' && b <= 'z';
}

unsigned char foldByte(unsigned char b) {
    return b >= 'A' && b <= 'Z' ? b + 32 : b;
}

// A filled filter, ready to be looked for in the raw bytes of its field: the
// box text in Windows-1252 with A–Z turned to a–z. Where a byte of the text is
// a letter, `orMask` holds 0x20: (b | 0x20) equals a lower-case letter for
// exactly that letter and its capital, so one OR and one compare fold a byte
// of the field; every other byte must be equal as it stands.
struct Needle {
    int offset = 0;   // of the field in its record
    int capacity = 0; // of the field
    QByteArray text;
    QByteArray orMask;
    qint64 misses = 0; // records it has ruled out
};

Needle needleFor(const RecordLayout &layout, const Filter &filter) {
    if (filter.field < 0 || filter.field >= int(layout.fields.size()))
        throw std::out_of_range("search filter on a field the record does not have");
    const FieldSlot &field = layout.fields[filter.field];
    Needle n{field.offset, field.capacity, text::encode1252(filter.text), {}};
    n.orMask.resize(n.text.size());
    for (qsizetype i = 0; i < n.text.size(); ++i) {
        const auto b = foldByte(static_cast<unsigned char>(n.text[i]));
        n.text[i] = char(b);
        n.orMask[i] = isLowerAscii(b) ? char(0x20) : char(0);
    }
    return n;
}

// The filled filters among `filters`: a box that is empty or holds only blanks
// is no filter.
QList<Needle> needlesFor(const RecordLayout &layout, const QList<Filter> &filters) {
    QList<Needle> needles;
    for (const Filter &f : filters)
        if (!text::trimmed(QStringView(f.text)).isEmpty())
            needles.append(needleFor(layout, f));
    return needles;
}

bool equalsAt(const unsigned char *at, const Needle &n) {
    const auto *text = reinterpret_cast<const unsigned char *>(n.text.constData());
    const auto *mask = reinterpret_cast<const unsigned char *>(n.orMask.constData());
    for (qsizetype j = 0; j < n.text.size(); ++j)
        if ((at[j] | mask[j]) != text[j])
            return false;
    return true;
}

// True when `n` occurs in the `length` bytes at `field`. `readable` (at least
// `length`) is how many bytes from `field` on may be read: the rest of the
// record, so whole 16-byte blocks can be compared at once.
bool occursIn(const unsigned char *field, int length, int readable, const Needle &n) {
    const int m = int(n.text.size());
    const int last = length - m; // the last place the text can start
    int i = 0;
#if defined(__SSE2__)
    // Candidates: the places where the first two bytes match, 16 at a time.
    const int second = m > 1 ? 1 : 0;
    const __m128i first = _mm_set1_epi8(n.text[0]);
    const __m128i firstMask = _mm_set1_epi8(n.orMask[0]);
    const __m128i next = _mm_set1_epi8(n.text[second]);
    const __m128i nextMask = _mm_set1_epi8(n.orMask[second]);
    for (; i <= last && i + 16 + second <= readable; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(field + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(field + i + second));
        unsigned hits = unsigned(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, firstMask), first),
                                            _mm_cmpeq_epi8(_mm_or_si128(b, nextMask), next))));
        if (last - i < 15)
            hits &= (2u << (last - i)) - 1;
        for (; hits; hits &= hits - 1)
            if (equalsAt(field + i + __builtin_ctz(hits), n))
                return true;
    }
#else
    (void)readable;
#endif
    for (; i <= last; ++i)
        if (equalsAt(field + i, n))
            return true;
    return false;
}

// The stored text of a field, without blanks or control bytes at either end
// (the bytes shorttext::load decodes and text::trimmed trims, found here
// without a call for each field of each record).
QByteArrayView fieldText(const char *record, int offset, int capacity) {
    const auto *field = reinterpret_cast<const unsigned char *>(record + offset);
    const auto *begin = field + 1;
    const auto *end = begin + std::min<int>(field[0], capacity); // a damaged length counts as N
    while (begin < end && *begin <= 0x20)
        ++begin;
    while (end > begin && end[-1] <= 0x20)
        --end;
    return QByteArrayView(reinterpret_cast<const char *>(begin), end - begin);
}

QByteArrayView fieldText(const char *record, const FieldSlot &field) {
    return fieldText(record, field.offset, field.capacity);
}

// The filled filters of a search. A record is listed when every one occurs in
// its field, whatever the order they are tried in; they are tried in the order
// of the records each has ruled out so far, so that a text that seldom occurs
// spares the others.
class Matcher {
  public:
    Matcher(QList<Needle> needles, int recordSize)
        : m_needles(std::move(needles)), m_recordSize(recordSize) {}
    bool isEmpty() const { return m_needles.isEmpty(); }

    bool operator()(const char *record) {
        if ((++m_tried & 4095) == 0)
            std::stable_sort(m_needles.begin(), m_needles.end(),
                             [](const Needle &a, const Needle &b) { return a.misses > b.misses; });
        for (Needle &n : m_needles) {
            const QByteArrayView t = fieldText(record, n.offset, n.capacity);
            const auto *start = reinterpret_cast<const unsigned char *>(t.data());
            const int readable = int(record + m_recordSize - t.data());
            if (!occursIn(start, int(t.size()), readable, n)) {
                ++n.misses;
                return false;
            }
        }
        return true;
    }

  private:
    QList<Needle> m_needles;
    int m_recordSize;
    qint64 m_tried = 0;
};

// A Yes/No field that says "Sì", once blanks and control bytes at both ends
// are left out; "sì", "SI" or "No" do not.
bool saysYes(const char *record, const FieldSlot &field) {
    return fieldText(record, field) == QByteArrayView(shorttext::kYes + 1, 2);
}

// ---- Lines -----------------------------------------------------------------

// The characters of the 256 Windows-1252 bytes.
const std::array<char16_t, 256> &charsOf1252() {
    static const std::array<char16_t, 256> table = [] {
        QByteArray all(256, Qt::Uninitialized);
        for (int b = 0; b < 256; ++b)
            all[b] = char(b);
        const QString decoded = text::decode1252(all);
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[size_t(b)] = decoded[b].unicode();
        return t;
    }();
    return table;
}

char16_t upperAscii(char16_t c) {
    return c >= u'a' && c <= u'z' ? c - 32 : c;
}

// The place in list order of each character a line can hold (those of the
// 256 Windows-1252 bytes): its code with a–z taken as A–Z, numbered from 1; 0
// stands for "past the end of the line", before every character.
const std::array<uint8_t, 65536> &ranks() {
    static const std::array<uint8_t, 65536> table = [] {
        const auto &chars = charsOf1252();
        std::array<char16_t, 256> order{};
        for (size_t b = 0; b < 256; ++b)
            order[b] = upperAscii(chars[b]);
        std::sort(order.begin(), order.end());
        const auto distinct = std::unique(order.begin(), order.end());
        std::array<uint8_t, 65536> t{};
        for (const char16_t c : chars)
            t[c] = uint8_t(
                1 + (std::lower_bound(order.begin(), distinct, upperAscii(c)) - order.begin()));
        return t;
    }();
    return table;
}

// Decodes `length` Windows-1252 bytes to `out`; returns the end.
char16_t *decodeInto(char16_t *out, const char *bytes, qsizetype length) {
    const auto &chars = charsOf1252();
    qsizetype i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: each byte is its own code but for 80–9F.
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= length; i += 16) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + i));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), _mm_unpacklo_epi8(b, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i + 8), _mm_unpackhi_epi8(b, zero));
        const __m128i high =
            _mm_cmpeq_epi8(_mm_and_si128(b, _mm_set1_epi8(char(0xE0))), _mm_set1_epi8(char(0x80)));
        for (unsigned m = unsigned(_mm_movemask_epi8(high)); m; m &= m - 1) {
            const int k = __builtin_ctz(m);
            out[i + k] = chars[static_cast<unsigned char>(bytes[i + k])];
        }
    }
#endif
    for (; i < length; ++i)
        out[i] = chars[static_cast<unsigned char>(bytes[i])];
    return out + length;
}

// Writes a line's characters: the line is put together in Windows-1252, then
// decoded in one go.
class LineWriter {
  public:
    qsizetype size() const { return m_at - m_bytes; }
    void decodeTo(char16_t *out) const { decodeInto(out, m_bytes, size()); }

    void put(QByteArrayView windows1252) {
        std::memcpy(m_at, windows1252.data(), size_t(windows1252.size()));
        m_at += windows1252.size();
    }
    // A column: the field's trimmed text padded with blanks or cut to `width`.
    void column(const char *record, const FieldSlot &field, int width) {
        const QByteArrayView t = fieldText(record, field);
        const qsizetype shown = std::min<qsizetype>(t.size(), width);
        put(t.first(shown));
        m_at = std::fill_n(m_at, width - shown, ' ');
    }

  private:
    // The longest line: the client line's columns and a whole 250-byte note.
    char m_bytes[512];
    char *m_at = m_bytes;
};

constexpr int kCardLineLength = 153;

void writeCardLine(const char *record, char16_t *out) {
    namespace F = DatabaseField;
    const auto &f = databaseLayout.fields;
    LineWriter w;
    w.column(record, f[F::Campo01], 26);
    w.put(QByteArrayView("  "));
    w.column(record, f[F::Campo02], 26);
    w.put(QByteArrayView("  "));
    w.column(record, f[F::Campo03], 26);
    w.column(record, f[F::Cliente], 26); // straight after Campo03
    w.put(QByteArrayView("  Tel. "));
    w.column(record, f[F::Recapito], 15);
    w.put(QByteArrayView("  C.F. "));
    w.column(record, f[F::CodFisc], 16);
    Q_ASSERT(w.size() == kCardLineLength);
    w.decodeTo(out);
}

constexpr int kClientColumns = 115;

// The client line ends with the whole trimmed text of `last`: Note in the
// client search, Questioni in the recontact list.
qsizetype clientLineLength(const char *record, int last) {
    return kClientColumns + fieldText(record, clientLayout.fields[last]).size();
}

void writeClientLine(const char *record, int last, char16_t *out) {
    namespace F = ClientField;
    const auto &f = clientLayout.fields;
    LineWriter w;
    w.column(record, f[F::Cliente], 26);
    w.put(QByteArrayView("  Tel. "));
    w.column(record, f[F::Recapito], 15);
    w.put(QByteArrayView("  "));
    w.column(record, f[F::Occupazione], 25);
    w.put(QByteArrayView("  Prod. "));
    w.column(record, f[F::Prodotti], 30);
    w.put(QByteArrayView("  "));
    Q_ASSERT(w.size() == kClientColumns);
    w.put(fieldText(record, f[last]));
    w.decodeTo(out);
}

// How a pass makes the line of a record it lists.
struct LineKind {
    qsizetype (*length)(const char *record);
    void (*write)(const char *record, char16_t *out);
};

const LineKind kCardLine = {[](const char *) -> qsizetype { return kCardLineLength; },
                            writeCardLine};
const LineKind kClientLine = {
    [](const char *r) { return clientLineLength(r, ClientField::Note); },
    [](const char *r, char16_t *out) { writeClientLine(r, ClientField::Note, out); }};
const LineKind kRecontactLine = {
    [](const char *r) { return clientLineLength(r, ClientField::Questioni); },
    [](const char *r, char16_t *out) { writeClientLine(r, ClientField::Questioni, out); }};

QString lineOf(const LineKind &kind, const char *record) {
    QString line(kind.length(record), Qt::Uninitialized);
    kind.write(record, reinterpret_cast<char16_t *>(line.data()));
    return line;
}

// ---- Sorting the lines -----------------------------------------------------

// The hits of a pass. Their lines are written as the records are read, back
// to back in one block of text, each followed by '\0'; when the pass ends they
// are sorted, and each hit's line is handed out as a QString of its own that
// shares the block: its own pointer and length into the reference-counted
// block (the state Qt gives a string it has cut at the front), ending with a
// '\0' as every QString does. So a million lines make one allocation instead
// of a million; a line that is changed copies itself first, and the block goes
// when its last line goes.
class FoundLines {
  public:
    void add(qint64 position, const LineKind &kind, const char *record) {
        const qsizetype length = kind.length(record);
        const qsizetype at = m_text.size();
        if (at + length + 1 > m_text.capacity())
            m_text.reserve(std::max(2 * m_text.capacity(), at + length + 1));
        m_text.resize(at + length + 1);
        char16_t *line = reinterpret_cast<char16_t *>(m_text.data()) + at;
        kind.write(record, line);
        line[length] = u'\0';
        m_items.push_back(
            {chunkOf(line, length, 0), at, uint32_t(length), uint32_t(m_items.size())});
        m_positions.push_back(position);
    }
    void reserve(qsizetype lines, qsizetype charsEach) {
        m_items.reserve(size_t(lines));
        m_positions.reserve(size_t(lines));
        m_text.reserve(lines * (charsEach + 1));
    }

    // Appends the hits to `hits` in list order.
    void appendInListOrder(QList<Hit> &hits) {
        if (m_items.empty())
            return;
        sort();
        hits.reserve(hits.size() + qsizetype(m_items.size()));
        for (const Item &item : m_items) {
            QString::DataPointer shared = m_text.data_ptr(); // one more reference
            shared.ptr += item.offset;
            shared.size = item.length;
            hits.append(Hit{m_positions[item.line], QString(std::move(shared))});
        }
        m_items.clear();
    }

  private:
    // Sixteen characters of a line from the place being sorted on, as their
    // places in list order, the first in the highest byte of `high`: comparing
    // two chunks compares those characters, and a line that ends among them
    // comes first.
    struct Chunk {
        uint64_t high = 0;
        uint64_t low = 0;
        friend bool operator==(const Chunk &, const Chunk &) = default;
        friend bool operator<(const Chunk &a, const Chunk &b) {
            return a.high != b.high ? a.high < b.high : a.low < b.low;
        }
        // Byte d of the chunk, 0 the last.
        unsigned byte(int d) const {
            return unsigned((d < 8 ? low >> (8 * d) : high >> (8 * d - 64)) & 0xFF);
        }
        // True when the line ends before the chunk's last character.
        bool endsLine() const { return !(low & 0xFF); }
    };
    static constexpr qsizetype kChunk = 16;
    // A line being sorted.
    struct Item {
        Chunk chunk;
        qsizetype offset; // of the line in the text
        uint32_t length;
        uint32_t line; // in file order
    };
    // Lines are read in sorted order, far apart: each is asked for this many
    // items before its turn.
    static constexpr qsizetype kAhead = 16;
    // Fewer lines than this are sorted by comparing chunks.
    static constexpr qsizetype kFew = 64;

    static Chunk chunkOf(const char16_t *line, qsizetype length, qsizetype from) {
        const auto &rank = ranks();
        const qsizetype end = std::min(length, from + kChunk);
        Chunk chunk;
        qsizetype i = from;
        for (int shift = 56; i < end && shift >= 0; ++i, shift -= 8)
            chunk.high |= uint64_t(rank[line[i]]) << shift;
        for (int shift = 56; i < end; ++i, shift -= 8)
            chunk.low |= uint64_t(rank[line[i]]) << shift;
        return chunk;
    }
    const char16_t *text() const { return reinterpret_cast<const char16_t *>(m_text.constData()); }

    // Reads the chunks of [first, last) from character `depth` on.
    void load(Item *first, Item *last, qsizetype depth) const {
        const qsizetype n = last - first;
        for (qsizetype i = 0; i < n; ++i) {
            if (i + kAhead < n)
                __builtin_prefetch(text() + first[i + kAhead].offset + depth);
            first[i].chunk = chunkOf(text() + first[i].offset, first[i].length, depth);
        }
    }

    // Moves a pile of lines equal up to byte `d` of their chunks on to the
    // next byte, or past the chunk to the next sixteen characters; false
    // when the lines are equal to their end.
    bool next(Item *first, Item *last, qsizetype &depth, int &d) const {
        if (d > 0) {
            --d;
            return true;
        }
        if (first->chunk.endsLine())
            return false;
        depth += kChunk;
        load(first, last, depth);
        d = kChunk - 1;
        return true;
    }

    // Sorts the items: lines equal in their first `depth` characters whose
    // chunks hold the same bytes above byte `d` (the first character is byte
    // 15), to begin with all the lines from the first byte of their first
    // chunk. A byte at a time: the lines are dealt into 256 piles by byte d,
    // each pile keeping the order the lines came in (file order, to begin
    // with), and each pile is sorted on the next byte, until piles are small.
    // Lines equal to their end stay in file order: the order of their record
    // positions. Piles wait on a list of their own, not on the call stack.
    void sort() {
        struct Pile {
            Item *first;
            Item *last;
            qsizetype depth;
            int d;
        };
        std::vector<Pile> piles{{m_items.data(), m_items.data() + m_items.size(), 0, kChunk - 1}};
        while (!piles.empty()) {
            auto [first, last, depth, d] = piles.back();
            piles.pop_back();
            const qsizetype n = last - first;
            if (n < kFew) {
                sortFew(first, last, depth);
                continue;
            }
            const unsigned byte = first->chunk.byte(d);
            if (std::none_of(first + 1, last,
                             [byte, at = d](const Item &i) { return i.chunk.byte(at) != byte; })) {
                if (next(first, last, depth, d)) // one pile: on to the next byte
                    piles.push_back({first, last, depth, d});
                continue;
            }
            // Deal the lines: `end[b]` counts the lines of pile b, then marks
            // where the next line of the pile goes, and in the end where the
            // pile ends.
            std::array<uint32_t, 256> end{};
            for (const Item *i = first; i != last; ++i)
                ++end[i->chunk.byte(d)];
            uint32_t sum = 0;
            for (uint32_t &e : end)
                e = std::exchange(sum, sum + e);
            if (m_spare.size() < size_t(n))
                m_spare.resize(size_t(n));
            for (const Item *i = first; i != last; ++i)
                m_spare[end[i->chunk.byte(d)]++] = *i;
            std::copy(m_spare.begin(), m_spare.begin() + n, first);
            uint32_t start = 0;
            for (const uint32_t e : end) {
                Item *pile = first + start;
                qsizetype pileDepth = depth;
                int pileByte = d;
                if (e - start > 1 && next(pile, first + e, pileDepth, pileByte))
                    piles.push_back({pile, first + e, pileDepth, pileByte});
                start = e;
            }
        }
    }

    // A few lines, compared whole chunks at a time.
    void sortFew(Item *first, Item *last, qsizetype depth) {
        std::sort(first, last, [](const Item &a, const Item &b) {
            return a.chunk != b.chunk ? a.chunk < b.chunk : a.line < b.line;
        });
        for (Item *run = first, *i = first + 1;; ++i)
            if (i == last || i->chunk != run->chunk) {
                if (i - run > 1 && !run->chunk.endsLine()) {
                    load(run, i, depth + kChunk);
                    sortFew(run, i, depth + kChunk);
                }
                if (i == last)
                    break;
                run = i;
            }
    }

    QString m_text;
    std::vector<Item> m_items;
    std::vector<Item> m_spare;       // where piles are dealt
    std::vector<qint64> m_positions; // in file order
};

// ---- The pass over a file --------------------------------------------------

// Reads the file at `path` once, in order, and appends to `hits`, in list
// order, the line of each record that `selects`. The hits found before a
// failure are appended all the same.
template <class Selects>
void scan(const RecordLayout &layout, const QString &path, Missing missing, Selects selects,
          const LineKind &kind, bool selectsAll, QList<Hit> &hits) {
    if (missing == Missing::Create) {
        // As the windows open an archive: a missing file is created empty,
        // one that cannot be opened for reading and writing is an error.
        RecordFile file;
        file.openOrCreate(layout, path);
    }
    FoundLines found;
    try {
        RecordScanner scanner(layout, path);
        if (selectsAll)
            found.reserve(scanner.count(), &kind == &kCardLine ? kCardLineLength : kClientColumns);
        qint64 position = 0;
        while (const char *record = scanner.next()) {
            ++position;
            if (selects(record))
                found.add(position, kind, record);
        }
    } catch (...) {
        found.appendInListOrder(hits);
        throw;
    }
    found.appendInListOrder(hits);
}

void find(const RecordLayout &layout, const QString &path, const QList<Filter> &filters,
          Missing missing, const LineKind &kind, QList<Hit> &hits) {
    Matcher matches(needlesFor(layout, filters), layout.size);
    scan(layout, path, missing, std::ref(matches), kind, matches.isEmpty(), hits);
}

// ---- In-list find ----------------------------------------------------------

// True when `folded` (A–Z already turned to a–z) occurs in `line` with A–Z
// folded the same way. An empty text occurs nowhere.
bool lineHolds(QStringView line, QStringView folded) {
    if (folded.isEmpty())
        return false;
    const qsizetype m = folded.size();
    for (qsizetype i = 0; i + m <= line.size(); ++i) {
        qsizetype j = 0;
        while (j < m && upperAscii(line[i + j].unicode()) == upperAscii(folded[j].unicode()))
            ++j;
        if (j == m)
            return true;
    }
    return false;
}

} // namespace

void findCards(const QString &path, const QList<Filter> &filters, Missing missing,
               QList<Hit> &hits) {
    find(databaseLayout, path, filters, missing, kCardLine, hits);
}

void findClients(const QString &path, const QList<Filter> &filters, Missing missing,
                 QList<Hit> &hits) {
    find(clientLayout, path, filters, missing, kClientLine, hits);
}

void flaggedCards(const QString &path, Missing missing, QList<Hit> &hits) {
    const FieldSlot &flag = databaseLayout.fields[DatabaseField::Segnala];
    scan(
        databaseLayout, path, missing, [&flag](const char *r) { return saysYes(r, flag); },
        kCardLine, false, hits);
}

void clientsToRecontact(const QString &path, Missing missing, QList<Hit> &hits) {
    const FieldSlot &flag = clientLayout.fields[ClientField::Ricontatta];
    scan(
        clientLayout, path, missing, [&flag](const char *r) { return saysYes(r, flag); },
        kRecontactLine, false, hits);
}

QString cardLine(const DatabaseRecord &record) {
    return lineOf(kCardLine, record.data());
}

QString clientLine(const ClientRecord &record) {
    return lineOf(kClientLine, record.data());
}

QString recontactLine(const ClientRecord &record) {
    return lineOf(kRecontactLine, record.data());
}

bool listsBefore(const Hit &a, const Hit &b) {
    const QChar *pa = a.line.constData();
    const QChar *pb = b.line.constData();
    const qsizetype n = std::min(a.line.size(), b.line.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (pa[i] == pb[i])
            continue;
        const char16_t ca = upperAscii(pa[i].unicode());
        const char16_t cb = upperAscii(pb[i].unicode());
        if (ca != cb)
            return ca < cb;
    }
    if (a.line.size() != b.line.size())
        return a.line.size() < b.line.size();
    return a.position < b.position;
}

int ListFind::next(const QList<Hit> &hits, int selected, QStringView typed) {
    const int count = int(hits.size());
    if (count == 0)
        return -1;
    if (selected < 0 || selected >= count)
        selected = 0;
    const QString t = text::toLowerAscii(typed);
    int i;
    bool found = false;
    if (m_hasLast && t == m_last) {
        i = selected;
    } else {
        i = 0;
        found = lineHolds(hits[0].line, t);
    }
    const int start = i;
    while (!found) {
        i = (i + 1) % count;
        found = lineHolds(hits[i].line, t);
        if (i == start)
            break;
    }
    m_last = t;
    m_hasLast = true;
    return found ? i : selected;
}

} // namespace search
