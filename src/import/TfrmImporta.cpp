#include "TfrmImporta.h"

#include "ImportGuide.h"
#include "import/TableReader.h"
#include "kit/Desktop.h"
#include "kit/FixedWindow.h"
#include "kit/Shell.h"
#include "kit/Shortcuts.h"
#include "kit/Theme.h"
#include "kit/WindowKit.h"
#include "storage/StorageError.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kPreviewRows = 20;

const QString kUnreadable = QStringLiteral(
    "Attenzione: non è stato possibile leggere il file da importare.\n\nAccertarsi che il file "
    "esista e di possedere i privilegi di lettura.");
const QString kNotWritten = QStringLiteral(
    "Attenzione: non è stato possibile aggiungere le schede all'archivio, che è rimasto com'era."
    "\n\nAccertarsi che il disco non sia pieno e di possedere i privilegi di scrittura nella "
    "cartella del programma.");
// Memory ran out while reading: the file is far larger than any table of cards.
const QString kTooLarge = QStringLiteral(
    "Attenzione: il file è troppo grande per essere importato; l'archivio è rimasto com'era.");
const QString kCancelled =
    QStringLiteral("Importazione annullata: l'archivio è rimasto com'era.");
const QString kNothing = QStringLiteral("Il file non contiene righe da importare.");
const QString kNoCards = QStringLiteral("Il file scelto non contiene biglietti vCard.");
const QString kVCardForClients = QStringLiteral(
    "Il file scelto è un file vCard di biglietti da visita, che si importano nell'Anagrafica "
    "Clienti con \"Importa / vCard\", \"Importa Clienti da file vCard...\".");
const QString kNoColumn =
    QStringLiteral("Scegliere il campo di almeno una colonna prima di importare.");

void warn(QWidget *parent, Desktop::Kind kind, const QString &text) {
    Desktop::current().message(parent, kind, text);
}

} // namespace

TfrmImporta::TfrmImporta(QWidget *parent, const AppFolder &folder,
                         const spreadsheet::Sheet &sheet, const QString &file)
    : QDialog(parent), m_folder(folder), m_file(file), m_plan(sheet, folder) {
    setObjectName(QStringLiteral("frmImporta"));
    import::TableKind kind = import::TableKind::Csv;
    const QStringList firstRow = import::firstRowOf(file, &kind);
    if (kind == import::TableKind::VCard && &sheet != &spreadsheet::clientSheet)
        throw import::FormatError(kVCardForClients);
    m_plan.setFirstRow(firstRow, kind);
    setWindowTitle(m_plan.ofCards() ? QStringLiteral("Importa vCard nell'anagrafica clienti")
                   : &sheet == &spreadsheet::clientSheet
                       ? QStringLiteral("Importa nell'anagrafica clienti")
                       : QStringLiteral("Importa nell'archivio"));
    makeFixedWindow(this, QSize(900, 620));
    setStyleSheet(theme::importWindow());

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 12);
    lblFile = new QLabel(QStringLiteral("File: %1").arg(QFileInfo(file).fileName()), this);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    chkIntestazione =
        new QCheckBox(QStringLiteral("La prima riga contiene i titoli delle colonne"), this);
    chkIntestazione->setObjectName(QStringLiteral("chkIntestazione"));
    chkIntestazione->setChecked(m_plan.hasHeader());
    // A vCard's columns are always its fields.
    chkIntestazione->setVisible(!m_plan.ofCards());

    grdColonne = new QTableWidget(this);
    grdColonne->setObjectName(QStringLiteral("grdColonne"));
    grdColonne->setColumnCount(2);
    grdColonne->setHorizontalHeaderLabels({QStringLiteral("Colonna del file"),
                                           QStringLiteral("Campo dell'archivio")});
    grdColonne->horizontalHeader()->setStretchLastSection(true);
    grdColonne->verticalHeader()->hide();
    grdColonne->setRowCount(m_plan.columnCount());
    grdColonne->setColumnWidth(0, 260);
    for (int c = 0; c < m_plan.columnCount(); ++c) {
        auto *box = new QComboBox(grdColonne);
        box->setObjectName(QStringLiteral("cboCampo%1").arg(c + 1));
        box->addItem(QStringLiteral("(non importare)"), -1);
        for (size_t t = 0; t < m_plan.targets().size(); ++t)
            box->addItem(m_plan.targets()[t].title, int(t));
        grdColonne->setCellWidget(c, 1, box);
        cboCampo.push_back(box);
        connect(box, &QComboBox::activated, this, [this, c, box] {
            m_plan.setTarget(c, box->currentData().toInt());
            refreshOrWarn();
        });
    }

    grdAnteprima = new QTableWidget(this);
    grdAnteprima->setObjectName(QStringLiteral("grdAnteprima"));
    grdAnteprima->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Each column as wide as its field's title, or its longest value shown.
    grdAnteprima->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grdAnteprima->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lblConteggio = new QLabel(this);
    lblConteggio->setObjectName(QStringLiteral("lblConteggio"));
    lblConteggio->setWordWrap(true);

    cmdImporta = new CommandButton(QStringLiteral("cmdImporta"), QStringLiteral("Importa"), this,
                                   QStringLiteral("applica"));
    cmdAnnulla = new CommandButton(QStringLiteral("cmdAnnulla"), QStringLiteral("Annulla"), this,
                                   QStringLiteral("annulla"));
    cmdGuida = new CommandButton(QStringLiteral("cmdGuida"), QStringLiteral("Guida"), this,
                                 QStringLiteral("guida"));
    cmdGuida->setToolTip(QStringLiteral("Visualizza la pagina della guida sull'importazione."));
    bindKeys(cmdGuida, QKeySequence(Qt::Key_F1));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdGuida);
    buttons->addStretch();
    buttons->addWidget(cmdImporta);
    buttons->addWidget(cmdAnnulla);

    layout->addWidget(lblFile);
    layout->addWidget(chkIntestazione);
    layout->addWidget(grdColonne, 2);
    layout->addWidget(new QLabel(m_plan.ofCards()
                                     ? QStringLiteral("I primi biglietti come saranno archiviati:")
                                     : QStringLiteral("Le prime righe come saranno archiviate:"),
                                 this));
    layout->addWidget(grdAnteprima, 3);
    layout->addWidget(lblConteggio);
    layout->addLayout(buttons);

    connect(chkIntestazione, &QCheckBox::toggled, this, [this](bool on) {
        m_plan.setHasHeader(on);
        refreshOrWarn();
    });
    connect(cmdImporta, &QPushButton::clicked, this, &TfrmImporta::cmdImportaClick);
    connect(cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdGuida, &QPushButton::clicked, this,
            [this] { shell().showGuide(this, importGuide()); });
    refresh();
}

