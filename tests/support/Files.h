// Reading and writing whole files straight from and to disk, for tests that
// check bytes.
#pragma once

#include "storage/FolderLock.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QString>
#include <sys/stat.h>

// The bytes of the file, or nothing when it cannot be read.
inline QByteArray readFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes `bytes` as the whole file; false when it cannot be written.
[[nodiscard]] inline bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

// Everything under `folder`, by path relative to it: the bytes of each regular
// file, and a mark for a folder, a FIFO or anything else that is not one
// (links are not followed; nothing but a regular file is opened). Two
// snapshots are equal when nothing was created, removed or rewritten. The
// folder's lock file is left out: it holds nothing, and is there from the
// first change or start of the program on.
inline QMap<QString, QByteArray> folderSnapshot(const QString &folder) {
    QMap<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    const QDir base(folder);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileName() == FolderLock::fileName())
            continue;
        struct stat st;
        QByteArray content = "<missing>";
        if (::lstat(QFile::encodeName(path).constData(), &st) == 0)
            content = S_ISREG(st.st_mode)    ? readFile(path)
                      : S_ISDIR(st.st_mode)  ? QByteArray("<folder>")
                      : S_ISFIFO(st.st_mode) ? QByteArray("<fifo>")
                                             : QByteArray("<other>");
        entries.insert(base.relativeFilePath(path), content);
    }
    return entries;
}
