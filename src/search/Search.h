// The search engine behind the search and list windows and `cartavera-cli
// cerca`: one sequential pass over a record file (two halves at once for a
// large one), each filled filter matched on the raw Windows-1252 bytes of its
// field with A–Z-only case folding, the hits' list lines written as Windows-1252
// bytes and sorted in list order, a line decoded only when it is shown,
// printed or written. No widgets here. Its parts: Matching (the filters on the stored bytes), Lines,
// ListOrder, Scan (the pass over a file) and ListFind (the in-list find).
#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>
#include <iterator>
#include <memory>
#include <span>

class ClientRecord;
class DatabaseRecord;

namespace search {

// One line of a result list: the record's 1-based position in its file and
// the line as the list shows it. A double-click loads the record at
// `position`, so equal lines still open the record the user chose.
struct Hit {
    qint64 position = 0;
    QString line;
    bool operator==(const Hit &) const = default;
};

// A filter box: the record field it is compared with (DatabaseField::… or
// ClientField::…) and the box text exactly as typed. A text that is empty or
// blank only is no filter.
struct Filter {
    int field = 0;
    QString text;
};

// The fields the filter boxes of the two searches are compared with, in the
// order the search windows show the boxes (and Enter goes from one to the
// next) and `cartavera-cli cerca` lists its options.
std::span<const int> cardFilterFields();
std::span<const int> clientFilterFields();

namespace detail {
class FoundLines;
}

// The lines of a result list in list order, each with its record's position.
// A line is kept as its Windows-1252 bytes, one a character as the record
// holds them, in large blocks shared by every copy of the list, and is decoded
// only when asked for: a million lines cost a little more than their bytes.
class HitList {
  public:
    HitList() = default;
    // The given lines in the given order; a character Windows-1252 cannot
    // hold becomes "?".
    HitList(const QList<Hit> &hits);

    qsizetype size() const;
    bool isEmpty() const { return size() == 0; }
    qint64 position(qsizetype row) const;
    // The line of `row` as its Windows-1252 bytes, and as the list shows it.
    QByteArrayView bytes(qsizetype row) const;
    QString line(qsizetype row) const;
    Hit operator[](qsizetype row) const { return {position(row), line(row)}; }
    QList<Hit> toList() const;
    // The first row of the longest line, -1 when there is none.
    qsizetype longestRow() const;
    // Asks for the line of `row` to be brought near: rows are far apart in
    // memory, and a loop over them asks a few rows ahead.
    void prefetch(qsizetype row) const;

    // The rows as Hits, decoded one at a time.
    class const_iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Hit;
        using difference_type = qsizetype;
        using pointer = void;
        using reference = Hit;
        const_iterator() = default;
        const_iterator(const HitList *list, qsizetype row) : m_list(list), m_row(row) {}
        Hit operator*() const { return (*m_list)[m_row]; }
        const_iterator &operator++() {
            ++m_row;
            return *this;
        }
        const_iterator operator++(int) { return {m_list, m_row++}; }
        bool operator==(const const_iterator &o) const { return m_row == o.m_row; }

      private:
        const HitList *m_list = nullptr;
        qsizetype m_row = 0;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    friend bool operator==(const HitList &a, const QList<Hit> &b) { return a.toList() == b; }

    struct Data;

  private:
    friend class detail::FoundLines;
    std::shared_ptr<const Data> d;
};

// What a missing record file means: the windows create it empty, the
// command-line companion lists nothing and creates nothing.
enum class Missing { Create, Empty };

// Each function sets `hits` to the lines of the records it selects, in list
// order, and raises StorageError when the file cannot be opened or read; the
// hits found before a failure are then in `hits`, in list order. The forms
// with a QList append to it, each line a QString of its own: for short lists.

// The cards of Database.pro where every filled filter occurs (all cards when
// no filter is filled), as card lines.
void findCards(const QString &path, const QList<Filter> &filters, Missing missing,
               HitList &hits);
void findCards(const QString &path, const QList<Filter> &filters, Missing missing,
               QList<Hit> &hits);
// The clients of Clienti.pro where every filled filter occurs, as client lines.
void findClients(const QString &path, const QList<Filter> &filters, Missing missing,
                 HitList &hits);
void findClients(const QString &path, const QList<Filter> &filters, Missing missing,
                 QList<Hit> &hits);
// The cards whose flag Segnala, trimmed, is exactly "Sì", as card lines.
void flaggedCards(const QString &path, Missing missing, HitList &hits);
void flaggedCards(const QString &path, Missing missing, QList<Hit> &hits);
// The clients whose Ricontatta, trimmed, is exactly "Sì", as recontact lines.
void clientsToRecontact(const QString &path, Missing missing, HitList &hits);
void clientsToRecontact(const QString &path, Missing missing, QList<Hit> &hits);

// The lines as the lists show them.
QString cardLine(const DatabaseRecord &record);
QString clientLine(const ClientRecord &record);
QString recontactLine(const ClientRecord &record);

// List order: a–z taken as A–Z, every other character by its code, a prefix
// before the longer line; equal lines by record position.
bool listsBefore(const Hit &a, const Hit &b);

// The in-list find behind "Trova": remembers the last text looked for.
class ListFind {
  public:
    // The row to select after a click on "Trova" with `typed` in the find box,
    // given the selected row (-1 for none) of `hits` (which must not be
    // empty): the first row holding the text for a new text, the next one
    // round the end for the same text again, the selected row when nothing
    // else holds it. A text found nowhere keeps the selected row (the first
    // row when none was selected).
    int next(const HitList &hits, int selected, QStringView typed);
    // Whether the last next() found its text on a line.
    bool lastFound() const { return m_found; }
    // Forgets the last text (each showing of a list window).
    void reset() { m_last.clear(); m_hasLast = false; }

  private:
    QString m_last;
    bool m_hasLast = false;
    bool m_found = false;
};

} // namespace search
