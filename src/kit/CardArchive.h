// The steps both workspaces take on their archive, each within one user event
// that opens the archive and closes it again: the four arrows, storing the
// card shown, and turning a stored card into a new one ("Duplica"); with the
// messages that go with them. A workspace holds its card in its controls and
// the card's record position in its label lblPosizione (empty for a card not
// yet stored): these steps read and set that label, and nothing else of the
// window.
//
// R is the record of the archive (DatabaseRecord, ClientRecord): the archive
// is the one its record type names, in the application folder.
#pragma once

#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <optional>

class QLabel;
class QWidget;
class Record;

namespace cards {

enum class Arrow { First, Previous, Next, Last };

// Where an arrow leads, given the archive's record count and the position
// shown (0 for a new card): to the record at `index` (0-based), nowhere (at
// either end), or to the empty-archive message. Neither arrow wraps around,
// and from a new card both "next" and "previous" bring up the first card.
struct Step {
    enum Kind { Show, Stay, EmptyArchive } kind;
    qint64 index = 0;
    bool operator==(const Step &) const = default;
};
Step step(Arrow arrow, qint64 count, qint64 shown);

// A record read from the archive and its record position (1-based).
template <class R> struct Found {
    R record;
    qint64 position;
};

// Runs `arrow` from the card lblPosizione names (a new card counts as
// position 0): opens the archive (a missing one is created empty), reads the
// record to show and closes the archive. Returns that record, or nothing when
// the arrow has nothing to show: at either end of the archive, or after the
// empty-archive or the access error message it has shown over `owner`.
template <class R>
std::optional<Found<R>> move(QWidget *owner, const QLabel *lblPosizione, Arrow arrow);

// How "Salva" stored a card.
enum class Saved { Failed, Overwritten, Appended };

// Files a save writes beside the record, in the same change: `names` lists
// the files (by name in the application folder) that `write` will replace
// for the card at `position`. `write` reports its own failure; the record is
// stored all the same and those files stay as they were.
struct Beside {
    std::function<QStringList(qint64 position)> names;
    std::function<void(qint64 position)> write;
};

// Writes `record` over the record lblPosizione names, or, for an empty label,
// at the end of the archive (over a torn trailing record, if there is one),
// then what `beside` writes, and sets the label to the record's position.
// Only that record is written. The whole save is one change: a kill or a
// power cut at any moment leaves the archive and the files beside it as
// before the save or as after it. On any failure the access error is shown,
// nothing has changed, the label keeps its text and the result is
// Saved::Failed.
template <class R>
Saved store(QWidget *owner, QLabel *lblPosizione, const R &record, const Beside &beside = {});

// The information box that tells the user how the card was stored.
void reportSaved(QWidget *owner, Saved how);

// "Duplica": warns, and does nothing else, for a card not yet stored.
// Otherwise the card shown becomes a new one: `dropStoredOnly` takes away
// what a copy does not carry (its attachments) and lblPosizione is emptied.
// Then the archive is opened (the access error ends the step there), `ready`
// runs (the focus goes to the first box) and the user is told how to store
// the copy. Nothing is written.
template <class R>
void duplicate(QWidget *owner, QLabel *lblPosizione, const std::function<void()> &dropStoredOnly,
               const std::function<void()> &ready);

// "Elimina": warns, and does nothing else, for a card not yet stored.
// Otherwise asks `question` ("No" is the default) and moves the card
// lblPosizione names into the bin (cardbin::remove): its slot becomes free.
// Returns the position freed, or 0 when nothing was deleted (the user said
// no, or the refusal or the access error was shown). The workspace then
// shows another card.
template <class R>
qint64 remove(QWidget *owner, const QLabel *lblPosizione, const QString &question);
// The card to show in place of the one just deleted: the next, else the one
// before; nothing (the workspace then shows a new card) when there is none.
template <class R>
std::optional<Found<R>> replacement(QWidget *owner, const QLabel *lblPosizione);

// Whether two cards hold the same texts, field by field, as the user reads
// them: blanks at either end, which the stored card drops, do not count.
bool sameTexts(const Record &a, const Record &b);

// Before the card shown is left while it holds changes not yet saved: asks
// whether to save them. "Sì" runs `save` (the workspace's own save, with its
// checks and messages; true once the card is stored), "No" discards them,
// "Annulla" stays. True when the workspace may go on and leave the card.
bool mayLeave(QWidget *owner, const std::function<bool()> &save);

// The error box of any failing step on an archive.
void showAccessError(QWidget *owner);

} // namespace cards
