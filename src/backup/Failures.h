// The failures of the backup and the restore, each with its Italian text.
// Internal to the backup folder.
#pragma once

#include "Backup.h"

#include <QString>

namespace backup {

QString native(const QString &path);

[[noreturn]] void raise(BackupError::Kind kind, const QString &message);
[[noreturn]] void cannotRead(const QString &path);
[[noreturn]] void cannotWrite(const QString &path);
[[noreturn]] void cancelled();
// The archive at `path` is not a sound ZIP archive.
[[noreturn]] void damaged(const QString &path, const QString &why);
// The restore refuses the entry `name`.
[[noreturn]] void unsafe(const QString &name, const QString &why);

} // namespace backup
