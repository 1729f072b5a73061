// Opening the program's data files (archives, settings, password file) safely:
// only a regular file is ever opened, so a FIFO, a device, a folder or a
// symbolic-link loop under one of their names is refused at once instead of
// blocking the program or being read as an empty file.
#pragma once

#include <QFile>
#include <QString>

enum class OpenResult {
    Opened,  // a regular file, now open
    Missing, // nothing by that name (only when the mode does not create)
    Refused, // there but not a regular file, a link loop, or it cannot be opened
};

// Opens the file named by `file.fileName()` with `mode` (ReadOnly, or
// ReadWrite, which creates a missing file and never truncates). Symbolic
// links are followed. Nothing is read before the file is known to be regular,
// so the call never waits. The file is opened by its handle: keep the path
// for messages, file.fileName() no longer tells it.
OpenResult openRegularFile(QFile &file, QIODevice::OpenMode mode);

// True when a whole file may be put at `path`: nothing is there yet (a link
// leading nowhere included) or a regular file, links followed. A folder, a
// FIFO, a device or a link loop is never replaced.
bool canReplace(const QString &path);

// True when `a` and `b` both exist and are the same file (the same device and
// inode), whatever links or spelling of the path lead to it.
bool isSameFile(const QString &a, const QString &b);
