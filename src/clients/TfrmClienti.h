// The client workspace: shows one card of Clienti.pro at a time (29 text
// fields, the recontact flag and the references of three attachments), moves
// through the archive, stores the card shown and hands its codes to the check
// windows.
//
// The card shown lives only in the controls; lblPosizione holds its record
// position (empty for a card not yet stored) and is read again by every
// operation. Each operation on Clienti.pro opens and closes the file itself.
#pragma once

#include "kit/AttachmentLabels.h"
#include "kit/CardArchive.h"
#include "kit/HandOver.h"
#include "kit/LargeWindow.h"
#include "report/Templates.h"
#include "storage/ClientRecord.h"

#include <array>

class CommandButton;
class PictureButton;
class ProvinceBox;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class StatusHints;

class TfrmClienti : public LargeWindow {
    Q_OBJECT
  public:
    // The text fields of a card, Cliente to Note: one box each.
    static constexpr int kBoxes = ClientField::Ricontatta;

    explicit TfrmClienti(QWidget *parent = nullptr);

    // The windows of other folders the workspace opens, handed in by the
    // registry. One left empty makes its button do nothing.
    struct Destinations {
        opener::RecordList<ClientRecord> find;
        opener::RecordList<ClientRecord> recontact;
        opener::Check checkFiscalCode;
        opener::Check checkVatNumber;
        opener::Check checkCreditCard;
        opener::Check checkIban;
        opener::Plain exportClients;
        opener::Plain importTable;
        opener::Plain importVCard;
        std::function<void(QWidget *owner, const ClientRecord &client)> exportClientVCard;
        opener::Plain exportRegistryVCard;
    };
    void setDestinations(const Destinations &destinations) { m_to = destinations; }

    // Shows `record` as the stored card at `position` (1-based).
    void ShowCard(const ClientRecord &record, qint64 position);
    // Empties the window for a new card and puts the focus in the name box.
    void ClearCard();
    // The card as the controls hold it, in its stored form.
    ClientRecord cardRecord() const;
    // The attachments of the card shown (the hidden labels lblFile0n, lblDesc0n).
    Attachments attachments() const;
    void setAttachments(const Attachments &attachments);
    // Whether the card shown holds changes not yet saved: texts typed, the
    // flag or attachments changed since the card was shown, cleared or stored.
    bool cardChanged() const;
    // Before the card shown is left: true when it may be (no change, or the
    // user saved or discarded the changes).
    bool mayLeaveCard();

    QFrame *panContainer;

    // The 29 boxes by field: txtField[ClientField::Cliente] is txtCliente. The
    // two province boxes are in it through their text lines. Their labels
    // (lblCampo01 … lblCampo29, numbered in their own order) and their yellow
    // focus frames likewise.
    std::array<QLineEdit *, kBoxes> txtField{};
    std::array<QLabel *, kBoxes> lblField{};
    std::array<QFrame *, kBoxes> effField{};

    // The boxes with a rule or a button of their own.
    QLineEdit *txtCliente;
    ProvinceBox *txtProvNasc;
    QLineEdit *txtSesso;
    ProvinceBox *txtProvRes;
    QLineEdit *txtCapRes;
    QLineEdit *txtEmail;
    QLineEdit *txtCodFisc;
    QLineEdit *txtCarta;
    QLineEdit *txtPartitaIva;
    QLineEdit *txtIban;
    QLineEdit *txtQuestioni;
    QLineEdit *txtNote;

    QCheckBox *chkRicontatta;

    // Command buttons, top to bottom.
    CommandButton *cmdNuovo;
    CommandButton *cmdDuplica;
    CommandButton *cmdFile;
    CommandButton *cmdSalva;
    CommandButton *cmdElimina;
    CommandButton *cmdTrova;
    CommandButton *cmdAnteprima;
    CommandButton *cmdStampa;
    CommandButton *cmdPDF;
    CommandButton *cmdRicontatta;
    CommandButton *cmdEsporta;
    CommandButton *cmdImporta; // a menu: table import and vCard
    CommandButton *cmdGuida;
    CommandButton *cmdEsci;

    // Small buttons beside their boxes.
    PictureButton *btnEmail;
    PictureButton *btnCodFisc;
    PictureButton *btnCarta;
    PictureButton *btnPartitaIva;
    PictureButton *btnIban;

    // Arrows and the record position.
    PictureButton *cmdPrimo;
    PictureButton *cmdIndietro;
    QLabel *lblPosizione;
    PictureButton *cmdAvanti;
    PictureButton *cmdUltimo;

    // Hidden carriers of the card's three attachments; index 0 is lblFile01.
    AttachmentSlots lblFile{};
    AttachmentSlots lblDesc{};

    QLabel *panInfo;

    // Handlers.
    void FormShow() override;
    void cmdNuovoClick();
    void cmdDuplicaClick();
    void cmdSalvaClick();
    void cmdFileClick();
    void cmdTrovaClick();
    void cmdAnteprimaClick();
    void cmdStampaClick();
    void cmdPDFClick();
    void cmdRicontattaClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdEsportaClick();
    void mnuImportaTabellaClick();
    void mnuImportaVCardClick();
    void mnuEliminaClick();
    void mnuCestinoClick();
    void mnuEsportaVCardClick();
    void mnuEsportaTuttiVCardClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    void btnEmailClick();
    void btnCodFiscClick();
    void btnCartaClick();
    void btnPartitaIvaClick();
    void btnIbanClick();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool mayClose() override { return mayLeaveCard(); }

  private:
    Destinations m_to;
    // The save of "Salva": true once the card is stored.
    bool saveCard();
    // The card as it was shown, cleared or stored, against which changes count.
    void markUnchanged() { m_asShown = cardRecord(); }
    ClientRecord m_asShown;
    void buildSection(int section);
    void buildCommands();
    void buildFoot();
    void describeControls();
    void bindCommandKeys();
    void wireKeyboard();
    void connectHandlers();
    // Shows the card an arrow brings up, if any.
    void navigate(cards::Arrow arrow);
    // The card in the controls (saved or not) laid out on the template.
    report::PreparedReport preparedCard();

    // The client card's template, this window's own copy.
    report::Template repScheda = report::cardTemplate(QStringLiteral("imgLogo"));

    StatusHints *m_hints;
};
