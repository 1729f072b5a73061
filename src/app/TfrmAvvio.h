// The start screen: the archive's name, subtitle and picture, and the way
// into the database workspace, the client registry and the settings.
#pragma once

#include "kit/LargeWindow.h"

class QLabel;
class QFrame;
class CommandButton;
class PictureLabel;
class StatusHints;

class TfrmAvvio : public LargeWindow {
    Q_OBJECT
  public:
    explicit TfrmAvvio(QWidget *parent = nullptr);

    // The windows the three buttons open; a null one (a workspace not yet
    // part of the program) leaves its button disabled.
    struct Destinations {
        LargeWindow *database = nullptr;
        LargeWindow *clients = nullptr;
        LargeWindow *settings = nullptr;
    };
    void setDestinations(const Destinations &destinations) { m_to = destinations; }

    QFrame *panContainer;
    QLabel *titNomeArchivio;
    QLabel *titSottotitolo;
    QLabel *imgLogo;
    QLabel *imgTemp;
    CommandButton *cmdImpostazioni;
    CommandButton *cmdDatabase;
    CommandButton *cmdClienti;
    PictureLabel *imgInfo;
    PictureLabel *imgGuida;
    PictureLabel *imgCopyright;
    PictureLabel *imgSitoWeb;
    PictureLabel *imgEsci;
    QLabel *panInfo;

    void FormShow() override;
    void cmdDatabaseClick();
    void cmdClientiClick();
    void cmdImpostazioniClick();
    void imgInfoClick();
    void imgCopyrightClick();
    void imgGuidaClick();
    void imgSitoWebClick();
    void imgEsciClick();

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    StatusHints *m_hints;
    Destinations m_to;
};
