#include "Search.h"

#include "Lines.h"
#include "storage/TextRules.h"

namespace search {
namespace {

using detail::upperAscii;

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

int ListFind::next(const QList<Hit> &hits, int selected, QStringView typed) {
    const int count = int(hits.size());
    m_found = false;
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
    m_found = found;
    return found ? i : selected;
}

} // namespace search
