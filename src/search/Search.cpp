#include "Search.h"

#include "storage/ClientRecord.h"
#include "storage/DatabaseRecord.h"
#include "storage/RecordFile.h"
#include "storage/TextRules.h"

#include <algorithm>
#include <array>
#include <stdexcept>

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
};

Needle needleFor(const RecordLayout &layout, const Filter &filter) {
    if (filter.field < 0 || filter.field >= int(layout.fields.size()))
        throw std::out_of_range("search filter on a field the record does not have");
    const FieldSpec &spec = layout.fields[filter.field];
    Needle n{spec.offset, spec.capacity, text::encode1252(filter.text), {}};
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

// The stored text of a field, without blanks or control bytes at either end.
QByteArrayView fieldText(const char *record, const FieldSpec &spec) {
    return text::trimmed(shorttext::raw(record + spec.offset, spec.capacity));
}

QByteArrayView fieldText(const char *record, int offset, int capacity) {
    return text::trimmed(shorttext::raw(record + offset, capacity));
}

// True when every needle occurs in its field of `record`.
bool matchesAll(const char *record, int recordSize, const QList<Needle> &needles) {
    for (const Needle &n : needles) {
        const QByteArrayView t = fieldText(record, n.offset, n.capacity);
        const auto *start = reinterpret_cast<const unsigned char *>(t.data());
        const int readable = int(record + recordSize - t.data());
        if (!occursIn(start, int(t.size()), readable, n))
            return false;
    }
    return true;
}

// A Yes/No field that says "Sì", once blanks and control bytes at both ends
// are left out; "sì", "SI" or "No" do not.
bool saysYes(const char *record, const FieldSpec &spec) {
    return fieldText(record, spec) == QByteArrayView(shorttext::kYes + 1, 2);
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

void put(QChar *&out, QByteArrayView bytes) {
    const auto &chars = charsOf1252();
    for (const char b : bytes)
        *out++ = QChar(chars[static_cast<unsigned char>(b)]);
}

void put(QChar *&out, QLatin1StringView literal) {
    for (const char c : literal)
        *out++ = QChar::fromLatin1(c);
}

// A column: the field's trimmed text padded with blanks or cut to `width`.
void putColumn(QChar *&out, const char *record, const FieldSpec &spec, int width) {
    const QByteArrayView t = fieldText(record, spec);
    const qsizetype shown = std::min<qsizetype>(t.size(), width);
    put(out, t.first(shown));
    out = std::fill_n(out, width - shown, QChar(u' '));
}

constexpr int kCardLineLength = 153;

QString cardLineOf(const char *record) {
    namespace F = DatabaseField;
    const auto &f = databaseLayout.fields;
    QString line(kCardLineLength, Qt::Uninitialized);
    QChar *out = line.data();
    putColumn(out, record, f[F::Campo01], 26);
    put(out, QLatin1StringView("  "));
    putColumn(out, record, f[F::Campo02], 26);
    put(out, QLatin1StringView("  "));
    putColumn(out, record, f[F::Campo03], 26);
    putColumn(out, record, f[F::Cliente], 26); // straight after Campo03
    put(out, QLatin1StringView("  Tel. "));
    putColumn(out, record, f[F::Recapito], 15);
    put(out, QLatin1StringView("  C.F. "));
    putColumn(out, record, f[F::CodFisc], 16);
    Q_ASSERT(out == line.data() + kCardLineLength);
    return line;
}

constexpr int kClientColumns = 115;

// The client line, ending with the whole trimmed text of `last` (Note in the
// client search, Questioni in the recontact list).
QString clientLineOf(const char *record, int last) {
    namespace F = ClientField;
    const auto &f = clientLayout.fields;
    const QByteArrayView tail = fieldText(record, f[last]);
    QString line(kClientColumns + tail.size(), Qt::Uninitialized);
    QChar *out = line.data();
    putColumn(out, record, f[F::Cliente], 26);
    put(out, QLatin1StringView("  Tel. "));
    putColumn(out, record, f[F::Recapito], 15);
    put(out, QLatin1StringView("  "));
    putColumn(out, record, f[F::Occupazione], 25);
    put(out, QLatin1StringView("  Prod. "));
    putColumn(out, record, f[F::Prodotti], 30);
    put(out, QLatin1StringView("  "));
    Q_ASSERT(out == line.data() + kClientColumns);
    put(out, tail);
    return line;
}

// ---- The pass over a file --------------------------------------------------

void appendInListOrder(QList<Hit> &found, QList<Hit> &hits) {
    std::sort(found.begin(), found.end(), listsBefore);
    if (hits.isEmpty())
        hits = std::move(found);
    else
        std::move(found.begin(), found.end(), std::back_inserter(hits));
}

// Reads the file at `path` once, in order, and lists `lineOf(record)` for each
// record that `selects`. The hits found before a failure are kept.
template <class Selects, class LineOf>
void scan(const RecordLayout &layout, const QString &path, Missing missing, Selects selects,
          LineOf lineOf, bool selectsAll, QList<Hit> &hits) {
    if (missing == Missing::Create) {
        // As the windows open an archive: a missing file is created empty,
        // one that cannot be opened for reading and writing is an error.
        RecordFile file;
        file.openOrCreate(layout, path);
    }
    QList<Hit> found;
    try {
        RecordScanner scanner(layout, path);
        if (selectsAll)
            found.reserve(scanner.count());
        qint64 position = 0;
        while (const char *record = scanner.next()) {
            ++position;
            if (selects(record))
                found.append(Hit{position, lineOf(record)});
        }
    } catch (...) {
        appendInListOrder(found, hits);
        throw;
    }
    appendInListOrder(found, hits);
}

template <class LineOf>
void find(const RecordLayout &layout, const QString &path, const QList<Filter> &filters,
          Missing missing, LineOf lineOf, QList<Hit> &hits) {
    const QList<Needle> needles = needlesFor(layout, filters);
    const int size = layout.size;
    scan(
        layout, path, missing,
        [&needles, size](const char *record) { return matchesAll(record, size, needles); }, lineOf,
        needles.isEmpty(), hits);
}

// ---- In-list find ----------------------------------------------------------

char16_t upperAscii(char16_t c) {
    return c >= u'a' && c <= u'z' ? c - 32 : c;
}

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
    find(databaseLayout, path, filters, missing, cardLineOf, hits);
}

void findClients(const QString &path, const QList<Filter> &filters, Missing missing,
                 QList<Hit> &hits) {
    find(
        clientLayout, path, filters, missing,
        [](const char *record) { return clientLineOf(record, ClientField::Note); }, hits);
}

void flaggedCards(const QString &path, Missing missing, QList<Hit> &hits) {
    const FieldSpec &flag = databaseLayout.fields[DatabaseField::Segnala];
    scan(
        databaseLayout, path, missing,
        [&flag](const char *record) { return saysYes(record, flag); }, cardLineOf, false, hits);
}

void clientsToRecontact(const QString &path, Missing missing, QList<Hit> &hits) {
    const FieldSpec &flag = clientLayout.fields[ClientField::Ricontatta];
    scan(
        clientLayout, path, missing, [&flag](const char *record) { return saysYes(record, flag); },
        [](const char *record) { return clientLineOf(record, ClientField::Questioni); }, false,
        hits);
}

QString cardLine(const DatabaseRecord &record) {
    return cardLineOf(record.data());
}

QString clientLine(const ClientRecord &record) {
    return clientLineOf(record.data(), ClientField::Note);
}

QString recontactLine(const ClientRecord &record) {
    return clientLineOf(record.data(), ClientField::Questioni);
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
