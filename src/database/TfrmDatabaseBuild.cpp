// The construction of the database workspace: its controls, their layout,
// status-line texts, tab order and Enter chain. Its behaviour is in
// TfrmDatabase.cpp.
#include "TfrmDatabase.h"

#include "PhotoView.h"
#include "kit/AttachmentLabels.h"
#include "kit/ProvinceBox.h"
#include "kit/Shortcuts.h"
#include "kit/WorkspaceParts.h"
#include "kit/WindowKit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

TfrmDatabase::TfrmDatabase(QWidget *parent) : LargeWindow(parent) {
    setObjectName(QStringLiteral("frmDatabase"));
    setWindowTitle(QStringLiteral(" Cartavera - Gestione Database"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(theme::databaseWorkspace());
    resize(1016, 713);

    panContainer = shape(QStringLiteral("panContainer"), this);
    panContainer->setFixedSize(995, 692);

    panInfo = new QLabel(QStringLiteral("Pronto per archiviare una nuova scheda..."), panContainer);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    panInfo->setFixedHeight(26);

    auto *content = new QVBoxLayout(panContainer);
    content->setContentsMargins(0, 4, 0, 0);
    content->setSpacing(7);
    content->addWidget(buildToolbar());

    // The archive name, with the flag at its right.
    auto *band = shape(QStringLiteral("shpTitolo"), panContainer);
    band->setFixedHeight(46);
    titNomeArchivio = new QLabel(band);
    titNomeArchivio->setObjectName(QStringLiteral("titNomeArchivio"));
    titNomeArchivio->setAlignment(Qt::AlignCenter);
    QFont nameFont(QStringLiteral("Arial"), 22, QFont::Bold);
    titNomeArchivio->setFont(nameFont);
    auto *flag = shape(QStringLiteral("shpSegnala"), band);
    chkSegnala = new QCheckBox(QStringLiteral("Segnala"), flag);
    chkSegnala->setObjectName(QStringLiteral("chkSegnala"));
    chkSegnala->setCursor(Qt::PointingHandCursor);
    auto *flagLayout = new QHBoxLayout(flag);
    flagLayout->setContentsMargins(12, 4, 12, 4);
    flagLayout->addWidget(chkSegnala);
    flag->setFixedWidth(120);
    auto *bandLayout = new QHBoxLayout(band);
    bandLayout->setContentsMargins(10, 4, 10, 4);
    bandLayout->addSpacing(120); // balances the flag, so the name stays centred
    bandLayout->addWidget(titNomeArchivio, 1);
    bandLayout->addWidget(flag);
    content->addWidget(band);

    content->addWidget(buildCardArea());
    content->addWidget(buildContactBlock());
    content->addStretch(1);
    content->addWidget(panInfo);

    createAttachmentLabels(this, lblFile, lblDesc);

    auto *outer = new QGridLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panContainer, 0, 0, Qt::AlignCenter);

    bindCommandKeys(); // before the descriptions, which name the keys
    describeControls();
    wireKeyboard();

    connect(cmdNuovo, &QToolButton::clicked, this, &TfrmDatabase::cmdNuovoClick);
    connect(cmdDuplica, &QToolButton::clicked, this, &TfrmDatabase::cmdDuplicaClick);
    connect(cmdSalva, &QToolButton::clicked, this, &TfrmDatabase::cmdSalvaClick);
    connect(cmdElimina, &QToolButton::clicked, this, &TfrmDatabase::cmdEliminaClick);
    connect(cmdCestino, &QToolButton::clicked, this, &TfrmDatabase::cmdCestinoClick);
    connect(cmdTrova, &QToolButton::clicked, this, &TfrmDatabase::cmdTrovaClick);
    connect(cmdFile, &QToolButton::clicked, this, &TfrmDatabase::cmdFileClick);
    connect(cmdCartella, &QToolButton::clicked, this, &TfrmDatabase::cmdCartellaClick);
    connect(cmdAnteprima, &QToolButton::clicked, this, &TfrmDatabase::cmdAnteprimaClick);
    connect(cmdStampa, &QToolButton::clicked, this, &TfrmDatabase::cmdStampaClick);
    connect(cmdSegnalati, &QToolButton::clicked, this, &TfrmDatabase::cmdSegnalatiClick);
    connect(cmdPrimo, &QToolButton::clicked, this, &TfrmDatabase::cmdPrimoClick);
    connect(cmdIndietro, &QToolButton::clicked, this, &TfrmDatabase::cmdIndietroClick);
    connect(cmdAvanti, &QToolButton::clicked, this, &TfrmDatabase::cmdAvantiClick);
    connect(cmdUltimo, &QToolButton::clicked, this, &TfrmDatabase::cmdUltimoClick);
    connect(cmdImporta, &QToolButton::clicked, this, &TfrmDatabase::cmdImportaClick);
    connect(cmdEsporta, &QToolButton::clicked, this, &TfrmDatabase::cmdEsportaClick);
    connect(cmdGuida, &QToolButton::clicked, this, &TfrmDatabase::cmdGuidaClick);
    connect(cmdEsci, &QToolButton::clicked, this, &TfrmDatabase::cmdEsciClick);
    connect(btnSfoglia, &QPushButton::clicked, this, &TfrmDatabase::btnSfogliaClick);
    connect(btnCancFoto, &QToolButton::clicked, this, &TfrmDatabase::btnCancFotoClick);
    connect(btnZoom, &QToolButton::clicked, this, &TfrmDatabase::btnZoomClick);
    connect(impCliente, &QToolButton::clicked, this, &TfrmDatabase::impClienteClick);
    connect(sndMail, &QToolButton::clicked, this, &TfrmDatabase::sndMailClick);
    connect(btnCodFisc, &QToolButton::clicked, this, &TfrmDatabase::btnCodFiscClick);
    connect(btnPartitaIva, &QToolButton::clicked, this, &TfrmDatabase::btnPartitaIvaClick);
}

QFrame *TfrmDatabase::buildToolbar() {
    auto *bar = new QFrame(panContainer);
    bar->setObjectName(QStringLiteral("panToolbar"));
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    int group = 0;
    auto addGroup = [&](std::initializer_list<QWidget *> items) {
        auto *frame = shape(QStringLiteral("shpGruppo%1").arg(++group, 2, 10, QChar(u'0')), bar);
        auto *layout = new QHBoxLayout(frame);
        layout->setContentsMargins(6, 3, 6, 3);
        layout->setSpacing(4);
        for (QWidget *item : items) {
            item->setParent(frame);
            layout->addWidget(item);
        }
        if (group > 1)
            row->addStretch(1);
        row->addWidget(frame);
    };
    auto button = [bar](const char *name, const char *iconName) {
        return new PictureButton(QString::fromLatin1(name), QString::fromLatin1(iconName), 34, bar);
    };

    cmdNuovo = button("cmdNuovo", "nuovo");
    cmdDuplica = button("cmdDuplica", "duplica");
    cmdSalva = button("cmdSalva", "salva");
    cmdElimina = button("cmdElimina", "elimina");
    cmdCestino = button("cmdCestino", "cestino");
    cmdTrova = button("cmdTrova", "trova");
    cmdFile = button("cmdFile", "allegati");
    cmdCartella = button("cmdCartella", "cartella");
    cmdAnteprima = button("cmdAnteprima", "anteprima");
    cmdStampa = button("cmdStampa", "stampa");
    cmdSegnalati = button("cmdSegnalati", "segnalati");
    cmdPrimo = button("cmdPrimo", "primo");
    cmdIndietro = button("cmdIndietro", "precedente");
    lblPosizione = new QLabel(bar);
    lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
    lblPosizione->setAlignment(Qt::AlignCenter);
    lblPosizione->setFont(QFont(QStringLiteral("Verdana"), 12, QFont::Bold));
    lblPosizione->setFixedSize(78, 30);
    cmdAvanti = button("cmdAvanti", "successivo");
    cmdUltimo = button("cmdUltimo", "ultimo");
    cmdImporta = button("cmdImporta", "importa");
    cmdEsporta = button("cmdEsporta", "excel");
    cmdGuida = button("cmdGuida", "guida");
    cmdEsci = button("cmdEsci", "esci");

    addGroup({cmdNuovo, cmdDuplica, cmdSalva, cmdElimina, cmdCestino});
    addGroup({cmdTrova, cmdFile, cmdCartella});
    addGroup({cmdAnteprima, cmdStampa, cmdSegnalati});
    addGroup({cmdPrimo, cmdIndietro, lblPosizione, cmdAvanti, cmdUltimo});
    addGroup({cmdImporta, cmdEsporta, cmdGuida, cmdEsci});
    return bar;
}

QFrame *TfrmDatabase::buildCardArea() {
    auto *section = shape(QStringLiteral("shpScheda"), panContainer);
    auto *layout = new QHBoxLayout(section);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(18);

    // The photo, framed, with its three buttons under it.
    auto *photoColumn = new QVBoxLayout;
    photoColumn->setSpacing(6);
    auto *frame = shape(QStringLiteral("shpFoto"), section);
    frame->setFixedSize(234, 311);
    imgFoto = new PhotoView(QStringLiteral("imgFoto"), frame);
    imgFoto->setGeometry(2, 2, 230, 307);
    imgBianco = new PhotoView(QStringLiteral("imgBianco"), section);
    imgBianco->setFixedSize(230, 307);
    imgBianco->hide();
    imgBianco->setPicture(defaultPhoto());
    imgFoto->setPicture(imgBianco->picture());
    photoColumn->addWidget(frame, 0, Qt::AlignHCenter);

    btnCancFoto =
        new PictureButton(QStringLiteral("btnCancFoto"), QStringLiteral("gomma"), 26, section);
    btnSfoglia = new CommandButton(QStringLiteral("btnSfoglia"), QStringLiteral("Carica foto"),
                                   section, QStringLiteral("foto"));
    btnZoom = new PictureButton(QStringLiteral("btnZoom"), QStringLiteral("zoom"), 26, section);
    auto *photoButtons = new QHBoxLayout;
    photoButtons->addWidget(btnCancFoto);
    photoButtons->addStretch(1);
    photoButtons->addWidget(btnSfoglia);
    photoButtons->addStretch(1);
    photoButtons->addWidget(btnZoom);
    photoColumn->addLayout(photoButtons);
    photoColumn->addStretch(1);
    layout->addLayout(photoColumn);

    // The fourteen user fields, seven rows of two, each under its title.
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(20);
    grid->setVerticalSpacing(1);
    QFont titleFont(QStringLiteral("Arial"), 9, QFont::Bold);
    for (int i = 0; i < kFields; ++i) {
        const QString suffix = QStringLiteral("%1").arg(i + 1, 2, 10, QChar(u'0'));
        // The long fields match the 250-character capacity of their record fields.
        const int capacity = databaseLayout.fields[DatabaseField::Campo01 + i].capacity;
        auto *title = namedLabel(QStringLiteral("titCampo") + suffix,
                                 QStringLiteral("Campo %1:").arg(i + 1), section);
        title->setFont(titleFont);
        title->setStyleSheet(theme::boxTitleText());
        auto *box = textBox(QStringLiteral("txtCampo") + suffix, capacity, section);
        box->setMinimumWidth(300);
        titCampo[i] = title;
        txtCampo[i] = box;
        effCampo[i] = addFocusFrame(box, QStringLiteral("effCampo") + suffix);
        const int row = (i / 2) * 2;
        const int column = i % 2;
        grid->addWidget(title, row, column);
        grid->addWidget(box, row + 1, column);
        grid->setRowMinimumHeight(row + 1, 34);
    }
    layout->addLayout(grid, 1);
    return section;
}

QFrame *TfrmDatabase::buildContactBlock() {
    auto *section = shape(QStringLiteral("shpContatto"), panContainer);
    auto *grid = new QGridLayout(section);
    grid->setContentsMargins(12, 8, 12, 10);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);

    auto *heading = namedLabel(QStringLiteral("titContatto"),
                               QStringLiteral("Cliente associato alla scheda"), section);
    grid->addWidget(heading, 0, 0, 1, 7);

    auto caption = [section](const char *name, const char *text) {
        return namedLabel(QString::fromLatin1(name), QString::fromUtf8(text), section);
    };
    lblField01 = caption("lblField01", "Cognome e nome:");
    lblField02 = caption("lblField02", "Via e numero civico:");
    lblField03 = caption("lblField03", "Comune di residenza:");
    lblField04 = caption("lblField04", "Prov.");
    lblField05 = caption("lblField05", "E-mail:");
    lblField06 = caption("lblField06", "Recapito preferenziale:");
    lblField07 = caption("lblField07", "Codice fiscale:");
    lblField08 = caption("lblField08", "Partita IVA:");

    txtCliente = textBox(QStringLiteral("txtCliente"), 50, section);
    txtIndirizzoRes = textBox(QStringLiteral("txtIndirizzoRes"), 50, section);
    txtComuneRes = textBox(QStringLiteral("txtComuneRes"), 50, section);
    txtProvRes = new ProvinceBox(QStringLiteral("txtProvRes"), section);
    txtProvRes->setFixedWidth(64);
    txtEmail = textBox(QStringLiteral("txtEmail"), 50, section);
    txtRecapito = textBox(QStringLiteral("txtRecapito"), 50, section);
    txtCodFisc = textBox(QStringLiteral("txtCodFisc"), 16, section);
    txtPartitaIva = textBox(QStringLiteral("txtPartitaIva"), 11, section);
    txtPartitaIva->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]*")), txtPartitaIva));

    impCliente =
        new PictureButton(QStringLiteral("impCliente"), QStringLiteral("importa"), 22, section);
    sndMail = new PictureButton(QStringLiteral("sndMail"), QStringLiteral("email"), 22, section);
    btnCodFisc =
        new PictureButton(QStringLiteral("btnCodFisc"), QStringLiteral("controlla"), 22, section);
    btnPartitaIva = new PictureButton(QStringLiteral("btnPartitaIva"), QStringLiteral("controlla"),
                                      22, section);

    effCliente = addFocusFrame(txtCliente, QStringLiteral("effCliente"));
    effIndirizzoRes = addFocusFrame(txtIndirizzoRes, QStringLiteral("effIndirizzoRes"));
    effComuneRes = addFocusFrame(txtComuneRes, QStringLiteral("effComuneRes"));
    effProvRes = addFocusFrame(txtProvRes, QStringLiteral("effProvRes"));
    effEmail = addFocusFrame(txtEmail, QStringLiteral("effEmail"));
    effRecapito = addFocusFrame(txtRecapito, QStringLiteral("effRecapito"));
    effCodFisc = addFocusFrame(txtCodFisc, QStringLiteral("effCodFisc"));
    effPartitaIva = addFocusFrame(txtPartitaIva, QStringLiteral("effPartitaIva"));

    // Left half: name, street, town and province, preferred contact.
    // Right half: e-mail, fiscal code, VAT number.
    auto *town = new QHBoxLayout;
    town->setSpacing(8);
    town->addWidget(txtComuneRes, 1);
    town->addWidget(lblField04);
    town->addWidget(txtProvRes);
    grid->addWidget(lblField01, 1, 0);
    grid->addWidget(txtCliente, 1, 1);
    grid->addWidget(impCliente, 1, 2);
    grid->addWidget(lblField02, 2, 0);
    grid->addWidget(txtIndirizzoRes, 2, 1);
    grid->addWidget(lblField03, 3, 0);
    grid->addLayout(town, 3, 1);
    grid->addWidget(lblField06, 4, 0);
    grid->addWidget(txtRecapito, 4, 1);
    grid->addWidget(lblField05, 1, 4);
    grid->addWidget(txtEmail, 1, 5);
    grid->addWidget(sndMail, 1, 6);
    grid->addWidget(lblField07, 2, 4);
    grid->addWidget(txtCodFisc, 2, 5);
    grid->addWidget(btnCodFisc, 2, 6);
    grid->addWidget(lblField08, 3, 4);
    grid->addWidget(txtPartitaIva, 3, 5);
    grid->addWidget(btnPartitaIva, 3, 6);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(5, 1);
    grid->setColumnMinimumWidth(2, 30);
    grid->setColumnMinimumWidth(3, 18);
    grid->setColumnMinimumWidth(6, 30);
    return section;
}

