#include "VCardWindows.h"

#include "import/TfrmImporta.h"
#include "import/VCard.h"
#include "kit/Desktop.h"
#include "storage/RecordFile.h"
#include "storage/StorageError.h"
#include "storage/TextRules.h"

namespace import {
namespace {

const QString kFilter = QStringLiteral("Biglietti da visita vCard (*.vcf)");
const QString kNotWritten = QStringLiteral(
    "Attenzione: non è stato possibile scrivere il file vCard.\n\nAccertarsi che il disco non "
    "sia pieno e di possedere i privilegi di scrittura nella cartella scelta.");
const QString kUnreadable = QStringLiteral(
    "Attenzione: non è stato possibile leggere l'archivio dei Clienti o il file vCard.\n\n"
    "Accertarsi che i file esistano e di possedere i privilegi di lettura.");

// A file name made of the client's name: letters, digits, blanks and dashes.
QString fileNameFor(const QString &name) {
    QString out;
    for (QChar c : name)
        out.append(c.isLetterOrNumber() || c == u' ' || c == u'-' ? c : u'_');
    out = text::trimmed(out);
    return (out.isEmpty() ? QStringLiteral("Cliente") : out) + QStringLiteral(".vcf");
}

} // namespace

bool exportClientToVCard(QWidget *parent, const AppFolder &folder, const ClientRecord &client) {
    Desktop &desktop = Desktop::current();
    if (client.text(ClientField::Cliente).isEmpty()) {
        desktop.message(parent, Desktop::Kind::Warning,
                        QStringLiteral("Scrivere il nome del Cliente prima di esportarlo in "
                                       "vCard."));
        return false;
    }
    const QString path = desktop.saveFileName(
        parent, QStringLiteral("Esporta il Cliente in vCard"), kFilter,
        folder.file(fileNameFor(client.text(ClientField::Cliente))));
    if (path.isEmpty())
        return false;
    try {
        vcard::writeFile(path, {client});
    } catch (const StorageError &) {
        desktop.message(parent, Desktop::Kind::Error, kNotWritten);
        return false;
    }
    desktop.message(parent, Desktop::Kind::Information,
                    QStringLiteral("Il Cliente è stato esportato in vCard."));
    return true;
}

qint64 exportRegistryToVCard(QWidget *parent, const AppFolder &folder) {
    Desktop &desktop = Desktop::current();
    const QString path =
        desktop.saveFileName(parent, QStringLiteral("Esporta l'anagrafica in vCard"), kFilter,
                             folder.file(QStringLiteral("Clienti.vcf")));
    if (path.isEmpty())
        return -1;
    qint64 written = 0;
    try {
        written = vcard::exportRegistry(folder, path);
    } catch (const StorageError &e) {
        desktop.message(parent, Desktop::Kind::Error,
                        e.failed() == StorageError::Failed::Write ? kNotWritten : kUnreadable);
        return -1;
    }
    desktop.message(parent, Desktop::Kind::Information,
                    QStringLiteral("Clienti esportati in vCard: %1.").arg(written));
    return written;
}

qint64 importVCardFromWindow(QWidget *parent, const AppFolder &folder) {
    const QString path = Desktop::current().openFileName(
        parent, QStringLiteral("Scegliere il file vCard da importare"),
        kFilter + QStringLiteral(";;Tutti i file (*)"), folder.path());
    if (path.isEmpty())
        return 0;
    return importFile(parent, folder, spreadsheet::clientSheet, path, true);
}

} // namespace import
