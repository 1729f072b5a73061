#include "FolderStart.h"

#include "backup/Backup.h"
#include "kit/Desktop.h"
#include "storage/CardBin.h"
#include "storage/Journal.h"
#include "storage/StorageError.h"
#include "storage/WholeFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kAlreadyOpen = QStringLiteral(
    "L'archivio della cartella\n\r\n\r%1\n\r\n\rè già aperto in un'altra finestra di Cartavera: "
    "usare quella finestra, oppure chiuderla e avviare di nuovo il programma.");
const QString kNotRecovered = QStringLiteral(
    "Attenzione: l'ultima modifica all'archivio della cartella\n\r\n\r%1\n\r\n\rnon era "
    "terminata e non è stato possibile annullarla. Accertarsi di possedere i privilegi di "
    "scrittura nella cartella e avviare di nuovo il programma.");
const QString kNotPrepared = QStringLiteral(
    "Non è stato possibile preparare la cartella dell'applicazione\n\r\n\r%1\n\r\n\r(%2). "
    "Accertarsi di possedere i privilegi di scrittura nella cartella, oppure indicarne un'altra "
    "con la variabile d'ambiente CARTAVERA_HOME, e avviare di nuovo il programma.");

QString recoveredMessage(Change::Kind kind) {
    switch (kind) {
    case Change::Kind::Save:
        return QStringLiteral("L'ultimo salvataggio di una scheda non era terminato: la scheda è "
                              "stata riportata com'era prima del salvataggio.");
    case Change::Kind::PasswordChange:
        return QStringLiteral("L'ultima modifica della password non era terminata: resta valida "
                              "la password precedente.");
    case Change::Kind::Settings:
        return QStringLiteral("L'ultima modifica delle impostazioni non era terminata: restano "
                              "valide le impostazioni precedenti.");
    case Change::Kind::Import:
        return QStringLiteral("L'ultima importazione non era terminata: l'archivio è stato "
                              "riportato com'era prima di iniziarla, senza nessuna delle righe "
                              "importate.");
    case Change::Kind::Restore:
        return QStringLiteral("L'ultimo ripristino di una copia di sicurezza non era terminato: "
                              "i dati sono stati riportati com'erano prima del ripristino.");
    case Change::Kind::Delete:
        return QStringLiteral("L'ultima eliminazione di una scheda non era terminata: la scheda "
                              "è ancora nell'archivio.");
    case Change::Kind::GiveBack:
        return QStringLiteral("L'ultimo ripristino di una scheda dal cestino non era terminato: "
                              "la scheda è ancora nel cestino.");
    case Change::Kind::Discard:
        return QStringLiteral("L'ultima eliminazione definitiva dal cestino non era terminata: "
                              "la scheda è ancora nel cestino.");
    }
    return QStringLiteral("L'ultima modifica all'archivio non era terminata ed è stata annullata.");
}

} // namespace

bool openFolder(const AppFolder &folder, FolderLock &lock) {
    Desktop &desktop = Desktop::current();
    const QString shown = QDir::toNativeSeparators(folder.path());
    if (lock.holdProgram() == FolderLock::Result::Busy) {
        desktop.message(nullptr, Desktop::Kind::Warning, kAlreadyOpen.arg(shown));
        return false;
    }
    try {
        // A whole-file write killed before its rename left its temporary
        // file; the file it was replacing is whole.
        removeLeftoverTemporaries(folder.path());
        for (const QFileInfo &sub : QDir(folder.path()).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
            removeLeftoverTemporaries(sub.filePath());
        const auto recovered = journal::recover(folder);
        // A restore that ended (or was put back) may have left its staging folder.
        backup::removeLeftoverRestores(folder);
        // A card taken out of the bin by a killed program.
        cardbin::removeLeftovers(folder);
        if (recovered)
            desktop.message(nullptr, Desktop::Kind::Information,
                            recoveredMessage(recovered->kind));
    } catch (const StorageError &) {
        desktop.message(nullptr, Desktop::Kind::Error, kNotRecovered.arg(shown));
        return false;
    }
    return true;
}

bool prepareFolder(const apphome::Place &place) {
    if (!place.installed())
        return true;
    try {
        apphome::furnish(place.folder, place.delivered);
    } catch (const StorageError &e) {
        Desktop::current().message(
            nullptr, Desktop::Kind::Error,
            kNotPrepared.arg(QDir::toNativeSeparators(place.folder), e.message()));
        return false;
    }
    return true;
}
