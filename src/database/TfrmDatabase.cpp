#include "TfrmDatabase.h"

#include "Photo.h"
#include "PhotoView.h"
#include "dialogs/TfrmAllegaCartella.h"
#include "dialogs/TfrmCestino.h"
#include "TfrmCartella.h"
#include "TfrmZoom.h"
#include "DatabaseGuide.h"
#include "kit/AttachmentLabels.h"
#include "kit/CardArchive.h"
#include "kit/Desktop.h"
#include "kit/ProvinceBox.h"
#include "kit/Shell.h"
#include "kit/ShellOpen.h"
#include "kit/WindowKit.h"
#include "storage/AppFolder.h"
#include "storage/ArchiveSettings.h"
#include "storage/StorageError.h"
#include "storage/TextRules.h"

#include <QFileInfo>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>

namespace {

const QString kFirstFieldMissing = QStringLiteral(
    "Attenzione: per salvare la scheda è necessario compilare il primo campo del database.");
const QString kClientMissing = QStringLiteral(
    "Attenzione: per salvare la scheda è necessario indicare il nome del Cliente associato.");
// The record is stored but its photo file could not be written.
const QString kPhotoNotSaved = QStringLiteral(
    "Attenzione: i dati della scheda sono stati salvati in archivio, ma non è stato possibile "
    "salvare la foto.\n\r\n\rAccertarsi di possedere i privilegi di scrittura nella cartella di "
    "installazione del programma.");
const QString kFolderNewCard =
    QStringLiteral("Attenzione: l'abbinamento di una cartella ad un record può avvenire soltanto "
                   "dopo che la scheda è stata inserita in archivio.");

const QString kPhotoChooserTitle =
    QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap.");
const QString kPhotoChooserFilter =
    QStringLiteral("Immagine JPEG (*.jpg *.jpeg);;Immagine Bitmap (*.bmp)");

bool isBlank(const QString &s) {
    return text::trimmed(s).isEmpty();
}

void warn(QWidget *parent, const QString &message) {
    Desktop::current().message(parent, Desktop::Kind::Warning, message);
}

} // namespace

// ---------------------------------------------------------------------------
// Typing rules, showing the window, showing and clearing a card

bool TfrmDatabase::eventFilter(QObject *watched, QEvent *event) {
    if (watched == txtEmail) {
        // Blanks at either end of the address disappear as soon as they are typed.
        if (event->type() == QEvent::KeyRelease || event->type() == QEvent::FocusOut)
            tidyBox(txtEmail, Tidy::Trim);
    } else if (watched == txtPartitaIva && event->type() == QEvent::KeyPress) {
        // Digits only; Enter (the chain), Tab and the editing keys act normally.
        return digitsOnlyRefuses(static_cast<QKeyEvent *>(event));
    }
    return LargeWindow::eventFilter(watched, event);
}

void TfrmDatabase::FormShow() {
    const ArchiveSettings settings(shell().appFolder());
    titNomeArchivio->setText(settings.archiveName());
    for (int i = 0; i < kFields; ++i)
        titCampo[i]->setText(settings.fieldTitle(i));
    ClearCard();
}

void TfrmDatabase::ShowCard(const DatabaseRecord &record, qint64 position) {
    using namespace DatabaseField;
    // A loaded card shows each long text from its beginning.
    for (int i = 0; i < kFields; ++i)
        showText(txtCampo[i], record.text(Campo01 + i));
    showText(txtCliente, record.text(Cliente));
    showText(txtRecapito, record.text(Recapito));
    showText(txtIndirizzoRes, record.text(IndirizzoRes));
    txtProvRes->setEditText(record.text(ProvRes));
    showText(txtComuneRes, record.text(ComuneRes));
    showText(txtEmail, record.text(Email));
    showText(txtCodFisc, record.text(CodFisc));
    showText(txtPartitaIva, record.text(PartitaIva));
    // Anything but "Sì" or "No" leaves the flag as it was.
    if (const std::optional<bool> flagged = record.yesNo(Segnala))
        chkSegnala->setChecked(*flagged);
    for (int i = 0; i < Attachments::kSlots; ++i) {
        lblFile[i]->setText(record.text(File01 + i));
        lblDesc[i]->setText(record.text(Desc01 + i));
    }
    lblPosizione->setText(QString::number(position));
    LoadCardPhoto();
    markUnchanged();
}

