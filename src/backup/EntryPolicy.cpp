#include "EntryPolicy.h"

#include "Backup.h"
#include "storage/DataSet.h"

#include <QStringList>
#include <sys/stat.h>

namespace backup {

namespace {

using Refusal = EntryVerdict::Refusal;

EntryVerdict refused(Refusal refusal, const QString &why) {
    return EntryVerdict{refusal, why, {}, false};
}

} // namespace

EntryVerdict judgeEntry(const EntryFacts &facts, const QSet<QString> &earlier) {
    QString name = facts.storedName;
    if (name.isEmpty())
        return refused(Refusal::Unsafe, QStringLiteral("nome vuoto"));
    if (name.startsWith(u'/') || name.startsWith(u'\\') || (name.size() > 1 && name[1] == u':'))
        return refused(Refusal::Unsafe, QStringLiteral("percorso assoluto"));
    if (name.contains(u'\\'))
        return refused(Refusal::Unsafe, QStringLiteral("barra rovesciata nel percorso"));
    const bool folder = name.endsWith(u'/');
    if (folder)
        name.chop(1);
    if (name.toUtf8().size() > kMostPathBytes)
        return refused(Refusal::Unsafe,
                       QStringLiteral("percorso più lungo di %1 byte").arg(kMostPathBytes));
    const QStringList parts = name.split(u'/');
    for (const QString &part : parts) {
        if (part.toUtf8().size() > kMostPartBytes)
            return refused(Refusal::Unsafe,
                           QStringLiteral("nome più lungo di %1 byte").arg(kMostPartBytes));
        if (part == u".." || part == u".")
            return refused(Refusal::Unsafe, QStringLiteral("percorso con \"..\" o \".\""));
        if (part.isEmpty())
            return refused(Refusal::Unsafe, QStringLiteral("percorso con una parte vuota"));
        for (const QChar c : part)
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                return refused(Refusal::Unsafe, QStringLiteral("carattere di controllo nel nome"));
    }
    if (!facts.attributesKnown)
        return refused(Refusal::Damaged,
                       QStringLiteral("la voce \"%1\" non si può leggere").arg(facts.storedName));
    if (facts.madeOnUnix) {
        const mode_t type = mode_t(facts.unixMode) & S_IFMT;
        if (type == S_IFLNK)
            return refused(Refusal::Unsafe, QStringLiteral("collegamento simbolico"));
        if (type != 0 && type != S_IFREG && type != S_IFDIR)
            return refused(Refusal::Unsafe, QStringLiteral("non è né un file né una cartella"));
        if (type == S_IFDIR && !folder)
            return refused(Refusal::Unsafe, QStringLiteral("cartella senza \"/\" finale"));
    }
    if (!isDataName(name) ||
        (parts.size() == 1 && folder != dataset::isFolderItem(dataset::itemOf(name))))
        return refused(Refusal::Unsafe, QStringLiteral("non fa parte dei dati di Cartavera"));
    if (earlier.contains(name))
        return refused(Refusal::Unsafe, QStringLiteral("nome ripetuto"));
    if (facts.encrypted)
        return refused(Refusal::Unsafe, QStringLiteral("voce cifrata"));
    if (!facts.sizesKnown)
        return refused(
            Refusal::Damaged,
            QStringLiteral("la voce \"%1\" non dice la sua lunghezza").arg(facts.storedName));
    if (facts.size < 0 || (folder && facts.size != 0))
        return refused(Refusal::Unsafe, QStringLiteral("lunghezza non valida"));
    if (facts.size > (qint64(1) << 20) && facts.compressedSize * kMostRatio < facts.size)
        return refused(Refusal::Unsafe, QStringLiteral("rapporto di compressione impossibile"));
    return EntryVerdict{Refusal::None, {}, name, folder};
}

} // namespace backup
