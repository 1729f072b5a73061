#include "TfrmCestino.h"

#include "kit/Desktop.h"
#include "kit/FixedWindow.h"
#include "kit/Shell.h"
#include "kit/Theme.h"
#include "kit/WindowKit.h"
#include "search/ListWindow.h"
#include "search/Search.h"
#include "storage/ClientRecord.h"
#include "storage/DatabaseRecord.h"
#include "storage/StorageError.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cstring>

namespace {

const QString kAccess = QStringLiteral(
    "Attenzione: il sistema non permette di accedere al cestino o all'archivio.\n\r\n\r"
    "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del "
    "programma.");
const QString kChooseFirst =
    QStringLiteral("Scegliere prima nell'elenco la scheda del cestino.");

QString archiveName(const cardbin::Entry &e) {
    return e.layout == &databaseLayout ? QStringLiteral("Database") : QStringLiteral("Clienti");
}

// The card's line as the searches of its archive list it.
QString lineOf(const cardbin::Entry &e) {
    if (e.layout == &databaseLayout) {
        DatabaseRecord card;
        std::memcpy(card.data(), e.record.constData(), size_t(DatabaseRecord::kSize));
        return search::cardLine(card);
    }
    ClientRecord client;
    std::memcpy(client.data(), e.record.constData(), size_t(ClientRecord::kSize));
    return search::clientLine(client);
}

// "la scheda 12 del Database", "la scheda 3 dei Clienti".
QString described(const cardbin::Entry &e) {
    return QStringLiteral("la scheda %1 %2")
        .arg(e.position)
        .arg(e.layout == &databaseLayout ? QStringLiteral("del Database")
                                         : QStringLiteral("dei Clienti"));
}

} // namespace

TfrmCestino::TfrmCestino(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmCestino"));
    setWindowTitle(QStringLiteral("Cestino"));
    makeFixedWindow(this, QSize(900, 560));
    setStyleSheet(theme::importWindow());

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 12);
    auto *intro = new QLabel(
        QStringLiteral("Le schede eliminate restano qui finché non le si elimina per sempre. Una "
                       "scheda rimessa in archivio torna al suo posto, con la sua foto e la sua "
                       "cartella."),
        this);
    intro->setWordWrap(true);
    lblConteggio = new QLabel(this);
    lblConteggio->setObjectName(QStringLiteral("lblConteggio"));

    grdCestino = new QTableWidget(this);
    grdCestino->setObjectName(QStringLiteral("grdCestino"));
    grdCestino->setColumnCount(4);
    grdCestino->setHorizontalHeaderLabels({QStringLiteral("Eliminata il"),
                                           QStringLiteral("Archivio"), QStringLiteral("N."),
                                           QStringLiteral("Scheda")});
    grdCestino->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdCestino->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdCestino->setSelectionMode(QAbstractItemView::SingleSelection);
    grdCestino->verticalHeader()->hide();
    grdCestino->setWordWrap(false);
    grdCestino->horizontalHeader()->setStretchLastSection(true);
    grdCestino->setColumnWidth(0, 150);
    grdCestino->setColumnWidth(1, 90);
    grdCestino->setColumnWidth(2, 70);

    cmdRimetti = new CommandButton(QStringLiteral("cmdRimetti"),
                                   QStringLiteral("Rimetti in archivio"), this,
                                   QStringLiteral("applica"));
    cmdElimina = new CommandButton(QStringLiteral("cmdElimina"),
                                   QStringLiteral("Elimina per sempre"), this,
                                   QStringLiteral("elimina"));
    cmdSvuota = new CommandButton(QStringLiteral("cmdSvuota"), QStringLiteral("Svuota il cestino"),
                                  this, QStringLiteral("cestino"));
    cmdChiudi = new CommandButton(QStringLiteral("cmdChiudi"), QStringLiteral("Chiudi"), this,
                                  QStringLiteral("esci"));
    cmdRimetti->setToolTip(
        QStringLiteral("Rimette la scheda scelta nell'archivio, al suo posto."));
    cmdElimina->setToolTip(QStringLiteral(
        "Elimina per sempre la scheda scelta: non si potrà più rimetterla in archivio."));
    cmdSvuota->setToolTip(QStringLiteral("Elimina per sempre tutte le schede del cestino."));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdRimetti);
    buttons->addWidget(cmdElimina);
    buttons->addWidget(cmdSvuota);
    buttons->addStretch();
    buttons->addWidget(cmdChiudi);

    layout->addWidget(intro);
    layout->addWidget(lblConteggio);
    layout->addWidget(grdCestino, 1);
    layout->addLayout(buttons);

    connect(cmdRimetti, &QPushButton::clicked, this, &TfrmCestino::cmdRimettiClick);
    connect(cmdElimina, &QPushButton::clicked, this, &TfrmCestino::cmdEliminaClick);
    connect(cmdSvuota, &QPushButton::clicked, this, &TfrmCestino::cmdSvuotaClick);
    connect(cmdChiudi, &QPushButton::clicked, this, &QDialog::accept);
    connect(grdCestino, &QTableWidget::cellDoubleClicked, this, &TfrmCestino::cmdRimettiClick);
}

