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

// Reads the file at `path` once, in order, and appends to `hits`, in list
// order, the line of each record that `selects`. The hits found before a
// failure are appended all the same.
template <class Selects>
void scan(const RecordLayout &layout, const QString &path, Missing missing, Selects selects,
          const LineKind &kind, bool selectsAll, QList<Hit> &hits) {
    if (missing == Missing::Create) {
        // As the windows open an archive: a missing file is created empty,
        // one that cannot be opened for reading and writing is an error.
        RecordFile file;
        file.openOrCreate(layout, path);
    }
    FoundLines found;
    try {
        RecordScanner scanner(layout, path);
        if (selectsAll)
            found.reserve(scanner.count(), &kind == &kCardLine ? kCardLineLength : kClientColumns);
        // A deleted card's free slot is no card: never a hit.
        while (const char *record = scanner.nextCard())
            if (selects(record))
                found.add(scanner.position(), kind, record);
    } catch (...) {
        found.appendInListOrder(hits);
        throw;
    }
    found.appendInListOrder(hits);
}

void find(const RecordLayout &layout, const QString &path, const QList<Filter> &filters,
          Missing missing, const LineKind &kind, QList<Hit> &hits) {
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
               QList<Hit> &hits) {
    find(databaseLayout, path, filters, missing, kCardLine, hits);
}

void findClients(const QString &path, const QList<Filter> &filters, Missing missing,
                 QList<Hit> &hits) {
    find(clientLayout, path, filters, missing, kClientLine, hits);
}

void flaggedCards(const QString &path, Missing missing, QList<Hit> &hits) {
    const FieldSlot &flag = databaseLayout.fields[DatabaseField::Segnala];
    scan(
        databaseLayout, path, missing, [&flag](const char *r) { return saysYes(r, flag); },
        kCardLine, false, hits);
}

void clientsToRecontact(const QString &path, Missing missing, QList<Hit> &hits) {
    const FieldSlot &flag = clientLayout.fields[ClientField::Ricontatta];
    scan(
        clientLayout, path, missing, [&flag](const char *r) { return saysYes(r, flag); },
        kRecontactLine, false, hits);
}

} // namespace search