void TfrmDatabase::ClearCard() {
    for (QLineEdit *box : txtCampo)
        box->clear();
    for (QLineEdit *box : {txtCliente, txtRecapito, txtIndirizzoRes, txtComuneRes, txtEmail,
                           txtCodFisc, txtPartitaIva})
        box->clear();
    txtProvRes->clearProvince();
    chkSegnala->setChecked(false);
    setAttachments({});
    imgFoto->setPicture(imgBianco->picture());
    m_unreadPhoto.clear();
    lblPosizione->clear();
    markUnchanged();
    txtCampo[0]->setFocus(Qt::OtherFocusReason);
}

void TfrmDatabase::markUnchanged() {
    m_asShown = cardRecord();
    m_photoChanged = false;
}

bool TfrmDatabase::cardChanged() const {
    return m_photoChanged || !cards::sameTexts(cardRecord(), m_asShown);
}

bool TfrmDatabase::mayLeaveCard() {
    return !cardChanged() || cards::mayLeave(this, [this] { return saveCard(); });
}

DatabaseRecord TfrmDatabase::cardRecord() const {
    using namespace DatabaseField;
    DatabaseRecord record;
    for (int i = 0; i < kFields; ++i)
        record.setText(Campo01 + i, txtCampo[i]->text());
    record.setText(Cliente, txtCliente->text());
    record.setText(Recapito, txtRecapito->text());
    record.setText(IndirizzoRes, txtIndirizzoRes->text());
    record.setText(ProvRes, txtProvRes->currentText());
    record.setText(ComuneRes, txtComuneRes->text());
    record.setText(Email, txtEmail->text());
    record.setText(CodFisc, txtCodFisc->text());
    record.setText(PartitaIva, txtPartitaIva->text());
    record.setYesNo(Segnala, chkSegnala->isChecked());
    for (int i = 0; i < Attachments::kSlots; ++i) {
        record.setText(File01 + i, lblFile[i]->text());
        record.setText(Desc01 + i, lblDesc[i]->text());
    }
    return record;
}

CardSheet TfrmDatabase::cardSheet() const {
    CardSheet sheet;
    // The default photo says there is none: the card prints an empty frame,
    // also when the default photo was saved as the card's photo file.
    if (!photo::samePicture(imgFoto->picture(), imgBianco->picture()))
        sheet.photo = imgFoto->picture();
    for (int i = 0; i < kFields; ++i) {
        sheet.titles[i] = text::trimmed(titCampo[i]->text());
        sheet.values[i] = text::trimmed(txtCampo[i]->text());
    }
    const QString contacts[] = {txtCliente->text(),  txtIndirizzoRes->text(),
                                txtComuneRes->text(), txtProvRes->currentText(),
                                txtEmail->text(),     txtRecapito->text(),
                                txtCodFisc->text(),   txtPartitaIva->text()};
    for (int i = 0; i < CardSheet::kContacts; ++i)
        sheet.contacts[i] = text::trimmed(contacts[i]);
    return sheet;
}

Attachments TfrmDatabase::attachments() const {
    return attachmentsIn(lblFile, lblDesc);
}

void TfrmDatabase::setAttachments(const Attachments &attachments) {
    putAttachments(attachments, lblFile, lblDesc);
}

