// What windows hand each other. A window that opens windows of another folder
// does not know their classes: the registry hands it typed openers (its
// Destinations), each taking the owner and the values the opened window needs,
// and the opened window hands its result back through a function it is given.
#pragma once

#include "storage/ClientRecord.h"

#include <QString>
#include <functional>

class QWidget;

// Shows a record read from its archive in the workspace that opened a window,
// as that workspace's own navigation shows it.
template <class R> using LoadRecord = std::function<void(const R &record, qint64 position)>;

// A client's contact data as a database card keeps them: the texts of the
// eight boxes of the card's contact block, trimmed.
struct ContactBlock {
    QString cliente;
    QString indirizzoRes;
    QString comuneRes;
    QString provRes;
    QString email;
    QString recapito;
    QString codFisc;
    QString partitaIva;

    static ContactBlock of(const ClientRecord &client) {
        using namespace ClientField;
        return {client.text(Cliente), client.text(IndirizzoRes), client.text(ComuneRes),
                client.text(ProvRes), client.text(Email),        client.text(Recapito),
                client.text(CodFisc), client.text(PartitaIva)};
    }
    bool operator==(const ContactBlock &) const = default;
};

namespace opener {

// A window opened over `owner` with nothing more.
using Plain = std::function<void(QWidget *owner)>;
// A list or search over the archive of R; the record chosen goes to `load`.
template <class R> using RecordList = std::function<void(QWidget *owner, LoadRecord<R> load)>;
// The client pick: the chosen client's contact data go to `pick`.
using ContactPick =
    std::function<void(QWidget *owner, std::function<void(const ContactBlock &)> pick)>;
// A check window, opened on the text of the box it checks.
using Check = std::function<void(QWidget *owner, const QString &text)>;

// Opens `open` with `args`; a destination the registry left empty does nothing.
template <class F, class... Args> void go(const F &open, Args &&...args) {
    if (open)
        open(std::forward<Args>(args)...);
}

} // namespace opener