// Shows the mapping, the first rows as stored and the counts.
void TfrmImporta::refresh() {
    for (int c = 0; c < m_plan.columnCount(); ++c) {
        auto *title = new QTableWidgetItem(m_plan.columnTitles()[c]);
        title->setFlags(Qt::ItemIsEnabled);
        grdColonne->setItem(c, 0, title);
        cboCampo[size_t(c)]->setCurrentIndex(m_plan.targetOf(c) + 1);
    }
    const std::vector<int> targets = import::previewTargets(m_plan);
    const QList<QStringList> rows = import::preview(m_file, m_plan, kPreviewRows);
    // The columns shown: every field a column fills; for a vCard, whose
    // columns are every field of the card, those the first cards fill.
    std::vector<int> shown;
    for (size_t c = 0; c < targets.size(); ++c) {
        bool filled = !m_plan.ofCards();
        for (const QStringList &row : rows)
            filled = filled || !row[qsizetype(c)].isEmpty();
        if (filled)
            shown.push_back(int(c));
    }
    grdAnteprima->clear();
    grdAnteprima->setColumnCount(int(shown.size()));
    QStringList headers;
    for (int c : shown)
        headers << m_plan.targets()[size_t(targets[size_t(c)])].title;
    grdAnteprima->setHorizontalHeaderLabels(headers);
    grdAnteprima->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < shown.size(); ++c)
            grdAnteprima->setItem(r, int(c), new QTableWidgetItem(rows[r][shown[c]]));
    // The whole file counted, behind a progress window that shows when the
    // count takes a while; "Annulla" there gives the import up.
    const auto window = Desktop::current().progress(
        this, QStringLiteral("Lettura del file"), m_plan.ofCards() ? QStringLiteral("Conteggio dei biglietti da importare...")
                          : QStringLiteral("Conteggio delle righe da importare..."));
    if (!import::survey(m_file, m_plan, m_counts,
                        [&](qint64 done, qint64 all) { return window->advance(done, all); })) {
        m_abandoned = true;
        return;
    }
    const bool cards = m_plan.ofCards();
    QString text = QStringLiteral("Schede da aggiungere: %1.").arg(m_counts.rows);
    if (m_counts.cutValues > 0)
        text += QStringLiteral(" Valori troppo lunghi, che saranno troncati: %1.")
                    .arg(m_counts.cutValues);
    if (m_counts.replacedValues > 0)
        text += QStringLiteral(" Valori con caratteri non archiviabili, sostituiti da \"?\": %1.")
                    .arg(m_counts.replacedValues);
    if (m_counts.blankRows > 0)
        text += (cards ? QStringLiteral(" Biglietti vuoti tralasciati: %1.")
                       : QStringLiteral(" Righe vuote tralasciate: %1."))
                    .arg(m_counts.blankRows);
    if (m_counts.refusedRows > 0) {
        QStringList lines;
        for (qint64 line : m_counts.refusedLines)
            lines << QString::number(line);
        if (m_counts.refusedRows > m_counts.refusedLines.size())
            lines << QStringLiteral("…");
        const bool one = lines.size() == 1;
        text += (cards ? QStringLiteral(" Biglietti senza %1, tralasciati: %2 (%3 %4).")
                       : QStringLiteral(" Righe senza %1, tralasciate: %2 (%3 %4)."))
                    .arg(&m_plan.sheet() == &spreadsheet::clientSheet
                             ? QStringLiteral("il nome del cliente")
                             : QStringLiteral("il primo campo"))
                    .arg(m_counts.refusedRows)
                    .arg(cards ? (one ? QStringLiteral("biglietto") : QStringLiteral("biglietti"))
                               : (one ? QStringLiteral("riga") : QStringLiteral("righe")),
                         lines.join(QStringLiteral(", ")));
    }
    if (m_counts.droppedValues > 0)
        text += QStringLiteral(" Valori senza un campo che li accolga (un secondo indirizzo "
                               "e-mail, un telefono in più...), tralasciati: %1.")
                    .arg(m_counts.droppedValues);
    lblConteggio->setText(text);
}

