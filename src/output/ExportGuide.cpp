#include "ExportGuide.h"

namespace {

// The last two paragraphs are the same in both windows.
QStringList howToExport(const QString &first) {
    return {
        first,
        QStringLiteral("Dopo l'apertura della finestra con la griglia dei dati, fare clic "
                       "sull'icona di Excel: il file XLS viene creato immediatamente e, "
                       "rispondendo sì alla domanda che segue, lo si può anche aprire."),
        QStringLiteral("A questo punto è sufficiente salvare il file su disco con il nome "
                       "desiderato."),
    };
}

} // namespace

GuideTopic databaseExportGuide() {
    return {
        QStringLiteral("Esportazione database in Microsoft Excel."),
        howToExport(QStringLiteral(
            "Il pulsante Esporta archivio consente di esportare tutte le schede del database in "
            "un foglio di lavoro di Microsoft Excel, leggibile da qualsiasi programma in grado "
            "di aprire i file in formato XLS.")),
    };
}

GuideTopic clientsExportGuide() {
    return {
        QStringLiteral("Esportazione archivio Clienti in Microsoft Excel."),
        howToExport(QStringLiteral(
            "Il pulsante Esporta archivio consente di esportare i dati anagrafici di tutti i "
            "clienti in un foglio di lavoro di Microsoft Excel, leggibile da qualsiasi "
            "programma in grado di aprire i file in formato XLS.")),
    };
}
