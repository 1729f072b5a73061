// The settings menu: leads to the start-screen settings or the field titles,
// and makes or restores a backup of the data.
#pragma once

#include "kit/HandOver.h"
#include "kit/LargeWindow.h"

class QLabel;
class QPushButton;
class PictureLabel;
class StatusHints;

class TfrmMenuImpostazioni : public LargeWindow {
    Q_OBJECT
  public:
    explicit TfrmMenuImpostazioni(QWidget *parent = nullptr);

    // The two settings windows the menu leads to, and the backup windows:
    // `restore` answers whether the folder was restored.
    struct Destinations {
        LargeWindow *startSettings = nullptr;
        LargeWindow *fieldTitles = nullptr;
        opener::Plain backup;
        std::function<bool(QWidget *owner)> restore;
    };
    void setDestinations(const Destinations &destinations) { m_to = destinations; }

    QLabel *titNomeArchivio;
    QLabel *lblIstruzioni;
    QPushButton *btnImpostaAvvio;
    QPushButton *btnImpostaCampi;
    QPushButton *btnCopia;
    QPushButton *btnRipristina;
    PictureLabel *imgEsci;
    PictureLabel *imgGuida;
    // Shows the choice that closes the menu: "avvio", "start" or "campi".
    QLabel *lblMemory;
    QLabel *panInfo;

    void btnImpostaAvvioClick();
    void btnImpostaCampiClick();
    void btnCopiaClick();
    void btnRipristinaClick();
    void imgEsciClick();
    void imgGuidaClick();
    void FormShow() override;

  protected:
    LargeWindow *closeTarget() override;

  private:
    // The window closing the menu leads to.
    enum class Next { StartScreen, StartSettings, FieldTitles };
    void choose(Next next);
    Destinations m_to;
    Next m_next = Next::StartScreen;
};
