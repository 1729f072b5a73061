// The search engine behind the search and list windows and `cartavera-cli
// cerca`: one sequential pass over a record file, each filled filter matched on
// the raw Windows-1252 bytes of its field with A–Z-only case folding, only the
// hits decoded into their list lines, the lines sorted in list order. No
// widgets here. Its parts: Matching (the filters on the stored bytes), Lines,
// ListOrder, Scan (the pass over a file) and ListFind (the in-list find).
#pragma once

#include <QList>
#include <QString>
#include <QStringView>
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

// What a missing record file means: the windows create it empty, the
// command-line companion lists nothing and creates nothing.
enum class Missing { Create, Empty };

// Each function appends to `hits` the lines of the records it selects, in list
// order, and raises StorageError when the file cannot be opened or read; the
// hits found before a failure are then in `hits`, in list order.

// The cards of Database.pro where every filled filter occurs (all cards when
// no filter is filled), as card lines.
void findCards(const QString &path, const QList<Filter> &filters, Missing missing,
               QList<Hit> &hits);
// The clients of Clienti.pro where every filled filter occurs, as client lines.
void findClients(const QString &path, const QList<Filter> &filters, Missing missing,
                 QList<Hit> &hits);
// The cards whose flag Segnala, trimmed, is exactly "Sì", as card lines.
void flaggedCards(const QString &path, Missing missing, QList<Hit> &hits);
// The clients whose Ricontatta, trimmed, is exactly "Sì", as recontact lines.
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
    int next(const QList<Hit> &hits, int selected, QStringView typed);
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
