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
// one kind the first wins and the others fill the free telephone fields. A
// job title (TITLE, or ROLE) and the organisation (ORG) make the occupation:
// "Responsabile acquisti, Ditta Srl". What no field can hold (a second
// e-mail, a fourth telephone) is counted, not stored.
#pragma once

#include "import/ImportPlan.h"
#include "import/TableReader.h"
#include "storage/ClientRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

namespace vcard {

// The vCard of one client, CRLF line ends.
QByteArray cardOf(const ClientRecord &client);

// Writes `clients` to `path` through the whole-file writer; raises
// StorageError::unableToWrite(<path>).
void writeFile(const QString &path, const QList<ClientRecord> &clients);
// Writes every client of the registry in `folder` to `path`, reading the
// record file in order; returns the number written.
qint64 exportRegistry(const AppFolder &folder, const QString &path);

// Whether a file's first bytes (a byte order mark and blank lines aside)
// begin a vCard.
bool looksLikeVCard(QByteArrayView head);
// Whether every unfolded content line of the vCard at `path`, from `start`,
// is valid UTF-8 (a fold may split a character); nothing when `progress`
// stopped the reading.
std::optional<bool> isUtf8Unfolded(const QString &path, qint64 start,
                                   const import::Progress &progress = {});

// A vCard file read as a table, so that the import's mapping window takes
// it as it takes a CSV: a first row of column titles, one per field of the
// client card in field order, each naming the property it comes from; then
// one row per card in file order, an empty card a blank row. Values a card
// has no field for are counted in droppedInRow().
std::unique_ptr<import::TableReader> openReader(const QString &path, qint64 start,
                                                import::TableEncoding encoding);
// The column titles of that first row.
const QStringList &columnTitles();

// The clients of a vCard file as the import stores them with the columns
// mapped as proposed; counts as the import counts them (no clients when the
// file is no vCard). Raises as import::openTable does.
QList<ClientRecord> readFile(const QString &path, import::Counts &counts);

} // namespace vcard
