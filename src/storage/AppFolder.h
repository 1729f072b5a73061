// The application folder: every data file of the program lives in it. main()
// hands in the executable's folder, tests a temporary one.
#pragma once

#include "DataSet.h"

#include <QDir>
#include <QString>

class AppFolder {
  public:
    AppFolder() = default;
    explicit AppFolder(const QString &path) : m_path(QDir(path).absolutePath()) {}

    const QString &path() const { return m_path; }
    // The full path of a file or folder directly inside the application folder.
    QString file(const QString &name) const { return m_path + u'/' + name; }

    QString databaseFile() const { return file(QString::fromLatin1(dataset::kDatabaseFile)); }
    QString clientFile() const { return file(QString::fromLatin1(dataset::kClientFile)); }
    QString settingsFile() const { return file(QString::fromLatin1(dataset::kSettingsFile)); }
    QString logoFile() const { return file(QString::fromLatin1(dataset::kLogoFile)); }
    QString passwordFile() const { return file(QString::fromLatin1(dataset::kPasswordFile)); }

  private:
    QString m_path;
};