// After a change of the mapping: the file is read again, and may have become
// unreadable meanwhile.
void TfrmImporta::refreshOrWarn() {
    try {
        refresh();
        if (m_abandoned)
            reject();
    } catch (const StorageError &) {
        warn(this, Desktop::Kind::Error, kUnreadable);
    } catch (const import::FormatError &e) {
        warn(this, Desktop::Kind::Error, e.message());
    } catch (const std::bad_alloc &) {
        warn(this, Desktop::Kind::Error, kTooLarge);
    }
}

void TfrmImporta::cmdImportaClick() {
    if (import::previewTargets(m_plan).empty())
        return warn(this, Desktop::Kind::Warning, kNoColumn);
    if (m_counts.rows == 0)
        return warn(this, Desktop::Kind::Warning, m_plan.ofCards() ? kNoCards : kNothing);
    // Rows that repeat a card (the same file imported twice, for one),
    // counted against the archive now: the user chooses, and leaving them
    // out is the default.
    import::KnownCards known;
    import::Counts repeats;
    try {
        const auto window = Desktop::current().progress(
            this, QStringLiteral("Controllo dei doppioni"),
            QStringLiteral("Confronto con le schede già in archivio..."));
        const auto advance = [&](qint64 done, qint64 all) { return window->advance(done, all); };
        known = import::KnownCards(m_plan, m_folder, advance);
        if (!known.complete() || !import::survey(m_file, m_plan, repeats, advance, known))
            return;
    } catch (const StorageError &) {
        return warn(this, Desktop::Kind::Error, kUnreadable);
    } catch (const import::FormatError &e) {
        return warn(this, Desktop::Kind::Error, e.message());
    } catch (const std::bad_alloc &) {
        return warn(this, Desktop::Kind::Error, kTooLarge);
    }
    bool skipRepeated = false;
    if (repeats.duplicateRows > 0)
        skipRepeated =
            Desktop::current().message(
                this, Desktop::Kind::Confirmation,
                (m_plan.ofCards()
                     ? QStringLiteral("%1 biglietti del file sono uguali a Clienti già presenti "
                                      "nell'anagrafica.\n\nTralasciarli? (\"No\" li aggiunge "
                                      "comunque.)")
                     : QStringLiteral("%1 righe del file sono uguali a schede già presenti in "
                                      "archivio.\n\nTralasciarle? (\"No\" le aggiunge comunque.)"))
                    .arg(repeats.duplicateRows)) == Desktop::Answer::Yes;
    const qint64 toAdd = repeats.rows - (skipRepeated ? repeats.duplicateRows : 0);
    if (toAdd == 0)
        return warn(this, Desktop::Kind::Information,
                    QStringLiteral("Tutte le righe del file sono già in archivio: nessuna scheda "
                                   "da aggiungere."));
    QString question = QStringLiteral("Aggiungere %1 schede all'archivio?").arg(toAdd);
    if (m_counts.cutValues > 0)
        question += QStringLiteral("\n\n%1 valori saranno troncati alla lunghezza del campo.")
                        .arg(m_counts.cutValues);
    if (m_counts.droppedValues > 0)
        question += QStringLiteral("\n\n%1 valori (un secondo indirizzo e-mail, un telefono in "
                                   "più...) non hanno un campo che li accolga e saranno tralasciati.")
                        .arg(m_counts.droppedValues);
    if (Desktop::current().message(this, Desktop::Kind::Confirmation, question) !=
        Desktop::Answer::Yes)
        return;

    import::Counts counts;
    bool finished = false;
    try {
        const auto progress =
            Desktop::current().progress(this, QStringLiteral("Importazione"),
                                        QStringLiteral("Aggiunta delle schede all'archivio..."));
        const import::KnownCards repeated = skipRepeated ? known : import::KnownCards();
        finished = import::append(
            m_file, m_plan, m_folder, counts,
            [&](qint64 done, qint64 all) { return progress->advance(done, all); }, repeated);
    } catch (const import::FormatError &e) {
        return warn(this, Desktop::Kind::Error, e.message());
    } catch (const StorageError &) {
        return warn(this, Desktop::Kind::Error, kNotWritten);
    } catch (const std::bad_alloc &) {
        return warn(this, Desktop::Kind::Error, kTooLarge);
    }
    if (!finished)
        return warn(this, Desktop::Kind::Information, kCancelled);
    m_imported = counts.rows;
    warn(this, Desktop::Kind::Information,
         QStringLiteral("Sono state aggiunte %1 schede all'archivio.").arg(counts.rows));
    accept();
}

