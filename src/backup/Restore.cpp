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
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
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

Restored restore(const AppFolder &folder, const QString &path, const QString &backupsFolder,
                 const Progress &progress) {
    Restored restored;
    QList<Entry> entries;
    // The data set as it is now, walked once: the program holds the folder,
    // so it does not change until the restore moves it.
    const QList<Item> current = dataItems(folder);
    try {
        // Everything the directory tells is checked before a byte is written.
        entries = checkRestore(folder, path, false);
        // A folder without data has nothing to keep.
        if (!current.isEmpty())
            restored.safetyBackup =
                makeBackup(folder, freeArchivePath(backupsFolder, QDateTime::currentDateTime()),
                           progress)
                    .path;
    } catch (const BackupError &e) {
        if (e.kind() == Kind::Cancelled)
            throw;
        raise(e.kind(), e.message() + QStringLiteral("; nessun dato è stato cambiato"));
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

    // The whole restore is one change under the journal: a kill or a power
    // cut anywhere leaves, after the next start, the folder as it was before
    // or as the archive has it. The archive is unpacked into a staging folder
    // in the application folder ("nuovi"); the items it replaces are moved
    // aside there ("precedenti"), and the staging folder goes once the change
    // is done.
    const QString staging = QLatin1String(kStagingPrefix) +
                            QString::number(QDateTime::currentMSecsSinceEpoch(), 36);
    const QString fresh = staging + QStringLiteral("/nuovi");
    const QString old = staging + QStringLiteral("/precedenti");
    try {
        Change change(folder, Change::Kind::Restore);
        change.keepNewFolder(staging);
        for (const QString &top : tops) {
            change.keepRename(top, old + u'/' + top);
            change.keepRename(fresh + u'/' + top, top);
        }
        change.begin();
        if (!QDir().mkpath(folder.file(fresh)) || !QDir().mkpath(folder.file(old)))
            cannotWrite(folder.file(staging));
        {
            Zip zip = openArchive(path);
            if (listEntries(zip.z, path).size() != entries.size())
                damaged(path, QStringLiteral("l'archivio è cambiato durante il ripristino"));
            ProgressState state{&progress, totalSize(entries), Stage::Extracting};
            qint64 done = 0;
            for (qsizetype i = 0; i < entries.size(); ++i) {
                const Entry &e = entries[i];
                const QString to = folder.file(fresh + u'/' + e.name);
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
                readEntry(zip.z, zip_uint64_t(i), e, path, &out, done, state);
                if (!out.flush() || out.error() != QFileDevice::NoError || out.size() != e.size ||
                    ::fsync(out.handle()) != 0)
                    cannotWrite(to);
                out.close();
                ++restored.files;
            }
        }
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
    QDir(folder.file(staging)).removeRecursively();
    return restored;
}

} // namespace backup
