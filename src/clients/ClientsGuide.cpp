#include "ClientsGuide.h"

GuideTopic clientsGuide() {
    return {
        QStringLiteral("Anagrafica Clienti."),
        {
            QStringLiteral("L'anagrafica raccoglie i dati di persone e aziende, così che le schede "
                           "del database si possano compilare importando un cliente invece di "
                           "riscriverne i dati. È una rubrica elettronica che controlla partita "
                           "IVA, codice fiscale, IBAN e numero di carta di credito e invia una "
                           "e-mail al cliente visualizzato."),
            QStringLiteral("Ogni scheda contiene cognome e nome (o ragione sociale), data e luogo "
                           "di nascita, residenza, modalità di pagamento preferite, numeri di "
                           "telefono di casa, dell'ufficio, del cellulare e del fax, e-mail, "
                           "recapito preferenziale, codice fiscale, partita IVA, numero di carta di "
                           "credito con la sua scadenza, IBAN, estremi di un documento di "
                           "identità, occupazione, stato civile, titoli e qualifiche, prodotti e "
                           "servizi di interesse e zona di appartenenza."),
            QStringLiteral("Per inserire una scheda si preme \"Nuovo\", si compilano i campi e si "
                           "preme \"Salva\". Per modificarne una la si richiama con le frecce o con "
                           "la ricerca, si apportano le modifiche e si preme \"Salva\"."),
            QStringLiteral("Le questioni ancora aperte con un cliente si annotano nel campo "
                           "\"Questioni in sospeso\"; spuntando \"Da ricontattare\" il cliente "
                           "entra nell'elenco delle persone da richiamare, che il pulsante \"Da "
                           "ricontattare\" visualizza."),
            QStringLiteral("\"Duplica\" serve a registrare schede con dati in gran parte uguali, "
                           "per esempio i familiari che abitano allo stesso indirizzo: si richiama "
                           "la scheda già salvata, si preme \"Duplica\", si inseriscono i dati "
                           "nuovi e si preme \"Salva\"."),
            QStringLiteral("Un cliente si elimina con \"Elimina / Cestino\", \"Elimina il Cliente "
                           "visualizzato...\" (Ctrl+Canc): va nel cestino, da cui la voce "
                           "\"Cestino...\" lo rimette in anagrafica al suo posto (capitolo "
                           "\"Eliminare una scheda e il cestino\")."),
            QStringLiteral("La ricerca può combinare più filtri, per esempio la zona, i prodotti di "
                           "interesse, le questioni in sospeso o una parola contenuta nelle note."),
            QStringLiteral("Con \"Allega file\" si collegano a ogni cliente fino a tre file di "
                           "qualsiasi tipo, ciascuno con una descrizione; ogni file si può aprire "
                           "in qualsiasi momento con il pulsante \"Apri\"."),
            QStringLiteral("I pulsanti accanto ai campi controllano il codice fiscale, il numero "
                           "di carta di credito, l'IBAN e la partita IVA; per una partita IVA "
                           "valida viene indicato anche l'ufficio provinciale che l'ha "
                           "rilasciata. Il pulsante accanto all'e-mail avvia il programma di posta "
                           "del computer con il destinatario già compilato."),
            QStringLiteral("Ogni scheda si può visualizzare in anteprima, stampare o salvare in "
                           "formato PDF; l'intera anagrafica si può esportare in un foglio di "
                           "calcolo in formato .XLS, che i comuni programmi per ufficio sono in "
                           "grado di aprire."),
        },
    };
}
