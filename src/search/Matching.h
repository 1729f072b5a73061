// Matching a search's filters on the stored bytes of the records, and the
// trimmed stored text of a field. Part of the search engine, not its interface.
#pragma once

#include "Search.h"
#include "storage/RecordLayout.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <algorithm>

namespace search::detail {

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

// The filled filters among `filters`: a box that is empty or holds only blanks
// is no filter.
QList<Needle> needlesFor(const RecordLayout &layout, const QList<Filter> &filters);

// The stored text of a field, without blanks or control bytes at either end
// (the bytes shorttext::load decodes and text::trimmed trims, found here
// without a call for each field of each record).
inline QByteArrayView fieldText(const char *record, int offset, int capacity) {
    const auto *field = reinterpret_cast<const unsigned char *>(record + offset);
    const auto *begin = field + 1;
    const auto *end = begin + std::min<int>(field[0], capacity); // a damaged length counts as N
    while (begin < end && *begin <= 0x20)
        ++begin;
    while (end > begin && end[-1] <= 0x20)
        --end;
    return QByteArrayView(reinterpret_cast<const char *>(begin), end - begin);
}

inline QByteArrayView fieldText(const char *record, const FieldSlot &field) {
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

    bool operator()(const char *record);

  private:
    QList<Needle> m_needles;
    int m_recordSize;
    qint64 m_tried = 0;
};

// A Yes/No field that says "Sì", once blanks and control bytes at both ends
// are left out; "sì", "SI" or "No" do not.
bool saysYes(const char *record, const FieldSlot &field);

} // namespace search::detail
