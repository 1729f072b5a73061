#include "TfrmAllegaCartella.h"

#include "kit/Desktop.h"
#include "kit/Shell.h"
#include "storage/AppFolder.h"
#include "kit/ShellOpen.h"
#include "kit/WindowKit.h"
#include "storage/ClientRecord.h"
#include "storage/DatabaseRecord.h"
#include "storage/StorageError.h"
#include "storage/TextRules.h"
#include "storage/WholeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString kFolderName = QString::fromLatin1(dataset::kAttachmentsFolder);

const QString kOverwriteQuestion =
    QStringLiteral("Attenzione: nella cartella dei documenti allegati è presente un file con lo "
                   "stesso nome.\r\n\r\nSi vuole sovrascrivere il file esistente?");
const QString kFolderError = QStringLiteral(
    "Attenzione: non è stato possibile creare la cartella dei documenti allegati.\r\n\r\n"
    "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del "
    "programma.");
const QString kCopyError = QStringLiteral(
    "Attenzione: non è stato possibile copiare il file nella cartella dei documenti "
    "allegati.\r\n\r\nAccertarsi che il file sia leggibile e di possedere i privilegi di "
    "scrittura nella cartella di installazione del programma.");
const QString kBadName =
    QStringLiteral("Attenzione: il nome del file allegato non è valido.\r\n\r\nUn file allegato "
                   "è indicato soltanto dal suo nome, senza cartelle.");
const QString kUnstorableName = QStringLiteral(
    "Attenzione: il nome del file scelto non può essere memorizzato nella scheda.\r\n\r\n"
    "Rinominare il file usando lettere, cifre e segni comuni, senza superare i 250 caratteri, "
    "e allegarlo di nuovo.");

QString suffix(int slot) {
    return QStringLiteral("%1").arg(slot, 2, 10, QLatin1Char('0'));
}

// Copies `source` over `target`; the target is replaced only once the whole
// copy is on disk.
bool copyReplacing(const QString &source, const QString &target) {
    try {
        copyWholeFile(source, target);
    } catch (const StorageError &) {
        return false;
    }
    return true;
}

// True for a name that a card stores as it is: Windows-1252 text that fits
// the file name fields of both archives.
bool isStorableName(const QString &name) {
    const int capacity = std::min(databaseLayout.fields[DatabaseField::File01].capacity,
                                  clientLayout.fields[ClientField::File01].capacity);
    const QByteArray bytes = text::encode1252(name);
    return bytes.size() <= capacity && text::decode1252(bytes) == name;
}

bool sameFile(const QString &a, const QString &b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

} // namespace

