#include "Lines.h"

#include "Matching.h"
#include "Search.h"
#include "storage/ClientRecord.h"
#include "storage/DatabaseRecord.h"
#include "storage/TextRules.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace search {
namespace detail {

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

QString decodeLine(QByteArrayView bytes) {
    QString line(bytes.size(), Qt::Uninitialized);
    decodeInto(reinterpret_cast<char16_t *>(line.data()), bytes.data(), bytes.size());
    return line;
}

namespace {

// Writes a line's Windows-1252 bytes from a record's.
class LineWriter {
  public:
    explicit LineWriter(char *out) : m_bytes(out), m_at(out) {}
    qsizetype size() const { return m_at - m_bytes; }

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
    char *m_bytes;
    char *m_at;
};

void writeCardLine(const char *record, char *out) {
    namespace F = DatabaseField;
    const auto &f = databaseLayout.fields;
    LineWriter w(out);
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
}

// The client line ends with the whole trimmed text of `last`: Note in the
// client search, Questioni in the recontact list.
qsizetype clientLineLength(const char *record, int last) {
    return kClientColumns + fieldText(record, clientLayout.fields[last]).size();
}

void writeClientLine(const char *record, int last, char *out) {
    namespace F = ClientField;
    const auto &f = clientLayout.fields;
    LineWriter w(out);
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
}

} // namespace

const LineKind kCardLine = {[](const char *) -> qsizetype { return kCardLineLength; },
                            writeCardLine, kCardLineLength};
const LineKind kClientLine = {
    [](const char *r) { return clientLineLength(r, ClientField::Note); },
    [](const char *r, char *out) { writeClientLine(r, ClientField::Note, out); }, 0};
const LineKind kRecontactLine = {
    [](const char *r) { return clientLineLength(r, ClientField::Questioni); },
    [](const char *r, char *out) { writeClientLine(r, ClientField::Questioni, out); }, 0};

QString lineOf(const LineKind &kind, const char *record) {
    // The longest line: the client line's columns and a whole 250-byte note.
    char bytes[kMostLineBytes];
    const qsizetype length = kind.length(record);
    Q_ASSERT(length <= kMostLineBytes);
    kind.write(record, bytes);
    return decodeLine(QByteArrayView(bytes, length));
}

} // namespace detail

using namespace detail;

QString cardLine(const DatabaseRecord &record) {
    return lineOf(kCardLine, record.data());
}

QString clientLine(const ClientRecord &record) {
    return lineOf(kClientLine, record.data());
}

QString recontactLine(const ClientRecord &record) {
    return lineOf(kRecontactLine, record.data());
}

} // namespace search
