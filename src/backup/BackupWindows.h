// The backup and restore as the windows run them: folder and file choosers,
// the confirmation, a progress window that can be cancelled, and one message
// at the end, all through the Desktop.
#pragma once

#include "storage/AppFolder.h"

class QWidget;

namespace backup {

// Asks for the backups folder (starting from the one remembered in
// Archivio.ini), remembers it and writes a dated backup into it. Returns true
// when a backup was written.
bool makeBackupFromWindow(QWidget *parent, const AppFolder &folder);

// Asks for a backup, checks it, asks for confirmation and restores it, saving
// the current data first. Returns true when the data were replaced.
bool restoreFromWindow(QWidget *parent, const AppFolder &folder);

} // namespace backup
