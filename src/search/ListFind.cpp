#include "Search.h"

#include "storage/TextRules.h"

namespace search {
namespace {

// A text looked for in the lines' Windows-1252 bytes: a–z, with the byte
// 0x20 in `orMask` where the text has a letter, so that (b | mask) folds a
// line's A–Z; every other byte as it stands. Empty when the text cannot occur:
// it is empty, or holds a character no line can hold.
struct Folded {
    QByteArray text;
    QByteArray orMask;
};

Folded folded(QStringView lower) {
    Folded f;
    for (const char32_t c : lower.toUcs4()) {
        const int b = text::byteFor1252(c);
        if (b < 0)
            return {};
        f.text += char(b);
        f.orMask += char(b >= 'a' && b <= 'z' ? 0x20 : 0);
    }
    return f;
}

bool lineHolds(QByteArrayView line, const Folded &f) {
    const qsizetype m = f.text.size();
    if (m == 0)
        return false;
    const auto *l = reinterpret_cast<const unsigned char *>(line.data());
    const auto *t = reinterpret_cast<const unsigned char *>(f.text.constData());
    const auto *mask = reinterpret_cast<const unsigned char *>(f.orMask.constData());
    for (qsizetype i = 0; i + m <= line.size(); ++i) {
        if ((l[i] | mask[0]) != t[0])
            continue;
        qsizetype j = 1;
        while (j < m && (l[i + j] | mask[j]) == t[j])
            ++j;
        if (j == m)
            return true;
    }
    return false;
}

} // namespace

int ListFind::next(const HitList &hits, int selected, QStringView typed) {
    const int count = int(hits.size());
    m_found = false;
    if (count == 0)
        return -1;
    if (selected < 0 || selected >= count)
        selected = 0;
    const QString t = text::toLowerAscii(typed);
    const Folded sought = folded(t);
    int i;
    bool found = false;
    if (m_hasLast && t == m_last) {
        i = selected;
    } else {
        i = 0;
        found = lineHolds(hits.bytes(0), sought);
    }
    const int start = i;
    while (!found) {
        i = (i + 1) % count;
        hits.prefetch((i + 8) % count);
        found = lineHolds(hits.bytes(i), sought);
        if (i == start)
            break;
    }
    m_last = t;
    m_hasLast = true;
    m_found = found;
    return found ? i : selected;
}

} // namespace search
