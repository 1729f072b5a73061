// The window registry: one instance of each window class, created at start-up
// in a fixed order (the login window first) and kept for the whole run.
// Windows reach each other through forms().
#pragma once

#include "storage/AppFolder.h"

class TfrmPassword;
class TfrmAvvio;
class TfrmAllegaCartella;
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

class Forms {
  public:
    // Creates every window in order; reads no file and builds no list.
    explicit Forms(const AppFolder &folder);
    ~Forms();
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

    // The start-up instance of a class, by class name ("TfrmDatabase"), for a
    // dialog that writes into its caller's controls by their names.
    QWidget *window(const char *className) const;

    // Every window created, in creation order (tests check the order).
    QList<QWidget *> created() const { return m_created; }

  private:
    template <typename T> T *make();
    QList<QWidget *> m_created;
};

// The registry of the running program.
Forms &forms();
// Ends the program (the login's "Esci", the start screen's exit or closing it).
void terminateProgram();
