#include "ArchiveSettings.h"

namespace {

const QString kDatabase = QStringLiteral("Database");
const QString kName = QStringLiteral("Nome Archivio");
const QString kSubtitle = QStringLiteral("Sottotitolo Archivio");
// Read with either spelling (sections compare without regard to case); a new
// section is written as "Nome campi", as archives have always had it.
const QString kFieldsRead = QStringLiteral("Nome Campi");
const QString kFieldsWritten = QStringLiteral("Nome campi");
const QString kBackups = QStringLiteral("Copie di sicurezza");
const QString kBackupFolder = QStringLiteral("Cartella");

QString fieldKey(int index) {
    return QStringLiteral("Campo %1").arg(index + 1, 2, 10, QChar(u'0'));
}

} // namespace

QString ArchiveSettings::archiveName() const {
    return m_file.read(kDatabase, kName);
}

QString ArchiveSettings::subtitle() const {
    return m_file.read(kDatabase, kSubtitle);
}

void ArchiveSettings::setArchiveName(const QString &name) {
    m_file.write(kDatabase, kName, name);
}

void ArchiveSettings::setSubtitle(const QString &subtitle) {
    m_file.write(kDatabase, kSubtitle, subtitle);
}

QString ArchiveSettings::fieldTitle(int index) const {
    return m_file.read(kFieldsRead, fieldKey(index));
}

void ArchiveSettings::setFieldTitle(int index, const QString &title) {
    m_file.write(kFieldsWritten, fieldKey(index), title);
}

QString ArchiveSettings::backupFolder() const {
    return m_file.read(kBackups, kBackupFolder);
}

void ArchiveSettings::setBackupFolder(const QString &folder) {
    m_file.write(kBackups, kBackupFolder, folder);
}