void TfrmDatabase::setContactBlock(const ContactBlock &contact) {
    txtCliente->setText(contact.cliente);
    txtIndirizzoRes->setText(contact.indirizzoRes);
    txtComuneRes->setText(contact.comuneRes);
    txtProvRes->setEditText(contact.provRes);
    txtEmail->setText(contact.email);
    txtRecapito->setText(contact.recapito);
    txtCodFisc->setText(contact.codFisc);
    txtPartitaIva->setText(contact.partitaIva);
}

// ---------------------------------------------------------------------------
// Navigation

void TfrmDatabase::navigate(cards::Arrow arrow) {
    // Asked only when the arrow has a card to show.
    if (const auto found = cards::move<DatabaseRecord>(this, lblPosizione, arrow);
        found && mayLeaveCard())
        ShowCard(found->record, found->position);
}

void TfrmDatabase::cmdPrimoClick() {
    navigate(cards::Arrow::First);
}

void TfrmDatabase::cmdUltimoClick() {
    navigate(cards::Arrow::Last);
}

void TfrmDatabase::cmdAvantiClick() {
    navigate(cards::Arrow::Next);
}

void TfrmDatabase::cmdIndietroClick() {
    navigate(cards::Arrow::Previous);
}

// ---------------------------------------------------------------------------
// Search and the flagged list: the card chosen there shows as navigation shows it

void TfrmDatabase::cmdTrovaClick() {
    opener::go(m_to.find, this, [this](const DatabaseRecord &record, qint64 position) {
        if (mayLeaveCard())
            ShowCard(record, position);
    });
}

void TfrmDatabase::cmdSegnalatiClick() {
    opener::go(m_to.flagged, this, [this](const DatabaseRecord &record, qint64 position) {
        if (mayLeaveCard())
            ShowCard(record, position);
    });
}

// ---------------------------------------------------------------------------
// New, save, duplicate

void TfrmDatabase::cmdNuovoClick() {
    if (mayLeaveCard())
        ClearCard();
}

void TfrmDatabase::cmdSalvaClick() {
    saveCard();
}

bool TfrmDatabase::saveCard() {
    if (isBlank(txtCampo[0]->text())) {
        warn(this, kFirstFieldMissing);
        txtCampo[0]->setFocus(Qt::OtherFocusReason);
        return false;
    }
    if (isBlank(txtCliente->text())) {
        warn(this, kClientMissing);
        txtCliente->setFocus(Qt::OtherFocusReason);
        return false;
    }

    // The photo goes with the record, in the same change.
    bool photoSaved = true;
    const cards::Beside photoFile{
        [this](qint64 position) {
            const QString path = photo::fileOf(shell().appFolder(), QString::number(position));
            return path == m_unreadPhoto ? QStringList() : QStringList{QFileInfo(path).fileName()};
        },
        [this, &photoSaved](qint64 position) { photoSaved = SaveCardPhoto(position); }};
    const DatabaseRecord record = cardRecord();
    const cards::Saved saved = cards::store(this, lblPosizione, record, photoFile);
    if (saved == cards::Saved::Failed)
        return false;
    m_asShown = record;
    if (!photoSaved) {
        // The record is stored; the photo is not, and the user must know it.
        // The photo still counts as a change.
        warn(this, kPhotoNotSaved);
        return false;
    }
    m_photoChanged = false;
    cards::reportSaved(this, saved);
    return true;
}

// ---------------------------------------------------------------------------
// Delete and the bin

void TfrmDatabase::cmdEliminaClick() {
    const QString question =
        QStringLiteral("Eliminare la scheda %1?\n\nLa scheda, con la sua foto e la sua cartella, "
                       "andrà nel cestino, da cui si potrà rimetterla in archivio.")
            .arg(text::trimmed(lblPosizione->text()));
    if (!cards::remove<DatabaseRecord>(this, lblPosizione, question))
        return;
    if (const auto found = cards::replacement<DatabaseRecord>(this, lblPosizione))
        ShowCard(found->record, found->position);
    else
        ClearCard();
}

