// Clients as vCard 3.0 (UTF-8, lines folded at 75 bytes, "\\", ",", ";" and
// line breaks escaped), both ways.
//
// Every field of the client card goes somewhere: the name to FN (and N, the
// last word as the given name), the residence to ADR;TYPE=HOME, the four
// numbers to TEL;TYPE=HOME / WORK / CELL / FAX, the e-mail to EMAIL, the date
// of birth to BDAY when it is a day written dd/mm/yyyy, the occupation to
// ROLE, the notes to NOTE, and every other field to an X-CARTAVERA-…
// property, so a card written and read back is the card it was.
//
// Reading accepts what address books write: folded lines, property groups
// ("item1.EMAIL"), TYPE lists in any form, CRLF or LF, and takes a file that
// is not valid UTF-8 as Windows-1252. A card without FN takes its name from N.
// Properties it does not know are skipped; of several telephone numbers of
// one kind the first wins and the others fill the free telephone fields.
#pragma once

#include "import/ImportPlan.h"
#include "storage/ClientRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace vcard {

// The vCard of one client, CRLF line ends.
QByteArray cardOf(const ClientRecord &client);

// Writes `clients` to `path` through the whole-file writer; raises
// StorageError::unableToWrite(<path>).
void writeFile(const QString &path, const QList<ClientRecord> &clients);
// Writes every client of the registry in `folder` to `path`, reading the
// record file in order; returns the number written.
qint64 exportRegistry(const AppFolder &folder, const QString &path);

// The clients of a vCard file's bytes; values cut or replaced to fit the
// client card are counted in `counts` (rows: the clients read).
QList<ClientRecord> read(QByteArrayView bytes, import::Counts &counts);
// Reads `path`; raises StorageError::unableToRead(<path>).
QList<ClientRecord> readFile(const QString &path, import::Counts &counts);

} // namespace vcard
