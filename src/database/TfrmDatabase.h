// The database workspace: shows one card of Database.pro at a time (fourteen
// user fields, the contact block, the photo, the flag and the references of
// three attachments), moves through the archive and stores the card shown.
//
// The card shown lives only in the controls; lblPosizione holds its record
// position (empty for a card not yet stored) and is read again by every
// operation. Each operation on Database.pro opens and closes the file itself.
#pragma once

#include "kit/Guide.h"
#include "kit/LargeWindow.h"
#include "storage/DatabaseRecord.h"

#include <QSet>
#include <array>
#include <functional>

class CommandButton;
class PhotoView;
class PictureButton;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class StatusHints;

class TfrmDatabase : public LargeWindow {
    Q_OBJECT
  public:
    explicit TfrmDatabase(QWidget *parent = nullptr);

    // The help the guide button opens (also a chapter of Guida.pdf).
    static GuideTopic guideTopic();
    // The province codes the province box offers, in their order.
    static const QStringList &provinceCodes();

    // Shows `record` as the stored card at `position` (1-based), with its photo.
    void ShowCard(const DatabaseRecord &record, qint64 position);
    // Empties the window for a new card.
    void ClearCard();
    // Shows the photo file of the position shown, or the default photo.
    void LoadCardPhoto();
    // Writes the picture shown to the photo file of the position shown.
    // Returns false when the file could not be written.
    bool SaveCardPhoto();
    // The card as the controls hold it, in its stored form.
    DatabaseRecord cardRecord() const;

    QFrame *panContainer;

    // Toolbar.
    PictureButton *cmdNuovo;
    PictureButton *cmdDuplica;
    PictureButton *cmdSalva;
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

    // The fourteen user fields and their titles.
    QLabel *titCampo01, *titCampo02, *titCampo03, *titCampo04, *titCampo05, *titCampo06,
        *titCampo07, *titCampo08, *titCampo09, *titCampo10, *titCampo11, *titCampo12, *titCampo13,
        *titCampo14;
    QLineEdit *txtCampo01, *txtCampo02, *txtCampo03, *txtCampo04, *txtCampo05, *txtCampo06,
        *txtCampo07, *txtCampo08, *txtCampo09, *txtCampo10, *txtCampo11, *txtCampo12, *txtCampo13,
        *txtCampo14;
    std::array<QLabel *, 14> titles() const;
    std::array<QLineEdit *, 14> fields() const;

    // Contact block.
    QLabel *lblField01, *lblField02, *lblField03, *lblField04, *lblField05, *lblField06,
        *lblField07, *lblField08;
    QLineEdit *txtCliente;
    PictureButton *impCliente;
    QLineEdit *txtIndirizzoRes;
    QLineEdit *txtComuneRes;
    QComboBox *txtProvRes;
    QLineEdit *txtEmail;
    PictureButton *sndMail;
    QLineEdit *txtRecapito;
    QLineEdit *txtCodFisc;
    PictureButton *btnCodFisc;
    QLineEdit *txtPartitaIva;
    PictureButton *btnPartitaIva;

    // Hidden carriers of the card's three attachments.
    QLabel *lblFile01, *lblFile02, *lblFile03;
    QLabel *lblDesc01, *lblDesc02, *lblDesc03;

    // Yellow frames shown behind the box that has the focus.
    QFrame *effCampo01, *effCampo02, *effCampo03, *effCampo04, *effCampo05, *effCampo06,
        *effCampo07, *effCampo08, *effCampo09, *effCampo10, *effCampo11, *effCampo12, *effCampo13,
        *effCampo14;
    QFrame *effCliente, *effIndirizzoRes, *effComuneRes, *effProvRes, *effEmail, *effRecapito,
        *effCodFisc, *effPartitaIva;

    QLabel *panInfo;

    // Handlers.
    void FormShow();
    void FormClose();
    void cmdNuovoClick();
    void cmdDuplicaClick();
    void cmdSalvaClick();
    void cmdFileClick();
    void cmdCartellaClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    void btnSfogliaClick();
    void btnCancFotoClick();
    void btnZoomClick();
    void sndMailClick();
    void btnCodFiscClick();
    void btnPartitaIvaClick();

  protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    QFrame *buildToolbar();
    QFrame *buildCardArea();
    QFrame *buildContactBlock();
    void describeControls();
    void wireKeyboard();

    // The position shown: 0 for a new card.
    qint64 shownPosition() const;
    // Runs one move through the archive: `choose` gets the record count and
    // the position shown and returns the 0-based index to show, or one of
    // kStay / kEmpty.
    void navigate(const std::function<qint64(qint64 count, qint64 shown)> &choose);
    void showAccessError();

    StatusHints *m_hints;
};
