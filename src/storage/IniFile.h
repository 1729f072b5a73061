// INI text files (Archivio.ini, unins000.dll).
//
// Section and key names compare without regard to case. A missing file,
// section or key reads as the empty text. Only a regular file is read: a file
// that is there but is not one (a folder, a FIFO, a device, a link loop) or
// cannot be read is never waited on and never written over; it reads as the
// empty text too, or raises where the owner asks for it. Each write updates one key and
// stores the file at once (written aside and renamed over it); a write into a
// section that exists with other letter case lands there and keeps its header
// line, a new section is headed with the writer's spelling. A file that is
// valid UTF-8 is read as UTF-8, anything else as Windows-1252; a file is
// written back in the encoding it was read in (a UTF-8 file keeps its byte
// order mark, or its lack of one), a new file or one of plain ASCII in
// Windows-1252.
#pragma once

#include <QString>
#include <QStringList>

class IniFile {
  public:
    // What read() does with a file that is there but cannot be read.
    enum class Unreadable { ReadsEmpty, Raises };

    explicit IniFile(const QString &path, Unreadable unreadable = Unreadable::ReadsEmpty)
        : m_path(path), m_unreadable(unreadable) {}

    // With Unreadable::Raises, raises StorageError::unableToRead(<path>)
    // for a file that is there but cannot be read.
    QString read(const QString &section, const QString &key) const;
    // Raises StorageError::unableToWrite(<path>) when the file cannot be stored.
    void write(const QString &section, const QString &key, const QString &value);

    const QString &path() const { return m_path; }

  private:
    QString m_path;
    Unreadable m_unreadable;
};
