#include "BackupGuide.h"

GuideTopic backupGuide() {
    return {
        QStringLiteral("Copia di sicurezza e ripristino."),
        {
            QStringLiteral("Il pulsante \"Copia di sicurezza\" del menu delle impostazioni "
                           "raccoglie in un unico file .ZIP tutti i dati della cartella del "
                           "programma: le schede del database, l'anagrafica dei clienti, le "
                           "impostazioni dell'archivio, la password d'accesso, il logo, le foto, "
                           "i documenti allegati e le cartelle delle schede."),
            QStringLiteral("Si sceglie la cartella in cui salvare la copia (una penna USB, un "
                           "disco esterno, una cartella sincronizzata con un servizio in rete); il "
                           "programma la ricorda per le volte successive. Ogni copia prende il "
                           "nome dalla data e dall'ora in cui è fatta, così le copie precedenti "
                           "non vengono mai sovrascritte."),
            QStringLiteral("Terminata la scrittura, il programma rilegge la copia per intero e "
                           "la confronta con i dati: solo allora annuncia \"Copia di sicurezza "
                           "completata e verificata\". Una copia interrotta o non riuscita non "
                           "lascia alcun file."),
            QStringLiteral("Il pulsante \"Ripristina copia di sicurezza\" riporta i dati a quelli "
                           "di una copia. Prima di chiedere conferma il programma controlla la "
                           "copia scelta in ogni sua parte; la domanda che segue ha \"No\" come "
                           "risposta predefinita, perché il ripristino sostituisce tutti i dati "
                           "attuali."),
            QStringLiteral("Prima di sostituirli, il programma salva i dati attuali in una nuova "
                           "copia di sicurezza nella cartella delle copie: anche un ripristino "
                           "fatto per errore si può quindi annullare ripristinando quella copia. "
                           "Se il computer si spegne durante il ripristino, al riavvio successivo "
                           "il programma lo riprende o lo annulla, e i dati non restano mai a "
                           "metà."),
            QStringLiteral("Per trasferire l'archivio su un altro computer si fa una copia di "
                           "sicurezza e la si ripristina nel programma installato sull'altro "
                           "computer."),
        },
    };
}
