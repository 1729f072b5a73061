// One writer per application folder, kept by the kernel.
//
// The hidden lock file .cartavera.lock, beside the archives, carries two byte-range
// locks of the open file description (fcntl F_OFD_SETLK). The kernel drops
// them when the description is closed, however the process ends, so a lock
// of a crashed program never blocks the next start and there is nothing
// stale to guess about.
//
//   byte 0, the program's: held exclusively by the running program for its
//     whole run. A second program on the same folder finds it taken and ends.
//   byte 1, the change lock: held exclusively while a change is made to the
//     folder (a save, an import, a restore …), and shared by a reader outside
//     the program (cartavera-cli) while it reads. A reader never sees half a
//     change; a change waits for a reader to finish.
//
// On a network folder the locks are as good as the file system's byte-range
// locks: NFS passes them to the server, so two machines exclude each other;
// an SMB mount with "nobrl" keeps them on each machine only. A file system
// that refuses locks altogether (or a folder where the lock file cannot be
// made) leaves the program and its changes running without them: it can do
// no better, and refusing would keep the user from their archive.
#pragma once

#include "AppFolder.h"

#include <QString>

class FolderLock {
  public:
    enum class Result {
        Taken,
        Busy,     // another process holds it
        Unusable, // the lock file cannot be opened, or the file system refuses locks
    };

    // The name of the lock file in the application folder.
    static QString fileName() { return QStringLiteral(".cartavera.lock"); }

    explicit FolderLock(const AppFolder &folder);
    ~FolderLock();
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    // The program's lock, without waiting.
    Result holdProgram();
    // The change lock, exclusively; waits while a reader holds it.
    void holdChange();
    // The change lock, shared, for a reader; waits up to `waitMs` while a
    // change is under way. A folder without a lock file (no program ever ran
    // there) and a read-only folder read without the lock.
    Result holdReading(int waitMs);
    // Gives up every lock this object holds.
    void release();

  private:
    bool open(bool create);
    Result lock(int byte, short type, bool wait);

    QString m_path;
    int m_fd = -1;
};
