// The one writer of every whole file the program produces: settings and
// password files, spreadsheet exports, pictures, PDF files, copies.
//
// The bytes go to a temporary file beside the target, which replaces the
// target only when every byte is known to have reached the disk: commit()
// flushes the buffered tail, checks the device's error state and the size on
// disk, syncs the file, renames it over the target and syncs the folder, so
// the new file survives a power cut once commit() returns. After any failure
// the file is never committed and the target stays exactly as it was. Every
// failure raises StorageError::unableToWrite(<path>).
//
// The temporary file is hidden and named for the program (".cartavera-tmp-"
// and a random part): one left by a killed program is removed at the next
// start by removeLeftoverTemporaries().
//
//   writeWholeFile(path, bytes);
//
//   WholeFile file(path);
//   if (!image.save(file.device(), "BMP")) // or QImageWriter, QPdfWriter …
//       file.fail();
//   file.commit();
//
//   copyWholeFile(source, target);
#pragma once

#include <QByteArrayView>
#include <QIODevice>
#include <QFile>
#include <QString>
#include <functional>

class WholeFile {
  public:
    // Starts the file. Raises StorageError when it cannot be created or when
    // `path` names something other than a regular file (a folder, a device, a
    // FIFO, a link loop).
    explicit WholeFile(const QString &path);
    // Without commit(), the temporary file is removed and the target left alone.
    ~WholeFile();
    WholeFile(const WholeFile &) = delete;
    WholeFile &operator=(const WholeFile &) = delete;

    const QString &path() const { return m_path; }

    // The open, seekable device for streaming writers (QImageWriter,
    // QImage::save, QPdfWriter, QTextStream …). It stays owned by this object;
    // a writer may close it, which does not commit.
    QIODevice *device();

    // Appends `bytes`; raises at once when they cannot be written.
    void write(QByteArrayView bytes);
    // Appends the whole content of the regular file `source`, read in chunks.
    // Raises StorageError::unableToRead(<source>) when the source is not a
    // regular file or cannot be read, StorageError::unableToWrite(<path>)
    // when the target cannot be written.
    void copyFrom(const QString &source);

    // Puts the file in place of the target; raises on any failure so far.
    void commit();
    // Gives up: the target stays as it was, and StorageError::unableToWrite(<path>)
    // is raised. For producers that report failure themselves (QImage::save
    // returning false, QPainter::end returning false).
    [[noreturn]] void fail();

  private:
    class Sink;

    QString m_path;
    QString m_target; // the file the rename replaces: m_path, links followed
    QFile m_file;     // the temporary file
    Sink *m_sink = nullptr;
    bool m_failed = false;
    bool m_committed = false;
};

// The whole file `path` becomes `bytes`.
void writeWholeFile(const QString &path, QByteArrayView bytes);
// The whole file `path` becomes what `produce` writes to the device it is
// given; `produce` returns false when it failed.
void writeWholeFile(const QString &path, const std::function<bool(QIODevice &)> &produce);
// The whole file `target` becomes a copy of the regular file `source`.
void copyWholeFile(const QString &source, const QString &target);

// The name a temporary file of a whole-file write starts with.
inline constexpr char kTemporaryPrefix[] = ".cartavera-tmp-";
// Removes the temporary files that killed whole-file writes left in `folder`
// (not below it). Only to be called while no write can be under way there.
void removeLeftoverTemporaries(const QString &folder);
