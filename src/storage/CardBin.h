// Deleting a card or a client, and the bin that gives it back.
//
// Record positions never change (a card's photo <P>.jpg and its folder
// Scheda_<P> are named after its position), so a deleted card leaves its
// slot in the record file: the slot is overwritten with a record of zero
// bytes, which no saved card can be (a saved card always holds its flag,
// "Sì" or "No"). Readers of the record file that know nothing of the bin see
// a card with every field empty; this program leaves free slots out of
// everything it shows, lists, counts and exports. A new card still goes at
// the end: slots are not reused.
//
// What the card held moves into the bin, the folder Cestino in the
// application folder, one folder per deleted card, named for the archive,
// the position and the moment of the delete ("Database_12_20261211-101530-123"):
//   scheda.pro   the record's bytes as they were
//   12.jpg       the card's photo, if it had one (database cards)
//   Scheda_12/   the card's folder, if it had one (database cards)
// The attachments stay in Documenti_Allegati, where other cards may name the
// same files: the record in the bin still names them.
//
// A delete and a give-back are one change each under the journal: a kill at
// any instant leaves the card in the archive or in the bin, never in both
// and never in neither.
#pragma once

#include "AppFolder.h"
#include "MessageError.h"
#include "RecordLayout.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace cardbin {

// A bin entry refused to go back, or a position that holds no card to
// delete; message() is the text for the user.
class Refused : public MessageError {
  public:
    using MessageError::MessageError;
};

// One deleted card.
struct Entry {
    QString name;                        // its folder in the bin
    const RecordLayout *layout = nullptr; // which archive it came from
    qint64 position = 0;                  // 1-based
    QDateTime deleted;
    QByteArray record; // the record's bytes
};

// Moves the card at `position` (1-based) of the archive of `layout` into
// the bin, with its photo and card folder; its slot becomes free. Raises
// Refused for a position the archive does not have or that is already free,
// StorageError when a file cannot be read or written (nothing has changed).
Entry remove(const AppFolder &folder, const RecordLayout &layout, qint64 position,
             const QDateTime &when = QDateTime::currentDateTime());

// The entries of the bin, the most recent first; folders that are not bin
// entries, and entries without a whole, regular record file, are left out.
QList<Entry> entries(const AppFolder &folder);

// Puts the entry back at its own position, byte for byte, with its photo and
// card folder, and takes it out of the bin. Raises Refused when its position
// holds a card again (a restore of a backup made before the delete can do
// that) or no longer exists, or when its photo or folder name is taken;
// StorageError when a file cannot be read or written (nothing has changed).
void giveBack(const AppFolder &folder, const QString &entryName);

// Removes an entry from the bin for good.
void discard(const AppFolder &folder, const QString &entryName);

// Removes what a discard or a give-back killed midway left behind.
void removeLeftovers(const AppFolder &folder);

} // namespace cardbin
