#include "SettingsGuide.h"

GuideTopic settingsGuide() {
    return {
        QStringLiteral("Impostazioni schermata di avvio e campi di testo."),
        {
            QStringLiteral(
                "Facendo clic su \u00abImpostazioni\u00bb nella schermata di avvio si apre "
                "l'area in cui personalizzare la schermata di avvio, dare un nome al database da "
                "creare e scegliere i titoli che intestano le caselle delle schede "
                "dell'archivio."),
            QStringLiteral(
                "Nella finestra della schermata di avvio si può sostituire l'immagine "
                "predefinita con un'immagine JPEG a scelta; con gli appositi pulsanti "
                "l'immagine predefinita può essere cancellata o ripristinata in qualsiasi "
                "momento. La stessa finestra stabilisce il nome del database, che compare nella "
                "schermata di avvio e nella finestra delle schede, e il sottotitolo mostrato "
                "sotto l'immagine."),
            QStringLiteral(
                "La finestra dei campi di testo crea i campi del database: la casella del primo "
                "titolo deve essere compilata, e la lunghezza massima di ogni titolo è quella che "
                "l'etichetta sopra la casella riesce a mostrare. I primi sei campi sono i più "
                "importanti, perché servono da filtri per la ricerca delle schede."),
            QStringLiteral(
                "Dopo aver indicato i titoli e il nome dell'archivio, il pulsante \u00abApplica "
                "e chiudi\u00bb salva le impostazioni; \u00abAnnulla\u00bb chiude la finestra "
                "delle impostazioni senza salvare."),
            QStringLiteral(
                "A questo punto il database è pronto per l'uso: il pulsante "
                "\u00abDatabase\u00bb della schermata di avvio apre l'ambiente di lavoro in cui "
                "si gestiscono le schede."),
        },
    };
}
