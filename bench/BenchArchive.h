// The synthetic archives the benchmarks run on, made once per size in a
// temporary folder and shared by every benchmark of the run.
#pragma once

#include "SyntheticArchive.h"

#include <QString>
#include <QTemporaryDir>
#include <map>

inline QTemporaryDir &benchFolder() {
    static QTemporaryDir dir;
    return dir;
}

// Database.pro with `count` cards, made once.
inline QString databaseOf(qint64 count) {
    static std::map<qint64, QString> made;
    auto it = made.find(count);
    if (it != made.end())
        return it->second;
    const QString path = benchFolder().filePath(QStringLiteral("Database_%1.pro").arg(count));
    if (!synthetic::writeDatabase(path, count))
        qFatal("cannot write %s", qPrintable(path));
    return made[count] = path;
}
