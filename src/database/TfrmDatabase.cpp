#include "TfrmDatabase.h"

#include "Photo.h"
#include "PhotoView.h"
#include "TfrmAllegaCartella.h"
#include "TfrmCartella.h"
#include "TfrmZoom.h"
#include "kit/Desktop.h"
#include "app/Forms.h"
#include "kit/Misc.h"
#include "app/TfrmAvvio.h"
#include "app/TfrmGuida.h"
#include "kit/WindowKit.h"
#include "storage/IniFile.h"
#include "storage/RecordFile.h"
#include "storage/StorageError.h"
#include "storage/TextRules.h"
#include "validators/TfrmCodFisc.h"
#include "validators/TfrmPartitaIva.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

// The one message of every failing operation on Database.pro.
const QString kAccessError = QStringLiteral(
    "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere "
    "i privilegi di scrittura nella cartella di installazione del programma.");
const QString kEmptyArchive = QStringLiteral("L'archivio non contiene nessuna scheda.");
const QString kFirstFieldMissing = QStringLiteral(
    "Attenzione: per salvare la scheda è necessario compilare il primo campo del database.");
const QString kClientMissing = QStringLiteral(
    "Attenzione: per salvare la scheda è necessario indicare il nome del Cliente associato.");
const QString kCardUpdated =
    QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
const QString kCardInserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");
// The record is stored but its photo file could not be written.
const QString kPhotoNotSaved = QStringLiteral(
    "Attenzione: i dati della scheda sono stati salvati in archivio, ma non è stato possibile "
    "salvare la foto.\n\r\n\rAccertarsi di possedere i privilegi di scrittura nella cartella di "
    "installazione del programma.");
const QString kDuplicateNewCard = QStringLiteral(
    "Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che questa "
    "è stata inserita in archivio.");
const QString kDuplicated = QStringLiteral(
    "E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\rAl termine "
    "premere Salva per inserire la scheda in archivio.");
const QString kFolderNewCard =
    QStringLiteral("Attenzione: l'abbinamento di una cartella ad un record può avvenire soltanto "
                   "dopo che la scheda è stata inserita in archivio.");

const QString kPhotoChooserTitle =
    QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap.");
const QString kPhotoChooserFilter =
    QStringLiteral("Immagine JPEG (*.jpg *.jpeg);;Immagine Bitmap (*.bmp)");

// Results of a navigation choice besides a record index.
constexpr qint64 kStay = -1;  // nothing happens
constexpr qint64 kEmpty = -2; // the empty-archive message

bool isBlank(const QString &s) {
    return text::trimmed(s).isEmpty();
}

void warn(QWidget *parent, const QString &message) {
    Desktop::current().message(parent, Desktop::Kind::Warning, message);
}

void inform(QWidget *parent, const QString &message) {
    Desktop::current().message(parent, Desktop::Kind::Information, message);
}

// Replaces the box's text by itself trimmed (and with a–z capitalised), when
// that changes it, keeping the caret on the character it was on.
void tidy(QLineEdit *box, bool capitals) {
    const QString old = box->text();
    QString now = text::trimmed(old);
    if (capitals)
        now = text::toUpperAscii(now);
    if (now == old)
        return;
    qsizetype lead = 0;
    while (lead < old.size() && old[lead].unicode() <= 0x20)
        ++lead;
    const qsizetype caret = std::clamp<qsizetype>(box->cursorPosition() - lead, 0, now.size());
    box->setText(now);
    box->setCursorPosition(int(caret));
}

