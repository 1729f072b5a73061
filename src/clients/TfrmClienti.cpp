#include "TfrmClienti.h"

#include "ClientCard.h"
#include "ClientsGuide.h"
#include "dialogs/TfrmAllegaCartella.h"
#include "dialogs/TfrmCestino.h"
#include "kit/Desktop.h"
#include "kit/ProvinceBox.h"
#include "kit/Shell.h"
#include "kit/ShellOpen.h"
#include "kit/WindowKit.h"
#include "report/PdfExport.h"
#include "storage/AppFolder.h"
#include "storage/TextRules.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace {

const QString kNameMissing = QStringLiteral(
    "Attenzione: per salvare la scheda è necessario indicare il nome del Cliente.");
const QString kPdfDone = QStringLiteral(
    "L'esportazione della scheda in PDF è terminata con successo.\r\n\r\nSi vuole aprire il file?");

// The box's text in capitals, blanks kept. The text keeps its length, so the
// caret stays where it was.
void toCapitals(QLineEdit *box) {
    const QString capitals = text::toUpperAscii(box->text());
    if (capitals == box->text())
        return;
    const int caret = box->cursorPosition();
    box->setText(capitals);
    box->setCursorPosition(caret);
}

// Runs one of the card's outputs. A failure of the engine or of the file ends
// it and is shown with its own text.
template <typename Output> void outputCard(QWidget *owner, Output output) {
    try {
        output();
    } catch (const report::ReportError &error) {
        Desktop::current().message(owner, Desktop::Kind::Error, error.message());
    }
}

} // namespace

// ---------------------------------------------------------------------------
// Typing rules, showing the window, showing and clearing a card

bool TfrmClienti::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::KeyRelease:
        // Sex and postal code show in capitals once the key is let go.
        if (watched == txtSesso || watched == txtCapRes)
            toCapitals(static_cast<QLineEdit *>(watched));
        break;
    case QEvent::KeyPress:
        // Digits only; Enter (the chain), Tab and the editing keys act normally.
        if (watched == txtCarta || watched == txtPartitaIva)
            return digitsOnlyRefuses(static_cast<QKeyEvent *>(event));
        break;
    case QEvent::FocusOut:
        // Also an address put into the box otherwise than by typing.
        if (watched == txtEmail)
            tidyBox(txtEmail, Tidy::Trim);
        break;
    default:
        break;
    }
    return LargeWindow::eventFilter(watched, event);
}

void TfrmClienti::FormShow() {
    // Nothing of the previous visit stays; the status line keeps its text.
    ClearCard();
}

void TfrmClienti::ShowCard(const ClientRecord &record, qint64 position) {
    using namespace ClientField;
    // A loaded client shows each long text from its beginning.
    for (int f = Cliente; f < kBoxes; ++f)
        showText(txtField[f], record.text(f));
    // Anything but "Sì" or "No" leaves the flag as it was.
    if (const std::optional<bool> recontact = record.yesNo(Ricontatta))
        chkRicontatta->setChecked(*recontact);
    Attachments stored;
    for (int i = 0; i < Attachments::kSlots; ++i) {
        stored.files[i] = record.text(File01 + i);
        stored.descriptions[i] = record.text(Desc01 + i);
    }
    setAttachments(stored);
    lblPosizione->setText(QString::number(position));
    markUnchanged();
}

void TfrmClienti::ClearCard() {
    for (QLineEdit *box : txtField)
        box->clear();
    chkRicontatta->setChecked(false);
    setAttachments({});
    txtProvNasc->clearProvince();
    txtProvRes->clearProvince();
    lblPosizione->clear();
    markUnchanged();
    txtCliente->setFocus(Qt::OtherFocusReason);
}

bool TfrmClienti::cardChanged() const {
    return !cards::sameTexts(cardRecord(), m_asShown);
}

bool TfrmClienti::mayLeaveCard() {
    return !cardChanged() || cards::mayLeave(this, [this] { return saveCard(); });
}

ClientRecord TfrmClienti::cardRecord() const {
    using namespace ClientField;
    ClientRecord record;
    for (int f = Cliente; f < kBoxes; ++f)
        record.setText(f, txtField[f]->text());
    record.setYesNo(Ricontatta, chkRicontatta->isChecked());
    const Attachments shown = attachments();
    for (int i = 0; i < Attachments::kSlots; ++i) {
        record.setText(File01 + i, shown.files[i]);
        record.setText(Desc01 + i, shown.descriptions[i]);
    }
    return record;
}

Attachments TfrmClienti::attachments() const {
    return attachmentsIn(lblFile, lblDesc);
}

void TfrmClienti::setAttachments(const Attachments &attachments) {
    putAttachments(attachments, lblFile, lblDesc);
}

// ---------------------------------------------------------------------------
// Navigation

void TfrmClienti::navigate(cards::Arrow arrow) {
    // Asked only when the arrow has a card to show.
    if (const auto found = cards::move<ClientRecord>(this, lblPosizione, arrow);
        found && mayLeaveCard())
        ShowCard(found->record, found->position);
}

void TfrmClienti::cmdPrimoClick() {
    navigate(cards::Arrow::First);
}

void TfrmClienti::cmdIndietroClick() {
    navigate(cards::Arrow::Previous);
}

void TfrmClienti::cmdAvantiClick() {
    navigate(cards::Arrow::Next);
}

void TfrmClienti::cmdUltimoClick() {
    navigate(cards::Arrow::Last);
}

// ---------------------------------------------------------------------------
// Search and the recontact list: the client chosen there shows as navigation
// shows it

void TfrmClienti::cmdTrovaClick() {
    opener::go(m_to.find, this, [this](const ClientRecord &record, qint64 position) {
        if (mayLeaveCard())
            ShowCard(record, position);
    });
}

