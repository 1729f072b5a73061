// The archive's settings in Archivio.ini: the one place that knows their
// sections and keys. Reads follow IniFile's rules (a missing file or key
// reads as the empty text); each setter stores the file at once and raises
// StorageError when it cannot. A caller that sets several keys as one change
// runs them under the journal (Journal.h).
#pragma once

#include "AppFolder.h"
#include "IniFile.h"

#include <QString>

class ArchiveSettings {
  public:
    // The free fields of a database card that have a title of their own.
    static constexpr int kFieldTitles = 14;

    explicit ArchiveSettings(const AppFolder &folder) : m_file(folder.settingsFile()) {}

    // [Database] Nome Archivio, Sottotitolo Archivio: the start screen's texts.
    QString archiveName() const;
    QString subtitle() const;
    void setArchiveName(const QString &name);
    void setSubtitle(const QString &subtitle);

    // [Nome Campi] Campo 01 … Campo 14: the titles of the free fields (0-based).
    QString fieldTitle(int index) const;
    void setFieldTitle(int index, const QString &title);

    // [Copie di sicurezza] Cartella: where the last backup went.
    QString backupFolder() const;
    void setBackupFolder(const QString &folder);

  private:
    IniFile m_file;
};