TfrmAllegaCartella::TfrmAllegaCartella(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAllegaCartella"));
    setWindowTitle(QStringLiteral(" Allega file"));
    makeFixedWindow(this, QSize(620, 540));
    setStyleSheet(theme::plainWindow("TfrmAllegaCartella"));

    auto *imgLogo = headingPicture(QStringLiteral("imgLogo"), QSize(388, 90), this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 12, 18, 14);
    layout->setSpacing(10);
    layout->addWidget(imgLogo);

    QLineEdit **files[] = {&txtFile01, &txtFile02, &txtFile03};
    PictureLabel **erasers[] = {&imgCancella01, &imgCancella02, &imgCancella03};
    QPushButton **browsers[] = {&btnSfoglia01, &btnSfoglia02, &btnSfoglia03};
    QPushButton **openers[] = {&btnApri01, &btnApri02, &btnApri03};
    QLineEdit **descs[] = {&txtDesc01, &txtDesc02, &txtDesc03};

    for (int slot = 1; slot <= 3; ++slot) {
        const QString n = suffix(slot);
        auto *panel = new QFrame(this);
        panel->setObjectName(QStringLiteral("panSlot") + n);
        panel->setStyleSheet(theme::attachmentSlot(n));

        auto *fileCaption = new QLabel(QStringLiteral("Nome %1° file allegato:").arg(slot), panel);
        auto *descCaption =
            new QLabel(QStringLiteral("Descrizione %1° file allegato:").arg(slot), panel);
        for (QLabel *caption : {fileCaption, descCaption}) {
            QFont f = caption->font();
            f.setBold(true);
            caption->setFont(f);
            caption->setStyleSheet(theme::captionText());
        }

        QLineEdit *file = *files[slot - 1] = new QLineEdit(panel);
        file->setObjectName(QStringLiteral("txtFile") + n);
        file->setReadOnly(true);
        file->setFocusPolicy(Qt::ClickFocus); // Tab and the first focus go to usable controls
        file->setStyleSheet(theme::readOnlyBox());

        PictureLabel *eraser = *erasers[slot - 1] =
            new PictureLabel(QStringLiteral("imgCancella") + n, panel);
        eraser->setPixmap(icon(QStringLiteral("gomma")).pixmap(24, 24));
        eraser->setToolTip(QStringLiteral("Cancella il nome del file allegato."));

        QPushButton *browse = *browsers[slot - 1] = new CommandButton(
            QStringLiteral("btnSfoglia") + n, QStringLiteral("Sfoglia..."), panel);
        QPushButton *open = *openers[slot - 1] =
            new CommandButton(QStringLiteral("btnApri") + n, QStringLiteral("Apri"), panel);
        open->setEnabled(false);
        for (QPushButton *b : {browse, open})
            b->setMinimumWidth(100);

        QLineEdit *desc = *descs[slot - 1] = new QLineEdit(panel);
        desc->setObjectName(QStringLiteral("txtDesc") + n);

        addFocusFrame(file, QStringLiteral("effFile") + n);
        addFocusFrame(desc, QStringLiteral("effDesc") + n);

        auto *grid = new QGridLayout(panel);
        grid->setContentsMargins(12, 8, 12, 10);
        grid->setHorizontalSpacing(8);
        grid->setVerticalSpacing(6);
        grid->addWidget(fileCaption, 0, 0, 1, 4);
        grid->addWidget(file, 1, 0);
        grid->addWidget(eraser, 1, 1);
        grid->addWidget(browse, 1, 2);
        grid->addWidget(open, 1, 3);
        grid->addWidget(descCaption, 2, 0, 1, 4);
        grid->addWidget(desc, 3, 0, 1, 4);
        grid->setColumnStretch(0, 1);
        layout->addWidget(panel);

        connect(file, &QLineEdit::textChanged, this, [this, slot] { txtFileChange(slot); });
        connect(eraser, &PictureLabel::clicked, this, [this, slot] { imgCancellaClick(slot); });
        connect(browse, &QPushButton::clicked, this, [this, slot] { btnSfogliaClick(slot); });
        connect(open, &QPushButton::clicked, this, [this, slot] { btnApriClick(slot); });
    }

    btnAnnulla = new CommandButton(QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"), this,
                                   QStringLiteral("annulla"));
    btnApplica = new CommandButton(QStringLiteral("btnApplica"), QStringLiteral("Applica e chiudi"),
                                   this, QStringLiteral("applica"));
    btnAnnulla->setMinimumWidth(150);
    btnApplica->setMinimumWidth(150);
    // No default button: Enter in a description box presses nothing, and
    // Enter on a button presses that button.
    for (QPushButton *b : findChildren<QPushButton *>()) {
        b->setAutoDefault(false);
        onEnter(b, [b] { b->click(); });
    }
    lblMemory = hiddenLabel(QStringLiteral("lblMemory"), this);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(btnAnnulla);
    bottom->addSpacing(8);
    bottom->addWidget(btnApplica);
    layout->addStretch();
    layout->addLayout(bottom);

    connect(btnApplica, &QPushButton::clicked, this, &TfrmAllegaCartella::btnApplicaClick);
    connect(btnAnnulla, &QPushButton::clicked, this, &TfrmAllegaCartella::btnAnnullaClick);
}

