#include "BackupWindows.h"

#include "Backup.h"
#include "kit/Desktop.h"
#include "storage/ArchiveSettings.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace backup {

namespace {

using Kind = Desktop::Kind;


QString native(const QString &path) {
    return QDir::toNativeSeparators(path);
}

QString rememberedFolder(const AppFolder &folder) {
    return ArchiveSettings(folder).backupFolder();
}

// The labels of a run's stages, in the order of Stage.
const char *const kStageLabels[] = {"Scrittura della copia di sicurezza...",
                                    "Controllo della copia di sicurezza...",
                                    "Lettura della copia da ripristinare..."};

QString labelOf(Stage stage) {
    return QString::fromUtf8(kStageLabels[int(stage)]);
}

// A run's progress shown in `window`, each stage under its own label; the
// window's "Annulla" stops the run.
Progress shownIn(ProgressWindow &window) {
    return [&window](Stage stage, qint64 done, qint64 total) {
        window.setLabel(labelOf(stage));
        return window.advance(done, total);
    };
}

} // namespace

bool makeBackupFromWindow(QWidget *parent, const AppFolder &folder) {
    Desktop &desktop = Desktop::current();
    const QString chosen =
        desktop.folderName(parent, QStringLiteral("Scegliere la cartella delle copie di sicurezza"),
                           rememberedFolder(folder));
    if (chosen.isEmpty())
        return false;
    const QString target = QDir(chosen).absolutePath();
    try {
        if (rememberedFolder(folder) != target)
            ArchiveSettings(folder).setBackupFolder(target);
    } catch (const StorageError &) {
        // Not remembering the folder does not stop the backup.
    }
    try {
        Made made;
        {
            // The progress window is gone before the answer shows.
            const auto window = desktop.progress(parent, QStringLiteral("Copia di sicurezza"),
                                                 labelOf(Stage::Writing));
            made = makeBackup(folder, freeArchivePath(target, QDateTime::currentDateTime()),
                              shownIn(*window));
        }
        desktop.message(parent, Kind::Information,
                        QStringLiteral("Copia di sicurezza completata e verificata.\n\n"
                                       "%1 file salvati in:\n%2")
                            .arg(made.files)
                            .arg(native(made.path)));
        return true;
    } catch (const BackupError &e) {
        if (e.kind() == BackupError::Kind::Cancelled)
            desktop.message(parent, Kind::Information,
                            QStringLiteral("Copia di sicurezza annullata: nessuna copia è stata "
                                           "scritta."));
        else
            desktop.message(parent, Kind::Error,
                            QStringLiteral("Impossibile completare la copia di sicurezza: %1.\n\n"
                                           "Nessuna copia è stata scritta.")
                                .arg(e.message()));
    }
    return false;
}

bool restoreFromWindow(QWidget *parent, const AppFolder &folder) {
    Desktop &desktop = Desktop::current();
    const QString path = desktop.openFileName(
        parent, QStringLiteral("Scegliere la copia di sicurezza da ripristinare"),
        QStringLiteral("Copia di sicurezza (*.zip)"), rememberedFolder(folder));
    if (path.isEmpty())
        return false;
    QString backups = rememberedFolder(folder);
    if (backups.isEmpty() || !QFileInfo(backups).isDir())
        backups = QFileInfo(path).absolutePath();
    try {
        // Every check, every entry read back included, before the question:
        // the user is never asked to confirm an archive that cannot be restored.
        QList<Entry> entries;
        {
            const auto window =
                desktop.progress(parent, QStringLiteral("Controllo della copia di sicurezza"),
                                 labelOf(Stage::Checking));
            entries = checkRestore(folder, path, true, shownIn(*window));
        }
        int files = 0;
        for (const Entry &e : entries)
            files += e.folder ? 0 : 1;
        const Desktop::Answer answer = desktop.message(
            parent, Kind::Risky,
            QStringLiteral(
                "Ripristinare la copia di sicurezza %1?\n\n"
                "Tutti i dati attuali (schede, clienti, impostazioni dell'archivio, password "
                "d'accesso, logo, foto, documenti allegati e cartelle delle schede) saranno "
                "sostituiti da quelli della copia (%2 file).\n\n"
                "Prima del ripristino i dati attuali saranno salvati in una nuova copia di "
                "sicurezza nella cartella %3.")
                .arg(native(QFileInfo(path).fileName()))
                .arg(files)
                .arg(native(backups)));
        if (answer != Desktop::Answer::Yes)
            return false;
        Restored restored;
        {
            const auto window =
                desktop.progress(parent, QStringLiteral("Ripristino"), labelOf(Stage::Writing));
            restored = restore(folder, path, backups, shownIn(*window));
        }
        desktop.message(parent, Kind::Information,
                        QStringLiteral("Ripristino completato: %1 file ripristinati.\n\n"
                                       "I dati di prima sono nella copia di sicurezza:\n%2")
                            .arg(restored.files)
                            .arg(native(restored.safetyBackup)));
        return true;
    } catch (const BackupError &e) {
        if (e.kind() == BackupError::Kind::Cancelled)
            desktop.message(parent, Kind::Information,
                            QStringLiteral("Ripristino annullato: nessun dato è stato cambiato."));
        else
            desktop.message(parent, Kind::Error,
                            QStringLiteral("Impossibile ripristinare la copia di sicurezza: %1.")
                                .arg(e.message()));
    }
    return false;
}

} // namespace backup