QLabel *titleLabel(const QString &name, const QString &text, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QLineEdit *textBox(const QString &name, int maxLength, QWidget *parent) {
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMaxLength(maxLength);
    return box;
}

QFrame *shape(const QString &name, QWidget *parent) {
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    return frame;
}

QLabel *hiddenLabel(const QString &name, QWidget *parent) {
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->hide();
    return label;
}

const char kWindowStyle[] =
    "TfrmDatabase { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
    " stop:0 #e9f0f8, stop:1 #b7cbe2); }"
    "QFrame#shpGruppo01, QFrame#shpGruppo02, QFrame#shpGruppo03, QFrame#shpGruppo04,"
    " QFrame#shpGruppo05 { background: rgba(255,255,255,170); border: 1px solid #9fb4cc;"
    " border-radius: 8px; }"
    "QFrame#shpTitolo { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
    " stop:0 #2f6db3, stop:1 #1f4e8c); border-radius: 8px; }"
    "QLabel#titNomeArchivio { color: white; }"
    "QFrame#shpSegnala { background: rgba(255,255,255,40); border: 1px solid #9cc0ea;"
    " border-radius: 6px; }"
    "QCheckBox#chkSegnala { color: white; font-weight: bold; spacing: 8px; }"
    "QCheckBox#chkSegnala::indicator { width: 16px; height: 16px; }"
    "QFrame#shpScheda, QFrame#shpContatto { background: rgba(255,255,255,200);"
    " border: 1px solid #9fb4cc; border-radius: 8px; }"
    "QFrame#shpFoto { background: white; border: 1px solid #7f95ae; }"
    "QLabel#lblPosizione { color: #1f4e8c; background: transparent; border: none; }"
    "QLabel#titContatto { color: #1f4e8c; font-weight: bold; }"
    "QLabel#panInfo { background: #1f4e8c; color: white; padding: 3px 10px;"
    " border-radius: 4px; }"
    "QLineEdit { background: white; border: 1px solid #8ea3bb; border-radius: 3px;"
    " padding: 2px 4px; min-height: 18px; }";

} // namespace

