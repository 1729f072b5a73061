// Which entries of an archive a restore accepts: a pure function of what the
// archive's directory says of each entry, testable without an archive.
//
// An entry is accepted when its name is a relative path inside the data set
// (no absolute path, no "..", ".", empty part, backslash or control
// character, no part or path longer than a file system takes), it is a plain
// file or folder of the kind its name says, its
// name came in no earlier entry, it is not encrypted and its sizes are
// possible.
#pragma once

#include <QSet>
#include <QString>
#include <QtGlobal>

namespace backup {

// Deflate cannot shrink data more than about 1032 to 1: an entry that claims
// more is forged (the classic "zip bomb"), or the archive is damaged.
inline constexpr qint64 kMostRatio = 1100;

// The longest name of one part of a path (a file system's limit), and of a
// whole path inside the data set (in UTF-8 bytes): the folder it lands in
// adds its own path, and the whole must stay within the system's limit.
inline constexpr qsizetype kMostPartBytes = 255;
inline constexpr qsizetype kMostPathBytes = 3000;

// What the archive's directory says of one entry.
struct EntryFacts {
    QString storedName;          // as stored: a folder's name ends with '/'
    bool attributesKnown = true; // false when its external attributes cannot be read
    bool madeOnUnix = false;     // the attributes hold a Unix file mode…
    quint32 unixMode = 0;        // …this one (type and permissions)
    bool encrypted = false;
    bool sizesKnown = true; // false when the size, compressed size or CRC-32 is missing
    qint64 size = 0;
    qint64 compressedSize = 0;
};

struct EntryVerdict {
    enum class Refusal {
        None,    // accepted
        Unsafe,  // refused: BackupError::Kind::Unsafe
        Damaged, // the directory is damaged: BackupError::Kind::Damaged
    };
    Refusal refusal = Refusal::None;
    QString why;  // for a refusal: the reason, in Italian
    QString name; // the name without the trailing '/' of a folder
    bool folder = false;
};

// The verdict on one entry; `earlier` holds the names (without '/') of the
// entries before it. Of several faults, the first in the order above is told.
EntryVerdict judgeEntry(const EntryFacts &facts, const QSet<QString> &earlier);

} // namespace backup
