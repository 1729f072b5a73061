// The application folder: every data file of the program lives in it. main()
// hands in the executable's folder, tests a temporary one.
#pragma once

#include <QDir>
#include <QString>

class AppFolder {
  public:
    AppFolder() = default;
    explicit AppFolder(const QString &path) : m_path(QDir(path).absolutePath()) {}

    const QString &path() const { return m_path; }
    // The full path of a file or folder directly inside the application folder.
    QString file(const QString &name) const { return m_path + u'/' + name; }

    QString databaseFile() const { return file(QStringLiteral("Database.pro")); }
    QString clientFile() const { return file(QStringLiteral("Clienti.pro")); }
    QString settingsFile() const { return file(QStringLiteral("Archivio.ini")); }
    QString logoFile() const { return file(QStringLiteral("Logo.bmp")); }
    QString passwordFile() const { return file(QStringLiteral("unins000.dll")); }

  private:
    QString m_path;
};
