#include "Backup.h"

#include "FileSteps.h"
#include "storage/DataSet.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace backup {

namespace {

// The data set's own rules, by the names the backup uses.
bool isDataFolderName(const QString &name) {
    return dataset::isFolderItem(dataset::itemOf(name));
}
bool isTopFileName(const QString &name) {
    const dataset::Item item = dataset::itemOf(name);
    return item != dataset::Item::None && !dataset::isFolderItem(item);
}

} // namespace

WrittenHook &writtenHook() {
    static WrittenHook hook;
    return hook;
}
MoveHook &moveHook() {
    static MoveHook hook;
    return hook;
}

bool isDataName(const QString &name) {
    const qsizetype slash = name.indexOf(u'/');
    if (slash < 0)
        return isTopFileName(name) || isDataFolderName(name);
    return isDataFolderName(name.left(slash)) && slash + 1 < name.size();
}

QList<Item> dataItems(const AppFolder &folder) {
    QList<Item> items;
    QDir top(folder.path());
    QStringList names = top.entryList(
        QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : names) {
        const QFileInfo info(top.filePath(name));
        if (info.isSymLink() || !isDataName(name))
            continue;
        if (info.isFile() && isTopFileName(name)) {
            items.append({name, false});
        } else if (info.isDir() && isDataFolderName(name)) {
            items.append({name, true});
            QDirIterator it(info.filePath(),
                            QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System |
                                QDir::NoDotAndDotDot,
                            QDirIterator::Subdirectories);
            QList<Item> inside;
            while (it.hasNext()) {
                it.next();
                const QFileInfo in = it.fileInfo();
                if (in.isSymLink() || (!in.isFile() && !in.isDir()))
                    continue;
                // Nothing below a linked folder is stored: the iterator does
                // not enter links, so every path here lies really inside.
                inside.append({name + u'/' + QDir(info.filePath()).relativeFilePath(in.filePath()),
                               in.isDir()});
            }
            std::sort(inside.begin(), inside.end(),
                      [](const Item &a, const Item &b) { return a.name < b.name; });
            items += inside;
        }
    }
    return items;
}

QString archiveName(const QDateTime &when) {
    return QStringLiteral("Cartavera-%1.zip").arg(when.toString(QStringLiteral("yyyy-MM-dd-HHmm")));
}

QString freeArchivePath(const QString &folder, const QDateTime &when) {
    const QString name = archiveName(when);
    QString path = QDir(folder).filePath(name);
    for (int n = 2; lies(path) || lies(path + QStringLiteral(".part")); ++n) {
        QString numbered = name;
        numbered.insert(name.size() - 4, QStringLiteral("-%1").arg(n));
        path = QDir(folder).filePath(numbered);
    }
    return path;
}

void setWrittenHook(WrittenHook hook) {
    writtenHook() = std::move(hook);
}
void setMoveHook(MoveHook hook) {
    moveHook() = std::move(hook);
}

} // namespace backup
