// The window registry: one instance of each window class, created at start-up
// in a fixed order (the login window first) and kept for the whole run. It is
// the program's Shell, the one seam the windows below see: after creating them
// it hands each window the windows it opens, as typed destinations (pointers
// to large windows, openers of dialogs). Only its owner (main(), a test's
// fixture) reaches the registry itself; no window does.
#pragma once

#include "kit/Shell.h"
#include "storage/AppFolder.h"

class TfrmPassword;
class TfrmAvvio;
class TfrmAllegaCartella;
class TfrmCestino;
class TfrmCambiaPassword;
class TfrmCarta;
class TfrmClienti;
class TfrmCodFisc;
class TfrmExpClienti;
class TfrmGuida;
class TfrmIban;
class TfrmInfo;
class TfrmPartitaIva;
class TfrmRicontatta;
class TfrmSplash;
class TfrmTrovaClienti;
class TfrmDatabase;
class TfrmExpDatabase;
class TfrmAnteprimaPrev;
class TfrmStampaDatabase;
class TfrmImpostaCampi;
class TfrmMenuImpostazioni;
class TfrmImpostaAvvio;
class TfrmSegnalati;
class TfrmTrovaDatabase;
class TfrmCartella;
class TfrmZoom;
class QWidget;

class Forms : public Shell {
  public:
    // Creates every window in order; reads no file and builds no list.
    explicit Forms(const AppFolder &folder);
    ~Forms() override;
    // Shows the main window (the login), and nothing else.
    void startUp();
    Forms(const Forms &) = delete;
    Forms &operator=(const Forms &) = delete;

    const AppFolder folder;
    // Set once the program has been told to end.
    bool terminated = false;

    // In creation order. A class not yet part of the program stays null.
    TfrmPassword *frmPassword = nullptr;
    TfrmAvvio *frmAvvio = nullptr;
    TfrmAllegaCartella *frmAllegaCartella = nullptr;
    TfrmCestino *frmCestino = nullptr;
    TfrmCambiaPassword *frmCambiaPassword = nullptr;
    TfrmCarta *frmCarta = nullptr;
    TfrmClienti *frmClienti = nullptr;
    TfrmCodFisc *frmCodFisc = nullptr;
    TfrmExpClienti *frmExpClienti = nullptr;
    TfrmGuida *frmGuida = nullptr;
    TfrmIban *frmIban = nullptr;
    TfrmInfo *frmInfo = nullptr;
    TfrmPartitaIva *frmPartitaIva = nullptr;
    TfrmRicontatta *frmRicontatta = nullptr;
    TfrmSplash *frmSplash = nullptr;
    TfrmTrovaClienti *frmTrovaClienti = nullptr;
    TfrmDatabase *frmDatabase = nullptr;
    TfrmExpDatabase *frmExpDatabase = nullptr;
    TfrmAnteprimaPrev *frmAnteprimaPrev = nullptr;
    TfrmStampaDatabase *frmStampaDatabase = nullptr;
    TfrmImpostaCampi *frmImpostaCampi = nullptr;
    TfrmMenuImpostazioni *frmMenuImpostazioni = nullptr;
    TfrmImpostaAvvio *frmImpostaAvvio = nullptr;
    TfrmSegnalati *frmSegnalati = nullptr;
    TfrmTrovaDatabase *frmTrovaDatabase = nullptr;
    TfrmCartella *frmCartella = nullptr;
    TfrmZoom *frmZoom = nullptr;

    // Shell.
    const AppFolder &appFolder() const override { return folder; }
    bool terminating() const override { return terminated; }
    LargeWindow *startScreen() const override;
    void showGuide(QWidget *owner, const GuideTopic &topic) override;
    void endProgram() override;

    // Every window created, in creation order (tests check the order).
    QList<QWidget *> created() const { return m_created; }

  private:
    template <typename T> T *make();
    // Hands each window the siblings it opens.
    void connectWindows();
    QList<QWidget *> m_created;
};
