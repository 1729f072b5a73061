#include "TfrmCartella.h"

#include "kit/Desktop.h"
#include "kit/Shell.h"
#include "storage/AppFolder.h"
#include "kit/ShellOpen.h"
#include "kit/WindowKit.h"
#include "storage/TextRules.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *picture(const QString &name, const QString &icon, int size, QWidget *parent) {
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(::icon(icon).pixmap(size, size));
    label->setAlignment(Qt::AlignCenter);
    label->setFixedSize(size + 8, size + 8);
    return label;
}

QLabel *instruction(const QString &text, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setStyleSheet(theme::instructionText());
    return label;
}

} // namespace

TfrmCartella::TfrmCartella(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmCartella"));
    setWindowTitle(QStringLiteral(" Gestione cartella abbinata alla scheda corrente"));
    makeFixedWindow(this, QSize(520, 330));
    setStyleSheet(theme::plainWindow("TfrmCartella"));

    imgTitolo = headingPicture(QStringLiteral("imgTitolo"), QSize(388, 90), this);

    imgIstruzioni1 =
        picture(QStringLiteral("imgIstruzioni1"), QStringLiteral("cartella"), 32, this);
    imgIstruzioni2 = picture(QStringLiteral("imgIstruzioni2"), QStringLiteral("mano"), 32, this);
    QLabel *step1 = instruction(
        QStringLiteral("Premere «Apri cartella» per aprire la cartella riservata a questa "
                       "scheda: viene creata accanto al programma la prima volta che si apre."),
        this);
    QLabel *step2 = instruction(
        QStringLiteral("Copiare o trascinare nella cartella i file da conservare insieme alla "
                       "scheda, senza limiti di numero."),
        this);

    imgCartella = picture(QStringLiteral("imgCartella"), QStringLiteral("cartella"), 64, this);
    btnApriCartella =
        new CommandButton(QStringLiteral("btnApriCartella"), QStringLiteral("Apri cartella"), this,
                          QStringLiteral("cartella"));
    btnChiudi = new CommandButton(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), this,
                                  QStringLiteral("chiudi"));
    for (QPushButton *b : {btnApriCartella, btnChiudi})
        b->setMinimumWidth(150);

    lblMemory = hiddenLabel(QStringLiteral("lblMemory"), this);

    auto *steps = new QGridLayout;
    steps->setHorizontalSpacing(10);
    steps->setVerticalSpacing(8);
    steps->addWidget(imgIstruzioni1, 0, 0);
    steps->addWidget(step1, 0, 1);
    steps->addWidget(imgIstruzioni2, 1, 0);
    steps->addWidget(step2, 1, 1);
    steps->setColumnStretch(1, 1);

    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(btnApriCartella);
    buttons->addWidget(btnChiudi);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(imgCartella);
    bottom->addSpacing(12);
    bottom->addLayout(buttons);
    bottom->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 12, 20, 14);
    layout->setSpacing(10);
    layout->addWidget(imgTitolo);
    layout->addLayout(steps);
    layout->addStretch();
    layout->addLayout(bottom);

    connect(btnApriCartella, &QPushButton::clicked, this, &TfrmCartella::btnApriCartellaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &TfrmCartella::btnChiudiClick);
}

void TfrmCartella::open(QWidget *owner, const QString &position) {
    const QString p = text::trimmed(position);
    if (p.isEmpty()) {
        Desktop::current().message(
            owner, Desktop::Kind::Warning,
            QStringLiteral("Attenzione: l'abbinamento di una cartella ad un record può avvenire "
                           "soltanto dopo che la scheda è stata inserita in archivio."));
        return;
    }
    TfrmCartella dialog(owner);
    dialog.lblMemory->setText(p);
    centerOnScreen(&dialog);
    Desktop::current().runModal(dialog);
}

QString TfrmCartella::cardFolder(const QString &position) {
    return QFileInfo(shell().appFolder().file(dataset::cardFolderName(position))).absoluteFilePath();
}

void TfrmCartella::btnApriCartellaClick() {
    const QString position = text::trimmed(lblMemory->text());
    // A record position is a number; anything else is never joined to the folder.
    if (!text::isAllDigits(position)) {
        Desktop::current().message(
            this, Desktop::Kind::Error,
            QStringLiteral("Attenzione: la posizione della scheda \"%1\" non è valida.")
                .arg(position));
        return;
    }
    const QString path = cardFolder(position);
    // Qt's own file functions: the folder may have any name the system allows.
    if (!QDir().mkpath(path) || !QFileInfo(path).isDir()) {
        Desktop::current().message(
            this, Desktop::Kind::Error,
            QStringLiteral("Attenzione: non è stato possibile creare la cartella \"%1\".\r\n\r\n"
                           "Accertarsi di possedere i privilegi di scrittura nella cartella di "
                           "installazione del programma.")
                .arg(QDir::toNativeSeparators(path)));
        return;
    }
    openInShell(u'"' + path + u'"');
    close();
}

void TfrmCartella::btnChiudiClick() {
    close();
}
