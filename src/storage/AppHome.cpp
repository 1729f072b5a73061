#include "AppHome.h"

#include "DataSet.h"
#include "RegularFile.h"
#include "StorageError.h"
#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace apphome {

namespace {

// True when the regular files `a` and `b` hold the same bytes; false when
// either is missing or is not a regular file.
bool sameBytes(const QString &a, const QString &b) {
    QFile fa(a), fb(b);
    if (openRegularFile(fa, QIODevice::ReadOnly) != OpenResult::Opened ||
        openRegularFile(fb, QIODevice::ReadOnly) != OpenResult::Opened || fa.size() != fb.size())
        return false;
    constexpr qint64 kChunk = 1 << 16;
    while (!fa.atEnd()) {
        const QByteArray left = fa.read(kChunk);
        if (left.isEmpty() || left != fb.read(kChunk))
            return false;
    }
    return true;
}

// Something by that name, a link leading nowhere included.
bool present(const QString &path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

Place locate(const QString &executableFolder) {
    const QDir bin(executableFolder);
    const QString delivered = QDir::cleanPath(
        bin.absoluteFilePath(QStringLiteral("../") + QString::fromLatin1(kDeliveredFolder)));
    if (bin.dirName() != u"bin" || !QFileInfo(delivered).isDir())
        return {bin.absolutePath(), {}};
    const QString chosen = qEnvironmentVariable(kHomeVariable);
    const QString folder = chosen.isEmpty()
                               ? QDir::home().filePath(QString::fromLatin1(kHomeFolderName))
                               : QDir(chosen).absolutePath();
    return {QDir::cleanPath(folder), delivered};
}

Furnished furnish(const QString &folder, const QString &delivered) {
    Furnished done;
    const QFileInfo info(folder);
    if (!info.isDir()) {
        // The archives are plain files: a folder the program makes is its
        // user's alone.
        if (present(folder) || !QDir().mkpath(folder) ||
            !QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            throw StorageError(QStringLiteral("impossibile creare la cartella %1")
                                   .arg(QDir::toNativeSeparators(folder)),
                               StorageError::Failed::Write);
        done.created = true;
    }
    const QDir target(folder), source(delivered);

    const QString guide = QString::fromLatin1(kGuideFile);
    if (!QFileInfo(source.filePath(guide)).isFile())
        throw StorageError::unableToRead(source.filePath(guide));
    if (!sameBytes(source.filePath(guide), target.filePath(guide))) {
        copyWholeFile(source.filePath(guide), target.filePath(guide));
        done.guide = true;
    }

    const QString password = QString::fromLatin1(dataset::kPasswordFile);
    if (!present(target.filePath(password))) {
        copyWholeFile(source.filePath(password), target.filePath(password));
        done.password = true;
    }
    return done;
}

} // namespace apphome