TfrmDatabase::TfrmDatabase(QWidget *parent) : LargeWindow(parent) {
    setObjectName(QStringLiteral("frmDatabase"));
    setWindowTitle(QStringLiteral(" Cartavera - Gestione Database"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QString::fromLatin1(kWindowStyle));
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

    lblFile01 = hiddenLabel(QStringLiteral("lblFile01"), this);
    lblFile02 = hiddenLabel(QStringLiteral("lblFile02"), this);
    lblFile03 = hiddenLabel(QStringLiteral("lblFile03"), this);
    lblDesc01 = hiddenLabel(QStringLiteral("lblDesc01"), this);
    lblDesc02 = hiddenLabel(QStringLiteral("lblDesc02"), this);
    lblDesc03 = hiddenLabel(QStringLiteral("lblDesc03"), this);

    auto *outer = new QGridLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panContainer, 0, 0, Qt::AlignCenter);

    describeControls();
    wireKeyboard();

    connect(cmdNuovo, &QToolButton::clicked, this, &TfrmDatabase::cmdNuovoClick);
    connect(cmdDuplica, &QToolButton::clicked, this, &TfrmDatabase::cmdDuplicaClick);
    connect(cmdSalva, &QToolButton::clicked, this, &TfrmDatabase::cmdSalvaClick);
    connect(cmdFile, &QToolButton::clicked, this, &TfrmDatabase::cmdFileClick);
    connect(cmdCartella, &QToolButton::clicked, this, &TfrmDatabase::cmdCartellaClick);
    connect(cmdPrimo, &QToolButton::clicked, this, &TfrmDatabase::cmdPrimoClick);
    connect(cmdIndietro, &QToolButton::clicked, this, &TfrmDatabase::cmdIndietroClick);
    connect(cmdAvanti, &QToolButton::clicked, this, &TfrmDatabase::cmdAvantiClick);
    connect(cmdUltimo, &QToolButton::clicked, this, &TfrmDatabase::cmdUltimoClick);
    connect(cmdGuida, &QToolButton::clicked, this, &TfrmDatabase::cmdGuidaClick);
    connect(cmdEsci, &QToolButton::clicked, this, &TfrmDatabase::cmdEsciClick);
    connect(btnSfoglia, &QPushButton::clicked, this, &TfrmDatabase::btnSfogliaClick);
    connect(btnCancFoto, &QToolButton::clicked, this, &TfrmDatabase::btnCancFotoClick);
    connect(btnZoom, &QToolButton::clicked, this, &TfrmDatabase::btnZoomClick);
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
    cmdEsporta = button("cmdEsporta", "excel");
    cmdGuida = button("cmdGuida", "guida");
    cmdEsci = button("cmdEsci", "esci");

    addGroup({cmdNuovo, cmdDuplica, cmdSalva});
    addGroup({cmdTrova, cmdFile, cmdCartella});
    addGroup({cmdAnteprima, cmdStampa, cmdSegnalati});
    addGroup({cmdPrimo, cmdIndietro, lblPosizione, cmdAvanti, cmdUltimo});
    addGroup({cmdEsporta, cmdGuida, cmdEsci});

    // Their windows are not part of the program yet.
    for (PictureButton *pending : {cmdTrova, cmdAnteprima, cmdStampa, cmdSegnalati, cmdEsporta})
        pending->setEnabled(false);
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
    QLabel **titlesOut[14] = {&titCampo01, &titCampo02, &titCampo03, &titCampo04, &titCampo05,
                              &titCampo06, &titCampo07, &titCampo08, &titCampo09, &titCampo10,
                              &titCampo11, &titCampo12, &titCampo13, &titCampo14};
    QLineEdit **fieldsOut[14] = {&txtCampo01, &txtCampo02, &txtCampo03, &txtCampo04, &txtCampo05,
                                 &txtCampo06, &txtCampo07, &txtCampo08, &txtCampo09, &txtCampo10,
                                 &txtCampo11, &txtCampo12, &txtCampo13, &txtCampo14};
    QFrame **framesOut[14] = {&effCampo01, &effCampo02, &effCampo03, &effCampo04, &effCampo05,
                              &effCampo06, &effCampo07, &effCampo08, &effCampo09, &effCampo10,
                              &effCampo11, &effCampo12, &effCampo13, &effCampo14};
    QFont titleFont(QStringLiteral("Arial"), 9, QFont::Bold);
    for (int i = 0; i < 14; ++i) {
        const QString suffix = QStringLiteral("%1").arg(i + 1, 2, 10, QChar(u'0'));
        // The long fields match the 250-character capacity of their record fields.
        const int capacity = databaseLayout.fields[DatabaseField::Campo01 + i].capacity;
        auto *title = titleLabel(QStringLiteral("titCampo") + suffix,
                                 QStringLiteral("Campo %1:").arg(i + 1), section);
        title->setFont(titleFont);
        title->setStyleSheet(QStringLiteral("color: #1f3f66;"));
        auto *box = textBox(QStringLiteral("txtCampo") + suffix, capacity, section);
        box->setMinimumWidth(300);
        *titlesOut[i] = title;
        *fieldsOut[i] = box;
        *framesOut[i] = addFocusFrame(box, QStringLiteral("effCampo") + suffix);
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

    auto *heading = titleLabel(QStringLiteral("titContatto"),
                               QStringLiteral("Cliente associato alla scheda"), section);
    grid->addWidget(heading, 0, 0, 1, 7);

    auto caption = [section](const char *name, const char *text) {
        return titleLabel(QString::fromLatin1(name), QString::fromUtf8(text), section);
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
    txtProvRes = new QComboBox(section);
    txtProvRes->setObjectName(QStringLiteral("txtProvRes"));
    txtProvRes->setEditable(true);
    txtProvRes->setInsertPolicy(QComboBox::NoInsert);
    txtProvRes->setCompleter(nullptr);
    txtProvRes->addItems(provinceCodes());
    txtProvRes->setMaxVisibleItems(16);
    txtProvRes->lineEdit()->setMaxLength(2);
    txtProvRes->setCurrentIndex(-1);
    txtProvRes->setFixedWidth(64);
    txtEmail = textBox(QStringLiteral("txtEmail"), 50, section);
    txtRecapito = textBox(QStringLiteral("txtRecapito"), 50, section);
    txtCodFisc = textBox(QStringLiteral("txtCodFisc"), 16, section);
    txtPartitaIva = textBox(QStringLiteral("txtPartitaIva"), 11, section);
    txtPartitaIva->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]*")), txtPartitaIva));

    impCliente =
        new PictureButton(QStringLiteral("impCliente"), QStringLiteral("importa"), 22, section);
    // Importing from the client registry comes with the client search window.
    impCliente->setEnabled(false);
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

void TfrmDatabase::wireKeyboard() {
    const auto boxes = fields();
    QWidget *order[] = {boxes[0],    boxes[1],        boxes[2],      boxes[3],   boxes[4],
                        boxes[5],    boxes[6],        boxes[7],      boxes[8],   boxes[9],
                        boxes[10],   boxes[11],       boxes[12],     boxes[13],  chkSegnala,
                        txtCliente,  txtIndirizzoRes, txtComuneRes,  txtProvRes, txtEmail,
                        txtRecapito, txtCodFisc,      txtPartitaIva, btnSfoglia};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    chainEnter({boxes[0],  boxes[1],    boxes[2],   boxes[3],        boxes[4],     boxes[5],
                boxes[6],  boxes[7],    boxes[8],   boxes[9],        boxes[10],    boxes[11],
                boxes[12], boxes[13],   txtCliente, txtIndirizzoRes, txtComuneRes, txtProvRes,
                txtEmail,  txtRecapito, txtCodFisc, txtPartitaIva,   boxes[0]});

    // Typing rules of the contact block.
    txtEmail->installEventFilter(this);
    txtProvRes->installEventFilter(this);
    txtPartitaIva->installEventFilter(this);
    connect(txtCodFisc, &QLineEdit::textEdited, this, [this] { tidy(txtCodFisc, true); });
    connect(txtProvRes->lineEdit(), &QLineEdit::textEdited, this,
            [this] { tidy(txtProvRes->lineEdit(), true); });
}

bool TfrmDatabase::eventFilter(QObject *watched, QEvent *event) {
    if (watched == txtEmail) {
        // Blanks at either end of the address disappear as soon as they are typed.
        if (event->type() == QEvent::KeyRelease || event->type() == QEvent::FocusOut)
            tidy(txtEmail, false);
    } else if (watched == txtProvRes) {
        if (event->type() == QEvent::FocusIn) {
            // The list is a help for typing: nothing is selected in it while typing.
            const QString typed = txtProvRes->currentText();
            txtProvRes->setCurrentIndex(-1);
            txtProvRes->setEditText(typed);
        } else if (event->type() == QEvent::FocusOut) {
            tidy(txtProvRes->lineEdit(), true);
        }
    } else if (watched == txtPartitaIva && event->type() == QEvent::KeyPress) {
        // Digits only; Enter (the chain), Tab and the editing keys act normally.
        return digitsOnlyRefuses(static_cast<QKeyEvent *>(event));
    }
    return LargeWindow::eventFilter(watched, event);
}

std::array<QLabel *, 14> TfrmDatabase::titles() const {
    return {titCampo01, titCampo02, titCampo03, titCampo04, titCampo05, titCampo06, titCampo07,
            titCampo08, titCampo09, titCampo10, titCampo11, titCampo12, titCampo13, titCampo14};
}

std::array<QLineEdit *, 14> TfrmDatabase::fields() const {
    return {txtCampo01, txtCampo02, txtCampo03, txtCampo04, txtCampo05, txtCampo06, txtCampo07,
            txtCampo08, txtCampo09, txtCampo10, txtCampo11, txtCampo12, txtCampo13, txtCampo14};
}

const QStringList &TfrmDatabase::provinceCodes() {
    static const QStringList codes =
        QStringLiteral("AG AL AN AO AP AQ AR AT AV BA BG BI BL BN BO BR BS BT BZ CA CB CE CH CI CL "
                       "CN CO CR CS "
                       "CT CZ EE EN FC FE FG FI FM FO FR GE GO GR IM IS KR LC LE LI LO LT LU MB MC "
                       "MD ME MI MN "
                       "MO MS MT NA NO NU OG OR OT PA PC PD PE PG PI PN PO PR PT PU PV PZ RA RC RE "
                       "RG RI RM RN "
                       "RO SA SI SO SP SR SS SV TA TE TN TO TP TR TS TV UD VA VB VC VE VI VR VT VV")
            .split(u' ');
    return codes;
}

// ---------------------------------------------------------------------------
// Showing the window, showing and clearing a card

void TfrmDatabase::showEvent(QShowEvent *event) {
    LargeWindow::showEvent(event);
    // Restoring a minimized window is not a new showing.
    if (!event->spontaneous())
        FormShow();
}

void TfrmDatabase::FormShow() {
    const IniFile settings(forms().folder.settingsFile());
    titNomeArchivio->setText(
        settings.read(QStringLiteral("Database"), QStringLiteral("Nome Archivio")));
    const auto labels = titles();
    for (int i = 0; i < 14; ++i)
        labels[i]->setText(
            settings.read(QStringLiteral("Nome Campi"),
                          QStringLiteral("Campo %1").arg(i + 1, 2, 10, QChar(u'0'))));
    ClearCard();
}

void TfrmDatabase::ShowCard(const DatabaseRecord &record, qint64 position) {
    using namespace DatabaseField;
    const auto boxes = fields();
    for (int i = 0; i < 14; ++i)
        boxes[i]->setText(record.text(Campo01 + i));
    txtCliente->setText(record.text(Cliente));
    txtRecapito->setText(record.text(Recapito));
    txtIndirizzoRes->setText(record.text(IndirizzoRes));
    txtProvRes->setEditText(record.text(ProvRes));
    txtComuneRes->setText(record.text(ComuneRes));
    txtEmail->setText(record.text(Email));
    txtCodFisc->setText(record.text(CodFisc));
    txtPartitaIva->setText(record.text(PartitaIva));
    // Anything but "Sì" or "No" leaves the flag as it was.
    if (const std::optional<bool> flagged = record.yesNo(Segnala))
        chkSegnala->setChecked(*flagged);
    lblFile01->setText(record.text(File01));
    lblFile02->setText(record.text(File02));
    lblFile03->setText(record.text(File03));
    lblDesc01->setText(record.text(Desc01));
    lblDesc02->setText(record.text(Desc02));
    lblDesc03->setText(record.text(Desc03));
    lblPosizione->setText(QString::number(position));
    LoadCardPhoto();
}

void TfrmDatabase::ClearCard() {
    for (QLineEdit *box : fields())
        box->clear();
    for (QLineEdit *box : {txtCliente, txtRecapito, txtIndirizzoRes, txtComuneRes, txtEmail,
                           txtCodFisc, txtPartitaIva})
        box->clear();
    txtProvRes->setCurrentIndex(-1);
    txtProvRes->clearEditText();
    chkSegnala->setChecked(false);
    for (QLabel *label : {lblFile01, lblFile02, lblFile03, lblDesc01, lblDesc02, lblDesc03})
        label->clear();
    imgFoto->setPicture(imgBianco->picture());
    lblPosizione->clear();
    txtCampo01->setFocus(Qt::OtherFocusReason);
}

DatabaseRecord TfrmDatabase::cardRecord() const {
    using namespace DatabaseField;
    DatabaseRecord record;
    const auto boxes = fields();
    for (int i = 0; i < 14; ++i)
        record.setText(Campo01 + i, boxes[i]->text());
    record.setText(Cliente, txtCliente->text());
    record.setText(Recapito, txtRecapito->text());
    record.setText(IndirizzoRes, txtIndirizzoRes->text());
    record.setText(ProvRes, txtProvRes->currentText());
    record.setText(ComuneRes, txtComuneRes->text());
    record.setText(Email, txtEmail->text());
    record.setText(CodFisc, txtCodFisc->text());
    record.setText(PartitaIva, txtPartitaIva->text());
    record.setYesNo(Segnala, chkSegnala->isChecked());
    record.setText(File01, lblFile01->text());
    record.setText(File02, lblFile02->text());
    record.setText(File03, lblFile03->text());
    record.setText(Desc01, lblDesc01->text());
    record.setText(Desc02, lblDesc02->text());
    record.setText(Desc03, lblDesc03->text());
    return record;
}

qint64 TfrmDatabase::shownPosition() const {
    return text::trimmed(lblPosizione->text()).toLongLong();
}

void TfrmDatabase::showAccessError() {
    Desktop::current().message(this, Desktop::Kind::Error, kAccessError);
}

// ---------------------------------------------------------------------------
// Navigation

void TfrmDatabase::navigate(const std::function<qint64(qint64, qint64)> &choose) {
    DatabaseRecord record;
    qint64 index = kStay;
    try {
        RecordFile file;
        file.openOrCreate(forms().folder.databaseFile(), DatabaseRecord::kSize);
        index = choose(file.size(), shownPosition());
        if (index >= 0) {
            file.seek(index);
            file.read(record);
        }
        file.close();
    } catch (const StorageError &) {
        showAccessError();
        return;
    }
    if (index == kEmpty)
        inform(this, kEmptyArchive);
    else if (index >= 0)
        ShowCard(record, index + 1);
}

void TfrmDatabase::cmdPrimoClick() {
    navigate([](qint64 count, qint64) { return count == 0 ? kEmpty : 0; });
}

void TfrmDatabase::cmdUltimoClick() {
    navigate([](qint64 count, qint64) { return count == 0 ? kEmpty : count - 1; });
}

void TfrmDatabase::cmdAvantiClick() {
    // A new card counts as position 0, so the next card is the first.
    navigate([](qint64 count, qint64 shown) {
        if (count == 0)
            return kEmpty;
        return shown < count ? shown : kStay;
    });
}

void TfrmDatabase::cmdIndietroClick() {
    navigate([](qint64 count, qint64 shown) {
        if (shown == 1)
            return kStay;
        if (count == 0)
            return kEmpty;
        return shown == 0 ? 0 : shown - 2;
    });
}

// ---------------------------------------------------------------------------
// New, save, duplicate

void TfrmDatabase::cmdNuovoClick() {
    ClearCard();
}

void TfrmDatabase::cmdSalvaClick() {
    if (isBlank(txtCampo01->text())) {
        warn(this, kFirstFieldMissing);
        txtCampo01->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (isBlank(txtCliente->text())) {
        warn(this, kClientMissing);
        txtCliente->setFocus(Qt::OtherFocusReason);
        return;
    }

    const DatabaseRecord record = cardRecord();
    const bool stored = !isBlank(lblPosizione->text());
    qint64 position = shownPosition();
    try {
        RecordFile file;
        file.openOrCreate(forms().folder.databaseFile(), DatabaseRecord::kSize);
        if (stored) {
            file.seek(position - 1); // raises for a position the archive does not have
        } else {
            position = file.size() + 1;
            file.seek(position - 1);
        }
        file.write(record);
        file.close();
    } catch (const StorageError &) {
        showAccessError();
        return;
    }
    lblPosizione->setText(QString::number(position));

    if (!SaveCardPhoto()) {
        // The record is stored; the photo is not, and the user must know it.
        warn(this, kPhotoNotSaved);
        return;
    }
    inform(this, stored ? kCardUpdated : kCardInserted);
}

void TfrmDatabase::cmdDuplicaClick() {
    if (isBlank(lblPosizione->text())) {
        warn(this, kDuplicateNewCard);
        return;
    }
    for (QLabel *label : {lblFile01, lblFile02, lblFile03, lblDesc01, lblDesc02, lblDesc03})
        label->clear();
    lblPosizione->clear();
    try {
        RecordFile file;
        file.openOrCreate(forms().folder.databaseFile(), DatabaseRecord::kSize);
        imgFoto->setPicture(imgBianco->picture());
        txtCampo01->setFocus(Qt::OtherFocusReason);
        file.close();
    } catch (const StorageError &) {
        showAccessError();
        return;
    }
    inform(this, kDuplicated);
}

// ---------------------------------------------------------------------------
// Photo

void TfrmDatabase::LoadCardPhoto() {
    const QImage picture = photo::load(photo::fileOf(forms().folder, lblPosizione->text()));
    imgFoto->setPicture(picture.isNull() ? imgBianco->picture() : picture);
}

bool TfrmDatabase::SaveCardPhoto() {
    try {
        photo::saveJpeg(imgFoto->picture(), photo::fileOf(forms().folder, lblPosizione->text()));
    } catch (const StorageError &) {
        return false;
    }
    return true;
}

void TfrmDatabase::btnSfogliaClick() {
    const QString chosen =
        Desktop::current().openFileName(this, kPhotoChooserTitle, kPhotoChooserFilter, QString());
    if (chosen.isEmpty())
        return;
    const QImage picture = photo::load(chosen);
    imgFoto->setPicture(picture.isNull() ? imgBianco->picture() : picture);
}

void TfrmDatabase::btnCancFotoClick() {
    imgFoto->setPicture(imgBianco->picture());
}

void TfrmDatabase::btnZoomClick() {
    TfrmZoom::open(this, imgFoto->picture());
}

// ---------------------------------------------------------------------------
// Attachments, card folder, contact block

void TfrmDatabase::cmdFileClick() {
    TfrmAllegaCartella::open(this, QStringLiteral("database"));
}

void TfrmDatabase::cmdCartellaClick() {
    const QString position = text::trimmed(lblPosizione->text());
    if (position.isEmpty()) {
        warn(this, kFolderNewCard);
        return;
    }
    TfrmCartella::open(this, position);
}

void TfrmDatabase::sndMailClick() {
    TMisc::Open(u'"' + TMisc::mailLink(text::trimmed(txtEmail->text())) + u'"');
}

void TfrmDatabase::btnCodFiscClick() {
    const QString code = text::trimmed(txtCodFisc->text());
    // A code of digits only is a company's, the same as its VAT number.
    const bool digitsOnly = !code.isEmpty() && std::all_of(code.begin(), code.end(), [](QChar c) {
        return c >= u'0' && c <= u'9';
    });
    if (digitsOnly)
        TfrmPartitaIva::open(this, code);
    else
        TfrmCodFisc::open(this, code);
}

void TfrmDatabase::btnPartitaIvaClick() {
    TfrmPartitaIva::open(this, text::trimmed(txtPartitaIva->text()));
}

// ---------------------------------------------------------------------------
// Guide and closing

void TfrmDatabase::cmdGuidaClick() {
    TfrmGuida::showTopic(this, guideTopic());
}

void TfrmDatabase::cmdEsciClick() {
    close();
}

void TfrmDatabase::closeEvent(QCloseEvent *event) {
    if (forms().terminated) {
        event->accept();
        return;
    }
    // The workspace hands back to the start screen; nothing is stored.
    event->ignore();
    FormClose();
}

void TfrmDatabase::FormClose() {
    if (TfrmAvvio *start = forms().frmAvvio)
        handOver(start);
    else
        hide();
}

GuideTopic TfrmDatabase::guideTopic() {
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
                           "cartella del programma: copiare la cartella su una penna USB ne "
                           "costituisce la copia di sicurezza, e copiarla su un altro computer vi "
                           "trasferisce insieme programma, dati e cartelle delle schede."),
        },
    };
}