void TfrmDatabase::describeControls() {
    m_hints = new StatusHints(panInfo);
    m_hints->describe({
        {cmdNuovo,
         QStringLiteral("Prepara la schermata per la registrazione di una nuova scheda.")},
        {cmdDuplica, QStringLiteral("Prepara la schermata per la registrazione di una nuova scheda "
                                    "duplicando i dati correnti.")},
        {cmdSalva, QStringLiteral("Salva la scheda corrente in archivio.")},
        {cmdElimina, QStringLiteral("Elimina la scheda corrente: con la sua foto e la sua "
                                    "cartella va nel cestino.")},
        {cmdCestino, QStringLiteral("Visualizza il cestino, da cui rimettere in archivio le "
                                    "schede eliminate.")},
        {cmdTrova, QStringLiteral("Trova una scheda in archivio.")},
        {cmdFile, QStringLiteral("Allega file alla scheda corrente.")},
        {cmdCartella, QStringLiteral("Gestisci la cartella abbinata alla scheda corrente.")},
        {cmdAnteprima, QStringLiteral("Visualizza l'anteprima di stampa.")},
        {cmdStampa, QStringLiteral("Stampa la scheda corrente.")},
        {cmdSegnalati, QStringLiteral("Visualizza il riepilogo dei record segnalati.")},
        {cmdPrimo, QStringLiteral("Visualizza la prima scheda in archivio.")},
        {cmdIndietro, QStringLiteral("Visualizza la scheda precedente in archivio.")},
        {cmdAvanti, QStringLiteral("Visualizza la scheda successiva in archivio.")},
        {cmdUltimo, QStringLiteral("Visualizza l'ultima scheda in archivio.")},
        {cmdImporta, QStringLiteral("Aggiungi all'archivio le schede di un file CSV o di un "
                                    "foglio esportato.")},
        {cmdEsporta,
         QStringLiteral("Esporta le schede in archivio in un file di Microsoft Excel.")},
        {cmdGuida, QStringLiteral("Visualizza la guida in linea.")},
        {cmdEsci, QStringLiteral("Esci dalla schermata di lavoro corrente.")},
        {chkSegnala,
         QStringLiteral("Aggiungi la scheda corrente all'elenco dei record segnalati.")},
        {btnSfoglia, QStringLiteral("Carica la foto.")},
        {btnCancFoto, QStringLiteral("Cancella la foto.")},
        {btnZoom, QStringLiteral("Visualizza la foto a tutto schermo.")},
        {impCliente, QStringLiteral("Importa i dati dall'archivio anagrafico dei Clienti.")},
        {sndMail, QStringLiteral("Invia una e-mail all'indirizzo indicato.")},
        {btnCodFisc, QStringLiteral("Controlla il codice fiscale.")},
        {btnPartitaIva, QStringLiteral("Controlla il numero di partita IVA.")},
    });
    // The background and the decorative shapes empty the status line.
    QList<QWidget *> backgrounds = {this, panContainer, imgFoto, titNomeArchivio};
    for (const char *name :
         {"panToolbar", "shpGruppo01", "shpGruppo02", "shpGruppo03", "shpGruppo04", "shpGruppo05",
          "shpTitolo", "shpSegnala", "shpScheda", "shpFoto", "shpContatto"})
        backgrounds << findChild<QWidget *>(QString::fromLatin1(name));
    m_hints->background(backgrounds);
}