std::optional<Attachments> TfrmAllegaCartella::edit(QWidget *owner, Archive archive,
                                                    const Attachments &current) {
    TfrmAllegaCartella dialog(owner);
    dialog.lblMemory->setText(archive == Archive::Database ? QStringLiteral("database")
                                                           : QStringLiteral("clienti"));
    dialog.showAttachments(current);
    centerOnScreen(&dialog);
    if (Desktop::current().runModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.shownAttachments();
}

void TfrmAllegaCartella::showAttachments(const Attachments &attachments) {
    for (int slot = 1; slot <= Attachments::kSlots; ++slot) {
        fileBox(slot)->setText(text::trimmed(attachments.files[slot - 1]));
        descriptionBox(slot)->setText(text::trimmed(attachments.descriptions[slot - 1]));
    }
}

Attachments TfrmAllegaCartella::shownAttachments() const {
    Attachments attachments;
    for (int slot = 1; slot <= Attachments::kSlots; ++slot) {
        attachments.files[slot - 1] = text::trimmed(fileBox(slot)->text());
        attachments.descriptions[slot - 1] = text::trimmed(descriptionBox(slot)->text());
    }
    return attachments;
}

QString TfrmAllegaCartella::attachmentsFolder() {
    return shell().appFolder().file(kFolderName);
}

bool TfrmAllegaCartella::isBareName(const QString &name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(u'/') && !name.contains(u'\\');
}

QLineEdit *TfrmAllegaCartella::fileBox(int slot) const {
    return slot == 1 ? txtFile01 : slot == 2 ? txtFile02 : txtFile03;
}

QLineEdit *TfrmAllegaCartella::descriptionBox(int slot) const {
    return slot == 1 ? txtDesc01 : slot == 2 ? txtDesc02 : txtDesc03;
}

void TfrmAllegaCartella::txtFileChange(int slot) {
    QPushButton *open = slot == 1 ? btnApri01 : slot == 2 ? btnApri02 : btnApri03;
    open->setEnabled(!text::trimmed(fileBox(slot)->text()).isEmpty());
}

void TfrmAllegaCartella::btnSfogliaClick(int slot) {
    Desktop &desktop = Desktop::current();
    const QString chosen =
        desktop.openFileName(this, QStringLiteral("Selezionare il file da allegare:"),
                             QStringLiteral("Tutti i file (*.*)"), QString());
    if (chosen.isEmpty())
        return;
    // The slot takes the name only once a file of that name is in the folder.
    // The copy is named as the card will store the name: trimmed, and refused
    // when the card cannot hold it, so a stored name always finds its file.
    const QString name = text::trimmed(QFileInfo(chosen).fileName());
    if (!isBareName(name)) {
        desktop.message(this, Desktop::Kind::Warning, kBadName);
        return;
    }
    if (!isStorableName(name)) {
        desktop.message(this, Desktop::Kind::Warning, kUnstorableName);
        return;
    }
    const QString folder = attachmentsFolder();
    if (!QDir().mkpath(folder)) {
        desktop.message(this, Desktop::Kind::Error, kFolderError);
        return;
    }
    const QString target = folder + u'/' + name;
    const QFileInfo existing(target);
    if (existing.isFile()) {
        if (sameFile(chosen, target) ||
            desktop.message(this, Desktop::Kind::Risky, kOverwriteQuestion) ==
                Desktop::Answer::No) {
            fileBox(slot)->setText(name);
            return;
        }
    }
    if (!copyReplacing(chosen, target)) {
        desktop.message(this, Desktop::Kind::Error, kCopyError);
        return;
    }
    fileBox(slot)->setText(name);
}

void TfrmAllegaCartella::btnApriClick(int slot) {
    const QString name = text::trimmed(fileBox(slot)->text());
    if (name.isEmpty())
        return;
    if (!isBareName(name)) {
        Desktop::current().message(this, Desktop::Kind::Warning, kBadName);
        return;
    }
    openInShell(u'"' + attachmentsFolder() + u'/' + name + u'"');
}

void TfrmAllegaCartella::imgCancellaClick(int slot) {
    fileBox(slot)->clear();
}

void TfrmAllegaCartella::btnApplicaClick() {
    accept();
}

void TfrmAllegaCartella::btnAnnullaClick() {
    reject();
}
