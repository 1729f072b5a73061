#include "TfrmMenuImpostazioni.h"

#include "kit/Shortcuts.h"
#include "SettingsGuide.h"
#include "kit/Shell.h"
#include "kit/WindowKit.h"
#include "storage/AppFolder.h"
#include "storage/ArchiveSettings.h"

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
    setStyleSheet(theme::settingsMenuWindow());

    auto *panContainer = new QFrame(this);
    panContainer->setObjectName(QStringLiteral("panContainer"));
    panContainer->setFixedSize(640, 620);

    auto *imgTestata = headingPicture(QStringLiteral("imgTestata"), QSize(388, 90), panContainer);

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
    btnCopia = new CommandButton(QStringLiteral("btnCopia"), QStringLiteral("Copia di sicurezza"),
                                 panContainer, QStringLiteral("salva"));
    btnRipristina = new CommandButton(QStringLiteral("btnRipristina"),
                                      QStringLiteral("Ripristina copia di sicurezza"), panContainer,
                                      QStringLiteral("importa"));
    for (QPushButton *b : {btnImpostaAvvio, btnImpostaCampi, btnCopia, btnRipristina}) {
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
    panel->addSpacing(6);
    panel->addWidget(btnCopia, 0, Qt::AlignHCenter);
    panel->addWidget(btnRipristina, 0, Qt::AlignHCenter);
    panel->addStretch();
    panel->addWidget(panInfo);

    centrePanel(panContainer);

    auto *hints = new StatusHints(panInfo);
    bindKeys(imgGuida, QKeySequence(Qt::Key_F1), [this] { imgGuidaClick(); });
    hints->describe({
        {btnImpostaAvvio, QStringLiteral("Imposta il nome dell'archivio, il sottotitolo e "
                                         "l'immagine della schermata di avvio.")},
        {btnImpostaCampi,
         QStringLiteral("Imposta i titoli dei quattordici campi di testo delle schede.")},
        {btnCopia, QStringLiteral("Salva tutti i dati in un archivio ZIP datato, nella "
                                  "cartella scelta.")},
        {btnRipristina, QStringLiteral("Sostituisce i dati con quelli di una copia di "
                                       "sicurezza, dopo averne fatta una dei dati attuali.")},
        {imgEsci, QStringLiteral("Torna alla schermata di avvio.")},
        {imgGuida, QStringLiteral("Guida alle impostazioni dell'archivio.")},
    });
    hints->background(
        {this, panContainer, imgTestata, titNomeArchivio, lblTitolo, lblIstruzioni, panInfo});

    connect(btnImpostaAvvio, &QPushButton::clicked, this,
            &TfrmMenuImpostazioni::btnImpostaAvvioClick);
    connect(btnImpostaCampi, &QPushButton::clicked, this,
            &TfrmMenuImpostazioni::btnImpostaCampiClick);
    connect(btnCopia, &QPushButton::clicked, this, &TfrmMenuImpostazioni::btnCopiaClick);
    connect(btnRipristina, &QPushButton::clicked, this, &TfrmMenuImpostazioni::btnRipristinaClick);
    connect(imgEsci, &PictureLabel::clicked, this, &TfrmMenuImpostazioni::imgEsciClick);
    connect(imgGuida, &PictureLabel::clicked, this, &TfrmMenuImpostazioni::imgGuidaClick);
}

void TfrmMenuImpostazioni::FormShow() {
    titNomeArchivio->setText(ArchiveSettings(shell().appFolder()).archiveName());
    panInfo->clear();
}

void TfrmMenuImpostazioni::btnImpostaAvvioClick() {
    choose(Next::StartSettings);
    close();
}

void TfrmMenuImpostazioni::btnImpostaCampiClick() {
    choose(Next::FieldTitles);
    close();
}

void TfrmMenuImpostazioni::btnCopiaClick() {
    opener::go(m_to.backup, this);
}

void TfrmMenuImpostazioni::btnRipristinaClick() {
    // The archive name shown comes from the restored settings.
    if (m_to.restore && m_to.restore(this))
        FormShow();
}

void TfrmMenuImpostazioni::imgEsciClick() {
    close();
}

void TfrmMenuImpostazioni::imgGuidaClick() {
    shell().showGuide(this, settingsGuide());
}

LargeWindow *TfrmMenuImpostazioni::closeTarget() {
    const Next next = m_next;
    choose(Next::StartScreen);
    if (next == Next::StartSettings && m_to.startSettings)
        return m_to.startSettings;
    if (next == Next::FieldTitles && m_to.fieldTitles)
        return m_to.fieldTitles;
    return LargeWindow::closeTarget();
}

void TfrmMenuImpostazioni::choose(Next next) {
    m_next = next;
    lblMemory->setText(next == Next::StartSettings ? kStartSettings
                       : next == Next::FieldTitles ? kFieldTitles
                                                   : kBackToStart);
}
