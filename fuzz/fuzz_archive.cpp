// The archive check on arbitrary bytes as a backup: it refuses with its own
// error or accepts, and an archive it accepts holds a record file, only names
// the entry policy accepts one by one, no name twice, and no file where
// another entry needs a folder.
#include "FuzzSupport.h"

#include "backup/Backup.h"
#include "backup/EntryPolicy.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString file = fuzz::put(QStringLiteral("copia.zip"), fuzz::view(data, size));
    QList<backup::Entry> entries;
    try {
        entries = backup::checkArchive(file, true);
    } catch (const backup::BackupError &) {
        return 0;
    }
    FUZZ_CHECK(!entries.isEmpty());
    QSet<QString> names;
    QSet<QString> files;
    bool records = false;
    for (const backup::Entry &e : entries) {
        FUZZ_CHECK(!names.contains(e.name));
        names.insert(e.name);
        if (!e.folder)
            files.insert(e.name);
        records = records || e.name == u"Database.pro" || e.name == u"Clienti.pro";
        FUZZ_CHECK(!e.name.contains(u"..") || !e.name.split(u'/').contains(u".."));
        FUZZ_CHECK(e.name.toUtf8().size() <= backup::kMostPathBytes);
    }
    FUZZ_CHECK(records);
    for (const backup::Entry &e : entries)
        for (qsizetype slash = e.name.indexOf(u'/'); slash >= 0; slash = e.name.indexOf(u'/', slash + 1))
            FUZZ_CHECK(!files.contains(e.name.left(slash)));
    return 0;
}