namespace import {

qint64 importFromWindow(QWidget *parent, const AppFolder &folder,
                        const spreadsheet::Sheet &sheet) {
    const QString file = Desktop::current().openFileName(
        parent, QStringLiteral("Scegliere il file da importare"),
        QStringLiteral("Tabelle (*.csv *.txt *.xls);;Tutti i file (*)"), folder.path());
    if (file.isEmpty())
        return 0;
    return importFile(parent, folder, sheet, file, false);
}

qint64 importFile(QWidget *parent, const AppFolder &folder, const spreadsheet::Sheet &sheet,
                  const QString &file, bool vCardOnly) {
    Desktop &desktop = Desktop::current();
    try {
        {
            // Telling the encoding may read the whole file: behind a
            // progress window, whose "Annulla" gives the import up.
            const auto window =
                desktop.progress(parent, QStringLiteral("Controllo del file"),
                                 QStringLiteral("Lettura del file da importare..."));
            const auto reader = openTable(
                file, [&](qint64 done, qint64 all) { return window->advance(done, all); });
            if (!reader) {
                desktop.message(parent, Desktop::Kind::Information, kCancelled);
                return 0;
            }
            if (vCardOnly && reader->kind() != TableKind::VCard) {
                desktop.message(parent, Desktop::Kind::Warning, kNoCards);
                return 0;
            }
        }
        TfrmImporta window(parent, folder, sheet, file);
        if (window.abandoned()) {
            desktop.message(parent, Desktop::Kind::Information, kCancelled);
            return 0;
        }
        desktop.runModal(window);
        return window.imported();
    } catch (const FormatError &e) {
        desktop.message(parent, Desktop::Kind::Error, e.message());
    } catch (const StorageError &) {
        desktop.message(parent, Desktop::Kind::Error, kUnreadable);
    } catch (const std::bad_alloc &) {
        desktop.message(parent, Desktop::Kind::Error, kTooLarge);
    }
    return 0;
}

} // namespace import
