#include "Search.h"

#include "Lines.h"
#include "ListOrder.h"
#include "Matching.h"
#include "storage/ClientRecord.h"
#include "storage/DatabaseRecord.h"
#include "storage/RecordFile.h"

#include <functional>

namespace search {
namespace {

using namespace detail;

// Reads the file at `path` once, in order, and sets `hits`, in list order, to
// the line of each record that `selects`. The hits found before a failure are
// set all the same.
template <class Selects>
void scan(const RecordLayout &layout, const QString &path, Missing missing, Selects selects,
          const LineKind &kind, bool selectsAll, HitList &hits) {
    if (missing == Missing::Create) {
        // As the windows open an archive: a missing file is created empty,
        // one that cannot be opened for reading and writing is an error.
        RecordFile file;
        file.openOrCreate(layout, path);
    }
    FoundLines found(kind);
    try {
        RecordScanner scanner(layout, path);
        if (selectsAll)
            found.reserve(scanner.count());
        // A deleted card's free slot is no card: never a hit.
        while (const char *record = scanner.nextCard())
            if (selects(record))
                found.add(scanner.position(), record);
    } catch (...) {
        hits = found.finish();
        throw;
    }
    hits = found.finish();
}

// Runs `search` into a HitList and appends its lines to `hits`, after a
// failure too.
template <class Search> void appending(QList<Hit> &hits, Search search) {
    HitList found;
    try {
        search(found);
    } catch (...) {
        hits.append(found.toList());
        throw;
    }
    hits.append(found.toList());
}

void find(const RecordLayout &layout, const QString &path, const QList<Filter> &filters,
          Missing missing, const LineKind &kind, HitList &hits) {
    Matcher matches(needlesFor(layout, filters), layout.size);
    scan(layout, path, missing, std::ref(matches), kind, matches.isEmpty(), hits);
}

constexpr int kCardFilterFields[] = {
    DatabaseField::Campo01,    DatabaseField::Campo02,   DatabaseField::Campo03,
    DatabaseField::Campo04,    DatabaseField::Campo05,   DatabaseField::Campo06,
    DatabaseField::Cliente,    DatabaseField::ComuneRes, DatabaseField::CodFisc,
    DatabaseField::PartitaIva,
};

constexpr int kClientFilterFields[] = {
    ClientField::Cliente,   ClientField::ComuneRes,   ClientField::PartitaIva, ClientField::CodFisc,
    ClientField::Documento, ClientField::Occupazione, ClientField::Prodotti,   ClientField::Zona,
    ClientField::Questioni, ClientField::Note,
};

} // namespace

std::span<const int> cardFilterFields() {
    return kCardFilterFields;
}

std::span<const int> clientFilterFields() {
    return kClientFilterFields;
}

void findCards(const QString &path, const QList<Filter> &filters, Missing missing,
               HitList &hits) {
    find(databaseLayout, path, filters, missing, kCardLine, hits);
}

void findCards(const QString &path, const QList<Filter> &filters, Missing missing,
               QList<Hit> &hits) {
    appending(hits, [&](HitList &found) { findCards(path, filters, missing, found); });
}

void findClients(const QString &path, const QList<Filter> &filters, Missing missing,
                 HitList &hits) {
    find(clientLayout, path, filters, missing, kClientLine, hits);
}

void findClients(const QString &path, const QList<Filter> &filters, Missing missing,
                 QList<Hit> &hits) {
    appending(hits, [&](HitList &found) { findClients(path, filters, missing, found); });
}

void flaggedCards(const QString &path, Missing missing, QList<Hit> &hits) {
    appending(hits, [&](HitList &found) { flaggedCards(path, missing, found); });
}

void clientsToRecontact(const QString &path, Missing missing, QList<Hit> &hits) {
    appending(hits, [&](HitList &found) { clientsToRecontact(path, missing, found); });
}

void flaggedCards(const QString &path, Missing missing, HitList &hits) {
    const FieldSlot &flag = databaseLayout.fields[DatabaseField::Segnala];
    scan(
        databaseLayout, path, missing, [&flag](const char *r) { return saysYes(r, flag); },
        kCardLine, false, hits);
}

void clientsToRecontact(const QString &path, Missing missing, HitList &hits) {
    const FieldSlot &flag = clientLayout.fields[ClientField::Ricontatta];
    scan(
        clientLayout, path, missing, [&flag](const char *r) { return saysYes(r, flag); },
        kRecontactLine, false, hits);
}

} // namespace search
