// The construction of the client workspace: its controls at their places,
// status-line texts, tab order and Enter chain. Its behaviour is in
// TfrmClienti.cpp.
#include "TfrmClienti.h"

#include "kit/ProvinceBox.h"
#include "kit/Shortcuts.h"
#include "kit/WorkspaceParts.h"
#include "kit/WindowKit.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpressionValidator>
#include <iterator>

namespace {

// Where a box stands: in which section band, on which row, at which x within
// the band; its label (lblCampo + number) stands 18 pixels above it.
struct Place {
    int label;
    const char *caption;
    int width;
    int section; // 1 to 5
    int row;
    int x;
};

// In the order of the record's fields, which is also the order of the Enter key.
constexpr Place kPlaces[TfrmClienti::kBoxes] = {
    {1, "Cognome e nome o ragione sociale:", 281, 1, 0, 108},
    {27, "Data di nascita:", 113, 1, 0, 397},
    {29, "Comune di nascita:", 177, 1, 0, 518},
    {28, "Prov.", 54, 1, 0, 703},
    {2, "Sesso:", 57, 1, 1, 108},
    {3, "Recapito preferenziale:", 217, 1, 1, 173},
    {4, "Residente in Via / Piazza e numero civico:", 297, 1, 1, 398},
    {7, "Prov.", 54, 1, 1, 703},
    {6, "Comune di residenza:", 209, 1, 2, 108},
    {5, "CAP:", 65, 1, 2, 325},
    {8, "Modalità di pagamento:", 361, 1, 2, 398},
    {9, "Tel. casa:", 212, 2, 0, 108},
    {10, "Tel. ufficio:", 212, 2, 0, 328},
    {11, "Tel. cellulare:", 212, 2, 0, 548},
    {12, "Fax:", 212, 2, 1, 108},
    {13, "E-mail:", 351, 2, 1, 354},
    {14, "Codice fiscale:", 212, 3, 0, 108},
    {15, "Carta di credito n.", 249, 3, 0, 354},
    {16, "Scadenza:", 105, 3, 0, 637},
    {17, "Partita IVA:", 212, 3, 1, 108},
    {18, "IBAN:", 361, 3, 1, 354},
    {19, "Estremi documento:", 212, 4, 0, 108},
    {20, "Occupazione:", 212, 4, 0, 328},
    {21, "Stato civile:", 210, 4, 0, 548},
    {22, "Titoli e qualifiche:", 212, 4, 1, 108},
    {23, "Prodotti o servizi di interesse:", 212, 4, 1, 328},
    {26, "Zona di appartenenza:", 210, 4, 1, 548},
    {24, "Questioni in sospeso:", 488, 5, 0, 108},
    {25, "Note:", 647, 5, 1, 108},
};

// The five section bands: top edge in the container, height, and the picture
// in the white square at their left.
struct Band {
    int y;
    int height;
    const char *picture;
};
constexpr Band kBands[] = {{16, 152, "clienti"},
                           {176, 104, "email"},
                           {288, 104, "controlla"},
                           {400, 104, "cartella"},
                           {512, 104, "segnalati"}};

constexpr int kBandX = 16;
constexpr int kBandWidth = 777;
constexpr int kBoxHeight = 22;
constexpr int kSmallButton = 22;

int boxTop(int row) {
    return 26 + row * 44;
}

QString two(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0'));
}

QPixmap iconPixmap(const char *name, int size) {
    return icon(QString::fromLatin1(name)).pixmap(size, size);
}

} // namespace

