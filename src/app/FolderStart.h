// What the program does with its application folder before the login shows:
// it takes the folder for itself (one program per folder), removes what
// killed whole-file writes left, then puts back a change that a killed program
// left unfinished, and says so.
#pragma once

#include "storage/AppFolder.h"
#include "storage/AppHome.h"
#include "storage/FolderLock.h"

class QWidget;

// True when the program may go on. False after telling the user why not:
// another program has the folder open, or an unfinished change could not be
// put back. `lock` holds the folder from then on.
bool openFolder(const AppFolder &folder, FolderLock &lock);

// An installed program's application folder, made on the first start and
// given the delivered guide and first-access password (apphome::furnish);
// nothing to do for a program that lives in its folder. False after telling
// the user why the folder could not be made or filled.
bool prepareFolder(const apphome::Place &place);
