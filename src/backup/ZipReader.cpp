#include "ZipReader.h"

#include "EntryPolicy.h"
#include "Failures.h"
#include "FileSteps.h"
#include "storage/DataSet.h"
#include "storage/RegularFile.h"

#include <QFileInfo>
#include <algorithm>
#include <QSet>
#include <zlib.h>

namespace backup {

using Kind = BackupError::Kind;

QString zipReason(int code) {
    switch (code) {
    case ZIP_ER_MULTIDISK:
        return QStringLiteral("è un archivio diviso su più file");
    case ZIP_ER_SEEK:
    case ZIP_ER_TELL:
        return QStringLiteral("non ci si può spostare all'interno del file");
    case ZIP_ER_READ:
        return QStringLiteral("errore di lettura");
    case ZIP_ER_WRITE:
        return QStringLiteral("errore di scrittura");
    case ZIP_ER_TMPOPEN:
        return QStringLiteral("il file provvisorio non si può creare");
    case ZIP_ER_RENAME:
    case ZIP_ER_CLOSE:
    case ZIP_ER_REMOVE:
        return QStringLiteral("il file non si può completare");
    case ZIP_ER_CRC:
        return QStringLiteral("i dati non corrispondono al loro CRC-32");
    case ZIP_ER_NOENT:
        return QStringLiteral("una voce indicata non esiste");
    case ZIP_ER_EXISTS:
        return QStringLiteral("un nome compare due volte");
    case ZIP_ER_OPEN:
        return QStringLiteral("il file non si può aprire");
    case ZIP_ER_ZLIB:
    case ZIP_ER_COMPRESSED_DATA:
        return QStringLiteral("i dati compressi sono danneggiati");
    case ZIP_ER_MEMORY:
        return QStringLiteral("memoria insufficiente");
    case ZIP_ER_COMPNOTSUPP:
        return QStringLiteral("usa un metodo di compressione non previsto");
    case ZIP_ER_EOF:
        return QStringLiteral("il file finisce prima del previsto");
    case ZIP_ER_NOZIP:
        return QStringLiteral("non è un archivio ZIP");
    case ZIP_ER_INCONS:
        return QStringLiteral("l'elenco delle voci non concorda con i dati");
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
        return QStringLiteral("contiene voci cifrate");
    default:
        return QStringLiteral("errore %1 nella lettura dell'archivio").arg(code);
    }
}

quint32 readEntry(zip_t *z, zip_uint64_t index, const Entry &entry, const QString &archive,
                  QFile *sink, qint64 &done, const ProgressState &state) {
    zip_file_t *f = zip_fopen_index(z, index, 0);
    if (!f)
        damaged(archive, QStringLiteral("\"%1\" non si può leggere (%2)")
                             .arg(entry.name, zipReason(zip_error_code_zip(zip_get_error(z)))));
    QByteArray chunk(kChunk, Qt::Uninitialized);
    uLong crc = crc32(0, nullptr, 0);
    qint64 size = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(f, chunk.data(), zip_uint64_t(chunk.size()));
        if (got < 0) {
            const QString why = zipReason(zip_error_code_zip(zip_file_get_error(f)));
            zip_fclose(f);
            damaged(archive, QStringLiteral("\"%1\": %2").arg(entry.name, why));
        }
        if (got == 0)
            break;
        size += got;
        if (size > entry.size) {
            zip_fclose(f);
            damaged(archive, QStringLiteral("\"%1\" è più lungo del dichiarato").arg(entry.name));
        }
        crc = crc32(crc, reinterpret_cast<const Bytef *>(chunk.constData()), uInt(got));
        if (sink && sink->write(chunk.constData(), got) != got) {
            zip_fclose(f);
            cannotWrite(sink->fileName());
        }
        done += got;
        if (*state.progress && !(*state.progress)(state.stage, done, state.total)) {
            zip_fclose(f);
            cancelled();
        }
    }
    zip_fclose(f);
    if (size != entry.size || quint32(crc) != entry.crc)
        damaged(archive, QStringLiteral("\"%1\" non corrisponde al suo CRC-32").arg(entry.name));
    return quint32(crc);
}

