// Putting the lines a pass found in list order. Part of the search engine, not
// its interface.
#pragma once

#include "Lines.h"
#include "Search.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace search::detail {

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
    void add(qint64 position, const LineKind &kind, const char *record);
    void reserve(qsizetype lines, qsizetype charsEach);

    // Appends the hits to `hits` in list order.
    void appendInListOrder(QList<Hit> &hits);

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

    static Chunk chunkOf(const char16_t *line, qsizetype length, qsizetype from);
    const char16_t *text() const { return reinterpret_cast<const char16_t *>(m_text.constData()); }

    // Reads the chunks of [first, last) from character `depth` on.
    void load(Item *first, Item *last, qsizetype depth) const;

    // Moves a pile of lines equal up to byte `d` of their chunks on to the
    // next byte, or past the chunk to the next sixteen characters; false
    // when the lines are equal to their end.
    bool next(Item *first, Item *last, qsizetype &depth, int &d) const;

    // Sorts the items: lines equal in their first `depth` characters whose
    // chunks hold the same bytes above byte `d` (the first character is byte
    // 15), to begin with all the lines from the first byte of their first
    // chunk. A byte at a time: the lines are dealt into 256 piles by byte d,
    // each pile keeping the order the lines came in (file order, to begin
    // with), and each pile is sorted on the next byte, until piles are small.
    // Lines equal to their end stay in file order: the order of their record
    // positions. Piles wait on a list of their own, not on the call stack.
    void sort();

    // A few lines, compared whole chunks at a time.
    void sortFew(Item *first, Item *last, qsizetype depth);

    QString m_text;
    std::vector<Item> m_items;
    std::vector<Item> m_spare;       // where piles are dealt
    std::vector<qint64> m_positions; // in file order
};

} // namespace search::detail
