#include "TfrmTrovaDatabase.h"

#include "kit/Shell.h"
#include "storage/AppFolder.h"
#include "storage/ArchiveSettings.h"

#include <QLabel>
#include <QLineEdit>

namespace {

// The user fields' titles come from the settings file when the window shows.
constexpr SearchWindow::Box kBoxes[] = {
    {"txtCampo01", "titCampo01", ""},
    {"txtCampo02", "titCampo02", ""},
    {"txtCampo03", "titCampo03", ""},
    {"txtCampo04", "titCampo04", ""},
    {"txtCampo05", "titCampo05", ""},
    {"txtCampo06", "titCampo06", ""},
    {"txtCliente", "lblCliente", "Cognome e nome:"},
    {"txtComuneRes", "lblComuneRes", "Comune di residenza:"},
    {"txtCodFisc", "lblCodFisc", "Codice fiscale:"},
    {"txtPartitaIva", "lblPartitaIva", "Partita IVA:"},
};

} // namespace

TfrmTrovaDatabase::TfrmTrovaDatabase(QWidget *parent)
    : SearchWindow(QStringLiteral("frmTrovaDatabase"), QStringLiteral(" Trova schede in archivio"),
                   kBoxes, search::cardFilterFields(), parent) {
    for (int i = 0; i < 6; ++i) {
        txtCampo[i] = filterBoxes()[i];
        titCampo[i] = filterTitles()[i];
    }
    txtCliente = filterBoxes()[6];
    txtComuneRes = filterBoxes()[7];
    txtCodFisc = filterBoxes()[8];
    txtPartitaIva = filterBoxes()[9];
}

void TfrmTrovaDatabase::open(QWidget *owner, LoadRecord<DatabaseRecord> load) {
    TfrmTrovaDatabase dialog(owner);
    dialog.lblMemory->setText(QStringLiteral("database"));
    dialog.loadInto<DatabaseRecord>(std::move(load));
    dialog.run();
}

void TfrmTrovaDatabase::FormShow() {
    const ArchiveSettings settings(shell().appFolder());
    for (int i = 0; i < 6; ++i)
        titCampo[i]->setText(settings.fieldTitle(i));
    SearchWindow::FormShow();
}

void TfrmTrovaDatabase::find(const QList<search::Filter> &filters, search::HitList &found) {
    search::findCards(shell().appFolder().databaseFile(), filters, search::Missing::Create, found);
}