// The commands' keys, named in their tooltips.
void TfrmDatabase::bindCommandKeys() {
    bindCardKeys({cmdSalva, cmdNuovo, cmdDuplica, cmdTrova, cmdStampa, cmdIndietro, cmdAvanti,
                  cmdPrimo, cmdUltimo, cmdGuida});
    bindKeys(cmdElimina, QKeySequence(Qt::CTRL | Qt::Key_Delete));
}

void TfrmDatabase::wireKeyboard() {
    // Tab runs through the boxes, the photo's and the contact block's buttons
    // and the toolbar, then back to the first box.
    QList<QWidget *> order(txtCampo.begin(), txtCampo.end());
    order << chkSegnala << txtCliente << txtIndirizzoRes << txtComuneRes << txtProvRes << txtEmail
          << txtRecapito << txtCodFisc << txtPartitaIva << btnSfoglia << btnCancFoto << btnZoom
          << impCliente << sndMail << btnCodFisc << btnPartitaIva << cmdNuovo << cmdDuplica
          << cmdSalva << cmdElimina << cmdCestino << cmdTrova << cmdFile << cmdCartella
          << cmdAnteprima << cmdStampa
          << cmdSegnalati << cmdPrimo << cmdIndietro << cmdAvanti << cmdUltimo << cmdImporta
          << cmdEsporta << cmdGuida << cmdEsci;
    tabRing(order);


    // Enter runs through the boxes (not the flag) and from the last back to the first.
    QList<QWidget *> chain(txtCampo.begin(), txtCampo.end());
    chain << txtCliente << txtIndirizzoRes << txtComuneRes << txtProvRes << txtEmail << txtRecapito
          << txtCodFisc << txtPartitaIva << txtCampo[0];
    chainEnter(chain);

    // Typing rules of the contact block.
    txtEmail->installEventFilter(this);
    txtPartitaIva->installEventFilter(this);
    connect(txtCodFisc, &QLineEdit::textEdited, this,
            [this] { tidyBox(txtCodFisc, Tidy::Capitals); });
}
