// Where the application folder is, and what a new one is given.
//
// A program that lives in its own application folder (copied there by ./run,
// or started from the build tree) keeps its data beside its executable, as it
// always has. A program installed on the system cannot: it is installed when
// its executable lies in a folder `bin` whose sibling `share/cartavera` holds
// the delivered files (`/usr/bin/cartavera` and `/usr/share/cartavera/`, or
// the same under any other prefix), and its application folder is then
// $CARTAVERA_HOME, or ~/Cartavera when that is not set.
//
// Whoever makes an application folder, the installed program at every start
// or ./run through `cartavera-cli prepara`, fills it with furnish(), so every
// application folder starts out the same.
#pragma once

#include <QString>

namespace apphome {

// The delivered files a folder is given: the user guide, replaced whenever
// the delivered one differs, and the first-access password file, given only
// to a folder that has none.
inline constexpr char kGuideFile[] = "Guida.pdf";
// The folder of delivered files of an installed program, from its prefix.
inline constexpr char kDeliveredFolder[] = "share/cartavera";
// The environment variable naming the application folder of an installed program.
inline constexpr char kHomeVariable[] = "CARTAVERA_HOME";
// The application folder's name in the home folder when that variable is not set.
inline constexpr char kHomeFolderName[] = "Cartavera";

struct Place {
    QString folder;    // the application folder, absolute
    QString delivered; // the installed program's delivered files; empty when not installed
    bool installed() const { return !delivered.isEmpty(); }
};

// Where the program or the companion whose executable lies in
// `executableFolder` keeps its data. Reads CARTAVERA_HOME and the home folder
// only for an installed program.
Place locate(const QString &executableFolder);

// What furnish() did.
struct Furnished {
    bool created = false;  // the folder did not exist
    bool guide = false;    // the guide was written
    bool password = false; // the password file was given
};

// Makes `folder` (and the folders above it) when missing, readable and
// writable by its owner only (the folders above it as usual), and gives it the
// delivered files of `delivered`: the guide when the folder's differs from the
// delivered one or is missing, the password file only when the folder has
// nothing by that name (not even a link leading nowhere): a password the user
// has set is never replaced. Nothing else in the folder is touched. Each file
// goes through the checked whole-file writer, so a failure leaves the old one.
// Raises StorageError (an Italian reason) when the folder cannot be made, a
// delivered file cannot be read or a file cannot be written.
Furnished furnish(const QString &folder, const QString &delivered);

} // namespace apphome
