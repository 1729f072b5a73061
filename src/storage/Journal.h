// Every change of the application folder is all-or-nothing: after a kill at
// any instant or a power cut, and the next start, the folder is exactly as
// before the change or exactly as after it.
//
// A change keeps, before it touches anything, what it will touch in a rollback
// journal, the sidecar file .cartavera.journal beside the archives (older
// readers of the folder never look at it): the bytes of each record it will
// overwrite, the length of each file it will extend, the whole content of each
// small file it will replace, and each rename it will make. The journal is
// written and synced, and the folder synced, before the first byte of the
// change; when the change is done its files are synced and the journal is
// removed, which is the moment the change becomes the folder's state. While
// the journal is there, recovery puts every kept thing back and removes the
// journal; a journal cut short (the program died while writing it, before
// the change began) is simply removed. Recovery can run any number of times.
//
//   Change change(folder, Change::Kind::Save);   // takes the change lock
//   change.keepRange(u"Database.pro"_s, offset, size);
//   change.keepWhole(u"12.jpg"_s);
//   change.begin();
//   … write the record, the photo …
//   change.commit();
//
// A Change destroyed without commit() puts the folder back at once. Every
// failure raises StorageError.
#pragma once

#include "AppFolder.h"
#include "FolderLock.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

class Change {
  public:
    // What the change is, for the message after a recovery.
    enum class Kind : quint8 {
        Save = 1,
        PasswordChange,
        Settings,
        Import,
        Restore,
        Delete,   // a card into the bin
        GiveBack, // a card out of the bin, back in its archive
        Discard,  // a card out of the bin for good
    };

    // The name of the journal file in the application folder.
    static QString fileName() { return QStringLiteral(".cartavera.journal"); }

    // Takes the folder's change lock (waiting for a reader to finish) and
    // puts back an unfinished change left by a killed program, if any.
    Change(const AppFolder &folder, Kind kind);
    ~Change();
    Change(const Change &) = delete;
    Change &operator=(const Change &) = delete;

    // Before begin(): what the change will touch, by name in the folder
    // (a file or folder directly in it, or below it: "Scheda_3/a.txt"), in
    // the order the change does it; rollback undoes them last first.
    //
    // The `length` bytes at `offset` of file `name` will be overwritten, or
    // the file extended (length 0 keeps only its length). A file that does
    // not exist yet is removed again on rollback.
    void keepRange(const QString &name, qint64 offset, qint64 length);
    // The whole file `name` will be replaced or removed: its content is kept
    // (or that it was not there).
    void keepWhole(const QString &name);
    // `from` will be renamed to `to` (either may be in a subfolder); on
    // rollback it is renamed back if the rename took place.
    void keepRename(const QString &from, const QString &to);
    // The folder `name`, which does not exist yet, will be made: on rollback
    // it is removed with all it holds.
    void keepNewFolder(const QString &name);

    // Writes the journal durably. Nothing may be touched before.
    void begin();
    // Syncs what the change touched and removes the journal: the change is done.
    void commit();
    // Puts the folder back as before the change and removes the journal.
    void rollback();

    // One thing the journal keeps (its layout is the journal's own).
    struct Entry;

  private:
    QString path(const QString &name) const;

    AppFolder m_folder;
    Kind m_kind;
    FolderLock m_lock;
    std::unique_ptr<QList<Entry>> m_entries;
    bool m_begun = false;
    bool m_done = false;
};

namespace journal {

// What a recovery found: the kind of change that was put back.
struct Recovered {
    Change::Kind kind;
};

// Puts back the unfinished change of `folder`, if any, and says which it
// was; nothing when there was none or the journal was cut short (no change
// had begun). Raises StorageError when the folder cannot be put back (the
// journal then stays for the next try).
std::optional<Recovered> recover(const AppFolder &folder);

// True when `folder` holds an unfinished change (a reader then refuses).
bool unfinished(const AppFolder &folder);

} // namespace journal
