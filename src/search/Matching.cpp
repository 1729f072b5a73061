#include "Matching.h"

#include "storage/TextRules.h"

#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace search::detail {
namespace {

bool isLowerAscii(unsigned char b) {
    return b >= 'a' && b <= 'z';
}

unsigned char foldByte(unsigned char b) {
    return b >= 'A' && b <= 'Z' ? b + 32 : b;
}

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

} // namespace

QList<Needle> needlesFor(const RecordLayout &layout, const QList<Filter> &filters) {
    QList<Needle> needles;
    for (const Filter &f : filters)
        if (!text::trimmed(QStringView(f.text)).isEmpty())
            needles.append(needleFor(layout, f));
    return needles;
}

bool Matcher::operator()(const char *record) {
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

bool saysYes(const char *record, const FieldSlot &field) {
    return fieldText(record, field) == QByteArrayView(shorttext::kYes + 1, 2);
}

} // namespace search::detail