TfrmClienti::TfrmClienti(QWidget *parent) : LargeWindow(parent) {
    setObjectName(QStringLiteral("frmClienti"));
    setWindowTitle(QStringLiteral(" Cartavera - Anagrafica Clienti"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(theme::clientWorkspace());
    resize(1016, 713);
    // The date format of the printed card, whatever the system's.
    applyProcessFormats();

    panContainer = shape(QStringLiteral("panContainer"), this, QRect(0, 0, 995, 692));
    panContainer->setFixedSize(995, 692);
    centrePanel(panContainer);
    shape(QStringLiteral("shpContainer"), panContainer, QRect(8, 8, 977, 675));

    for (int section = 1; section <= int(std::size(kBands)); ++section)
        buildSection(section);
    using namespace ClientField;
    txtCliente = txtField[Cliente];
    txtSesso = txtField[Sesso];
    txtCapRes = txtField[CapRes];
    txtEmail = txtField[Email];
    txtCodFisc = txtField[CodFisc];
    txtCarta = txtField[Carta];
    txtPartitaIva = txtField[PartitaIva];
    txtIban = txtField[Iban];
    txtQuestioni = txtField[Questioni];
    txtNote = txtField[Note];
    buildCommands();
    buildFoot();
    createAttachmentLabels(this, lblFile, lblDesc);

    bindCommandKeys(); // before the descriptions, which name the keys
    describeControls();
    wireKeyboard();
    connectHandlers();
}

void TfrmClienti::buildSection(int section) {
    const Band &band = kBands[section - 1];
    auto *frame = shape(QStringLiteral("shpSezione") + two(section), panContainer,
                        QRect(kBandX, band.y, kBandWidth, band.height));
    auto *square = shape(QStringLiteral("bkgSezione") + two(section), frame,
                         QRect(12, (band.height - 80) / 2, 80, 80));
    decoration(QStringLiteral("icoSezione") + two(section), iconPixmap(band.picture, 56), square,
            square->rect());

    // The section's boxes, each under its label, with its focus frame behind it.
    for (int f = 0; f < kBoxes; ++f) {
        const Place &place = kPlaces[f];
        if (place.section != section)
            continue;
        const QString name = QLatin1String(clientLayout.fields[f].name);
        QWidget *control;
        if (f == ClientField::ProvNasc || f == ClientField::ProvRes) {
            auto *province = new ProvinceBox(QStringLiteral("txt") + name, frame);
            (f == ClientField::ProvNasc ? txtProvNasc : txtProvRes) = province;
            txtField[f] = province->lineEdit();
            txtField[f]->setFont(theme::verdana(12, true));
            control = province;
        } else {
            // Each box holds at most what its record field does.
            txtField[f] =
                textBox(QStringLiteral("txt") + name, clientLayout.fields[f].capacity, frame);
            control = txtField[f];
        }
        control->setFont(theme::verdana(12, true));
        control->setGeometry(place.x, boxTop(place.row), place.width, kBoxHeight);
        effField[f] = addFocusFrame(control, QStringLiteral("eff") + name);

        lblField[f] = new QLabel(QString::fromUtf8(place.caption), frame);
        lblField[f]->setObjectName(QStringLiteral("lblCampo") + two(place.label));
        lblField[f]->setProperty("caption", true);
        lblField[f]->setFont(theme::verdana(8, false));
        lblField[f]->adjustSize();
        lblField[f]->move(place.x, boxTop(place.row) - 18);
    }
}

void TfrmClienti::buildCommands() {
    auto *column = shape(QStringLiteral("panControlli"), panContainer, QRect(800, 16, 177, 489));
    struct Command {
        CommandButton *&button;
        const char *name;
        const char *caption;
        const char *picture;
    };
    const Command commands[] = {
        {cmdNuovo, "cmdNuovo", "Nuovo", "nuovo"},
        {cmdDuplica, "cmdDuplica", "Duplica", "duplica"},
        {cmdFile, "cmdFile", "Allega file", "allegati"},
        {cmdSalva, "cmdSalva", "Salva", "salva"},
        {cmdElimina, "cmdElimina", "Elimina / Cestino", "elimina"},
        {cmdTrova, "cmdTrova", "Trova", "trova"},
        {cmdAnteprima, "cmdAnteprima", "Anteprima", "anteprima"},
        {cmdStampa, "cmdStampa", "Stampa", "stampa"},
        {cmdPDF, "cmdPDF", "Crea PDF", "pdf"},
        {cmdRicontatta, "cmdRicontatta", "Da ricontattare", "segnalati"},
        {cmdEsporta, "cmdEsporta", "Esporta archivio", "excel"},
        {cmdImporta, "cmdImporta", "Importa / vCard", "importa"},
        {cmdGuida, "cmdGuida", "Guida", "guida"},
        {cmdEsci, "cmdEsci", "Esci", "esci"},
    };
    int y = 14; // 30 in the container
    for (const Command &c : commands) {
        c.button = new CommandButton(QString::fromLatin1(c.name), QString::fromUtf8(c.caption),
                                     column, QString::fromLatin1(c.picture));
        c.button->setGeometry(14, y, 148, 31);
        // The longest captions need the button's whole width.
        c.button->setIconSize(QSize(16, 16));
        c.button->setStyleSheet(c.button->styleSheet() + theme::narrowButtonPadding());
        y += 34;
    }
    // Deleting and the bin share one button, whose menu names each; the keys
    // delete at once.
    auto *bin = new QMenu(cmdElimina);
    bin->setObjectName(QStringLiteral("mnuElimina"));
    QAction *remove = bin->addAction(QStringLiteral("Elimina il Cliente visualizzato..."));
    remove->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
    remove->setShortcutContext(Qt::WidgetShortcut); // shown in the menu; the window's keys act
    connect(remove, &QAction::triggered, this, &TfrmClienti::mnuEliminaClick);
    connect(bin->addAction(QStringLiteral("Cestino...")), &QAction::triggered, this,
            &TfrmClienti::mnuCestinoClick);
    cmdElimina->setMenu(bin);
    // Import and vCard share one button, whose menu names each.
    auto *menu = new QMenu(cmdImporta);
    menu->setObjectName(QStringLiteral("mnuImporta"));
    const std::pair<const char *, void (TfrmClienti::*)()> entries[] = {
        {"Importa da file CSV o foglio esportato...", &TfrmClienti::mnuImportaTabellaClick},
        {"Importa Clienti da file vCard...", &TfrmClienti::mnuImportaVCardClick},
        {"Esporta il Cliente visualizzato in vCard...", &TfrmClienti::mnuEsportaVCardClick},
        {"Esporta tutta l'anagrafica in vCard...", &TfrmClienti::mnuEsportaTuttiVCardClick},
    };
    for (const auto &[caption, handler] : entries)
        connect(menu->addAction(QString::fromUtf8(caption)), &QAction::triggered, this, handler);
    cmdImporta->setMenu(menu);

    auto *brand = decoration(
        QStringLiteral("imgDecoro"),
        QPixmap::fromImage(renderPicture(QStringLiteral(":/pictures/marchio.svg"), QSize(177, 121))),
        panContainer, QRect(800, 513, 177, 121));
    brand->setAttribute(Qt::WA_TransparentForMouseEvents, false);
}

void TfrmClienti::buildFoot() {
    // The small buttons beside their boxes.
    auto smallButton = [this](PictureButton *&button, const char *name, const char *picture,
                              int field) {
        QLineEdit *box = txtField[field];
        button = new PictureButton(QString::fromLatin1(name), QString::fromLatin1(picture), 18,
                                   box->parentWidget());
        button->setGeometry(box->geometry().right() + 5, box->y(), kSmallButton, kSmallButton);
    };
    using namespace ClientField;
    smallButton(btnEmail, "btnEmail", "mano", Email);
    smallButton(btnCodFisc, "btnCodFisc", "controlla", CodFisc);
    smallButton(btnCarta, "btnCarta", "controlla", Carta);
    smallButton(btnPartitaIva, "btnPartitaIva", "controlla", PartitaIva);
    smallButton(btnIban, "btnIban", "controlla", Iban);
    // The envelope on its white square, at the left of the e-mail box.
    QLineEdit *email = txtField[Email];
    auto *envelope = shape(QStringLiteral("shpEmail"), email->parentWidget(),
                           QRect(email->x() - 26, email->y(), kSmallButton, kSmallButton));
    decoration(QStringLiteral("icoEmail"), iconPixmap("email", 18), envelope, envelope->rect());

    // The recontact flag, at the right of the pending questions.
    QLineEdit *questions = txtField[Questioni];
    chkRicontatta = new QCheckBox(QStringLiteral("Da ricontattare"), questions->parentWidget());
    chkRicontatta->setObjectName(QStringLiteral("chkRicontatta"));
    chkRicontatta->setFont(theme::verdana(9, true));
    chkRicontatta->setCursor(Qt::PointingHandCursor);
    chkRicontatta->adjustSize();
    chkRicontatta->move(questions->geometry().right() + 17,
                        questions->y() + (kBoxHeight - chkRicontatta->height()) / 2);

    // The status bar and, at its right, the arrows around the record position.
    auto *bar = shape(QStringLiteral("shpInfo"), panContainer, QRect(16, 642, 777, 32));
    panInfo = new QLabel(QStringLiteral("Pronto per archiviare una nuova scheda..."), bar);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    QFont tahoma(QStringLiteral("Tahoma"), 12);
    tahoma.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    panInfo->setFont(tahoma);
    panInfo->setGeometry(bar->rect());
    panInfo->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto *arrows = shape(QStringLiteral("shpFrecce"), panContainer, QRect(800, 642, 177, 32));
    auto arrow = [arrows](const char *name, const char *picture, int x) {
        auto *button =
            new PictureButton(QString::fromLatin1(name), QString::fromLatin1(picture), 18, arrows);
        button->setGeometry(x, 5, kSmallButton, kSmallButton);
        return button;
    };
    cmdPrimo = arrow("cmdPrimo", "primo", 2);
    cmdIndietro = arrow("cmdIndietro", "precedente", 25);
    lblPosizione = new QLabel(arrows);
    lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
    lblPosizione->setAlignment(Qt::AlignCenter);
    lblPosizione->setFont(theme::verdana(12, true));
    lblPosizione->setGeometry(48, 1, 82, 30);
    cmdAvanti = arrow("cmdAvanti", "successivo", 131);
    cmdUltimo = arrow("cmdUltimo", "ultimo", 154);
}

void TfrmClienti::describeControls() {
    m_hints = new StatusHints(panInfo);
    m_hints->describe({
        {cmdNuovo,
         QStringLiteral("Prepara la schermata per la registrazione di una nuova scheda.")},
        {cmdDuplica, QStringLiteral("Prepara la schermata per la registrazione di una nuova scheda "
                                    "duplicando i dati correnti.")},
        {cmdFile, QStringLiteral("Allega file alla scheda corrente.")},
        {cmdSalva, QStringLiteral("Salva la scheda corrente in archivio.")},
        {cmdElimina, QStringLiteral("Elimina il Cliente visualizzato, che va nel cestino; "
                                    "visualizza il cestino.")},
        {cmdTrova, QStringLiteral("Trova una scheda in archivio.")},
        {cmdAnteprima, QStringLiteral("Visualizza l'anteprima di stampa.")},
        {cmdStampa, QStringLiteral("Stampa la scheda corrente.")},
        {cmdPDF, QStringLiteral("Esporta la scheda in formato PDF.")},
        {cmdRicontatta, QStringLiteral("Visualizza il riepilogo dei Clienti da ricontattare.")},
        {cmdEsporta,
         QStringLiteral("Esporta le schede in archivio in un file di Microsoft Excel.")},
        {cmdImporta, QStringLiteral("Importa Clienti da un file CSV, da un foglio esportato o "
                                    "da vCard; esporta Clienti in vCard.")},
        {cmdGuida, QStringLiteral("Visualizza la guida in linea.")},
        {cmdEsci, QStringLiteral("Esci dalla schermata di lavoro corrente.")},
        {btnEmail, QStringLiteral("Invia una e-mail all'indirizzo indicato.")},
        {btnCodFisc, QStringLiteral("Controlla il codice fiscale.")},
        {btnCarta, QStringLiteral("Controlla il numero di carta di credito.")},
        {btnPartitaIva, QStringLiteral("Controlla il numero di partita IVA.")},
        {btnIban, QStringLiteral("Controlla l'IBAN.")},
        {chkRicontatta,
         QStringLiteral("Annota che il Cliente è da ricontattare per questioni in sospeso.")},
        {cmdPrimo, QStringLiteral("Visualizza la prima scheda in archivio.")},
        {cmdIndietro, QStringLiteral("Visualizza la scheda precedente in archivio.")},
        {cmdAvanti, QStringLiteral("Visualizza la scheda successiva in archivio.")},
        {cmdUltimo, QStringLiteral("Visualizza l'ultima scheda in archivio.")},
    });
    // The background and the decorative shapes empty the status line.
    QList<QWidget *> backgrounds = {this, panContainer, lblPosizione};
    QStringList names = {"shpContainer", "shpFrecce", "shpInfo", "panControlli", "imgDecoro"};
    for (int section = 1; section <= int(std::size(kBands)); ++section)
        names << QStringLiteral("shpSezione") + two(section)
              << QStringLiteral("bkgSezione") + two(section);
    for (const QString &name : names)
        backgrounds << findChild<QWidget *>(name);
    m_hints->background(backgrounds);
}

// The commands' keys, named in their tooltips.
void TfrmClienti::bindCommandKeys() {
    bindCardKeys({cmdSalva, cmdNuovo, cmdDuplica, cmdTrova, cmdStampa, cmdIndietro, cmdAvanti,
                  cmdPrimo, cmdUltimo, cmdGuida});
    bindKeys(cmdElimina, QKeySequence(Qt::CTRL | Qt::Key_Delete), [this] { mnuEliminaClick(); });
}

void TfrmClienti::wireKeyboard() {
    // The controls in the order of the fields: the province boxes as a whole.
    QList<QWidget *> boxes;
    for (int f = 0; f < kBoxes; ++f)
        boxes << (f == ClientField::ProvNasc   ? txtProvNasc
                  : f == ClientField::ProvRes ? txtProvRes
                                              : static_cast<QWidget *>(txtField[f]));

    // Tab runs through the boxes and stops at the flag between the pending
    // questions and the notes, then through the commands, the check buttons
    // and the arrows, back to the first box; Enter skips the flag and wraps
    // to the first box.
    QList<QWidget *> order = boxes;
    order.insert(order.indexOf(txtNote), chkRicontatta);
    order << cmdNuovo << cmdDuplica << cmdFile << cmdSalva << cmdElimina << cmdTrova << cmdAnteprima << cmdStampa
          << cmdPDF << cmdRicontatta << cmdEsporta << cmdImporta << cmdGuida << cmdEsci << btnEmail
          << btnCodFisc << btnCarta << btnPartitaIva << btnIban << cmdPrimo << cmdIndietro
          << cmdAvanti << cmdUltimo;
    tabRing(order);
    chainEnter(boxes + QList<QWidget *>{boxes.first()});


    txtField[ClientField::DataNasc]->setAlignment(Qt::AlignCenter);
    txtSesso->setAlignment(Qt::AlignCenter);

    // Typing rules of particular boxes (the others are in eventFilter).
    for (QLineEdit *box : {txtSesso, txtCapRes, txtEmail, txtCarta, txtPartitaIva})
        box->installEventFilter(this);
    for (QLineEdit *box : {txtCarta, txtPartitaIva})
        box->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
    for (QLineEdit *box : {txtCodFisc, txtIban})
        connect(box, &QLineEdit::textEdited, this, [box] { tidyBox(box, Tidy::Capitals); });
    connect(txtEmail, &QLineEdit::textEdited, this, [this] { tidyBox(txtEmail, Tidy::Trim); });
}

void TfrmClienti::connectHandlers() {
    const std::pair<QAbstractButton *, void (TfrmClienti::*)()> handlers[] = {
        {cmdNuovo, &TfrmClienti::cmdNuovoClick},
        {cmdDuplica, &TfrmClienti::cmdDuplicaClick},
        {cmdFile, &TfrmClienti::cmdFileClick},
        {cmdSalva, &TfrmClienti::cmdSalvaClick},
        {cmdTrova, &TfrmClienti::cmdTrovaClick},
        {cmdAnteprima, &TfrmClienti::cmdAnteprimaClick},
        {cmdStampa, &TfrmClienti::cmdStampaClick},
        {cmdPDF, &TfrmClienti::cmdPDFClick},
        {cmdRicontatta, &TfrmClienti::cmdRicontattaClick},
        {cmdEsporta, &TfrmClienti::cmdEsportaClick},
        {cmdGuida, &TfrmClienti::cmdGuidaClick},
        {cmdEsci, &TfrmClienti::cmdEsciClick},
        {cmdPrimo, &TfrmClienti::cmdPrimoClick},
        {cmdIndietro, &TfrmClienti::cmdIndietroClick},
        {cmdAvanti, &TfrmClienti::cmdAvantiClick},
        {cmdUltimo, &TfrmClienti::cmdUltimoClick},
        {btnEmail, &TfrmClienti::btnEmailClick},
        {btnCodFisc, &TfrmClienti::btnCodFiscClick},
        {btnCarta, &TfrmClienti::btnCartaClick},
        {btnPartitaIva, &TfrmClienti::btnPartitaIvaClick},
        {btnIban, &TfrmClienti::btnIbanClick},
    };
    for (const auto &[button, handler] : handlers)
        connect(button, &QAbstractButton::clicked, this, handler);
}
