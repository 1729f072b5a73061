#include "Journal.h"

#include "StorageError.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr char kMagic[] = "CVJ1";
constexpr char kEnd[] = "CVJE";
constexpr quint8 kFile = 1, kRename = 2, kNewFolder = 3, kTrailer = 0xFF;

quint32 crc32(QByteArrayView bytes) {
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    quint32 c = 0xFFFFFFFFu;
    for (char b : bytes)
        c = table[(c ^ quint8(b)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

// Syncs a file or folder by its path; a missing one is nothing to sync.
void syncPath(const QString &path) {
    const QByteArray name = QFile::encodeName(path);
    int fd;
    do
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (errno == ENOENT)
            return;
        throw StorageError::unableToWrite(path);
    }
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL; // EINVAL: cannot be synced
    ::close(fd);
    if (!synced)
        throw StorageError::unableToWrite(path);
}

void syncParent(const QString &path) {
    syncPath(QFileInfo(path).absolutePath());
}

bool exists(const QString &path) {
    // A link counts as there even when it leads nowhere.
    return QFileInfo(path).exists() || QFileInfo(path).isSymLink();
}

} // namespace

struct Change::Entry {
    quint8 type = kFile;
    QString name;
    QString to;           // rename
    bool existed = false; // file: it was there; rename: something was at `to`
    qint64 length = 0;    // file
    QList<QPair<qint64, QByteArray>> ranges;
};

// ---- The journal's bytes ---------------------------------------------------

namespace {

QByteArray encode(Change::Kind kind, const QList<Change::Entry> &entries) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out.writeRawData(kMagic, 4);
    out << quint8(kind);
    for (const Change::Entry &e : entries) {
        out << e.type << e.name.toUtf8();
        if (e.type == kFile) {
            out << quint8(e.existed) << e.length << quint32(e.ranges.size());
            for (const auto &[offset, data] : e.ranges)
                out << offset << data;
        } else if (e.type == kRename) {
            out << e.to.toUtf8() << quint8(e.existed);
        }
    }
    out << kTrailer;
    out.writeRawData(kEnd, 4);
    out << crc32(bytes);
    return bytes;
}

// The journal's kind and entries, or nothing when it is cut short or damaged.
std::optional<std::pair<Change::Kind, QList<Change::Entry>>> decode(const QByteArray &bytes) {
    if (bytes.size() < 13 || !bytes.startsWith(kMagic))
        return std::nullopt;
    const QByteArrayView body(bytes.constData(), bytes.size() - 4);
    QDataStream crcIn(bytes.right(4));
    quint32 crc = 0;
    crcIn >> crc;
    if (crc != crc32(body) || !body.endsWith(QByteArrayView(kEnd, 4)))
        return std::nullopt;
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    in.skipRawData(4);
    quint8 kind = 0;
    in >> kind;
    QList<Change::Entry> entries;
    for (;;) {
        Change::Entry e;
        in >> e.type;
        if (in.status() != QDataStream::Ok)
            return std::nullopt;
        if (e.type == kTrailer)
            break;
        QByteArray name;
        in >> name;
        e.name = QString::fromUtf8(name);
        if (e.type == kFile) {
            quint8 existed = 0;
            quint32 count = 0;
            in >> existed >> e.length >> count;
            e.existed = existed;
            for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
                qint64 offset = 0;
                QByteArray data;
                in >> offset >> data;
                e.ranges.append({offset, data});
            }
        } else if (e.type == kRename) {
            QByteArray to;
            quint8 existed = 0;
            in >> to >> existed;
            e.to = QString::fromUtf8(to);
            e.existed = existed;
        } else if (e.type != kNewFolder) {
            return std::nullopt;
        }
        if (in.status() != QDataStream::Ok)
            return std::nullopt;
        entries.append(e);
    }
    return std::make_pair(Change::Kind(kind), entries);
}

