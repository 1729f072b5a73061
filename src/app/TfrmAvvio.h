// The start screen: the archive's name, subtitle and picture, and the way
// into the database workspace, the client registry and the settings.
#pragma once

#include "kit/Guide.h"
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

    // The help the guide icon opens (also a chapter of Guida.pdf).
    static GuideTopic guideTopic();

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

    void FormShow();
    void cmdDatabaseClick();
    void cmdClientiClick();
    void cmdImpostazioniClick();
    void imgInfoClick();
    void imgCopyrightClick();
    void imgGuidaClick();
    void imgSitoWebClick();
    void imgEsciClick();

  protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

  private:
    StatusHints *m_hints;
};
