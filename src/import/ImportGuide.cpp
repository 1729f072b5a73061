#include "ImportGuide.h"

GuideTopic importGuide() {
    return {
        QStringLiteral("Importazione da file CSV o foglio di calcolo."),
        {
            QStringLiteral("Il pulsante \"Importa\" dell'ambiente Database e la voce \"Importa da "
                           "file CSV o foglio esportato...\" del menu \"Importa\" dell'Anagrafica "
                           "Clienti aggiungono all'archivio le righe di una tabella: un file CSV "
                           "(valori separati da virgole o da punti e virgola) oppure un "
                           "foglio .XLS esportato dal programma stesso."),
            QStringLiteral("Scelto il file, la finestra di importazione mostra a sinistra le "
                           "colonne del file e a destra il campo dell'archivio che ciascuna "
                           "riempirà. Le colonne sono abbinate da sole quando il loro titolo è "
                           "quello dell'esportazione del programma, il titolo che l'utente ha dato "
                           "ai campi del database, oppure un titolo di uso comune per i dati di un "
                           "cliente (per esempio \"Cognome e nome\", \"Nominativo\", "
                           "\"Cellulare\", \"Email\", \"P.IVA\", \"Provincia\")."),
            QStringLiteral("Ogni abbinamento si può cambiare dall'elenco accanto alla colonna; "
                           "\"(non importare)\" tralascia la colonna. Se la prima riga del file "
                           "contiene i titoli delle colonne la casella apposita va spuntata, "
                           "altrimenti la prima riga viene importata come dati e le colonne "
                           "seguono l'ordine dell'esportazione."),
            QStringLiteral("Sotto l'abbinamento compaiono le prime righe come saranno archiviate, "
                           "insieme al numero delle schede da aggiungere, dei valori troppo lunghi "
                           "(che saranno troncati alla lunghezza del campo) e delle righe vuote, "
                           "che vengono tralasciate."),
            QStringLiteral("\"Importa\" chiede conferma e aggiunge le schede in fondo "
                           "all'archivio, senza toccare quelle già presenti; l'importazione si "
                           "può interrompere con \"Annulla\" e in tal caso l'archivio resta "
                           "com'era. Importare due volte lo stesso file aggiunge due volte le "
                           "stesse schede."),
            QStringLiteral("Il tasto F1 apre questa pagina della guida, Esc chiude la finestra "
                           "senza importare nulla."),
        },
    };
}

GuideTopic vcardGuide() {
    return {
        QStringLiteral("Clienti in formato vCard."),
        {
            QStringLiteral("Il formato vCard (file .vcf) è quello con cui rubriche, programmi di "
                           "posta e telefoni scambiano i contatti. Il menu \"Importa\" "
                           "dell'Anagrafica Clienti ne raccoglie le tre funzioni."),
            QStringLiteral("\"Importa Clienti da file vCard...\" legge i contatti di un file "
                           "nella stessa finestra dell'importazione delle tabelle: ogni dato del "
                           "biglietto è una colonna, già abbinata al suo campo (il nome, "
                           "l'indirizzo di residenza, i telefoni di casa, dell'ufficio e del "
                           "cellulare, il fax, l'e-mail, la data di nascita, le note); si può "
                           "abbinarla a un altro campo o non importarla. La qualifica (TITLE) e "
                           "l'azienda (ORG) formano l'occupazione, per esempio \"Responsabile "
                           "acquisti, Ditta Srl\". Dai file vCard scritti dal programma stesso "
                           "tornano anche tutti gli altri dati della scheda."),
            QStringLiteral("I biglietti vuoti e quelli senza nome sono tralasciati e contati. Un "
                           "secondo indirizzo e-mail, o un telefono quando i tre campi dei "
                           "telefoni sono già occupati, non ha un campo che lo accolga: la "
                           "finestra dice quanti valori restano fuori."),
            QStringLiteral("\"Esporta il Cliente visualizzato in vCard...\" scrive il cliente "
                           "mostrato nella scheda in un file .vcf, da inviare per posta "
                           "elettronica o da aprire in una rubrica."),
            QStringLiteral("\"Esporta tutta l'anagrafica in vCard...\" scrive in un solo file "
                           "tutti i clienti dell'archivio, uno dopo l'altro."),
        },
    };
}
