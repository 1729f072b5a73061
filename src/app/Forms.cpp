#include "Forms.h"

#include "kit/LargeWindow.h"
#include "kit/WindowKit.h"

#include <QCoreApplication>
#include <QWidget>

// Window classes of the program, in creation order.
// (Each window's header is included here as the window joins the program.)
#include "TfrmPassword.h"
#include "TfrmAvvio.h"
#include "database/TfrmAllegaCartella.h"
#include "TfrmCambiaPassword.h"
#include "validators/TfrmCarta.h"
#include "clients/TfrmClienti.h"
#include "validators/TfrmCodFisc.h"
#include "output/TfrmExpClienti.h"
#include "TfrmGuida.h"
#include "validators/TfrmIban.h"
#include "TfrmInfo.h"
#include "validators/TfrmPartitaIva.h"
#include "search/TfrmRicontatta.h"
#include "TfrmSplash.h"
#include "search/TfrmTrovaClienti.h"
#include "database/TfrmDatabase.h"
#include "output/TfrmExpDatabase.h"
#include "settings/TfrmImpostaCampi.h"
#include "settings/TfrmMenuImpostazioni.h"
#include "settings/TfrmImpostaAvvio.h"
#include "search/TfrmSegnalati.h"
#include "search/TfrmTrovaDatabase.h"
#include "database/TfrmCartella.h"
#include "database/TfrmZoom.h"

namespace {
Forms *running = nullptr;
} // namespace

template <typename T> T *Forms::make() {
    T *window = new T();
    m_created << window;
    return window;
}

Forms::Forms(const AppFolder &appFolder) : folder(appFolder) {
    Q_ASSERT(!running);
    running = this;
    applyProcessFormats();
    // The creation order is fixed: the login window first, so that it is the
    // program's main window. Dialog instances made here are never shown.
    frmPassword = make<TfrmPassword>();
    frmAvvio = make<TfrmAvvio>();
    frmAllegaCartella = make<TfrmAllegaCartella>();
    frmCambiaPassword = make<TfrmCambiaPassword>();
    frmCarta = make<TfrmCarta>();
    frmClienti = make<TfrmClienti>();
    frmCodFisc = make<TfrmCodFisc>();
    frmExpClienti = make<TfrmExpClienti>();
    frmGuida = make<TfrmGuida>();
    frmIban = make<TfrmIban>();
    frmInfo = make<TfrmInfo>();
    frmPartitaIva = make<TfrmPartitaIva>();
    frmRicontatta = make<TfrmRicontatta>();
    frmSplash = make<TfrmSplash>();
    frmTrovaClienti = make<TfrmTrovaClienti>();
    frmDatabase = make<TfrmDatabase>();
    frmExpDatabase = make<TfrmExpDatabase>();
    frmImpostaCampi = make<TfrmImpostaCampi>();
    frmMenuImpostazioni = make<TfrmMenuImpostazioni>();
    frmImpostaAvvio = make<TfrmImpostaAvvio>();
    frmSegnalati = make<TfrmSegnalati>();
    frmTrovaDatabase = make<TfrmTrovaDatabase>();
    frmCartella = make<TfrmCartella>();
    frmZoom = make<TfrmZoom>();
    Shell::install(this);
    connectWindows();
}

void Forms::connectWindows() {
    // A workspace that is not part of the program yet stays null: its
    // button on the start screen is disabled.
    frmAvvio->setDestinations({frmDatabase, frmClienti, frmMenuImpostazioni});
    frmMenuImpostazioni->setDestinations({frmImpostaAvvio, frmImpostaCampi});
}

LargeWindow *Forms::startScreen() const {
    return frmAvvio;
}

void Forms::showGuide(QWidget *owner, const GuideTopic &topic) {
    TfrmGuida::showTopic(owner, topic);
}

void Forms::startUp() {
    if (auto *main = qobject_cast<LargeWindow *>(m_created.value(0)))
        main->present();
}

Forms::~Forms() {
    for (qsizetype i = m_created.size() - 1; i >= 0; --i)
        delete m_created[i];
    Shell::install(nullptr);
    running = nullptr;
}

Forms &forms() {
    Q_ASSERT(running);
    return *running;
}

void terminateProgram() {
    forms().terminated = true;
    for (QWidget *w : forms().created())
        w->hide();
    QCoreApplication::quit();
}
