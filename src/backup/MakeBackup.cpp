// Making a backup: the data set written into a ZIP archive beside its
// target, read back and checked, then renamed onto the target.
#include "Backup.h"

#include "Failures.h"
#include "FileSteps.h"
#include "ZipReader.h"
#include "storage/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QScopeGuard>
#include <fcntl.h>
#include <future>
#include <sys/file.h>
#include <unistd.h>
#include <zip.h>

namespace backup {

using Kind = BackupError::Kind;

constexpr zip_uint32_t kDeflateLevel = 2;

Made makeBackup(const AppFolder &folder, const QString &target, const Progress &progress) {
    const QString app = QDir(folder.path()).canonicalPath();
    if (app.isEmpty())
        raise(Kind::File, QStringLiteral("la cartella %1 non esiste").arg(native(folder.path())));
    // Never over a file of the data set, under any name or link.
    const QFileInfo targetInfo(target);
    const QString parent = targetInfo.absoluteDir().canonicalPath();
    if (parent.isEmpty())
        raise(Kind::File,
              QStringLiteral("la cartella %1 non esiste").arg(native(targetInfo.absolutePath())));
    const QString inApp = QDir(app).relativeFilePath(parent + u'/' + targetInfo.fileName());
    if ((!inApp.startsWith(QStringLiteral("../")) && isDataName(inApp)))
        raise(Kind::File, QStringLiteral("%1 fa parte dei dati: la copia non lo sovrascrive")
                              .arg(native(target)));
    if (!canReplace(target))
        cannotWrite(target);

    const QList<Item> items = dataItems(folder);
    if (items.isEmpty())
        raise(Kind::File,
              QStringLiteral("la cartella %1 non contiene dati da salvare").arg(native(app)));
    qint64 total = 0;
    QHash<QString, qint64> sizes;
    for (const Item &item : items)
        if (!item.folder)
            total += sizes[item.name] = QFileInfo(folder.file(item.name)).size();

    // One backup at a time writes into a folder of backups (a lock on the
    // folder itself, which the kernel drops when the process ends); the one
    // that holds it removes what killed backups left there (their ".zip.part"
    // files and libzip's temporary files beside them).
    const QDir targetFolder = QFileInfo(target).absoluteDir();
    const int lock =
        ::open(encoded(targetFolder.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const auto unlock = qScopeGuard([lock] {
        if (lock >= 0)
            ::close(lock);
    });
    if (lock >= 0 && ::flock(lock, LOCK_EX) == 0)
        for (const QString &name :
             targetFolder.entryList({QStringLiteral("*.zip.part"), QStringLiteral("*.zip.part.*")},
                                    QDir::Files | QDir::Hidden))
            QFile::remove(targetFolder.filePath(name));

    const QString part = target + QStringLiteral(".part");
    Made made{target, 0, total};
    std::future<QHash<QString, std::pair<quint32, qint64>>> sourceCrcs;
    {
        Zip zip;
        int code = 0;
        zip.z = zip_open(encoded(part).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
        if (!zip.z)
            cannotWrite(part);
        for (const Item &item : items) {
            const QByteArray name =
                (item.name + (item.folder ? QStringLiteral("/") : QString())).toUtf8();
            zip_int64_t index = -1;
            if (item.folder) {
                index = zip_dir_add(zip.z, item.name.toUtf8().constData(), ZIP_FL_ENC_UTF_8);
            } else {
                zip_source_t *source =
                    zip_source_file(zip.z, encoded(folder.file(item.name)).constData(), 0, -1);
                if (!source)
                    cannotRead(folder.file(item.name));
                index = zip_file_add(zip.z, name.constData(), source, ZIP_FL_ENC_UTF_8);
                if (index < 0) {
                    zip_source_free(source);
                    cannotRead(folder.file(item.name));
                }
                // Pictures are compressed already, and are stored. Anything
                // else is deflated at level 2: a record file is mostly
                // padding, which level 2 packs to within a few per cent of
                // level 6 in a third of the time.
                if (item.name.endsWith(QStringLiteral(".jpg"), Qt::CaseInsensitive))
                    zip_set_file_compression(zip.z, zip_uint64_t(index), ZIP_CM_STORE, 0);
                else
                    zip_set_file_compression(zip.z, zip_uint64_t(index), ZIP_CM_DEFLATE,
                                             kDeflateLevel);
                ++made.files;
            }
            if (index < 0)
                cannotWrite(part);
            const QDateTime modified = QFileInfo(folder.file(item.name)).lastModified();
            zip_file_set_mtime(zip.z, zip_uint64_t(index), time_t(modified.toSecsSinceEpoch()), 0);
        }
        ProgressState state{&progress, total, Stage::Writing};
        if (progress) {
            zip_register_progress_callback_with_state(
                zip.z, 0.005,
                [](zip_t *, double done, void *ud) {
                    auto *s = static_cast<ProgressState *>(ud);
                    if (!s->stop &&
                        !(*s->progress)(Stage::Writing, qint64(done * double(s->total)), s->total))
                        s->stop = true;
                },
                nullptr, &state);
            zip_register_cancel_callback_with_state(
                zip.z,
                [](zip_t *, void *ud) { return static_cast<ProgressState *>(ud)->stop ? 1 : 0; },
                nullptr, &state);
        }
        // While libzip compresses on this core, the other one reads the
        // files again for the CRC-32 the written entries must match (or this
        // one does afterwards, when no thread can be had).
        sourceCrcs = std::async(std::launch::async | std::launch::deferred, [&folder, &items] {
            QHash<QString, std::pair<quint32, qint64>> crcs;
            for (const Item &item : items)
                if (!item.folder)
                    crcs.insert(item.name, fileCrc(folder.file(item.name)));
            return crcs;
        });
        if (zip_close(zip.z) != 0) {
            const bool stopped = state.stop;
            const QString why = zip.error();
            // zip_discard() in ~Zip removes what libzip had started.
            if (stopped)
                cancelled();
            raise(Kind::File,
                  QStringLiteral("impossibile scrivere %1 (%2)").arg(native(target), why));
        }
        zip.z = nullptr;
    }

    // Read back before it takes the real name.
    try {
        if (writtenHook())
            writtenHook()(part);
        Zip zip = openArchive(part);
        const QList<Entry> entries = listEntries(zip.z, part);
        if (entries.size() != items.size())
            damaged(part, QStringLiteral("il numero delle voci non corrisponde"));
        checkData(zip.z, part, entries, progress);
        const auto crcs = sourceCrcs.get();
        for (qsizetype i = 0; i < items.size(); ++i) {
            const Entry &e = entries[i];
            if (e.name != items[i].name || e.folder != items[i].folder)
                damaged(part, QStringLiteral("\"%1\" manca").arg(items[i].name));
            if (e.folder)
                continue;
            const auto [crc, size] = crcs.value(e.name);
            if (crc != e.crc || size != e.size)
                damaged(part,
                        QStringLiteral("\"%1\" non corrisponde al file originale").arg(e.name));
        }
        syncFile(part);
        if (!renameOver(part, target))
            cannotWrite(target);
    } catch (...) {
        QFile::remove(part);
        throw;
    }
    return made;
}

} // namespace backup
