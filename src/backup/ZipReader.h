// Reading ZIP archives: opening one, listing its entries under the entry
// policy, and streaming an entry's data with its CRC-32 checked. Internal to
// the backup folder; every failure raises BackupError.
#pragma once

#include "Backup.h"

#include <QFile>
#include <QList>
#include <QString>
#include <utility>
#include <zip.h>

namespace backup {

// A restore never unpacks more than this, whatever the free space.
inline constexpr qint64 kMostBytes = qint64(64) << 30;
inline constexpr qint64 kMostEntries = 2'000'000;

// A libzip error code in the user's words.
QString zipReason(int code);

// The open archive, closed (discarding changes) when it goes out of scope.
struct Zip {
    zip_t *z = nullptr;
    Zip() = default;
    Zip(Zip &&other) noexcept : z(std::exchange(other.z, nullptr)) {}
    Zip &operator=(Zip &&) = delete;
    ~Zip() {
        if (z)
            zip_discard(z);
    }
    QString error() const { return zipReason(zip_error_code_zip(zip_get_error(z))); }
};

// Where a long run stands, for the progress callback and a cancel.
struct ProgressState {
    const Progress *progress;
    qint64 total;
    Stage stage;
    bool stop = false;
};

// Opens the regular file at `path` as a ZIP archive, read-only, its
// consistency checked.
Zip openArchive(const QString &path);
// The entries of an open archive, each judged by judgeEntry() on what the
// directory says, a file inside another refused, the total size bounded.
QList<Entry> listEntries(zip_t *z, const QString &path);
// Streams entry `index` into `sink` (a file, or nothing for a check), raising
// Damaged when its data do not match its CRC-32 or size. Adds the bytes read
// to `done`. Returns its CRC-32.
quint32 readEntry(zip_t *z, zip_uint64_t index, const Entry &entry, const QString &archive,
                  QFile *sink, qint64 &done, const ProgressState &state);
// Reads every file entry through readEntry(), reporting Stage::Checking.
void checkData(zip_t *z, const QString &path, const QList<Entry> &entries,
               const Progress &progress);
qint64 totalSize(const QList<Entry> &entries);

} // namespace backup
