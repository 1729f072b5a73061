#include "DatabaseGuide.h"

GuideTopic databaseGuide() {
    return {
        QStringLiteral("Gestione Database."),
        {
            QStringLiteral("Dopo aver definito nelle impostazioni il nome del database e i titoli "
                           "dei suoi campi di testo, si può cominciare a inserire i dati."),
            QStringLiteral("Il pulsante \"Database\" della schermata iniziale apre questo ambiente "
                           "di lavoro, nel quale si gestiscono le schede dell'archivio."),
            QStringLiteral("Ogni scheda presenta in alto i 14 campi definiti dall'utente e, nella "
                           "parte centrale, il cliente associato (cognome e nome, via, comune e "
                           "provincia, e-mail, recapito preferenziale, codice fiscale e partita "
                           "IVA); il pulsante con la freccia rossa a destra del nome importa i "
                           "dati del cliente dall'archivio anagrafico."),
            QStringLiteral("A ogni scheda si può abbinare una foto in formato JPEG o bitmap, "
                           "ridimensionata per entrare nella cornice di anteprima; la lente con il "
                           "segno più la mostra a tutto schermo, mentre la gomma toglie l'immagine "
                           "caricata e ripristina la foto predefinita."),
            QStringLiteral("Per inserire una scheda si preme \"Nuovo\", si compilano i campi, si "
                           "carica eventualmente una foto e si preme \"Salva\"; per modificare una "
                           "scheda esistente la si richiama con le frecce o con la ricerca, si "
                           "apportano le modifiche e si preme \"Salva\"."),
            QStringLiteral("La ricerca funziona con chiavi parziali (una o più parole consecutive) "
                           "nei primi sei campi e nel nome, nel comune, nel codice fiscale e nella "
                           "partita IVA del cliente; si possono usare più campi insieme."),
            QStringLiteral("A ogni scheda si possono allegare file di qualsiasi tipo: copie "
                           "digitali di documenti cartacei, immagini, file multimediali."),
            QStringLiteral("A ogni scheda si può inoltre abbinare una cartella che accoglie un "
                           "numero illimitato di file: viene creata automaticamente nella cartella "
                           "del programma e, una volta aperta con l'apposito pulsante, vi si "
                           "possono copiare o trascinare i file."),
            QStringLiteral("Dopo aver salvato una scheda, se ne possono duplicare i dati in una "
                           "nuova scheda, da modificare e salvare."),
            QStringLiteral("Una scheda che non serve più si elimina con \"Elimina\" (Ctrl+Canc): "
                           "va nel cestino, da cui \"Cestino\" la rimette in archivio al suo "
                           "posto (capitolo \"Eliminare una scheda e il cestino\")."),
            QStringLiteral("Spuntando \"Segnala\" la scheda entra nell'elenco dei record segnalati "
                           "(pagamenti in sospeso, lavori da completare, persone da contattare); "
                           "il pulsante \"Segnalati\" mostra l'elenco."),
            QStringLiteral(
                "L'intero archivio si può esportare in un foglio di calcolo in formato "
                ".XLS, leggibile anche da altri programmi per ufficio; le singole schede "
                "si possono visualizzare in anteprima o stampare."),
            QStringLiteral("La scheda corrente si può visualizzare in anteprima o stampare, con o "
                           "senza la sua foto."),
            QStringLiteral("I dati di testo delle schede sono conservati in un unico file nella "
                           "cartella del programma. Per la copia di sicurezza si usa il pulsante "
                           "\"Copia di sicurezza\" del menu delle impostazioni, che salva e "
                           "verifica in un unico file tutti i dati, foto, allegati e cartelle "
                           "delle schede compresi (capitolo \"Copia di sicurezza e "
                           "ripristino\")."),
        },
    };
}
