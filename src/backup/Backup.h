// Dated backups of the user's data and their restore.
//
// A backup is one ZIP archive, Cartavera-AAAA-MM-GG-hhmm.zip, of the data set
// of the application folder: the record files, Archivio.ini, the password
// file, Logo.bmp, the card photos <n>.jpg, Documenti_Allegati/ and every
// Scheda_<n>/ folder with all they hold. Nothing of the program itself goes
// in. Names are stored in UTF-8 with the archive's UTF-8 flag.
//
// The archive is written beside its target as <target>.part, read back (every
// entry decompressed, its CRC-32 and size compared with the source file) and
// only then renamed onto the target. Backups into one folder take turns (a
// lock on that folder), and each removes the ".zip.part" files that killed
// backups left there.
//
// A restore checks every entry before a byte is written (names inside the
// data set, no absolute paths, no "..", no links, sizes within reason),
// saves the current data as a backup of their own, extracts everything into
// a staging folder inside the application folder, and only then moves the
// restored items into place, the record files last, all as one change under
// the folder's journal.
//
// The code: the entry policy (EntryPolicy), reading archives (ZipReader),
// making a backup (MakeBackup.cpp), restoring (Restore.cpp), and the
// failures and file steps they share (Failures, FileSteps).
//
// Every failure raises BackupError with a message in Italian for the user.
#pragma once

#include "storage/AppFolder.h"
#include "storage/StorageError.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace backup {

class BackupError : public StorageError {
  public:
    enum class Kind {
        File,      // a file or folder could not be read or written
        Damaged,   // the archive is not a sound ZIP archive (truncated, bad CRC)
        Unsafe,    // an entry the restore refuses (path, link, outside the data set, size)
        Cancelled, // the user stopped it
    };
    BackupError(Kind kind, const QString &message) : StorageError(message), m_kind(kind) {}
    Kind kind() const { return m_kind; }

  private:
    Kind m_kind;
};

// True when `name` (relative to the application folder, '/' between parts,
// folders without the trailing '/') belongs to the data set.
bool isDataName(const QString &name);

// The data set as it is now: relative names, folders first of what they hold,
// in a stable order. Only regular files and folders count; a link is neither
// followed nor stored.
struct Item {
    QString name;
    bool folder = false;
};
QList<Item> dataItems(const AppFolder &folder);

// "Cartavera-2026-12-10-1642.zip".
QString archiveName(const QDateTime &when);
// The path in `folder` for a backup made at `when`: archiveName(), or with
// "-2", "-3" … before ".zip" when that name is taken, so no archive is ever
// written over.
QString freeArchivePath(const QString &folder, const QDateTime &when);

// What a long run reports: the bytes done out of the total. Returning false
// asks to stop; the run then raises BackupError(Cancelled) and leaves nothing
// behind.
enum class Stage { Writing, Checking, Extracting };
using Progress = std::function<bool(Stage stage, qint64 done, qint64 total)>;

struct Made {
    QString path;
    int files = 0;
    qint64 bytes = 0;
};

// For tests: called with the path of the written temporary archive before
// it is read back.
using WrittenHook = std::function<void(const QString &partPath)>;
void setWrittenHook(WrittenHook hook);
// For tests: asked before each item is moved into place by a restore; false
// makes that move fail.
using MoveHook = std::function<bool(const QString &item)>;
void setMoveHook(MoveHook hook);

// Writes the backup of `folder` to `target` (replacing a regular file there,
// never a file of the data set) and returns what was written. A folder
// without data is an error: there is nothing to save.
Made makeBackup(const AppFolder &folder, const QString &target, const Progress &progress = {});

// One entry of an archive.
struct Entry {
    QString name; // without the trailing '/' of a folder
    bool folder = false;
    qint64 size = 0;
    quint32 crc = 0;
};

// Checks the archive at `path` as a restore would: a sound ZIP archive whose
// every entry is a plain file or folder of the data set, no name twice, sizes
// within reason; with `readAll`, every entry is also decompressed and its
// CRC-32 and size checked. Returns the entries.
QList<Entry> checkArchive(const QString &path, bool readAll, const Progress &progress = {});

struct Restored {
    QString safetyBackup; // the backup of the data as they were before; none for no data
    int files = 0;
};

// Everything a restore of the archive at `path` into `folder` checks before
// it changes anything: checkArchive() (with `readAll`, every entry read and
// its CRC-32 and size checked), at least one record file in the archive, no
// name of the archive's items taken in the folder by something that is not
// that data item (a file where a card folder goes, a link), and room on the
// disk. Returns the entries; raises BackupError otherwise.
QList<Entry> checkRestore(const AppFolder &folder, const QString &path, bool readAll,
                          const Progress &progress = {});

// Replaces the data set of `folder` with the content of the archive at
// `path`, saving the current data first as a backup in `backupsFolder`. A
// password file the archive lacks is kept. The whole replacement is one
// change under the folder's journal (storage/Journal.h): a failure, a kill
// or a power cut leaves the folder as before, once the program has started
// again. Raises BackupError, the folder unchanged, when the archive is
// refused, damaged or the safety backup cannot be written.
Restored restore(const AppFolder &folder, const QString &path, const QString &backupsFolder,
                 const Progress &progress = {});

// The name a restore's staging folder starts with; one that a killed or
// finished restore left is removed by removeLeftoverRestores() at start.
inline constexpr char kStagingPrefix[] = ".ripristino-";
void removeLeftoverRestores(const AppFolder &folder);

} // namespace backup
