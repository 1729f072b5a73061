// The file-system steps the backup and the restore share. Internal to the
// backup folder; every failure raises BackupError.
#pragma once

#include "Backup.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <utility>

namespace backup {

// Files and entries are copied in chunks of this size.
inline constexpr qint64 kChunk = 1 << 16;

// The path as the file system takes it.
QByteArray encoded(const QString &path);
// True when something lies at `path`, a dangling link included.
bool lies(const QString &path);
// Renames `from` to `to`, replacing a file there.
bool renameOver(const QString &from, const QString &to);
// Flushes the file at `path` to the disk.
void syncFile(const QString &path);
// The CRC-32 and size of a regular file, read in chunks.
std::pair<quint32, qint64> fileCrc(const QString &path);

// The hooks tests set through setWrittenHook() and setMoveHook(); empty
// otherwise.
WrittenHook &writtenHook();
MoveHook &moveHook();

} // namespace backup
