#include "KeyboardGuide.h"

GuideTopic keyboardGuide() {
    return {
        QStringLiteral("Uso della tastiera e modifiche non salvate."),
        {
            QStringLiteral("Tutto il programma si può usare anche senza mouse. Nelle schede il "
                           "tasto Invio passa al campo successivo; Tab raggiunge anche i "
                           "pulsanti, e Barra spaziatrice o Invio premono il pulsante "
                           "evidenziato in giallo."),
            QStringLiteral("Negli ambienti Database e Anagrafica Clienti valgono questi tasti: "
                           "Ctrl+S salva la scheda; Ctrl+N prepara una nuova scheda; Ctrl+D "
                           "duplica la scheda; Ctrl+F apre la ricerca; Ctrl+P stampa la scheda; "
                           "PagSu e PagGiù mostrano la scheda precedente e la successiva; "
                           "Ctrl+Inizio e Ctrl+Fine la prima e l'ultima; Ctrl+Canc elimina la "
                           "scheda, che va nel cestino; F1 apre la guida."),
            QStringLiteral("Nella finestra di ricerca Invio passa da un criterio al successivo e "
                           "Ctrl+Invio avvia la ricerca; nell'elenco dei risultati le frecce "
                           "scelgono una scheda e Invio la apre, come il doppio clic. \"Modifica "
                           "ricerca\" torna ai criteri, che restano quelli scritti."),
            QStringLiteral("F1 apre la guida anche nella schermata iniziale, nel menu delle "
                           "impostazioni, nelle esportazioni e nell'importazione; Esc chiude "
                           "qualsiasi finestra di dialogo. Il suggerimento che compare sotto il "
                           "mouse su ogni pulsante ne indica anche il tasto."),
            QStringLiteral("Quando la scheda mostrata contiene modifiche non ancora salvate e si "
                           "passa a un'altra scheda (con le frecce, \"Nuovo\", \"Duplica\", un "
                           "elenco o una ricerca) o si chiude l'ambiente di lavoro, il programma "
                           "chiede \"Salvare le modifiche alla scheda corrente?\"."),
            QStringLiteral("\"Sì\" salva la scheda come il pulsante \"Salva\" (se la scheda non "
                           "si può salvare, per esempio perché manca il primo campo, si resta "
                           "sulla scheda); \"No\" abbandona le modifiche e prosegue; \"Annulla\" "
                           "resta sulla scheda senza cambiare nulla. Una scheda solo consultata "
                           "non fa comparire la domanda."),
        },
    };
}