void TfrmClienti::cmdRicontattaClick() {
    opener::go(m_to.recontact, this, [this](const ClientRecord &record, qint64 position) {
        if (mayLeaveCard())
            ShowCard(record, position);
    });
}

// ---------------------------------------------------------------------------
// New, save, duplicate

void TfrmClienti::cmdNuovoClick() {
    if (mayLeaveCard())
        ClearCard();
}

void TfrmClienti::cmdSalvaClick() {
    saveCard();
}

bool TfrmClienti::saveCard() {
    if (text::trimmed(txtCliente->text()).isEmpty()) {
        Desktop::current().message(this, Desktop::Kind::Warning, kNameMissing);
        txtCliente->setFocus(Qt::OtherFocusReason);
        return false;
    }
    // The boxes keep what was typed; the record holds it trimmed and cut.
    const ClientRecord record = cardRecord();
    const cards::Saved saved = cards::store(this, lblPosizione, record);
    cards::reportSaved(this, saved);
    if (saved == cards::Saved::Failed)
        return false;
    m_asShown = record;
    return true;
}

// ---------------------------------------------------------------------------
// Delete and the bin

void TfrmClienti::mnuEliminaClick() {
    const QString question =
        QStringLiteral("Eliminare il Cliente \"%1\" (scheda %2)?\n\nLa scheda andrà nel cestino, "
                       "da cui si potrà rimetterla in archivio.")
            .arg(text::trimmed(m_asShown.text(ClientField::Cliente)),
                 text::trimmed(lblPosizione->text()));
    if (!cards::remove<ClientRecord>(this, lblPosizione, question))
        return;
    if (const auto found = cards::replacement<ClientRecord>(this, lblPosizione))
        ShowCard(found->record, found->position);
    else
        ClearCard();
}

void TfrmClienti::mnuCestinoClick() {
    TfrmCestino::browse(this);
}

void TfrmClienti::cmdDuplicaClick() {
    // A stored card with changes is asked about first: the copy takes what
    // the window shows, the stored card keeps what was saved.
    if (!text::trimmed(lblPosizione->text()).isEmpty() && !mayLeaveCard())
        return;
    // The copy carries every text and the flag, but no attachments.
    cards::duplicate<ClientRecord>(
        this, lblPosizione, [this] { setAttachments({}); },
        [this] {
            markUnchanged();
            txtCliente->setFocus(Qt::OtherFocusReason);
        });
}

// ---------------------------------------------------------------------------
// Hand-overs: attachments, e-mail, check windows

void TfrmClienti::cmdFileClick() {
    if (const auto edited =
            TfrmAllegaCartella::edit(this, TfrmAllegaCartella::Archive::Clients, attachments()))
        setAttachments(*edited);
}

void TfrmClienti::btnEmailClick() {
    openInShell(u'"' + mailLink(text::trimmed(txtEmail->text())) + u'"');
}

void TfrmClienti::btnCodFiscClick() {
    // A code of digits only is a company's, the same as its VAT number: the
    // fiscal code window hands it to the VAT window, whatever its length.
    opener::go(m_to.checkFiscalCode, this, text::trimmed(txtCodFisc->text()));
}

void TfrmClienti::btnPartitaIvaClick() {
    opener::go(m_to.checkVatNumber, this, text::trimmed(txtPartitaIva->text()));
}

void TfrmClienti::btnCartaClick() {
    opener::go(m_to.checkCreditCard, this, text::trimmed(txtCarta->text()));
}

void TfrmClienti::btnIbanClick() {
    opener::go(m_to.checkIban, this, text::trimmed(txtIban->text()));
}

// ---------------------------------------------------------------------------
// The client card: preview, print and PDF of the card in the controls

report::PreparedReport TfrmClienti::preparedCard() {
    clientcard::Boxes boxes;
    for (int f = ClientField::Cliente; f < kBoxes; ++f)
        boxes[f] = txtField[f]->text();
    clientcard::fill(repScheda, boxes, report::now());
    return repScheda.prepare();
}

void TfrmClienti::cmdAnteprimaClick() {
    outputCard(this, [this] { Desktop::current().preview(this, preparedCard()); });
}

void TfrmClienti::cmdStampaClick() {
    outputCard(this, [this] { Desktop::current().print(this, preparedCard()); });
}

void TfrmClienti::cmdPDFClick() {
    // Every client goes to the same file, replaced without a question.
    const QString target = shell().appFolder().file(QStringLiteral("Cliente.pdf"));
    outputCard(this, [&] {
        report::exportPdf(preparedCard(), target,
                          {QStringLiteral("Scheda informativa"),
                           QStringLiteral("Scheda informativa"), QStringLiteral("Velmora Software"),
                           QStringLiteral("Velmora Software")});
        if (Desktop::current().message(this, Desktop::Kind::Confirmation, kPdfDone) !=
            Desktop::Answer::No)
            openInShell(u'"' + target + u'"');
    });
}

// ---------------------------------------------------------------------------
// Guide and closing

void TfrmClienti::cmdEsportaClick() {
    opener::go(m_to.exportClients, this);
}

void TfrmClienti::mnuImportaTabellaClick() {
    opener::go(m_to.importTable, this);
}

void TfrmClienti::mnuImportaVCardClick() {
    opener::go(m_to.importVCard, this);
}

void TfrmClienti::mnuEsportaVCardClick() {
    opener::go(m_to.exportClientVCard, this, cardRecord());
}

void TfrmClienti::mnuEsportaTuttiVCardClick() {
    opener::go(m_to.exportRegistryVCard, this);
}

void TfrmClienti::cmdGuidaClick() {
    shell().showGuide(this, clientsGuide());
}

void TfrmClienti::cmdEsciClick() {
    close();
}
