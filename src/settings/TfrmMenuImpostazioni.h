// The settings menu: leads to the start-screen settings or the field titles.
#pragma once

#include "kit/Guide.h"
#include "kit/LargeWindow.h"

class QLabel;
class QPushButton;
class PictureLabel;
class StatusHints;

class TfrmMenuImpostazioni : public LargeWindow {
    Q_OBJECT
  public:
    explicit TfrmMenuImpostazioni(QWidget *parent = nullptr);

    // The help the guide button opens (also a chapter of Guida.pdf).
    static GuideTopic guideTopic();

    QLabel *titNomeArchivio;
    QLabel *lblIstruzioni;
    QPushButton *btnImpostaAvvio;
    QPushButton *btnImpostaCampi;
    PictureLabel *imgEsci;
    PictureLabel *imgGuida;
    // The choice that closes the menu: "avvio", "start" or "campi".
    QLabel *lblMemory;
    QLabel *panInfo;

    void btnImpostaAvvioClick();
    void btnImpostaCampiClick();
    void imgEsciClick();
    void imgGuidaClick();

  protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
};