// A name of the journal, made a path in `folder`; a name that leaves the
// folder is refused, so a forged journal cannot touch anything outside it.
QString inFolder(const AppFolder &folder, const QString &name) {
    if (name.isEmpty() || QDir::isAbsolutePath(name) || name.split(u'/').contains(QStringLiteral("..")))
        throw StorageError::unableToWrite(folder.file(name));
    return folder.file(name);
}

// Puts back what `entries` kept, last first. Each step looks at the folder
// before it acts, so running it again after an interruption is harmless.
void putBack(const AppFolder &folder, const QList<Change::Entry> &entries) {
    for (qsizetype i = entries.size() - 1; i >= 0; --i) {
        const Change::Entry &e = entries[i];
        const QString path = inFolder(folder, e.name);
        if (e.type == kFile) {
            if (!e.existed) {
                if (exists(path) && !QFile::remove(path))
                    throw StorageError::unableToWrite(path);
                syncParent(path);
                continue;
            }
            QFile file(path);
            if (!file.open(QIODevice::ReadWrite))
                throw StorageError::unableToWrite(path);
            for (const auto &[offset, data] : e.ranges)
                if (!file.seek(offset) || file.write(data) != data.size())
                    throw StorageError::unableToWrite(path);
            if (!file.flush() || !file.resize(e.length) || ::fsync(file.handle()) != 0)
                throw StorageError::unableToWrite(path);
            file.close();
            syncParent(path);
        } else if (e.type == kRename) {
            const QString to = inFolder(folder, e.to);
            // Whatever is at `to` came by this rename only if `to` was free
            // before the change, or an earlier rename of the change had moved
            // what was there away; else it is what was there all along.
            bool came = exists(to) && !exists(path);
            if (came && e.existed) {
                came = false;
                for (qsizetype k = 0; k < i; ++k)
                    if (entries[k].type == kRename && entries[k].name == e.to)
                        came = exists(inFolder(folder, entries[k].to));
            }
            if (came) {
                if (::rename(QFile::encodeName(to).constData(),
                             QFile::encodeName(path).constData()) != 0)
                    throw StorageError::unableToWrite(path);
                syncParent(to);
                syncParent(path);
            }
        } else if (exists(path)) {
            if (!QDir(path).removeRecursively())
                throw StorageError::unableToWrite(path);
            syncParent(path);
        }
    }
}

void removeJournal(const AppFolder &folder) {
    const QString path = folder.file(Change::fileName());
    if (exists(path) && !QFile::remove(path))
        throw StorageError::unableToWrite(path);
    syncPath(folder.path());
}

} // namespace

// ---- A change --------------------------------------------------------------

namespace {
// Changes under way in this process. There is one journal per folder, and
// the change lock of a second change would wait for the first for ever.
std::atomic<int> changesUnderWay{0};
} // namespace

Change::Change(const AppFolder &folder, Kind kind)
    : m_folder(folder), m_kind(kind), m_lock(folder), m_entries(std::make_unique<QList<Entry>>()) {
    if (changesUnderWay.fetch_add(1) != 0) {
        changesUnderWay.fetch_sub(1);
        throw StorageError::unableToWrite(m_folder.file(fileName()));
    }
    try {
        m_lock.holdChange();
        journal::recover(m_folder);
    } catch (...) {
        changesUnderWay.fetch_sub(1);
        throw;
    }
}

Change::~Change() {
    if (m_begun && !m_done) {
        try {
            rollback();
        } catch (const StorageError &) {
            // The journal stays; the next start puts the folder back.
        }
    }
    changesUnderWay.fetch_sub(1);
}

QString Change::path(const QString &name) const {
    return inFolder(m_folder, name);
}

