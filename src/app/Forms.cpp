#include "Forms.h"

#include "kit/LargeWindow.h"
#include "kit/WindowKit.h"

#include <QCoreApplication>
#include <QWidget>

// Window classes of the program, in creation order; then what the registry
// hands the windows as their destinations.
#include "TfrmPassword.h"
#include "TfrmAvvio.h"
#include "dialogs/TfrmAllegaCartella.h"
#include "dialogs/TfrmCestino.h"
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
#include "backup/BackupWindows.h"
#include "import/TfrmImporta.h"
#include "import/VCardWindows.h"
#include "output/TfrmAnteprimaPrev.h"
#include "output/TfrmStampaDatabase.h"

template <typename T> T *Forms::make() {
    T *window = new T();
    m_created << window;
    return window;
}

Forms::Forms(const AppFolder &appFolder) : folder(appFolder) {
    Q_ASSERT(!Shell::isRunning());
    applyProcessFormats();
    // The creation order is fixed: the login window first, so that it is the
    // program's main window. The dialogs (every class below that is not a
    // large window) get an instance here too, although each use of a dialog
    // makes a fresh one of its own and these are never shown: the program
    // keeps one instance of every window class from start to end, so each
    // start builds every window once, before the login shows, and a window
    // that cannot be built fails there and not in the middle of a user's
    // work. Building them reads no file and fills no list.
    frmPassword = make<TfrmPassword>();
    frmAvvio = make<TfrmAvvio>();
    frmAllegaCartella = make<TfrmAllegaCartella>();
    frmCestino = make<TfrmCestino>();
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

namespace {

// A dialog's static opener; the dialog's class also inherits QDialog::open(),
// which this leaves out.
template <class... Args> auto staticOpen(void (*open)(QWidget *, Args...)) {
    return open;
}

} // namespace

void Forms::connectWindows() {
    frmPassword->setDestinations({frmAvvio, frmCambiaPassword});
    frmCambiaPassword->setReturnTo(frmPassword);
    frmAvvio->setDestinations({frmDatabase, frmClienti, frmMenuImpostazioni});
    frmMenuImpostazioni->setDestinations(
        {frmImpostaAvvio, frmImpostaCampi,
         [this](QWidget *owner) { backup::makeBackupFromWindow(owner, folder); },
         [this](QWidget *owner) { return backup::restoreFromWindow(owner, folder); }});
    TfrmDatabase::Destinations database;
    database.find = staticOpen(&TfrmTrovaDatabase::open);
    database.flagged = staticOpen(&TfrmSegnalati::open);
    database.pickClient = staticOpen(&TfrmTrovaClienti::pick);
    database.checkFiscalCode = staticOpen(&TfrmCodFisc::open);
    database.checkVatNumber = staticOpen(&TfrmPartitaIva::open);
    database.preview = staticOpen(&TfrmAnteprimaPrev::open);
    database.print = staticOpen(&TfrmStampaDatabase::open);
    database.exportCards = staticOpen(&TfrmExpDatabase::open);
    database.importCards = [this](QWidget *owner) {
        import::importFromWindow(owner, folder, spreadsheet::databaseSheet);
    };
    frmDatabase->setDestinations(database);

    TfrmClienti::Destinations clients;
    clients.find = staticOpen(&TfrmTrovaClienti::open);
    clients.recontact = staticOpen(&TfrmRicontatta::open);
    clients.checkFiscalCode = staticOpen(&TfrmCodFisc::open);
    clients.checkVatNumber = staticOpen(&TfrmPartitaIva::open);
    clients.checkCreditCard = staticOpen(&TfrmCarta::open);
    clients.checkIban = staticOpen(&TfrmIban::open);
    clients.exportClients = staticOpen(&TfrmExpClienti::open);
    clients.importTable = [this](QWidget *owner) {
        import::importFromWindow(owner, folder, spreadsheet::clientSheet);
    };
    clients.importVCard = [this](QWidget *owner) { import::importVCardFromWindow(owner, folder); };
    clients.exportClientVCard = [this](QWidget *owner, const ClientRecord &client) {
        import::exportClientToVCard(owner, folder, client);
    };
    clients.exportRegistryVCard = [this](QWidget *owner) {
        import::exportRegistryToVCard(owner, folder);
    };
    frmClienti->setDestinations(clients);
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
}

void Forms::endProgram() {
    terminated = true;
    for (QWidget *w : m_created)
        w->hide();
    QCoreApplication::quit();
}