void TfrmDatabase::cmdCestinoClick() {
    TfrmCestino::browse(this);
}

void TfrmDatabase::cmdDuplicaClick() {
    // A stored card with changes is asked about first: the copy takes what
    // the window shows, the stored card keeps what was saved.
    if (!text::trimmed(lblPosizione->text()).isEmpty() && !mayLeaveCard())
        return;
    // The copy has no attachments and the default photo.
    cards::duplicate<DatabaseRecord>(
        this, lblPosizione, [this] { setAttachments({}); },
        [this] {
            imgFoto->setPicture(imgBianco->picture());
            markUnchanged();
            txtCampo[0]->setFocus(Qt::OtherFocusReason);
        });
}

// ---------------------------------------------------------------------------
// Photo

void TfrmDatabase::LoadCardPhoto() {
    const QString path = photo::fileOf(shell().appFolder(), lblPosizione->text());
    const QImage picture = photo::load(path);
    imgFoto->setPicture(picture.isNull() ? imgBianco->picture() : picture);
    const QFileInfo file(path);
    m_unreadPhoto = picture.isNull() && file.isFile() && file.size() > 0 ? path : QString();
}

bool TfrmDatabase::SaveCardPhoto(qint64 position) {
    const QString path = photo::fileOf(shell().appFolder(), QString::number(position));
    if (path == m_unreadPhoto)
        return true;
    try {
        photo::saveJpeg(imgFoto->picture(), path);
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
    m_unreadPhoto.clear();
    m_photoChanged = true;
}

void TfrmDatabase::btnCancFotoClick() {
    imgFoto->setPicture(imgBianco->picture());
    m_unreadPhoto.clear();
    m_photoChanged = true;
}

void TfrmDatabase::btnZoomClick() {
    TfrmZoom::open(this, imgFoto->picture());
}

// ---------------------------------------------------------------------------
// Attachments, card folder, contact block

void TfrmDatabase::cmdFileClick() {
    if (const auto edited =
            TfrmAllegaCartella::edit(this, TfrmAllegaCartella::Archive::Database, attachments()))
        setAttachments(*edited);
}

void TfrmDatabase::cmdCartellaClick() {
    const QString position = text::trimmed(lblPosizione->text());
    if (position.isEmpty()) {
        warn(this, kFolderNewCard);
        return;
    }
    TfrmCartella::open(this, position);
}

void TfrmDatabase::impClienteClick() {
    opener::go(m_to.pickClient, this,
               [this](const ContactBlock &contact) { setContactBlock(contact); });
}

void TfrmDatabase::sndMailClick() {
    openInShell(u'"' + mailLink(text::trimmed(txtEmail->text())) + u'"');
}

void TfrmDatabase::btnCodFiscClick() {
    // A code of digits only is a company's, the same as its VAT number: the
    // fiscal code window hands it to the VAT window.
    opener::go(m_to.checkFiscalCode, this, text::trimmed(txtCodFisc->text()));
}

void TfrmDatabase::btnPartitaIvaClick() {
    opener::go(m_to.checkVatNumber, this, text::trimmed(txtPartitaIva->text()));
}

// ---------------------------------------------------------------------------
// Print and preview of the card shown, saved or not

void TfrmDatabase::cmdAnteprimaClick() {
    opener::go(m_to.preview, this, cardSheet());
}

void TfrmDatabase::cmdStampaClick() {
    opener::go(m_to.print, this, cardSheet());
}

// ---------------------------------------------------------------------------
// Guide and closing

void TfrmDatabase::cmdImportaClick() {
    opener::go(m_to.importCards, this);
}

void TfrmDatabase::cmdEsportaClick() {
    opener::go(m_to.exportCards, this);
}

void TfrmDatabase::cmdGuidaClick() {
    shell().showGuide(this, databaseGuide());
}

void TfrmDatabase::cmdEsciClick() {
    close();
}
