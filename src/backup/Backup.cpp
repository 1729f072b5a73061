#include "Backup.h"

#include "storage/DataSet.h"
#include "storage/Journal.h"

#include "storage/RegularFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <QScopeGuard>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>
#include <zlib.h>

namespace backup {

namespace {

using Kind = BackupError::Kind;

constexpr qint64 kChunk = 1 << 16;
// A restore never unpacks more than this, whatever the free space.
constexpr qint64 kMostBytes = qint64(64) << 30;
constexpr qint64 kMostEntries = 2'000'000;
// Deflate cannot shrink data more than about 1032 to 1: an entry that claims
// more is forged (the classic "zip bomb"), or the archive is damaged.
constexpr qint64 kMostRatio = 1100;


WrittenHook &writtenHook() {
    static WrittenHook hook;
    return hook;
}
MoveHook &moveHook() {
    static MoveHook hook;
    return hook;
}

QString native(const QString &path) {
    return QDir::toNativeSeparators(path);
}

[[noreturn]] void raise(Kind kind, const QString &message) {
    throw BackupError(kind, message);
}
[[noreturn]] void cannotRead(const QString &path) {
    raise(Kind::File, QStringLiteral("impossibile leggere %1").arg(native(path)));
}
[[noreturn]] void cannotWrite(const QString &path) {
    raise(Kind::File, QStringLiteral("impossibile scrivere %1").arg(native(path)));
}
[[noreturn]] void cancelled() {
    raise(Kind::Cancelled, QStringLiteral("operazione annullata"));
}
[[noreturn]] void damaged(const QString &path, const QString &why) {
    raise(Kind::Damaged, QStringLiteral("l'archivio %1 è danneggiato: %2").arg(native(path), why));
}
[[noreturn]] void unsafe(const QString &name, const QString &why) {
    raise(Kind::Unsafe, QStringLiteral("la voce \"%1\" non è accettata: %2").arg(name, why));
}

// The data set's own rules, by the names this file uses.
bool isDataFolderName(const QString &name) {
    return dataset::isFolderItem(dataset::itemOf(name));
}
bool isTopFileName(const QString &name) {
    const dataset::Item item = dataset::itemOf(name);
    return item != dataset::Item::None && !dataset::isFolderItem(item);
}
using dataset::restoreRank;

QByteArray encoded(const QString &path) {
    return QFile::encodeName(path);
}

// The open archive, closed (discarding changes) when it goes out of scope.
struct Zip {
    zip_t *z = nullptr;
    ~Zip() {
        if (z)
            zip_discard(z);
    }
    QString error() const { return QString::fromLocal8Bit(zip_strerror(z)); }
};

// The CRC-32 and size of a regular file, read in chunks.
std::pair<quint32, qint64> fileCrc(const QString &path) {
    QFile in(path);
    if (openRegularFile(in, QIODevice::ReadOnly) != OpenResult::Opened)
        cannotRead(path);
    QByteArray chunk(kChunk, Qt::Uninitialized);
    uLong crc = crc32(0, nullptr, 0);
    qint64 size = 0;
    for (;;) {
        const qint64 got = in.read(chunk.data(), chunk.size());
        if (got < 0)
            cannotRead(path);
        if (got == 0)
            break;
        crc = crc32(crc, reinterpret_cast<const Bytef *>(chunk.constData()), uInt(got));
        size += got;
    }
    return {quint32(crc), size};
}

void syncFile(const QString &path) {
    const int fd = ::open(encoded(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        if (fd >= 0)
            ::close(fd);
        cannotWrite(path);
    }
    ::close(fd);
}

struct ProgressState {
    const Progress *progress;
    qint64 total;
    Stage stage;
    bool stop = false;
};

// Streams one entry into `sink` (a file, or nothing for a check), raising
// Damaged when its data do not match its CRC-32 or size. Returns its CRC-32.
quint32 readEntry(zip_t *z, zip_uint64_t index, const Entry &entry, const QString &archive,
                  QFile *sink, qint64 &done, const ProgressState &state) {
    zip_file_t *f = zip_fopen_index(z, index, 0);
    if (!f)
        damaged(archive, QStringLiteral("\"%1\" non si può leggere (%2)")
                             .arg(entry.name, QString::fromLocal8Bit(zip_strerror(z))));
    QByteArray chunk(kChunk, Qt::Uninitialized);
    uLong crc = crc32(0, nullptr, 0);
    qint64 size = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(f, chunk.data(), zip_uint64_t(chunk.size()));
        if (got < 0) {
            const QString why = QString::fromLocal8Bit(zip_file_strerror(f));
            zip_fclose(f);
            damaged(archive, QStringLiteral("\"%1\": %2").arg(entry.name, why));
        }
        if (got == 0)
            break;
        size += got;
        if (size > entry.size) {
            zip_fclose(f);
            damaged(archive, QStringLiteral("\"%1\" è più lungo del dichiarato").arg(entry.name));
        }
        crc = crc32(crc, reinterpret_cast<const Bytef *>(chunk.constData()), uInt(got));
        if (sink && sink->write(chunk.constData(), got) != got) {
            zip_fclose(f);
            cannotWrite(sink->fileName());
        }
        done += got;
        if (*state.progress && !(*state.progress)(state.stage, done, state.total)) {
            zip_fclose(f);
            cancelled();
        }
    }
    zip_fclose(f);
    if (size != entry.size || quint32(crc) != entry.crc)
        damaged(archive, QStringLiteral("\"%1\" non corrisponde al suo CRC-32").arg(entry.name));
    return quint32(crc);
}

Zip openArchive(const QString &path) {
    QFileInfo info(path);
    if (!info.exists())
        raise(Kind::File, QStringLiteral("il file %1 non esiste").arg(native(path)));
    {
        // Only a regular file: a FIFO or a device is never waited on.
        QFile probe(path);
        if (openRegularFile(probe, QIODevice::ReadOnly) != OpenResult::Opened)
            cannotRead(path);
    }
    int code = 0;
    Zip zip;
    zip.z = zip_open(encoded(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!zip.z) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const QString why = QString::fromLocal8Bit(zip_error_strerror(&error));
        zip_error_fini(&error);
        if (code == ZIP_ER_OPEN || code == ZIP_ER_READ || code == ZIP_ER_MEMORY)
            cannotRead(path);
        damaged(path, why);
    }
    return zip;
}

// The entries of an open archive, each checked by what the directory says.
QList<Entry> listEntries(zip_t *z, const QString &path) {
    const zip_int64_t count = zip_get_num_entries(z, 0);
    if (count < 0)
        damaged(path, QStringLiteral("l'elenco delle voci non si può leggere"));
    if (count > kMostEntries)
        raise(
            Kind::Unsafe,
            QStringLiteral("l'archivio %1 contiene troppe voci (%2)").arg(native(path)).arg(count));
    QList<Entry> entries;
    QSet<QString> seen;
    qint64 total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(z, zip_uint64_t(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
            damaged(path, QStringLiteral("la voce %1 non si può leggere").arg(i + 1));
        QString name = QString::fromUtf8(st.name);
        const QString shown = name;
        if (name.isEmpty())
            unsafe(shown, QStringLiteral("nome vuoto"));
        if (name.startsWith(u'/') || name.startsWith(u'\\') || (name.size() > 1 && name[1] == u':'))
            unsafe(shown, QStringLiteral("percorso assoluto"));
        if (name.contains(u'\\'))
            unsafe(shown, QStringLiteral("barra rovesciata nel percorso"));
        const bool folder = name.endsWith(u'/');
        if (folder)
            name.chop(1);
        const QStringList parts = name.split(u'/');
        for (const QString &part : parts) {
            if (part == u".." || part == u".")
                unsafe(shown, QStringLiteral("percorso con \"..\" o \".\""));
            if (part.isEmpty())
                unsafe(shown, QStringLiteral("percorso con una parte vuota"));
            for (const QChar c : part)
                if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                    unsafe(shown, QStringLiteral("carattere di controllo nel nome"));
        }
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        if (zip_file_get_external_attributes(z, zip_uint64_t(i), 0, &system, &attributes) != 0)
            damaged(path, QStringLiteral("la voce \"%1\" non si può leggere").arg(shown));
        if (system == ZIP_OPSYS_UNIX) {
            const mode_t type = mode_t(attributes >> 16) & S_IFMT;
            if (type == S_IFLNK)
                unsafe(shown, QStringLiteral("collegamento simbolico"));
            if (type != 0 && type != S_IFREG && type != S_IFDIR)
                unsafe(shown, QStringLiteral("non è né un file né una cartella"));
            if (type == S_IFDIR && !folder)
                unsafe(shown, QStringLiteral("cartella senza \"/\" finale"));
        }
        if (!isDataName(name) || (parts.size() == 1 && folder != isDataFolderName(name)))
            unsafe(shown, QStringLiteral("non fa parte dei dati di Cartavera"));
        if (seen.contains(name))
            unsafe(shown, QStringLiteral("nome ripetuto"));
        seen.insert(name);
        if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
            unsafe(shown, QStringLiteral("voce cifrata"));
        if (!(st.valid & ZIP_STAT_SIZE) || !(st.valid & ZIP_STAT_COMP_SIZE) ||
            !(st.valid & ZIP_STAT_CRC))
            damaged(path, QStringLiteral("la voce \"%1\" non dice la sua lunghezza").arg(shown));
        const qint64 size = qint64(st.size);
        if (size < 0 || (folder && size != 0))
            unsafe(shown, QStringLiteral("lunghezza non valida"));
        if (size > (qint64(1) << 20) && qint64(st.comp_size) * kMostRatio < size)
            unsafe(shown, QStringLiteral("rapporto di compressione impossibile"));
        total += size;
        if (total > kMostBytes)
            raise(Kind::Unsafe, QStringLiteral("l'archivio %1 si espande oltre %2 GB")
                                    .arg(native(path))
                                    .arg(kMostBytes >> 30));
        entries.append({name, folder, size, quint32(st.crc)});
    }
    // A file inside a folder of the archive needs that folder to be a folder.
    for (const Entry &e : entries)
        if (!e.folder)
            for (qsizetype slash = e.name.indexOf(u'/'); slash >= 0;
                 slash = e.name.indexOf(u'/', slash + 1))
                for (const Entry &f : entries)
                    if (!f.folder && f.name == e.name.left(slash))
                        unsafe(e.name, QStringLiteral("sta dentro un file"));
    return entries;
}

qint64 totalSize(const QList<Entry> &entries) {
    qint64 total = 0;
    for (const Entry &e : entries)
        total += e.size;
    return total;
}

void checkData(zip_t *z, const QString &path, const QList<Entry> &entries,
               const Progress &progress) {
    ProgressState state{&progress, totalSize(entries), Stage::Checking};
    qint64 done = 0;
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (!entries[i].folder)
            readEntry(z, zip_uint64_t(i), entries[i], path, nullptr, done, state);
}

// Renames `from` to `to`, replacing a file there.
bool renameOver(const QString &from, const QString &to) {
    return ::rename(encoded(from).constData(), encoded(to).constData()) == 0;
}

bool lies(const QString &path) {
    return QFileInfo(path).exists() || QFileInfo(path).isSymLink();
}

} // namespace

bool isDataName(const QString &name) {
    const qsizetype slash = name.indexOf(u'/');
    if (slash < 0)
        return isTopFileName(name) || isDataFolderName(name);
    return isDataFolderName(name.left(slash)) && slash + 1 < name.size();
}

QList<Item> dataItems(const AppFolder &folder) {
    QList<Item> items;
    QDir top(folder.path());
    QStringList names = top.entryList(
        QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : names) {
        const QFileInfo info(top.filePath(name));
        if (info.isSymLink() || !isDataName(name))
            continue;
        if (info.isFile() && isTopFileName(name)) {
            items.append({name, false});
        } else if (info.isDir() && isDataFolderName(name)) {
            items.append({name, true});
            QDirIterator it(info.filePath(),
                            QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System |
                                QDir::NoDotAndDotDot,
                            QDirIterator::Subdirectories);
            QList<Item> inside;
            while (it.hasNext()) {
                it.next();
                const QFileInfo in = it.fileInfo();
                if (in.isSymLink() || (!in.isFile() && !in.isDir()))
                    continue;
                // Nothing below a linked folder is stored: the iterator does
                // not enter links, so every path here lies really inside.
                inside.append({name + u'/' + QDir(info.filePath()).relativeFilePath(in.filePath()),
                               in.isDir()});
            }
            std::sort(inside.begin(), inside.end(),
                      [](const Item &a, const Item &b) { return a.name < b.name; });
            items += inside;
        }
    }
    return items;
}

QString archiveName(const QDateTime &when) {
    return QStringLiteral("Cartavera-%1.zip").arg(when.toString(QStringLiteral("yyyy-MM-dd-HHmm")));
}

QString freeArchivePath(const QString &folder, const QDateTime &when) {
    const QString name = archiveName(when);
    QString path = QDir(folder).filePath(name);
    for (int n = 2; lies(path) || lies(path + QStringLiteral(".part")); ++n) {
        QString numbered = name;
        numbered.insert(name.size() - 4, QStringLiteral("-%1").arg(n));
        path = QDir(folder).filePath(numbered);
    }
    return path;
}

void setWrittenHook(WrittenHook hook) {
    writtenHook() = std::move(hook);
}
void setMoveHook(MoveHook hook) {
    moveHook() = std::move(hook);
}

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
                // Pictures are compressed already.
                if (item.name.endsWith(QStringLiteral(".jpg"), Qt::CaseInsensitive))
                    zip_set_file_compression(zip.z, zip_uint64_t(index), ZIP_CM_STORE, 0);
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
        for (qsizetype i = 0; i < items.size(); ++i) {
            const Entry &e = entries[i];
            if (e.name != items[i].name || e.folder != items[i].folder)
                damaged(part, QStringLiteral("\"%1\" manca").arg(items[i].name));
            if (e.folder)
                continue;
            const auto [crc, size] = fileCrc(folder.file(e.name));
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

QList<Entry> checkArchive(const QString &path, bool readAll, const Progress &progress) {
    Zip zip = openArchive(path);
    const QList<Entry> entries = listEntries(zip.z, path);
    if (entries.isEmpty())
        raise(Kind::Unsafe,
              QStringLiteral("l'archivio %1 non contiene dati di Cartavera").arg(native(path)));
    if (readAll)
        checkData(zip.z, path, entries, progress);
    return entries;
}

QList<Entry> checkRestore(const AppFolder &folder, const QString &path, bool readAll,
                          const Progress &progress) {
    const QList<Entry> entries = checkArchive(path, readAll, progress);
    // A backup of this program holds at least one of the archives: an archive
    // without either would replace every card and client with nothing.
    const bool archives = std::any_of(entries.begin(), entries.end(), [](const Entry &e) {
        return e.name == QLatin1String(dataset::kDatabaseFile) ||
               e.name == QLatin1String(dataset::kClientFile);
    });
    if (!archives)
        raise(Kind::Unsafe, QStringLiteral("l'archivio non contiene né %1 né %2: non è una copia "
                                           "di sicurezza di Cartavera")
                                .arg(QLatin1String(dataset::kDatabaseFile),
                                     QLatin1String(dataset::kClientFile)));
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
    try {
        // Everything the directory tells is checked before a byte is written.
        entries = checkRestore(folder, path, false);
        // A folder without data has nothing to keep.
        if (!dataItems(folder).isEmpty())
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
    for (const Item &item : dataItems(folder))
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
