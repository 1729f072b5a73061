#include "CardArchive.h"

#include "Desktop.h"
#include "Shell.h"
#include "storage/AppFolder.h"
#include "storage/CardBin.h"
#include "storage/Journal.h"
#include "storage/RecordFile.h"
#include "storage/StorageError.h"
#include "storage/TextRules.h"

#include <QFileInfo>
#include <QLabel>

namespace cards {

namespace {

const QString kAccessError = QStringLiteral(
    "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere "
    "i privilegi di scrittura nella cartella di installazione del programma.");
const QString kSaveChanges = QStringLiteral("Salvare le modifiche alla scheda corrente?");
const QString kEmptyArchive = QStringLiteral("L'archivio non contiene nessuna scheda.");
const QString kCardUpdated =
    QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
const QString kCardInserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");
const QString kDuplicateNewCard = QStringLiteral(
    "Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che questa "
    "è stata inserita in archivio.");
const QString kDeleteNewCard = QStringLiteral(
    "La scheda corrente non è ancora stata inserita in archivio: non c'è nulla da eliminare.");
const QString kDuplicated = QStringLiteral(
    "E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\rAl termine "
    "premere Salva per inserire la scheda in archivio.");

bool isBlank(const QLabel *label) {
    return text::trimmed(label->text()).isEmpty();
}

// The position the label shows; 0 for a new card.
qint64 shownPosition(const QLabel *lblPosizione) {
    return text::trimmed(lblPosizione->text()).toLongLong();
}

} // namespace

Step step(Arrow arrow, qint64 count, qint64 shown) {
    const Step stay{Step::Stay};
    const Step empty{Step::EmptyArchive};
    switch (arrow) {
    case Arrow::First:
        return count == 0 ? empty : Step{Step::Show, 0};
    case Arrow::Last:
        return count == 0 ? empty : Step{Step::Show, count - 1};
    case Arrow::Next:
        if (count == 0)
            return empty;
        return shown < count ? Step{Step::Show, shown} : stay;
    case Arrow::Previous:
        if (shown == 1)
            return stay;
        if (count == 0)
            return empty;
        return Step{Step::Show, shown == 0 ? 0 : shown - 2};
    }
    return stay;
}

template <class R>
std::optional<Found<R>> move(QWidget *owner, const QLabel *lblPosizione, Arrow arrow) {
    Found<R> found{R(), 0};
    Step next{Step::Stay};
    try {
        TypedRecordFile<R> file;
        file.openOrCreate(shell().appFolder());
        const qint64 shown = shownPosition(lblPosizione);
        next = step(arrow, file.size(), shown);
        // The free slots of deleted cards are passed over in the arrow's
        // direction; with none but free slots that way, the arrow has nothing
        // to show (every slot free: the archive is empty).
        const bool forward = arrow == Arrow::First || arrow == Arrow::Next || shown == 0;
        while (next.kind == Step::Show) {
            file.seek(next.index); // raises for a position the archive does not have
            file.read(found.record);
            if (!isFreeSlot(found.record.data(), R::kSize))
                break;
            next.index += forward ? 1 : -1;
            if (next.index < 0 || next.index >= file.size())
                next = (arrow == Arrow::First || arrow == Arrow::Last || shown == 0)
                           ? Step{Step::EmptyArchive}
                           : Step{Step::Stay};
        }
        file.close();
    } catch (const StorageError &) {
        showAccessError(owner);
        return std::nullopt;
    }
    if (next.kind == Step::EmptyArchive)
        Desktop::current().message(owner, Desktop::Kind::Information, kEmptyArchive);
    if (next.kind != Step::Show)
        return std::nullopt;
    found.position = next.index + 1;
    return found;
}

template <class R>
Saved store(QWidget *owner, QLabel *lblPosizione, const R &record, const Beside &beside) {
    const bool stored = !isBlank(lblPosizione);
    qint64 position = shownPosition(lblPosizione);
    try {
        const AppFolder &folder = shell().appFolder();
        const QString archive = QString::fromLatin1(R::kLayout.fileName);
        Change change(folder, Change::Kind::Save);
        if (!stored) // after the last whole record, over a torn one
            position = QFileInfo(folder.file(archive)).size() / R::kSize + 1;
        change.keepRange(archive, (position - 1) * R::kSize, R::kSize);
        if (beside.names)
            for (const QString &name : beside.names(position))
                change.keepWhole(name);
        change.begin();
        TypedRecordFile<R> file;
        file.openOrCreate(folder);
        file.seek(position - 1); // raises for a position the archive does not have
        file.write(record);
        file.close();
        if (beside.write)
            beside.write(position);
        change.commit();
    } catch (const StorageError &) {
        showAccessError(owner);
        return Saved::Failed;
    }
    lblPosizione->setText(QString::number(position));
    return stored ? Saved::Overwritten : Saved::Appended;
}

void reportSaved(QWidget *owner, Saved how) {
    if (how != Saved::Failed)
        Desktop::current().message(owner, Desktop::Kind::Information,
                                   how == Saved::Overwritten ? kCardUpdated : kCardInserted);
}

template <class R>
void duplicate(QWidget *owner, QLabel *lblPosizione, const std::function<void()> &dropStoredOnly,
               const std::function<void()> &ready) {
    if (isBlank(lblPosizione)) {
        Desktop::current().message(owner, Desktop::Kind::Warning, kDuplicateNewCard);
        return;
    }
    dropStoredOnly();
    lblPosizione->clear();
    try {
        TypedRecordFile<R> file;
        file.openOrCreate(shell().appFolder());
        file.close();
    } catch (const StorageError &) {
        showAccessError(owner);
        return;
    }
    ready();
    Desktop::current().message(owner, Desktop::Kind::Information, kDuplicated);
}

bool sameTexts(const Record &a, const Record &b) {
    if (&a.layout() != &b.layout())
        return false;
    const qsizetype fields = a.layout().fields.size();
    for (int f = 0; f < fields; ++f)
        if (a.text(f) != b.text(f))
            return false;
    return true;
}

bool mayLeave(QWidget *owner, const std::function<bool()> &save) {
    switch (Desktop::current().message(owner, Desktop::Kind::SaveChanges, kSaveChanges)) {
    case Desktop::Answer::Yes:
        return save();
    case Desktop::Answer::No:
        return true;
    default:
        return false;
    }
}

template <class R>
qint64 remove(QWidget *owner, const QLabel *lblPosizione, const QString &question) {
    Desktop &desktop = Desktop::current();
    if (isBlank(lblPosizione)) {
        desktop.message(owner, Desktop::Kind::Warning, kDeleteNewCard);
        return 0;
    }
    const qint64 position = shownPosition(lblPosizione);
    if (desktop.message(owner, Desktop::Kind::Risky, question) != Desktop::Answer::Yes)
        return 0;
    try {
        cardbin::remove(shell().appFolder(), R::kLayout, position);
    } catch (const cardbin::Refused &e) {
        desktop.message(owner, Desktop::Kind::Warning, e.message());
        return 0;
    } catch (const StorageError &) {
        showAccessError(owner);
        return 0;
    }
    return position;
}

template <class R>
std::optional<Found<R>> replacement(QWidget *owner, const QLabel *lblPosizione) {
    if (auto found = move<R>(owner, lblPosizione, Arrow::Next))
        return found;
    return move<R>(owner, lblPosizione, Arrow::Previous);
}

void showAccessError(QWidget *owner) {
    Desktop::current().message(owner, Desktop::Kind::Error, kAccessError);
}

// The two archives of the program.
template std::optional<Found<DatabaseRecord>> move(QWidget *, const QLabel *, Arrow);
template std::optional<Found<ClientRecord>> move(QWidget *, const QLabel *, Arrow);
template Saved store(QWidget *, QLabel *, const DatabaseRecord &, const Beside &);
template Saved store(QWidget *, QLabel *, const ClientRecord &, const Beside &);
template void duplicate<DatabaseRecord>(QWidget *, QLabel *, const std::function<void()> &,
                                        const std::function<void()> &);
template void duplicate<ClientRecord>(QWidget *, QLabel *, const std::function<void()> &,
                                      const std::function<void()> &);
template qint64 remove<DatabaseRecord>(QWidget *, const QLabel *, const QString &);
template qint64 remove<ClientRecord>(QWidget *, const QLabel *, const QString &);
template std::optional<Found<DatabaseRecord>> replacement(QWidget *, const QLabel *);
template std::optional<Found<ClientRecord>> replacement(QWidget *, const QLabel *);

} // namespace cards
