// Putting the lines a pass found in list order, and keeping them. Part of the
// search engine, not its interface.
#pragma once

#include "Lines.h"
#include "Search.h"

#include <QString>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace search {

namespace detail {

// Memory for the large arrays of a list: above a couple of megabytes, aligned
// to a huge page and offered to the kernel to back with huge pages, so that
// filling it costs a page fault every 2 MiB instead of every 4 KiB.
void *allocateLarge(size_t bytes);
void freeLarge(void *p) noexcept;

template <class T> struct LargeAllocator {
    using value_type = T;
    LargeAllocator() = default;
    template <class U> LargeAllocator(const LargeAllocator<U> &) {}
    T *allocate(size_t n) { return static_cast<T *>(allocateLarge(n * sizeof(T))); }
    void deallocate(T *p, size_t) noexcept { freeLarge(p); }
    friend bool operator==(const LargeAllocator &, const LargeAllocator &) { return true; }
};
template <class T> using LargeVector = std::vector<T, LargeAllocator<T>>;

// The bytes of the lines, back to back in blocks of 4 MiB that never move:
// the text grows without copying what it holds, and a line never straddles two
// blocks. A line is found by its offset: its block, then its place there.
class LineText {
  public:
    static constexpr int kBlockBits = 22;
    static constexpr qint64 kBlockSize = qint64(1) << kBlockBits;

    // Room for a line of `length` bytes, and its offset in `offset`.
    char *add(qsizetype length, qint64 &offset);
    // Takes the blocks of `later` after its own; the number of the first.
    qint64 adopt(LineText &&later);
    const char *at(qint64 offset) const {
        return m_blocks[size_t(offset >> kBlockBits)].get() + (offset & (kBlockSize - 1));
    }

  private:
    struct Free {
        void operator()(char *p) const { freeLarge(p); }
    };
    std::vector<std::unique_ptr<char, Free>> m_blocks;
    qint64 m_used = kBlockSize; // in the last block
};

} // namespace detail

struct HitList::Data {
    detail::LineText text;
    // Lines all of one length are found from their number alone, within
    // their run: the lines one reader wrote, from its first block on.
    // Otherwise each line has its offset and length, in file order.
    qsizetype fixedLength = 0;
    struct Run {
        uint32_t firstLine;
        qint64 firstBlock;
    };
    std::vector<Run> runs{{0, 0}};
    detail::LargeVector<qint64> offsets;
    detail::LargeVector<uint16_t> lengths;
    // Row by row, the number of its line in file order and its position (a
    // record file would need to be terabytes long for one past 32 bits).
    detail::LargeVector<uint32_t> order;
    detail::LargeVector<uint32_t> positions;

    QByteArrayView lineBytes(uint32_t line) const;
};

namespace detail {

// The hits of a pass. Their lines are written as the records are read; when
// the pass ends they are sorted, and handed out as a HitList.
class FoundLines {
  public:
    explicit FoundLines(const LineKind &kind);
    void add(qint64 position, const char *record);
    void reserve(qsizetype lines);
    // Takes the lines another reader found further on in the file.
    void adopt(FoundLines &&later);

    // The hits in list order; the lines found are given away.
    HitList finish();

  private:
    // Sixteen characters of a line from the place being sorted on, as their
    // places in list order, the first in the highest byte of `high`: comparing
    // two chunks compares those characters, and a line that ends among them
    // comes first. The first chunk of each line is taken as the line is
    // written, while its bytes are at hand; lines far apart in memory are read
    // again only where sixteen characters do not tell them apart.
    struct Chunk {
        uint64_t high = 0;
        uint64_t low = 0;
        friend bool operator==(Chunk, Chunk) = default;
        friend bool operator<(Chunk a, Chunk b) {
            return a.high != b.high ? a.high < b.high : a.low < b.low;
        }
    };
    static constexpr qsizetype kChunk = 16;
    // Byte d of a chunk, 0 the last.
    static unsigned byte(Chunk c, int d) {
        return unsigned((d < 8 ? c.low >> (8 * d) : c.high >> (8 * d - 64)) & 0xFF);
    }
    // True when the line ends before the chunk's last character.
    static bool endsLine(Chunk c) { return !(c.low & 0xFF); }

    // A line being sorted: 20 bytes, not 24, as a million of them are.
#pragma pack(push, 4)
    struct Item {
        Chunk chunk;
        uint32_t line; // in file order
    };
#pragma pack(pop)
    // Lines are read in sorted order, far apart: each is asked for this many
    // items before its turn.
    static constexpr qsizetype kAhead = 16;
    // Fewer lines than this are sorted by comparing chunks.
    static constexpr qsizetype kFew = 64;

    static Chunk chunkOf(QByteArrayView line, qsizetype from);

    // Reads the chunks of [first, last) from character `depth` on.
    void load(Item *first, Item *last, qsizetype depth) const;

    // Moves a pile of lines equal up to byte `d` of their chunks on to the
    // next byte, or past the chunk to the next sixteen characters; false when
    // the lines are equal to their end.
    bool next(Item *first, Item *last, qsizetype &depth, int &d) const;

    // Sorts the items: lines equal in their first `depth` characters whose
    // chunks hold the same bytes above byte `d` (the first character is byte
    // 15), to begin with all the lines from the first byte of their first
    // chunk. A byte at a time: the lines are dealt in place into 256 piles
    // by byte d, and each pile is sorted on the next byte, until piles are
    // small. Lines equal to their end are put in file order: the order of
    // their record positions. Piles wait on a list of their own, not on the
    // call stack.
    void sort();

    // Lines equal in their first `depth` characters whose chunks hold the
    // same bytes above byte `d`, still to be sorted.
    struct Pile {
        Item *first;
        Item *last;
        qsizetype depth;
        int d;
    };
    // Sorts the piles; with `until`, only until there are that many.
    void sortPiles(std::vector<Pile> &piles, size_t until) const;
    // From this many lines on, the two cores sort a share each.
    static constexpr qsizetype kShareFrom = 50'000;

    // A few lines, compared whole chunks at a time.
    void sortFew(Item *first, Item *last, qsizetype depth) const;

    const LineKind &m_kind;
    std::unique_ptr<HitList::Data> m_data;
    LargeVector<Item> m_items;
    LargeVector<uint32_t> m_positions; // in file order
};

} // namespace detail
} // namespace search
