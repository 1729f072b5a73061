#include "CardBin.h"

#include "DataSet.h"
#include "DatabaseRecord.h"
#include "ClientRecord.h"
#include "Journal.h"
#include "RecordFile.h"
#include "RegularFile.h"
#include "StorageError.h"
#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <optional>

namespace cardbin {
namespace {

const QString kBin = QString::fromLatin1(dataset::kBinFolder);
const QString kRecordName = QStringLiteral("scheda.pro");
const QString kStampFormat = QStringLiteral("yyyyMMdd-hhmmss-zzz");
// An entry on its way out (discarded or given back) is renamed to this
// prefix first: a kill before it is gone leaves a name no entry has.
const QString kGonePrefix = QStringLiteral(".eliminata-");

const RecordLayout *layoutNamed(const QString &archive) {
    if (archive == QLatin1String("Database"))
        return &databaseLayout;
    if (archive == QLatin1String("Clienti"))
        return &clientLayout;
    return nullptr;
}

QString archiveWord(const RecordLayout &layout) {
    return &layout == &databaseLayout ? QStringLiteral("Database") : QStringLiteral("Clienti");
}

// The files beside the record that move with a card: its photo and folder.
QStringList besideNames(const RecordLayout &layout, qint64 position) {
    if (&layout != &databaseLayout)
        return {};
    const QString p = QString::number(position);
    return {dataset::photoName(p), dataset::cardFolderName(p)};
}

bool present(const QString &path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The entry a bin folder's name describes, without its record; nothing for
// a name that is no entry's.
std::optional<Entry> parse(const QString &name) {
    static const QRegularExpression form(
        QStringLiteral("^(Database|Clienti)_([1-9][0-9]{0,17})_([0-9]{8}-[0-9]{6}-[0-9]{3})$"));
    const QRegularExpressionMatch m = form.match(name);
    if (!m.hasMatch())
        return std::nullopt;
    Entry e;
    e.name = name;
    e.layout = layoutNamed(m.captured(1));
    e.position = m.captured(2).toLongLong();
    e.deleted = QDateTime::fromString(m.captured(3), kStampFormat);
    if (!e.deleted.isValid())
        return std::nullopt;
    return e;
}

// The record an entry keeps; raises Refused when it is not a whole record.
QByteArray recordOf(const AppFolder &folder, const Entry &e) {
    const QString path = folder.file(kBin + u'/' + e.name + u'/' + kRecordName);
    QFile file(path);
    if (openRegularFile(file, QIODevice::ReadOnly) != OpenResult::Opened)
        throw StorageError::unableToRead(path);
    const QByteArray bytes = file.read(e.layout->size + 1);
    if (bytes.size() != e.layout->size)
        throw Refused(QStringLiteral("La scheda eliminata %1 è danneggiata: il file %2 non "
                                     "contiene una scheda intera.")
                          .arg(e.position)
                          .arg(QDir::toNativeSeparators(path)));
    return bytes;
}

Entry entryNamed(const QString &name) {
    const std::optional<Entry> e = parse(name);
    if (!e)
        throw Refused(QStringLiteral("\"%1\" non è una scheda del cestino.").arg(name));
    return *e;
}

void renameIn(const AppFolder &folder, const QString &from, const QString &to) {
    if (!QDir().rename(folder.file(from), folder.file(to)))
        throw StorageError::unableToWrite(folder.file(from));
}

// The record at `position` of an archive, read; raises Refused when the
// archive has no such position.
Record slotAt(const AppFolder &folder, const RecordLayout &layout, qint64 position,
              const QString &missing) {
    RecordFile file;
    file.openForReading(layout, folder.file(QString::fromLatin1(layout.fileName)));
    if (position < 1 || position > file.size())
        throw Refused(missing);
    Record record(layout);
    file.seek(position - 1);
    file.read(record);
    file.close();
    return record;
}

void writeSlot(const AppFolder &folder, const RecordLayout &layout, qint64 position,
               const Record &record) {
    RecordFile file;
    file.openOrCreate(layout, folder.file(QString::fromLatin1(layout.fileName)));
    file.seek(position - 1);
    file.write(record);
    file.close();
}

} // namespace

Entry remove(const AppFolder &folder, const RecordLayout &layout, qint64 position,
             const QDateTime &when) {
    const QString archive = QString::fromLatin1(layout.fileName);
    Change change(folder, Change::Kind::Delete);
    const Record record = slotAt(folder, layout, position,
                                 QStringLiteral("La scheda %1 non è nell'archivio.").arg(position));
    if (isFreeSlot(record.data(), layout.size))
        throw Refused(QStringLiteral("La scheda %1 è già stata eliminata.").arg(position));

    Entry entry{archiveWord(layout) + u'_' + QString::number(position) + u'_' +
                    when.toString(kStampFormat),
                &layout, position, when, record.bytes()};
    const QString place = kBin + u'/' + entry.name;
    if (!QFileInfo(folder.file(kBin)).isDir())
        change.keepNewFolder(kBin);
    if (present(folder.file(place)))
        throw Refused(QStringLiteral("Nel cestino c'è già \"%1\".").arg(entry.name));
    change.keepNewFolder(place);
    QStringList moved;
    for (const QString &name : besideNames(layout, position))
        if (present(folder.file(name))) {
            change.keepRename(name, place + u'/' + name);
            moved << name;
        }
    change.keepRange(archive, (position - 1) * layout.size, layout.size);
    change.begin();

    if (!QDir().mkpath(folder.file(place)))
        throw StorageError::unableToWrite(folder.file(place));
    writeWholeFile(folder.file(place + u'/' + kRecordName), record.bytes());
    for (const QString &name : moved)
        renameIn(folder, name, place + u'/' + name);
    Record free(layout);
    free.clear();
    writeSlot(folder, layout, position, free);
    change.commit();
    return entry;
}

QList<Entry> entries(const AppFolder &folder) {
    QList<Entry> out;
    const QDir bin(folder.file(kBin));
    for (const QString &name : bin.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        std::optional<Entry> e = parse(name);
        if (!e)
            continue;
        try {
            e->record = recordOf(folder, *e);
        } catch (const Refused &) {
            continue; // not a whole record: nothing that could go back
        } catch (const StorageError &) {
            continue; // not a readable file (a folder, a FIFO): the same
        }
        out << *e;
    }
    std::stable_sort(out.begin(), out.end(), [](const Entry &a, const Entry &b) {
        return a.deleted > b.deleted;
    });
    return out;
}

void giveBack(const AppFolder &folder, const QString &entryName) {
    Entry entry = entryNamed(entryName);
    const RecordLayout &layout = *entry.layout;
    const QString archive = QString::fromLatin1(layout.fileName);
    Change change(folder, Change::Kind::GiveBack);
    const QString place = kBin + u'/' + entry.name;
    if (!QFileInfo(folder.file(place)).isDir())
        throw Refused(QStringLiteral("La scheda non è più nel cestino."));
    Record record(layout);
    const QByteArray bytes = recordOf(folder, entry);
    std::copy(bytes.begin(), bytes.end(), record.data());
    const Record now = slotAt(folder, layout, entry.position,
                              QStringLiteral("La posizione %1 non esiste più nell'archivio (forse "
                                             "è stata ripristinata una copia di sicurezza "
                                             "precedente): la scheda resta nel cestino.")
                                  .arg(entry.position));
    if (!isFreeSlot(now.data(), layout.size))
        throw Refused(QStringLiteral("La posizione %1 dell'archivio è di nuovo occupata da una "
                                     "scheda (forse è stata ripristinata una copia di sicurezza "
                                     "precedente all'eliminazione): la scheda resta nel cestino.")
                          .arg(entry.position));
    QStringList moved;
    for (const QString &name : besideNames(layout, entry.position)) {
        if (!present(folder.file(place + u'/' + name)))
            continue;
        if (present(folder.file(name)))
            throw Refused(QStringLiteral("Nella cartella del programma c'è già \"%1\": spostarlo "
                                         "o rinominarlo e riprovare. La scheda resta nel "
                                         "cestino.")
                              .arg(name));
        moved << name;
    }
    change.keepRange(archive, (entry.position - 1) * layout.size, layout.size);
    for (const QString &name : moved)
        change.keepRename(place + u'/' + name, name);
    const QString gone = kBin + u'/' + kGonePrefix + entry.name;
    change.keepRename(place, gone);
    change.begin();

    writeSlot(folder, layout, entry.position, record);
    for (const QString &name : moved)
        renameIn(folder, place + u'/' + name, name);
    renameIn(folder, place, gone);
    change.commit();
    QDir(folder.file(gone)).removeRecursively();
}

void discard(const AppFolder &folder, const QString &entryName) {
    const Entry entry = entryNamed(entryName);
    const QString place = kBin + u'/' + entry.name;
    const QString gone = kBin + u'/' + kGonePrefix + entry.name;
    {
        Change change(folder, Change::Kind::Discard);
        if (!present(folder.file(place)))
            return; // already gone
        change.keepRename(place, gone);
        change.begin();
        renameIn(folder, place, gone);
        change.commit();
    }
    if (!QDir(folder.file(gone)).removeRecursively())
        throw StorageError::unableToWrite(folder.file(gone));
}

void removeLeftovers(const AppFolder &folder) {
    const QDir bin(folder.file(kBin));
    for (const QString &name :
         bin.entryList({kGonePrefix + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        QDir(bin.filePath(name)).removeRecursively();
}

} // namespace cardbin
