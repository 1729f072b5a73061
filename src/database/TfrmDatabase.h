// The database workspace: shows one card of Database.pro at a time (fourteen
// user fields, the contact block, the photo, the flag and the references of
// three attachments), moves through the archive and stores the card shown.
//
// The card shown lives only in the controls; lblPosizione holds its record
// position (empty for a card not yet stored) and is read again by every
// operation. Each operation on Database.pro opens and closes the file itself.
#pragma once

#include "kit/AttachmentLabels.h"
#include "kit/CardArchive.h"
#include "kit/HandOver.h"
#include "kit/LargeWindow.h"
#include "output/CardSheet.h"
#include "storage/DatabaseRecord.h"

#include <QSet>
#include <array>

class CommandButton;
class PhotoView;
class PictureButton;
class ProvinceBox;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class StatusHints;

class TfrmDatabase : public LargeWindow {
    Q_OBJECT
  public:
    static constexpr int kFields = 14;

    explicit TfrmDatabase(QWidget *parent = nullptr);

    // The windows of other folders the workspace opens, handed in by the
    // registry. One left empty makes its button do nothing.
    struct Destinations {
        opener::RecordList<DatabaseRecord> find;
        opener::RecordList<DatabaseRecord> flagged;
        opener::ContactPick pickClient;
        opener::Check checkFiscalCode;
        opener::Check checkVatNumber;
        std::function<void(QWidget *owner, const CardSheet &sheet)> preview;
        std::function<void(QWidget *owner, const CardSheet &sheet)> print;
        opener::Plain exportCards;
        opener::Plain importCards;
    };
    void setDestinations(const Destinations &destinations) { m_to = destinations; }

    // Shows `record` as the stored card at `position` (1-based), with its photo.
    void ShowCard(const DatabaseRecord &record, qint64 position);
    // Empties the window for a new card.
    void ClearCard();
    // Shows the photo file of the position shown, or the default photo.
    void LoadCardPhoto();
    // Writes the picture shown to the photo file of the card at `position`.
    // Returns false when the file could not be written.
    bool SaveCardPhoto(qint64 position);
    // The card as the controls hold it, in its stored form.
    DatabaseRecord cardRecord() const;
    // The card as the controls show it, for printing: texts trimmed, and the
    // photo shown unless it is the default one.
    CardSheet cardSheet() const;
    // The attachments of the card shown (the hidden labels lblFile0n, lblDesc0n).
    Attachments attachments() const;
    void setAttachments(const Attachments &attachments);
    // Whether the card shown holds changes not yet saved: texts typed, the
    // flag, a client picked, attachments or a photo changed since the card
    // was shown, cleared or stored.
    bool cardChanged() const;
    // Before the card shown is left: true when it may be (no change, or the
    // user saved or discarded the changes).
    bool mayLeaveCard();

    // Puts a client's contact data into the eight boxes of the contact block;
    // nothing else of the card changes and nothing is stored.
    void setContactBlock(const ContactBlock &contact);

    QFrame *panContainer;

    // Toolbar.
    PictureButton *cmdNuovo;
    PictureButton *cmdDuplica;
    PictureButton *cmdSalva;
    PictureButton *cmdElimina;
    PictureButton *cmdCestino;
    PictureButton *cmdTrova;
    PictureButton *cmdFile;
    PictureButton *cmdCartella;
    PictureButton *cmdAnteprima;
    PictureButton *cmdStampa;
    PictureButton *cmdSegnalati;
    PictureButton *cmdPrimo;
    PictureButton *cmdIndietro;
    QLabel *lblPosizione;
    PictureButton *cmdAvanti;
    PictureButton *cmdUltimo;
    PictureButton *cmdImporta;
    PictureButton *cmdEsporta;
    PictureButton *cmdGuida;
    PictureButton *cmdEsci;

    QLabel *titNomeArchivio;
    QCheckBox *chkSegnala;

    // Photo.
    PhotoView *imgFoto;
    PhotoView *imgBianco; // hidden: the default photo
    PictureButton *btnCancFoto;
    CommandButton *btnSfoglia;
    PictureButton *btnZoom;

    // The fourteen user fields, their titles and their focus frames; index 0
    // is field 1 (txtCampo01, titCampo01, effCampo01).
    std::array<QLineEdit *, kFields> txtCampo{};
    std::array<QLabel *, kFields> titCampo{};
    std::array<QFrame *, kFields> effCampo{};

    // Contact block.
    QLabel *lblField01, *lblField02, *lblField03, *lblField04, *lblField05, *lblField06,
        *lblField07, *lblField08;
    QLineEdit *txtCliente;
    PictureButton *impCliente;
    QLineEdit *txtIndirizzoRes;
    QLineEdit *txtComuneRes;
    ProvinceBox *txtProvRes;
    QLineEdit *txtEmail;
    PictureButton *sndMail;
    QLineEdit *txtRecapito;
    QLineEdit *txtCodFisc;
    PictureButton *btnCodFisc;
    QLineEdit *txtPartitaIva;
    PictureButton *btnPartitaIva;

    // Hidden carriers of the card's three attachments; index 0 is lblFile01.
    AttachmentSlots lblFile{};
    AttachmentSlots lblDesc{};

    // Yellow frames shown behind the contact box that has the focus.
    QFrame *effCliente, *effIndirizzoRes, *effComuneRes, *effProvRes, *effEmail, *effRecapito,
        *effCodFisc, *effPartitaIva;

    QLabel *panInfo;

    // Handlers.
    void FormShow() override;
    void cmdNuovoClick();
    void cmdDuplicaClick();
    void cmdSalvaClick();
    void cmdEliminaClick();
    void cmdCestinoClick();
    void cmdTrovaClick();
    void cmdFileClick();
    void cmdCartellaClick();
    void cmdAnteprimaClick();
    void cmdStampaClick();
    void cmdSegnalatiClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdImportaClick();
    void cmdEsportaClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    void btnSfogliaClick();
    void btnCancFotoClick();
    void btnZoomClick();
    void impClienteClick();
    void sndMailClick();
    void btnCodFiscClick();
    void btnPartitaIvaClick();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool mayClose() override { return mayLeaveCard(); }

  private:
    Destinations m_to;
    // The save of "Salva": true once the card is stored with its photo.
    bool saveCard();
    // The card as it was shown, cleared or stored, against which changes count.
    void markUnchanged();
    DatabaseRecord m_asShown;
    bool m_photoChanged = false;
    QFrame *buildToolbar();
    QFrame *buildCardArea();
    QFrame *buildContactBlock();
    void describeControls();
    void bindCommandKeys();
    void wireKeyboard();

    // Shows the card an arrow brings up, if any.
    void navigate(cards::Arrow arrow);

    StatusHints *m_hints;
    // The photo file of the card shown when it holds a picture that could not
    // be read (too large, damaged): saving the card leaves it as it is, so
    // that a photo the window cannot show is never replaced by the default
    // one. Empty once the user loads or erases a photo.
    QString m_unreadPhoto;
};
