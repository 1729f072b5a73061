// What the fuzz targets share: a scratch folder of their own, where the bytes
// under test are written as the file a reader opens.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace fuzz {

// A folder for this process, in memory where there is /dev/shm; removed at exit.
inline const QString &scratch() {
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/cartavera-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/cartavera-fuzz-XXXXXX"));
    static const QString path = dir.path();
    if (!dir.isValid())
        std::abort();
    return path;
}

inline QString path(const QString &name) {
    return scratch() + u'/' + name;
}

// Writes `bytes` as `name` in the scratch folder (replacing what was there).
inline QString put(const QString &name, QByteArrayView bytes) {
    const QString p = path(name);
    QFile file(p);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), bytes.size()) != bytes.size())
        std::abort();
    return p;
}

inline QByteArrayView view(const uint8_t *data, size_t size) {
    return QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Stops the run, as a finding: a property of the code under test did not hold.
#define FUZZ_CHECK(cond)                                                                          \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);          \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

} // namespace fuzz
