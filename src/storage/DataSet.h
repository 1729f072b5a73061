// The user's data in the application folder: the one definition of its file
// and folder names, of what a backup holds and of the order a restore puts
// them back in. Everything else in the folder (the program, its guide, the
// lock and journal files, the exports, Cliente.pdf) is not data.
#pragma once

#include <QString>
#include <QStringList>

namespace dataset {

// The fixed items, by name.
inline constexpr char kDatabaseFile[] = "Database.pro";
inline constexpr char kClientFile[] = "Clienti.pro";
inline constexpr char kSettingsFile[] = "Archivio.ini";
inline constexpr char kPasswordFile[] = "unins000.dll";
inline constexpr char kLogoFile[] = "Logo.bmp";
// The folder every card's attachments are copied into.
inline constexpr char kAttachmentsFolder[] = "Documenti_Allegati";
// The bin: the cards deleted, one folder each (see CardBin.h).
inline constexpr char kBinFolder[] = "Cestino";

// The photo of the card at `position` ("12.jpg"), and its card folder ("Scheda_12").
QString photoName(QStringView position);
QString cardFolderName(QStringView position);

// What a name directly in the application folder is.
enum class Item {
    None,       // not part of the data
    FixedFile,  // one of the five fixed files
    Photo,      // <P>.jpg
    Attachments,
    CardFolder, // Scheda_<P>
    Bin,        // Cestino
};
Item itemOf(const QString &name);
// Items that are folders; the others are files.
inline bool isFolderItem(Item item) {
    return item == Item::Attachments || item == Item::CardFolder || item == Item::Bin;
}

// The fixed files in the order a restore puts them in place: the settings
// and the password before the record files, the card archive the very last.
const QStringList &fixedFiles();
// Where a top-level item goes in the restore order: -1 for the folders and
// photos, which go first, else its place in fixedFiles().
int restoreRank(const QString &name);

} // namespace dataset
