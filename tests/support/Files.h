// Reading and writing whole files straight from and to disk, for tests that
// check bytes.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

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
