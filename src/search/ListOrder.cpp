#include "ListOrder.h"

#include <algorithm>
#include <array>
#include <utility>

namespace search {
namespace detail {
namespace {

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

} // namespace

void FoundLines::add(qint64 position, const LineKind &kind, const char *record) {
    const qsizetype length = kind.length(record);
    const qsizetype at = m_text.size();
    if (at + length + 1 > m_text.capacity())
        m_text.reserve(std::max(2 * m_text.capacity(), at + length + 1));
    m_text.resize(at + length + 1);
    char16_t *line = reinterpret_cast<char16_t *>(m_text.data()) + at;
    kind.write(record, line);
    line[length] = u'\0';
    m_items.push_back({chunkOf(line, length, 0), at, uint32_t(length), uint32_t(m_items.size())});
    m_positions.push_back(position);
}

void FoundLines::reserve(qsizetype lines, qsizetype charsEach) {
    m_items.reserve(size_t(lines));
    m_positions.reserve(size_t(lines));
    m_text.reserve(lines * (charsEach + 1));
}

void FoundLines::appendInListOrder(QList<Hit> &hits) {
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

FoundLines::Chunk FoundLines::chunkOf(const char16_t *line, qsizetype length, qsizetype from) {
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

void FoundLines::load(Item *first, Item *last, qsizetype depth) const {
    const qsizetype n = last - first;
    for (qsizetype i = 0; i < n; ++i) {
        if (i + kAhead < n)
            __builtin_prefetch(text() + first[i + kAhead].offset + depth);
        first[i].chunk = chunkOf(text() + first[i].offset, first[i].length, depth);
    }
}

bool FoundLines::next(Item *first, Item *last, qsizetype &depth, int &d) const {
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

void FoundLines::sort() {
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

void FoundLines::sortFew(Item *first, Item *last, qsizetype depth) {
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

} // namespace detail

bool listsBefore(const Hit &a, const Hit &b) {
    const QChar *pa = a.line.constData();
    const QChar *pb = b.line.constData();
    const qsizetype n = std::min(a.line.size(), b.line.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (pa[i] == pb[i])
            continue;
        const char16_t ca = detail::upperAscii(pa[i].unicode());
        const char16_t cb = detail::upperAscii(pb[i].unicode());
        if (ca != cb)
            return ca < cb;
    }
    if (a.line.size() != b.line.size())
        return a.line.size() < b.line.size();
    return a.position < b.position;
}

} // namespace search