int TfrmCestino::browse(QWidget *owner) {
    TfrmCestino dialog(owner);
    dialog.refresh();
    centerOnScreen(&dialog);
    Desktop::current().runModal(dialog);
    return dialog.m_givenBack;
}

void TfrmCestino::refresh() {
    try {
        m_entries = cardbin::entries(shell().appFolder());
    } catch (const StorageError &) {
        m_entries.clear();
        Desktop::current().message(this, Desktop::Kind::Error, kAccess);
    }
    grdCestino->setRowCount(int(m_entries.size()));
    for (int r = 0; r < m_entries.size(); ++r) {
        const cardbin::Entry &e = m_entries[r];
        const QStringList cells = {e.deleted.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss")),
                                   archiveName(e), QString::number(e.position), lineOf(e)};
        for (int c = 0; c < cells.size(); ++c)
            grdCestino->setItem(r, c, new QTableWidgetItem(cells[c]));
        // The line in its columns, as the lists show it.
        grdCestino->item(r, 3)->setFont(listLineFont());
    }
    if (!m_entries.isEmpty())
        grdCestino->selectRow(0);
    lblConteggio->setText(m_entries.isEmpty()
                              ? QStringLiteral("Il cestino è vuoto.")
                              : QStringLiteral("Schede nel cestino: %1.").arg(m_entries.size()));
    for (CommandButton *b : {cmdRimetti, cmdElimina, cmdSvuota})
        b->setEnabled(!m_entries.isEmpty());
}

const cardbin::Entry *TfrmCestino::selected() const {
    const int row = grdCestino->currentRow();
    return row >= 0 && row < m_entries.size() && grdCestino->item(row, 0)->isSelected()
               ? &m_entries[row]
               : nullptr;
}

void TfrmCestino::cmdRimettiClick() {
    Desktop &desktop = Desktop::current();
    const cardbin::Entry *e = selected();
    if (!e)
        return void(desktop.message(this, Desktop::Kind::Warning, kChooseFirst));
    const QString what = described(*e);
    try {
        cardbin::giveBack(shell().appFolder(), e->name);
    } catch (const cardbin::Refused &refused) {
        return void(desktop.message(this, Desktop::Kind::Warning, refused.message()));
    } catch (const StorageError &) {
        return void(desktop.message(this, Desktop::Kind::Error, kAccess));
    }
    ++m_givenBack;
    desktop.message(this, Desktop::Kind::Information,
                    QStringLiteral("È stata rimessa in archivio %1, al suo posto.").arg(what));
    refresh();
}

void TfrmCestino::cmdEliminaClick() {
    Desktop &desktop = Desktop::current();
    const cardbin::Entry *e = selected();
    if (!e)
        return void(desktop.message(this, Desktop::Kind::Warning, kChooseFirst));
    if (desktop.message(this, Desktop::Kind::Risky,
                        QStringLiteral("Eliminare per sempre %1?\n\nNon si potrà più rimetterla in "
                                       "archivio: la scheda, la sua foto e la sua cartella saranno "
                                       "cancellate.")
                            .arg(described(*e))) != Desktop::Answer::Yes)
        return;
    try {
        cardbin::discard(shell().appFolder(), e->name);
    } catch (const cardbin::Refused &refused) {
        desktop.message(this, Desktop::Kind::Warning, refused.message());
    } catch (const StorageError &) {
        desktop.message(this, Desktop::Kind::Error, kAccess);
    }
    refresh();
}

void TfrmCestino::cmdSvuotaClick() {
    Desktop &desktop = Desktop::current();
    if (m_entries.isEmpty())
        return;
    if (desktop.message(this, Desktop::Kind::Risky,
                        QStringLiteral("Eliminare per sempre tutte le schede del cestino (%1)?\n\n"
                                       "Non si potranno più rimettere in archivio.")
                            .arg(m_entries.size())) != Desktop::Answer::Yes)
        return;
    try {
        for (const cardbin::Entry &e : m_entries)
            cardbin::discard(shell().appFolder(), e.name);
    } catch (const cardbin::Refused &refused) {
        desktop.message(this, Desktop::Kind::Warning, refused.message());
    } catch (const StorageError &) {
        desktop.message(this, Desktop::Kind::Error, kAccess);
    }
    refresh();
}
