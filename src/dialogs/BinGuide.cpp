#include "BinGuide.h"

GuideTopic binGuide() {
    return {
        QStringLiteral("Eliminare una scheda e il cestino."),
        {
            QStringLiteral("Nel Database il pulsante \"Elimina\" (la scheda con la croce rossa) "
                           "elimina la scheda mostrata; nell'Anagrafica Clienti lo fa la voce "
                           "\"Elimina il Cliente visualizzato...\" del pulsante \"Elimina / "
                           "Cestino\". In entrambi gli ambienti basta premere Ctrl+Canc. Il "
                           "programma chiede conferma, e la risposta proposta è \"No\"."),
            QStringLiteral("La scheda eliminata non va persa: finisce nel cestino, con la sua "
                           "foto e la sua cartella, e al suo posto compare la scheda successiva "
                           "(o la precedente). Gli allegati restano nella cartella dei documenti "
                           "allegati, dove altre schede possono usarli."),
            QStringLiteral("Le altre schede non cambiano numero: il posto della scheda eliminata "
                           "resta libero, e le frecce, le ricerche, gli elenchi, le stampe e le "
                           "esportazioni lo saltano. Una scheda nuova va sempre in fondo "
                           "all'archivio."),
            QStringLiteral("Il pulsante \"Cestino\" (o la voce \"Cestino...\") mostra le schede "
                           "eliminate, le più recenti in alto, con il momento dell'eliminazione, "
                           "l'archivio, il numero e i primi dati. \"Rimetti in archivio\" (o il "
                           "doppio clic) riporta la scheda scelta al suo posto, esattamente "
                           "com'era, con la sua foto e la sua cartella."),
            QStringLiteral("Una scheda non può tornare al suo posto se questo è di nuovo occupato "
                           "o non esiste più, come accade dopo il ripristino di una copia di "
                           "sicurezza fatta prima dell'eliminazione: il programma lo dice e la "
                           "scheda resta nel cestino."),
            QStringLiteral("\"Elimina per sempre\" toglie dal cestino la scheda scelta e "
                           "\"Svuota il cestino\" tutte le schede: dopo una conferma, la scheda, "
                           "la sua foto e la sua cartella sono cancellate e non si possono più "
                           "recuperare. Il cestino è una cartella (\"Cestino\") nella cartella "
                           "del programma e fa parte delle copie di sicurezza."),
        },
    };
}
