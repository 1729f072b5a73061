#include "StartGuide.h"

GuideTopic startGuide() {
    return {
        QStringLiteral("Uno sguardo ad Cartavera."),
        {
            QStringLiteral(
                "Cartavera permette di creare in pochi secondi un database personale, con i "
                "campi di testo che preferisci e una foto in ogni scheda. Il programma comprende "
                "anche un'anagrafica in cui registrare clienti o contatti di qualsiasi genere, e "
                "ogni scheda del database può essere collegata a un nominativo dell'anagrafica."),
            QStringLiteral(
                "Un semplice ambiente di impostazione permette di stabilire i titoli dei campi "
                "di testo e di personalizzare la schermata di avvio con il nome dell'archivio, un "
                "sottotitolo e un'immagine a scelta: il database nasce così su misura, nei "
                "contenuti e nell'aspetto."),
            QStringLiteral(
                "A ogni scheda si può associare una foto in formato JPEG o bitmap (la copertina "
                "di un libro, la locandina di un film, un volto): la foto viene adattata alla "
                "cornice di anteprima e, con l'apposita icona, si può vedere a tutto schermo."),
            QStringLiteral(
                "Facendo clic su \u00abImpostazioni\u00bb nella schermata di avvio si apre "
                "l'ambiente in cui personalizzare la schermata di avvio, dare un nome al "
                "database e stabilire i titoli dei campi."),
            QStringLiteral(
                "Il titolo del primo campo è obbligatorio; la lunghezza massima di ogni titolo "
                "è quella che l'etichetta sopra la casella riesce a mostrare. I primi sei campi "
                "sono i più importanti, perché servono da filtri per la ricerca delle schede."),
            QStringLiteral(
                "Il pulsante \u00abApplica e chiudi\u00bb salva le impostazioni; "
                "\u00abAnnulla\u00bb chiude la finestra delle impostazioni senza salvare."),
            QStringLiteral(
                "A questo punto il database è pronto: il pulsante \u00abDatabase\u00bb della "
                "schermata di avvio apre l'ambiente di lavoro in cui si gestiscono le schede."),
            QStringLiteral(
                "Ogni scheda mostra in alto i 14 campi definiti dall'utente e, al centro, il "
                "contatto collegato: nominativo, indirizzo, città e provincia, e-mail, contatto "
                "preferito, codice fiscale e partita IVA. Il pulsante con la freccia rossa "
                "accanto al nominativo importa il contatto dall'anagrafica clienti."),
            QStringLiteral(
                "La ricerca funziona anche con chiavi parziali (una o più parole consecutive) "
                "nei primi sei campi e nel nominativo, nella città, nel codice fiscale e nella "
                "partita IVA del contatto; si possono usare uno o più campi insieme."),
            QStringLiteral(
                "A ogni scheda si possono allegare file di qualsiasi tipo: documenti cartacei "
                "acquisiti con lo scanner, immagini, file audio e video."),
            QStringLiteral(
                "A ogni scheda si può inoltre associare una cartella che accoglie un numero "
                "illimitato di file: viene creata automaticamente nella cartella del programma "
                "e si apre con il suo pulsante; per riempirla basta copiarvi o trascinarvi i "
                "file."),
            QStringLiteral(
                "Dopo aver salvato una scheda, se ne possono duplicare i dati in una nuova "
                "scheda, da modificare e salvare a sua volta."),
            QStringLiteral(
                "Spuntando \u00abSegnala\u00bb la scheda entra nell'elenco delle schede "
                "segnalate (pagamenti in sospeso, lavori da completare, persone da contattare); "
                "il pulsante \u00abSegnalati\u00bb mostra l'elenco."),
            QStringLiteral(
                "La scheda corrente può essere visualizzata in anteprima o stampata, con o senza "
                "la sua foto."),
            QStringLiteral(
                "L'intero archivio può essere esportato in un foglio di calcolo in formato "
                ".XLS, leggibile anche da altri programmi per l'ufficio; le singole schede si "
                "visualizzano in anteprima o si stampano."),
            QStringLiteral(
                "Tutti i dati sono conservati in file nella cartella del programma. Per fare "
                "una copia di sicurezza si usa il pulsante \"Copia di sicurezza\" del menu delle "
                "impostazioni, e per riportare i dati su questo o su un altro computer il "
                "pulsante \"Ripristina copia di sicurezza\" (capitolo \"Copia di sicurezza e "
                "ripristino\")."),
            QStringLiteral(
                "Per avere un secondo archivio sullo stesso computer basta duplicare la cartella "
                "del programma dandole un nome significativo (un collegamento sul desktop al suo "
                "eseguibile lo avvia); in questo modo si possono creare tutti gli archivi che si "
                "desiderano."),
            QStringLiteral(
                "L'anagrafica clienti registra persone o aziende e rende più veloce la "
                "compilazione delle schede tramite l'importazione. È una rubrica completa, che "
                "controlla partite IVA, codici fiscali, IBAN e numeri di carta di credito e può "
                "inviare un'e-mail al nominativo selezionato."),
            QStringLiteral(
                "La scheda del cliente comprende cognome e nome, data e luogo di nascita, "
                "indirizzo, pagamento preferito, numeri di telefono di casa, dell'ufficio e del "
                "cellulare, fax, e-mail, contatto preferito, codice fiscale, partita IVA, carta "
                "di credito con la sua scadenza, IBAN, documento di identità, professione, stato "
                "civile, titoli, prodotti e servizi di interesse e zona."),
            QStringLiteral(
                "Per inserire una scheda si preme \u00abNuovo\u00bb, si compilano i campi e si "
                "preme \u00abSalva\u00bb; per modificare una scheda esistente la si richiama con "
                "le frecce o con la ricerca, la si modifica e si preme \u00abSalva\u00bb."),
            QStringLiteral(
                "Le questioni in sospeso con un cliente si annotano nell'apposito campo; "
                "spuntando \u00abDa ricontattare\u00bb il cliente entra nell'elenco delle persone "
                "da richiamare, che si apre con il pulsante \u00abDa ricontattare\u00bb."),
            QStringLiteral(
                "\u00abDuplica\u00bb aiuta a registrare clienti simili, per esempio familiari "
                "che abitano allo stesso indirizzo: si richiama la scheda salvata, si preme "
                "\u00abDuplica\u00bb, si inseriscono i nuovi dati e si preme \u00abSalva\u00bb."),
            QStringLiteral(
                "I clienti si cercano con uno o più filtri alla volta: la zona, i prodotti o i "
                "servizi di interesse, le questioni in sospeso, una parola contenuta nelle note."),
            QStringLiteral(
                "Con \u00abAllega file\u00bb si collegano a ogni cliente fino a tre file di "
                "qualsiasi tipo, ciascuno con una descrizione, che si aprono con "
                "\u00abApri\u00bb."),
            QStringLiteral(
                "Appositi pulsanti controllano il codice fiscale, il numero della carta di "
                "credito, l'IBAN e la partita IVA del cliente; per una partita IVA corretta viene "
                "indicato anche l'ufficio provinciale che l'ha rilasciata. Il pulsante accanto al "
                "campo e-mail avvia il programma di posta con il destinatario già compilato."),
            QStringLiteral(
                "La scheda di un cliente può essere visualizzata in anteprima, stampata o "
                "salvata in PDF; l'intera anagrafica clienti può essere esportata in un foglio "
                "di calcolo .XLS."),
            QStringLiteral("Il programma può essere usato anche da una chiavetta USB."),
            QStringLiteral(
                "L'accesso è protetto da una password che l'utente può cambiare in qualsiasi "
                "momento e che deve avere almeno otto caratteri. Per il primo accesso si usa la "
                "password iniziale \u00abamministratore\u00bb, da digitare in lettere "
                "minuscole."),
            QStringLiteral(
                "Cartavera è lo strumento ideale per realizzare in poco tempo un sistema "
                "personale di gestione dei dati, senza imparare un linguaggio di programmazione "
                "e praticamente senza tempi di apprendimento."),
        },
    };
}
