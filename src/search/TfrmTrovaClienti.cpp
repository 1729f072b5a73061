#include "TfrmTrovaClienti.h"

#include "kit/Shell.h"
#include "storage/AppFolder.h"

#include <QLabel>

namespace {

using namespace ClientField;

constexpr SearchWindow::Box kBoxes[] = {
    {"txtCliente", "lblCampo01", "Cognome e nome Cliente:"},
    {"txtComuneRes", "lblCampo02", "Comune di residenza:"},
    {"txtPartitaIva", "lblCampo03", "Partita IVA:"},
    {"txtCodFisc", "lblCampo04", "Codice fiscale:"},
    {"txtDocumento", "lblCampo05", "Estremi documento:"},
    {"txtOccupazione", "lblCampo06", "Occupazione:"},
    {"txtProdotti", "lblCampo07", "Prodotti e servizi di interesse:"},
    {"txtZona", "lblCampo08", "Zona di appartenenza:"},
    {"txtQuestioni", "lblCampo09", "Questioni in sospeso:", true},
    {"txtNote", "lblCampo10", "Note:", true},
};

} // namespace

TfrmTrovaClienti::TfrmTrovaClienti(QWidget *parent)
    : SearchWindow(QStringLiteral("frmTrovaClienti"), QStringLiteral(" Trova Clienti in archivio"),
                   kBoxes, search::clientFilterFields(), parent) {
    QLineEdit **boxes[] = {&txtCliente,   &txtComuneRes,   &txtPartitaIva, &txtCodFisc,
                           &txtDocumento, &txtOccupazione, &txtProdotti,   &txtZona,
                           &txtQuestioni, &txtNote};
    for (qsizetype i = 0; i < filterBoxes().size(); ++i)
        *boxes[i] = filterBoxes()[i];

    // The caller decides what the client double-clicked is for.
    loadInto<ClientRecord>([this](const ClientRecord &client, qint64 position) {
        if (m_load)
            m_load(client, position);
        else if (m_pick)
            m_pick(ContactBlock::of(client));
    });
}

void TfrmTrovaClienti::open(QWidget *owner, LoadRecord<ClientRecord> load) {
    TfrmTrovaClienti dialog(owner);
    // The hidden label names the caller, as every shared dialog's does.
    dialog.lblMemory->setText(QStringLiteral("clienti"));
    dialog.m_load = std::move(load);
    dialog.run();
}

void TfrmTrovaClienti::pick(QWidget *owner, std::function<void(const ContactBlock &)> pick) {
    TfrmTrovaClienti dialog(owner);
    dialog.lblMemory->setText(QStringLiteral("database"));
    dialog.m_pick = std::move(pick);
    dialog.run();
}

void TfrmTrovaClienti::find(const QList<search::Filter> &filters, search::HitList &found) {
    search::findClients(shell().appFolder().clientFile(), filters, search::Missing::Create, found);
}
