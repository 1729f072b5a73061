#include "TfrmMenuImpostazioni.h"

#include "SettingsStyle.h"
#include "TfrmImpostaAvvio.h"
#include "TfrmImpostaCampi.h"
#include "app/Forms.h"
#include "app/TfrmAvvio.h"
#include "app/TfrmGuida.h"
#include "kit/WindowKit.h"
#include "storage/IniFile.h"
#include "storage/TextRules.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {
const QString kBackToStart = QStringLiteral("avvio");
const QString kStartSettings = QStringLiteral("start");
const QString kFieldTitles = QStringLiteral("campi");
} // namespace

TfrmMenuImpostazioni::TfrmMenuImpostazioni(QWidget *parent) : LargeWindow(parent) {
    setObjectName(QStringLiteral("frmMenuImpostazioni"));
    setWindowTitle(QStringLiteral(" Cartavera - Impostazioni archivio"));
    resize(1016, 713);
    applyProcessFormats();
    setStyleSheet(settingsWindowStyle("TfrmMenuImpostazioni") +
                  QStringLiteral("QLabel#lblIstruzioni { color: #22313f; }"
                                 "QLabel#lblTitolo { color: #c0392b; }"));

    auto *panContainer = new QFrame(this);
    panContainer->setObjectName(QStringLiteral("panContainer"));
    panContainer->setFixedSize(640, 500);

    auto *imgTestata = new QLabel(panContainer);
    imgTestata->setObjectName(QStringLiteral("imgTestata"));
    imgTestata->setPixmap(
        QPixmap::fromImage(renderPicture(QStringLiteral(":/pictures/logo.svg"), QSize(388, 90))));
    imgTestata->setAlignment(Qt::AlignCenter);

    titNomeArchivio = new QLabel(panContainer);
    titNomeArchivio->setObjectName(QStringLiteral("titNomeArchivio"));
    titNomeArchivio->setFont(QFont(QStringLiteral("Arial"), 18, QFont::Bold));
    titNomeArchivio->setAlignment(Qt::AlignCenter);

    auto *lblTitolo = new QLabel(QStringLiteral("Impostazioni archivio"), panContainer);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    lblTitolo->setFont(QFont(QStringLiteral("Arial"), 15, QFont::Bold));
    lblTitolo->setAlignment(Qt::AlignCenter);

    lblIstruzioni = new QLabel(
        QStringLiteral("Premere il pulsante relativo al tipo di impostazioni da effettuare."),
        panContainer);
    lblIstruzioni->setObjectName(QStringLiteral("lblIstruzioni"));
    lblIstruzioni->setAlignment(Qt::AlignCenter);
    QFont instructions = lblIstruzioni->font();
    instructions.setPointSize(11);
    lblIstruzioni->setFont(instructions);

    btnImpostaAvvio = new CommandButton(QStringLiteral("btnImpostaAvvio"),
                                        QStringLiteral("Imposta schermata di avvio"), panContainer,
                                        QStringLiteral("foto"));
    btnImpostaCampi = new CommandButton(QStringLiteral("btnImpostaCampi"),
                                        QStringLiteral("Imposta campi di testo"), panContainer,
                                        QStringLiteral("impostazioni"));
    for (QPushButton *b : {btnImpostaAvvio, btnImpostaCampi}) {
        b->setFixedSize(340, 46);
        b->setIconSize(QSize(26, 26));
        QFont f = b->font();
        f.setPointSize(12);
        b->setFont(f);
    }

    imgEsci = new PictureLabel(QStringLiteral("imgEsci"), panContainer);
    imgEsci->setPixmap(icon(QStringLiteral("esci")).pixmap(40, 40));
    imgGuida = new PictureLabel(QStringLiteral("imgGuida"), panContainer);
    imgGuida->setPixmap(icon(QStringLiteral("guida")).pixmap(40, 40));

    lblMemory = new QLabel(kBackToStart, this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();

    panInfo = new QLabel(panContainer);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    panInfo->setFixedHeight(28);

    auto *corners = new QHBoxLayout;
    corners->addWidget(imgGuida, 0, Qt::AlignTop);
    corners->addStretch();
    corners->addWidget(imgEsci, 0, Qt::AlignTop);

    auto *panel = new QVBoxLayout(panContainer);
    panel->setContentsMargins(20, 14, 20, 16);
    panel->setSpacing(10);
    panel->addLayout(corners);
    panel->addWidget(imgTestata);
    panel->addWidget(titNomeArchivio);
    panel->addWidget(lblTitolo);
    panel->addSpacing(4);
    panel->addWidget(lblIstruzioni);
    panel->addSpacing(10);
    panel->addWidget(btnImpostaAvvio, 0, Qt::AlignHCenter);
    panel->addWidget(btnImpostaCampi, 0, Qt::AlignHCenter);
    panel->addStretch();
    panel->addWidget(panInfo);

    centrePanel(panContainer);

    auto *hints = new StatusHints(panInfo);
    hints->describe({
        {btnImpostaAvvio, QStringLiteral("Imposta il nome dell'archivio, il sottotitolo e "
                                         "l'immagine della schermata di avvio.")},
        {btnImpostaCampi,
         QStringLiteral("Imposta i titoli dei quattordici campi di testo delle schede.")},
        {imgEsci, QStringLiteral("Torna alla schermata di avvio.")},
        {imgGuida, QStringLiteral("Guida alle impostazioni dell'archivio.")},
    });
    hints->background(
        {this, panContainer, imgTestata, titNomeArchivio, lblTitolo, lblIstruzioni, panInfo});

    connect(btnImpostaAvvio, &QPushButton::clicked, this,
            &TfrmMenuImpostazioni::btnImpostaAvvioClick);
    connect(btnImpostaCampi, &QPushButton::clicked, this,
            &TfrmMenuImpostazioni::btnImpostaCampiClick);
    connect(imgEsci, &PictureLabel::clicked, this, &TfrmMenuImpostazioni::imgEsciClick);
    connect(imgGuida, &PictureLabel::clicked, this, &TfrmMenuImpostazioni::imgGuidaClick);
}

void TfrmMenuImpostazioni::showEvent(QShowEvent *event) {
    LargeWindow::showEvent(event);
    if (event->spontaneous())
        return;
    titNomeArchivio->setText(
        IniFile(forms().folder.settingsFile())
            .read(QStringLiteral("Database"), QStringLiteral("Nome Archivio")));
    panInfo->clear();
}

void TfrmMenuImpostazioni::btnImpostaAvvioClick() {
    lblMemory->setText(kStartSettings);
    close();
}

void TfrmMenuImpostazioni::btnImpostaCampiClick() {
    lblMemory->setText(kFieldTitles);
    close();
}

void TfrmMenuImpostazioni::imgEsciClick() {
    close();
}

void TfrmMenuImpostazioni::imgGuidaClick() {
    TfrmGuida::showTopic(this, guideTopic());
}

void TfrmMenuImpostazioni::closeEvent(QCloseEvent *event) {
    event->accept();
    if (forms().terminated)
        return;
    const QString choice = text::trimmed(lblMemory->text());
    LargeWindow *target = forms().frmAvvio;
    if (choice == kStartSettings)
        target = forms().frmImpostaAvvio;
    else if (choice == kFieldTitles)
        target = forms().frmImpostaCampi;
    lblMemory->setText(kBackToStart);
    // Shown before this window hides (the close completes after this handler).
    target->present();
}

GuideTopic TfrmMenuImpostazioni::guideTopic() {
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