Zip openArchive(const QString &path) {
    QFileInfo info(path);
    if (!info.exists())
        raise(Kind::File, QStringLiteral("il file %1 non esiste").arg(native(path)));
    {
        // Only a regular file: a FIFO or a device is never waited on.
        QFile probe(path);
        if (openRegularFile(probe, QIODevice::ReadOnly) != OpenResult::Opened)
            cannotRead(path);
    }
    int code = 0;
    Zip zip;
    zip.z = zip_open(encoded(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!zip.z) {
        const QString why = zipReason(code);
        if (code == ZIP_ER_OPEN || code == ZIP_ER_READ || code == ZIP_ER_MEMORY)
            cannotRead(path);
        damaged(path, why);
    }
    return zip;
}

QList<Entry> listEntries(zip_t *z, const QString &path) {
    const zip_int64_t count = zip_get_num_entries(z, 0);
    if (count < 0)
        damaged(path, QStringLiteral("l'elenco delle voci non si può leggere"));
    if (count > kMostEntries)
        raise(
            Kind::Unsafe,
            QStringLiteral("l'archivio %1 contiene troppe voci (%2)").arg(native(path)).arg(count));
    QList<Entry> entries;
    QSet<QString> seen;
    qint64 total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(z, zip_uint64_t(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
            damaged(path, QStringLiteral("la voce %1 non si può leggere").arg(i + 1));
        EntryFacts facts;
        facts.storedName = QString::fromUtf8(st.name);
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        facts.attributesKnown =
            zip_file_get_external_attributes(z, zip_uint64_t(i), 0, &system, &attributes) == 0;
        facts.madeOnUnix = system == ZIP_OPSYS_UNIX;
        facts.unixMode = attributes >> 16;
        facts.encrypted =
            (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
        facts.sizesKnown = (st.valid & ZIP_STAT_SIZE) && (st.valid & ZIP_STAT_COMP_SIZE) &&
                           (st.valid & ZIP_STAT_CRC);
        facts.size = qint64(st.size);
        facts.compressedSize = qint64(st.comp_size);
        const EntryVerdict verdict = judgeEntry(facts, seen);
        switch (verdict.refusal) {
        case EntryVerdict::Refusal::Unsafe:
            unsafe(facts.storedName, verdict.why);
        case EntryVerdict::Refusal::Damaged:
            damaged(path, verdict.why);
        case EntryVerdict::Refusal::None:
            break;
        }
        seen.insert(verdict.name);
        total += facts.size;
        if (total > kMostBytes)
            raise(Kind::Unsafe, QStringLiteral("l'archivio %1 si espande oltre %2 GB")
                                    .arg(native(path))
                                    .arg(kMostBytes >> 30));
        entries.append({verdict.name, verdict.folder, facts.size, quint32(st.crc)});
    }
    // A file inside a folder of the archive needs that folder to be a folder:
    // no leading part of its name may be the name of a file. Looked up in a
    // set, so that the check stays linear in the entries.
    QSet<QStringView> files;
    files.reserve(entries.size());
    for (const Entry &e : entries)
        if (!e.folder)
            files.insert(e.name);
    for (const Entry &e : entries)
        for (qsizetype slash = e.name.indexOf(u'/'); slash >= 0;
             slash = e.name.indexOf(u'/', slash + 1))
            if (files.contains(QStringView(e.name).left(slash)))
                unsafe(e.name, QStringLiteral("sta dentro un file"));
    return entries;
}

qint64 totalSize(const QList<Entry> &entries) {
    qint64 total = 0;
    for (const Entry &e : entries)
        total += e.size;
    return total;
}

void checkData(zip_t *z, const QString &path, const QList<Entry> &entries,
               const Progress &progress) {
    ProgressState state{&progress, totalSize(entries), Stage::Checking};
    qint64 done = 0;
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (!entries[i].folder)
            readEntry(z, zip_uint64_t(i), entries[i], path, nullptr, done, state);
}

QList<Entry> checkArchive(const QString &path, bool readAll, const Progress &progress) {
    Zip zip = openArchive(path);
    const QList<Entry> entries = listEntries(zip.z, path);
    if (entries.isEmpty())
        raise(Kind::Unsafe,
              QStringLiteral("l'archivio %1 non contiene dati di Cartavera").arg(native(path)));
    // A backup of this program holds at least one of the archives: an archive
    // without either would replace every card and client with nothing. Told
    // by every check of an archive alike, the restore's and verifica's.
    const bool archives = std::any_of(entries.begin(), entries.end(), [](const Entry &e) {
        return e.name == QLatin1String(dataset::kDatabaseFile) ||
               e.name == QLatin1String(dataset::kClientFile);
    });
    if (!archives)
        raise(Kind::Unsafe, QStringLiteral("l'archivio non contiene né %1 né %2: non è una copia "
                                           "di sicurezza di Cartavera")
                                .arg(QLatin1String(dataset::kDatabaseFile),
                                     QLatin1String(dataset::kClientFile)));
    if (readAll)
        checkData(zip.z, path, entries, progress);
    return entries;
}

} // namespace backup
