#include "Search.h"

#include "Lines.h"
#include "ListOrder.h"
#include "Matching.h"
#include "storage/ClientRecord.h"
#include "storage/DatabaseRecord.h"
#include "storage/RecordFile.h"

#include <exception>
#include <functional>
#include <future>
#include <memory>
#include <utility>

namespace search {
namespace {

using namespace detail;

// A file of at least this many records is read in two halves at once, one on
// each core.
constexpr qint64 kHalvesFrom = 50'000;

// Adds to `found` the line of each record of `scanner` that `selects`; the
// failure that stopped it, if any.
template <class Selects>
std::exception_ptr collect(RecordScanner &scanner, Selects &selects, bool selectsAll,
                           FoundLines &found) {
    try {
        if (selectsAll)
            found.reserve(scanner.count());
        // A deleted card's free slot is no card: never a hit.
        while (const char *record = scanner.nextCard())
            if (selects(record))
                found.add(scanner.position(), record);
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

// Reads the file at `path` once, in order, and sets `hits`, in list order, to
// the line of each record that `selects` (a copy of it for each half of a
// large file). The hits found before a failure are set all the same.
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
    std::exception_ptr failure;
    try {
        RecordScanner scanner(layout, path);
        const qint64 count = scanner.count();
        if (count < kHalvesFrom) {
            failure = collect(scanner, selects, selectsAll, found);
        } else {
            // The second half on the other core (or here, at get(), when no
            // thread can be had), into lines of its own that follow the first
            // half's.
            const qint64 half = count / 2;
            auto second = std::async(std::launch::async | std::launch::deferred,
                                     [&layout, &path, &kind, selectsAll, half, count,
                                      selects]() mutable {
                auto later = std::make_unique<FoundLines>(kind);
                std::exception_ptr failed;
                try {
                    RecordScanner rest(layout, path);
                    rest.limit(half, count);
                    failed = collect(rest, selects, selectsAll, *later);
                } catch (...) {
                    failed = std::current_exception();
                }
                return std::make_pair(std::move(later), failed);
            });
            // Room for both halves' lines: taking the second half's then
            // moves nothing.
            if (selectsAll)
                found.reserve(count);
            scanner.limit(0, half);
            failure = collect(scanner, selects, selectsAll, found);
            auto [later, failed] = second.get();
            // Past a failure in the first half, the second half's lines are
            // after it: they are left out.
            if (!failure) {
                found.adopt(std::move(*later));
                failure = failed;
            }
        }
    } catch (...) {
        failure = std::current_exception();
    }
    hits = found.finish();
    if (failure)
        std::rethrow_exception(failure);
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
    const bool all = matches.isEmpty();
    scan(layout, path, missing, std::move(matches), kind, all, hits);
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
