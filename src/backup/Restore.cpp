// Restoring a backup: the archive checked, the current data saved, the
// archive unpacked into a staging folder and moved into place, all under the
// folder's journal.
#include "Backup.h"

#include "Failures.h"
#include "FileSteps.h"
#include "ZipReader.h"
#include "storage/DataSet.h"
#include "storage/Journal.h"

#include <QDir>
#include <QScopeGuard>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <atomic>
#include <chrono>
#include <future>
#include <unistd.h>
#include <zip.h>

namespace backup {

using Kind = BackupError::Kind;
using dataset::restoreRank;

QList<Entry> checkRestore(const AppFolder &folder, const QString &path, bool readAll,
                          const Progress &progress) {
    const QList<Entry> entries = checkArchive(path, readAll, progress);
    // A name of the data set taken in the folder by something else (a file
    // named like a card folder, a folder named like a photo, a link) is the
    // user's and is never moved or deleted: the restore does not start.
    QSet<QString> tops;
    for (const Entry &e : entries)
        tops.insert(e.name.section(u'/', 0, 0));
    for (const QString &top : tops) {
        const QFileInfo here(folder.file(top));
        if (!lies(here.filePath()))
            continue;
        const bool folderItem = dataset::isFolderItem(dataset::itemOf(top));
        if (here.isSymLink() || (folderItem ? !here.isDir() : !here.isFile()))
            raise(Kind::Unsafe, QStringLiteral("nella cartella %1 c'è già \"%2\", che non è un "
                                               "dato dell'archivio: spostarlo o rinominarlo e "
                                               "riprovare")
                                    .arg(native(folder.path()), top));
    }
    const qint64 total = totalSize(entries);
    const QStorageInfo disk(folder.path());
    if (disk.isValid() && disk.bytesAvailable() >= 0 && total > disk.bytesAvailable())
        raise(Kind::File, QStringLiteral("spazio insufficiente: servono %1 MB liberi nella "
                                         "cartella %2")
                              .arg((total >> 20) + 1)
                              .arg(native(folder.path())));
    return entries;
}

void removeLeftoverRestores(const AppFolder &folder) {
    const QDir top(folder.path());
    for (const QString &name : top.entryList({QLatin1String(kStagingPrefix) + u'*'},
                                             QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        QDir(top.filePath(name)).removeRecursively();
}

namespace {

// Unpacks the files of `entries` from the archive at `path` into `into` (a
// folder of the application folder), each synced; reports the bytes written
// to `done` and stops, raising Cancelled, once `stop` is set.
int extract(const AppFolder &folder, const QString &path, const QList<Entry> &entries,
            const QString &into, std::atomic<qint64> &done, const std::atomic<bool> &stop) {
    if (!QDir().mkpath(folder.file(into)))
        cannotWrite(folder.file(into));
    Zip zip = openArchive(path);
    if (listEntries(zip.z, path).size() != entries.size())
        damaged(path, QStringLiteral("l'archivio è cambiato durante il ripristino"));
    const Progress report = [&done, &stop](Stage, qint64 bytes, qint64) {
        done = bytes;
        return !stop;
    };
    ProgressState state{&report, totalSize(entries), Stage::Extracting};
    qint64 bytes = 0;
    int files = 0;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const Entry &e = entries[i];
        const QString to = folder.file(into + u'/' + e.name);
        if (e.folder) {
            if (!QDir().mkpath(to))
                cannotWrite(to);
            continue;
        }
        if (!QDir().mkpath(QFileInfo(to).path()))
            cannotWrite(to);
        QFile out(to);
        if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            cannotWrite(to);
        readEntry(zip.z, zip_uint64_t(i), e, path, &out, bytes, state);
        if (!out.flush() || out.error() != QFileDevice::NoError || out.size() != e.size ||
            ::fsync(out.handle()) != 0)
            cannotWrite(to);
        out.close();
        ++files;
    }
    return files;
}

} // namespace

Restored restore(const AppFolder &folder, const QString &path, const QString &backupsFolder,
                 const Progress &progress) {
    Restored restored;
    QList<Entry> entries;
    // The data set as it is now, walked once: the program holds the folder,
    // so it does not change until the restore moves it.
    const QList<Item> current = dataItems(folder);
    // The archive is unpacked into a staging folder in the application folder
    // ("nuovi"); the items it replaces are moved aside there ("precedenti"),
    // and the staging folder goes once the change is done. One a killed
    // restore leaves is removed at the next start.
    const QString staging = QLatin1String(kStagingPrefix) +
                            QString::number(QDateTime::currentMSecsSinceEpoch(), 36);
    const QString fresh = staging + QStringLiteral("/nuovi");
    const QString old = staging + QStringLiteral("/precedenti");
    const auto dropStaging = [&] { QDir(folder.file(staging)).removeRecursively(); };
    try {
        // Everything the directory tells is checked before a byte is written.
        entries = checkRestore(folder, path, false);
        // The archive is unpacked on the other core while the safety backup
        // of the data as they are is made on this one: nothing the user has
        // changes until both are done.
        std::atomic<qint64> extracted = 0;
        std::atomic<bool> stop = false;
        // (Unpacked here after the safety backup when no thread can be had.)
        std::future<int> unpacking = std::async(std::launch::async | std::launch::deferred, [&] {
            return extract(folder, path, entries, fresh, extracted, stop);
        });
        // Stopped and waited for when the safety backup fails.
        const auto stopUnpacking = qScopeGuard([&] {
            stop = true;
            if (unpacking.valid())
                unpacking.wait();
        });
        // A folder without data has nothing to keep.
        if (!current.isEmpty())
            restored.safetyBackup =
                makeBackup(folder, freeArchivePath(backupsFolder, QDateTime::currentDateTime()),
                           progress)
                    .path;
        const qint64 total = totalSize(entries);
        // What is left of the unpacking, reported (at least once) and
        // cancellable until the moves begin.
        do {
            if (progress && !progress(Stage::Extracting, extracted, total))
                stop = true;
        } while (unpacking.wait_for(std::chrono::milliseconds(50)) ==
                 std::future_status::timeout);
        restored.files = unpacking.get();
        if (stop)
            cancelled();
    } catch (const StorageError &e) {
        dropStaging();
        const auto *failure = dynamic_cast<const BackupError *>(&e);
        const Kind kind = failure ? failure->kind() : Kind::File;
        if (kind == Kind::Cancelled)
            throw;
        raise(kind, e.message() + QStringLiteral("; nessun dato è stato cambiato"));
    }

    // The items of the application folder to replace, in order: everything
    // the archive holds or the data set has now, the record files last. A
    // password file the archive lacks stays: after the restore someone must
    // still be able to log in.
    QStringList tops;
    for (const Entry &e : entries)
        tops << e.name.section(u'/', 0, 0);
    for (const Item &item : current)
        if (item.name != QLatin1String(dataset::kPasswordFile))
            tops << item.name.section(u'/', 0, 0);
    tops.removeDuplicates();
    std::stable_sort(tops.begin(), tops.end(), [](const QString &a, const QString &b) {
        return restoreRank(a) < restoreRank(b);
    });

    // The moves are one change under the journal: a kill or a power cut
    // anywhere leaves, after the next start, the folder as it was before or
    // as the archive has it.
    try {
        Change change(folder, Change::Kind::Restore);
        change.keepNewFolder(staging);
        for (const QString &top : tops) {
            change.keepRename(top, old + u'/' + top);
            change.keepRename(fresh + u'/' + top, top);
        }
        change.begin();
        if (!QDir().mkpath(folder.file(old)))
            cannotWrite(folder.file(staging));
        for (const QString &top : tops) {
            const QString here = folder.file(top);
            if (lies(here) && !renameOver(here, folder.file(old + u'/' + top)))
                cannotWrite(here);
            const QString incoming = folder.file(fresh + u'/' + top);
            if (lies(incoming)) {
                if ((moveHook() && !moveHook()(top)) || !renameOver(incoming, here))
                    cannotWrite(here);
            }
        }
        change.commit();
    } catch (const StorageError &e) {
        // The change has been put back (or will be at the next start).
        const auto *failure = dynamic_cast<const BackupError *>(&e);
        const Kind kind = failure ? failure->kind() : Kind::File;
        if (kind == Kind::Cancelled)
            throw;
        raise(kind, e.message() + QStringLiteral("; nessun dato è stato cambiato"));
    }
    // Done: what the restore replaced is in the safety backup.
    dropStaging();
    return restored;
}

} // namespace backup