void Change::keepRange(const QString &name, qint64 offset, qint64 length) {
    Q_ASSERT(!m_begun);
    const QString file = path(name);
    Entry *entry = nullptr;
    for (Entry &e : *m_entries)
        if (e.type == kFile && e.name == name)
            entry = &e;
    if (!entry) {
        Entry e;
        e.name = name;
        const QFileInfo info(file);
        e.existed = exists(file);
        if (e.existed && !info.isFile())
            throw StorageError::unableToWrite(file);
        e.length = e.existed ? info.size() : 0;
        m_entries->append(e);
        entry = &m_entries->last();
    }
    // Only bytes the file has now can be overwritten; beyond them the
    // length puts the file back.
    const qint64 end = qMin(offset + length, entry->length);
    if (!entry->existed || offset >= end)
        return;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly) || !in.seek(offset))
        throw StorageError::unableToRead(file);
    const QByteArray bytes = in.read(end - offset);
    if (bytes.size() != end - offset)
        throw StorageError::unableToRead(file);
    entry->ranges.append({offset, bytes});
}

void Change::keepWhole(const QString &name) {
    const QFileInfo info(path(name));
    // Only a regular file is ever replaced: a folder or a device under the
    // name stays as it is, and there is nothing to keep.
    if (info.exists() && !info.isFile())
        return;
    keepRange(name, 0, info.exists() ? info.size() : 0);
}

void Change::keepRename(const QString &from, const QString &to) {
    Q_ASSERT(!m_begun);
    Entry e;
    e.type = kRename;
    e.name = from;
    e.to = to;
    e.existed = exists(path(to)); // path() refuses a name that leaves the folder
    m_entries->append(e);
}

void Change::keepNewFolder(const QString &name) {
    Q_ASSERT(!m_begun);
    Entry e;
    e.type = kNewFolder;
    e.name = name;
    path(name);
    m_entries->append(e);
}

void Change::begin() {
    // A change that cannot start names the first file it was to change: the
    // journal is the program's business, not the user's.
    const QString changed = m_entries->isEmpty() ? m_folder.path() : path(m_entries->first().name);
    const QString file = m_folder.file(fileName());
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw StorageError::unableToWrite(changed);
    const QByteArray bytes = encode(m_kind, *m_entries);
    if (out.write(bytes) != bytes.size() || !out.flush() || ::fsync(out.handle()) != 0) {
        out.close();
        QFile::remove(file);
        throw StorageError::unableToWrite(changed);
    }
    out.close();
    try {
        syncPath(m_folder.path());
    } catch (const StorageError &) {
        QFile::remove(file);
        throw StorageError::unableToWrite(changed);
    }
    m_begun = true;
}

void Change::commit() {
    Q_ASSERT(m_begun && !m_done);
    for (const Entry &e : *m_entries) {
        const QString p = path(e.name);
        if (e.type == kFile)
            syncPath(p);
        else if (e.type == kRename)
            syncParent(path(e.to));
        syncParent(p);
    }
    removeJournal(m_folder);
    m_done = true;
}

void Change::rollback() {
    m_done = true;
    if (!m_begun)
        return;
    putBack(m_folder, *m_entries);
    removeJournal(m_folder);
}

// ---- Recovery --------------------------------------------------------------

namespace journal {

namespace {

std::optional<QByteArray> journalBytes(const AppFolder &folder) {
    const QString path = folder.file(Change::fileName());
    if (!exists(path))
        return std::nullopt;
    QFile in(path);
    if (!QFileInfo(path).isFile() || !in.open(QIODevice::ReadOnly))
        throw StorageError::unableToRead(path);
    return in.readAll();
}

} // namespace

std::optional<Recovered> recover(const AppFolder &folder) {
    const std::optional<QByteArray> bytes = journalBytes(folder);
    if (!bytes)
        return std::nullopt;
    const auto decoded = decode(*bytes);
    if (decoded)
        putBack(folder, decoded->second);
    removeJournal(folder);
    if (!decoded)
        return std::nullopt;
    return Recovered{decoded->first};
}

bool unfinished(const AppFolder &folder) {
    const std::optional<QByteArray> bytes = journalBytes(folder);
    return bytes && decode(*bytes).has_value();
}

} // namespace journal
