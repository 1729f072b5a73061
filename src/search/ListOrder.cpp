#include "ListOrder.h"

#include "storage/StorageError.h"
#include "storage/TextRules.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <future>
#include <limits>
#include <new>
#include <sys/mman.h>
#include <utility>

namespace search {
namespace detail {
namespace {

// The place in list order of each byte's character: its code with a–z taken
// as A–Z, numbered from 1; 0 stands for "past the end of the line", before
// every character.
const std::array<uint8_t, 256> &byteRanks() {
    static const std::array<uint8_t, 256> table = [] {
        const auto &chars = charsOf1252();
        std::array<char16_t, 256> order{};
        for (size_t b = 0; b < 256; ++b)
            order[b] = upperAscii(chars[b]);
        std::sort(order.begin(), order.end());
        const auto distinct = std::unique(order.begin(), order.end());
        std::array<uint8_t, 256> t{};
        for (size_t b = 0; b < 256; ++b)
            t[b] = uint8_t(1 + (std::lower_bound(order.begin(), distinct, upperAscii(chars[b])) -
                                order.begin()));
        return t;
    }();
    return table;
}

} // namespace

void *allocateLarge(size_t bytes) {
    constexpr size_t kHugePage = size_t(1) << 21;
    if (bytes < kHugePage) {
        if (void *p = std::malloc(std::max<size_t>(bytes, 1)))
            return p;
        throw std::bad_alloc();
    }
    bytes = (bytes + kHugePage - 1) & ~(kHugePage - 1);
    void *p = std::aligned_alloc(kHugePage, bytes);
    if (!p)
        throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    ::madvise(p, bytes, MADV_HUGEPAGE);
#endif
    return p;
}

void freeLarge(void *p) noexcept {
    std::free(p);
}

char *LineText::add(qsizetype length, qint64 &offset) {
    Q_ASSERT(length <= kBlockSize);
    if (m_used + length > kBlockSize) {
        // The first block in ordinary pages, which a short list touches only
        // a few of; the blocks of a long list in huge ones.
        char *block = m_blocks.empty() ? static_cast<char *>(std::malloc(size_t(kBlockSize)))
                                       : static_cast<char *>(allocateLarge(size_t(kBlockSize)));
        if (!block)
            throw std::bad_alloc();
        m_blocks.emplace_back(block);
        m_used = 0;
    }
    offset = (qint64(m_blocks.size() - 1) << kBlockBits) + m_used;
    m_used += length;
    return m_blocks.back().get() + (offset & (kBlockSize - 1));
}

qint64 LineText::adopt(LineText &&later) {
    const qint64 first = qint64(m_blocks.size());
    if (!later.m_blocks.empty()) {
        for (auto &block : later.m_blocks)
            m_blocks.push_back(std::move(block));
        m_used = later.m_used;
        later.m_blocks.clear();
    }
    return first;
}

} // namespace detail

QByteArrayView HitList::Data::lineBytes(uint32_t line) const {
    if (fixedLength > 0) {
        auto run = runs.rbegin();
        while (run->firstLine > line)
            ++run;
        const qint64 local = qint64(line - run->firstLine);
        const qint64 perBlock = detail::LineText::kBlockSize / fixedLength;
        const qint64 offset = ((run->firstBlock + local / perBlock) << detail::LineText::kBlockBits) +
                              (local % perBlock) * fixedLength;
        return {text.at(offset), fixedLength};
    }
    return {text.at(offsets[line]), lengths[line]};
}

namespace {

// A position as the list keeps it.
uint32_t positionOf(qint64 position) {
    if (position < 0 || position > qint64(std::numeric_limits<uint32_t>::max()))
        throw StorageError(QStringLiteral("l'archivio è troppo grande per elencarne le schede"));
    return uint32_t(position);
}

} // namespace

HitList::HitList(const QList<Hit> &hits) {
    auto data = std::make_unique<Data>();
    for (const Hit &hit : hits) {
        const QByteArray bytes = text::encode1252(hit.line);
        qint64 offset = 0;
        char *at = data->text.add(bytes.size(), offset);
        std::memcpy(at, bytes.constData(), size_t(bytes.size()));
        data->order.push_back(uint32_t(data->positions.size()));
        data->positions.push_back(positionOf(hit.position));
        data->offsets.push_back(offset);
        data->lengths.push_back(uint16_t(bytes.size()));
    }
    d = std::move(data);
}

qsizetype HitList::size() const {
    return d ? qsizetype(d->order.size()) : 0;
}

qint64 HitList::position(qsizetype row) const {
    return d->positions[size_t(row)];
}

QByteArrayView HitList::bytes(qsizetype row) const {
    return d->lineBytes(d->order[size_t(row)]);
}

QString HitList::line(qsizetype row) const {
    return detail::decodeLine(bytes(row));
}

qsizetype HitList::longestRow() const {
    if (isEmpty())
        return -1;
    if (d->fixedLength > 0)
        return 0;
    const uint16_t longest = *std::max_element(d->lengths.begin(), d->lengths.end());
    qsizetype row = 0;
    while (d->lengths[d->order[size_t(row)]] != longest)
        ++row;
    return row;
}

void HitList::prefetch(qsizetype row) const {
    if (row < size())
        __builtin_prefetch(bytes(row).data());
}

QList<Hit> HitList::toList() const {
    QList<Hit> hits;
    hits.reserve(size());
    for (qsizetype row = 0; row < size(); ++row)
        hits.append((*this)[row]);
    return hits;
}

namespace detail {

FoundLines::FoundLines(const LineKind &kind)
    : m_kind(kind), m_data(std::make_unique<HitList::Data>()) {
    m_data->fixedLength = kind.fixedLength;
}

void FoundLines::add(qint64 position, const char *record) {
    const qsizetype length = m_kind.length(record);
    Q_ASSERT(length <= kMostLineBytes);
    qint64 offset = 0;
    char *line = m_data->text.add(length, offset);
    m_kind.write(record, line);
    if (m_kind.fixedLength == 0) {
        m_data->offsets.push_back(offset);
        m_data->lengths.push_back(uint16_t(length));
    }
    if (m_items.size() >= std::numeric_limits<uint32_t>::max())
        throw std::bad_alloc();
    m_items.push_back({chunkOf({line, length}, 0), uint32_t(m_items.size())});
    m_positions.push_back(positionOf(position));
}

void FoundLines::reserve(qsizetype lines) {
    m_items.reserve(size_t(lines));
    m_positions.reserve(size_t(lines));
    if (m_kind.fixedLength == 0) {
        m_data->offsets.reserve(size_t(lines));
        m_data->lengths.reserve(size_t(lines));
    }
}

void FoundLines::adopt(FoundLines &&later) {
    const auto base = uint32_t(m_items.size());
    if (m_items.size() + later.m_items.size() >= std::numeric_limits<uint32_t>::max())
        throw std::bad_alloc();
    HitList::Data &theirs = *later.m_data;
    const qint64 firstBlock = m_data->text.adopt(std::move(theirs.text));
    if (m_kind.fixedLength > 0) {
        if (!later.m_items.empty())
            m_data->runs.push_back({base, firstBlock});
    } else {
        const qint64 shift = firstBlock << LineText::kBlockBits;
        for (const qint64 offset : theirs.offsets)
            m_data->offsets.push_back(offset + shift);
        m_data->lengths.insert(m_data->lengths.end(), theirs.lengths.begin(),
                               theirs.lengths.end());
    }
    // Each array of the later lines goes as soon as it is copied.
    m_items.reserve(m_items.size() + later.m_items.size());
    for (const Item &item : later.m_items)
        m_items.push_back({item.chunk, item.line + base});
    later.m_items = {};
    m_positions.insert(m_positions.end(), later.m_positions.begin(), later.m_positions.end());
    later.m_positions = {};
}

HitList FoundLines::finish() {
    sort();
    // The positions go in list order, where the rows read them. Each array
    // goes as soon as it is read, so that the list never holds two at once.
    const size_t n = m_items.size();
    auto &order = m_data->order;
    order.resize(n);
    for (size_t row = 0; row < n; ++row)
        order[row] = m_items[row].line;
    m_items = {};
    m_data->positions.resize(n);
    for (size_t row = 0; row < n; ++row) {
        if (row + kAhead < n)
            __builtin_prefetch(&m_positions[order[row + kAhead]]);
        m_data->positions[row] = m_positions[order[row]];
    }
    m_positions = {};
    HitList hits;
    hits.d = std::move(m_data);
    m_data = std::make_unique<HitList::Data>();
    m_data->fixedLength = m_kind.fixedLength;
    return hits;
}

FoundLines::Chunk FoundLines::chunkOf(QByteArrayView line, qsizetype from) {
    const auto &rank = byteRanks();
    const qsizetype end = std::min(line.size(), from + kChunk);
    Chunk chunk;
    qsizetype i = from;
    for (int shift = 56; i < end && shift >= 0; ++i, shift -= 8)
        chunk.high |= uint64_t(rank[static_cast<unsigned char>(line[i])]) << shift;
    for (int shift = 56; i < end; ++i, shift -= 8)
        chunk.low |= uint64_t(rank[static_cast<unsigned char>(line[i])]) << shift;
    return chunk;
}

void FoundLines::load(Item *first, Item *last, qsizetype depth) const {
    const qsizetype n = last - first;
    for (qsizetype i = 0; i < n; ++i) {
        if (i + kAhead < n)
            __builtin_prefetch(m_data->lineBytes(first[i + kAhead].line).data() + depth);
        first[i].chunk = chunkOf(m_data->lineBytes(first[i].line), depth);
    }
}

bool FoundLines::next(Item *first, Item *last, qsizetype &depth, int &d) const {
    if (d > 0) {
        --d;
        return true;
    }
    if (endsLine(first->chunk))
        return false;
    depth += kChunk;
    load(first, last, depth);
    d = kChunk - 1;
    return true;
}

namespace {

// Lines equal to their end: in file order.
template <class Item> void inFileOrder(Item *first, Item *last) {
    std::sort(first, last, [](const Item &a, const Item &b) { return a.line < b.line; });
}

} // namespace

void FoundLines::sort() {
    std::vector<Pile> piles;
    if (!m_items.empty())
        piles.push_back({m_items.data(), m_items.data() + m_items.size(), 0, kChunk - 1});
    if (m_items.size() < size_t(kShareFrom)) {
        sortPiles(piles, 0);
        return;
    }
    // A long list: its largest pile dealt again until none holds half the
    // lines, then the two cores sort the piles, each its share of the lines.
    const auto size = [](const Pile &p) { return p.last - p.first; };
    for (int deal = 0; deal < 32 && !piles.empty(); ++deal) {
        const auto largest = std::max_element(
            piles.begin(), piles.end(), [&](const Pile &a, const Pile &b) { return size(a) < size(b); });
        if (piles.size() > 1 && size(*largest) <= qsizetype(m_items.size()) / 2)
            break;
        std::vector<Pile> dealt{*largest};
        piles.erase(largest);
        sortPiles(dealt, 2);
        piles.insert(piles.end(), dealt.begin(), dealt.end());
    }
    std::vector<Pile> mine, theirs;
    qsizetype mineLines = 0, theirLines = 0;
    std::sort(piles.begin(), piles.end(),
              [&](const Pile &a, const Pile &b) { return size(a) > size(b); });
    for (const Pile &pile : piles) {
        const bool toMine = mineLines <= theirLines;
        (toMine ? mine : theirs).push_back(pile);
        (toMine ? mineLines : theirLines) += size(pile);
    }
    // (Sorted here, at get(), when no thread can be had.)
    auto other = std::async(std::launch::async | std::launch::deferred,
                            [this, &theirs] { sortPiles(theirs, 0); });
    sortPiles(mine, 0);
    other.get();
}

void FoundLines::sortPiles(std::vector<Pile> &piles, size_t until) const {
    while (!piles.empty() && (until == 0 || piles.size() < until)) {
        auto [first, last, depth, d] = piles.back();
        piles.pop_back();
        const qsizetype n = last - first;
        if (n < kFew) {
            sortFew(first, last, depth);
            continue;
        }
        const unsigned b0 = byte(first->chunk, d);
        if (std::none_of(first + 1, last,
                         [b0, at = d](const Item &i) { return byte(i.chunk, at) != b0; })) {
            if (next(first, last, depth, d)) // one pile: on to the next byte
                piles.push_back({first, last, depth, d});
            else
                inFileOrder(first, last);
            continue;
        }
        // Deal the lines in place: `end[b]` is where pile b ends, `at[b]`
        // where its next line goes. Each line taken from a pile that is not
        // its own is swapped into its own until the one in hand belongs
        // where it was taken from.
        std::array<uint32_t, 256> end{};
        for (const Item *i = first; i != last; ++i)
            ++end[byte(i->chunk, d)];
        std::array<uint32_t, 256> at{};
        uint32_t sum = 0;
        for (size_t b = 0; b < 256; ++b) {
            at[b] = sum;
            sum += end[b];
            end[b] = sum;
        }
        for (size_t b = 0; b < 256; ++b) {
            while (at[b] < end[b]) {
                Item item = first[at[b]];
                for (unsigned own = byte(item.chunk, d); own != b; own = byte(item.chunk, d))
                    std::swap(item, first[at[own]++]);
                first[at[b]++] = item;
            }
        }
        uint32_t start = 0;
        for (const uint32_t e : end) {
            Item *pile = first + start;
            qsizetype pileDepth = depth;
            int pileByte = d;
            if (e - start > 1) {
                if (next(pile, first + e, pileDepth, pileByte))
                    piles.push_back({pile, first + e, pileDepth, pileByte});
                else
                    inFileOrder(pile, first + e);
            }
            start = e;
        }
    }
}

void FoundLines::sortFew(Item *first, Item *last, qsizetype depth) const {
    std::sort(first, last, [](const Item &a, const Item &b) {
        return a.chunk != b.chunk ? a.chunk < b.chunk : a.line < b.line;
    });
    for (Item *run = first, *i = first + 1;; ++i)
        if (i == last || i->chunk != run->chunk) {
            if (i - run > 1 && !endsLine(run->chunk)) {
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
