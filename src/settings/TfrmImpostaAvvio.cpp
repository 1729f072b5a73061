#include "TfrmImpostaAvvio.h"

#include "kit/Desktop.h"
#include "kit/Shell.h"
#include "storage/AppFolder.h"
#include "kit/StartPicture.h"
#include "kit/WindowKit.h"
#include "storage/ArchiveSettings.h"
#include "storage/Journal.h"
#include "storage/PictureFile.h"
#include "storage/WholeFile.h"
#include "storage/StorageError.h"
#include "storage/TextRules.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QLineEdit>
#include <QPainter>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

const QString kNameMissing = QStringLiteral(
    "Attenzione: per salvare le impostazioni è necessario indicare il nome del database.");
const QString kLogoNotSaved = QStringLiteral(
    "Attenzione: non è stato possibile salvare l'immagine della schermata di avvio nel file "
    "Logo.bmp. Il nome e il sottotitolo dell'archivio sono stati salvati; verificare che la "
    "cartella del programma sia scrivibile e riprovare.");
const QString kReady = QStringLiteral("Pronto per salvare le impostazioni...");
const QString kDialogTitle =
    QStringLiteral("Selezionare il logo della Ditta in formato Jpeg o Bitmap.");
const QString kDialogFilter =
    QStringLiteral("Immagine JPEG (*.jpg *.jpeg);;Immagine Bitmap (*.bmp)");
constexpr QSize kPictureSize(912, 409);

QImage whitePicture() {
    QImage white(2, 2, QImage::Format_RGB32);
    white.fill(Qt::white);
    return white;
}

// Stores `picture` as a Windows bitmap, written aside and renamed over the file.
// A bitmap has no transparency: transparent parts are stored white, as the
// window shows them (a plain conversion would turn them black).
bool saveBitmap(const QImage &picture, const QString &path) {
    QImage opaque(picture.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    {
        QPainter painter(&opaque);
        painter.drawImage(0, 0, picture);
    }
    try {
        writeWholeFile(path, [&opaque](QIODevice &device) {
            QImageWriter writer(&device, "bmp");
            return writer.write(opaque);
        });
    } catch (const StorageError &) {
        return false;
    }
    return true;
}

} // namespace

TfrmImpostaAvvio::TfrmImpostaAvvio(QWidget *parent) : LargeWindow(parent) {
    setObjectName(QStringLiteral("frmImpostaAvvio"));
    setWindowTitle(QStringLiteral(" Cartavera - Imposta schermata di avvio"));
    resize(1016, 713);
    applyProcessFormats();
    setStyleSheet(theme::startSettingsWindow());

    auto *panContainer = new QFrame(this);
    panContainer->setObjectName(QStringLiteral("panContainer"));
    panContainer->setFixedWidth(1014);

    txtNomeArchivio = new QLineEdit(panContainer);
    txtNomeArchivio->setObjectName(QStringLiteral("txtNomeArchivio"));
    txtNomeArchivio->setAlignment(Qt::AlignCenter);
    txtNomeArchivio->setFont(QFont(QStringLiteral("Arial"), 22, QFont::Bold));
    txtNomeArchivio->setPlaceholderText(QStringLiteral("Nome dell'archivio"));
    txtNomeArchivio->setFixedWidth(kPictureSize.width());

    imgLogo = new QLabel(panContainer);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setFixedSize(kPictureSize + QSize(2, 2));
    imgLogo->setAlignment(Qt::AlignCenter);

    btnCancLogo =
        new PictureButton(QStringLiteral("btnCancLogo"), QStringLiteral("gomma"), 36, panContainer);
    btnRipristina = new PictureButton(QStringLiteral("btnRipristina"), QStringLiteral("annulla"),
                                      36, panContainer);
    btnCancLogo->setToolTip(QStringLiteral("Cancella immagine."));
    btnRipristina->setToolTip(QStringLiteral("Ripristina immagine di default."));

    txtSottotitolo = new QLineEdit(panContainer);
    txtSottotitolo->setObjectName(QStringLiteral("txtSottotitolo"));
    txtSottotitolo->setAlignment(Qt::AlignCenter);
    QFont subtitleFont(QStringLiteral("Arial"), 18);
    subtitleFont.setItalic(true);
    txtSottotitolo->setFont(subtitleFont);
    txtSottotitolo->setPlaceholderText(QStringLiteral("Sottotitolo"));
    txtSottotitolo->setFixedWidth(kPictureSize.width());

    btnSfoglia = new CommandButton(QStringLiteral("btnSfoglia"), QStringLiteral("Carica immagine"),
                                   panContainer, QStringLiteral("foto"));
    btnAnnulla = new CommandButton(QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"),
                                   panContainer, QStringLiteral("chiudi"));
    btnApplica = new CommandButton(QStringLiteral("btnApplica"), QStringLiteral("Applica e chiudi"),
                                   panContainer, QStringLiteral("applica"));
    btnSfoglia->setFixedSize(180, 32);
    btnAnnulla->setFixedSize(140, 32);
    btnApplica->setFixedSize(180, 32);

    panInfo = new QLabel(kReady, panContainer);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    panInfo->setFixedHeight(32);

    auto *pictureTools = new QVBoxLayout;
    pictureTools->setSpacing(6);
    pictureTools->addWidget(btnCancLogo);
    pictureTools->addWidget(btnRipristina);
    pictureTools->addStretch();

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(10);
    grid->addWidget(txtNomeArchivio, 0, 1, Qt::AlignHCenter);
    grid->addWidget(imgLogo, 1, 1);
    grid->addLayout(pictureTools, 1, 2);
    grid->addWidget(txtSottotitolo, 2, 1, Qt::AlignHCenter);
    // A column on each side as wide as the tools keeps the picture centred.
    grid->setColumnMinimumWidth(0, 40);
    grid->setColumnMinimumWidth(2, 40);

    auto *foot = new QHBoxLayout;
    foot->setSpacing(10);
    foot->addWidget(btnSfoglia);
    foot->addWidget(panInfo, 1);
    foot->addWidget(btnAnnulla);
    foot->addWidget(btnApplica);

    auto *panel = new QVBoxLayout(panContainer);
    panel->setContentsMargins(6, 14, 6, 16);
    panel->setSpacing(14);
    panel->addLayout(grid);
    panel->addLayout(foot);

    centrePanel(panContainer)->setContentsMargins(0, 8, 0, 8);

    setTabOrder(txtNomeArchivio, txtSottotitolo);
    setTabOrder(txtSottotitolo, btnSfoglia);
    setTabOrder(btnSfoglia, btnAnnulla);
    setTabOrder(btnAnnulla, btnApplica);
    addFocusFrame(txtNomeArchivio, QStringLiteral("effNomeArchivio"));
    addFocusFrame(txtSottotitolo, QStringLiteral("effSottotitolo"));

    auto *hints = new StatusHints(panInfo);
    hints->describe({
        {btnSfoglia, QStringLiteral("Carica l'immagine da mostrare nella schermata di avvio.")},
        {btnCancLogo, QStringLiteral("Cancella immagine.")},
        {btnRipristina, QStringLiteral("Ripristina immagine di default.")},
        {btnAnnulla, QStringLiteral("Esci senza salvare le impostazioni.")},
        {btnApplica, QStringLiteral("Applica le impostazioni e chiudi questa schermata.")},
    });
    hints->background({this, panContainer, imgLogo});

    connect(btnSfoglia, &QPushButton::clicked, this, &TfrmImpostaAvvio::btnSfogliaClick);
    connect(btnCancLogo, &QToolButton::clicked, this, &TfrmImpostaAvvio::btnCancLogoClick);
    connect(btnRipristina, &QToolButton::clicked, this, &TfrmImpostaAvvio::btnRipristinaClick);
    connect(btnApplica, &QPushButton::clicked, this, &TfrmImpostaAvvio::btnApplicaClick);
    connect(btnAnnulla, &QPushButton::clicked, this, &TfrmImpostaAvvio::btnAnnullaClick);
}

void TfrmImpostaAvvio::FormShow() {
    const ArchiveSettings settings(shell().appFolder());
    txtNomeArchivio->setText(settings.archiveName());
    txtSottotitolo->setText(settings.subtitle());
    panInfo->setText(kReady);
    const QImage logo = loadLogo(shell().appFolder());
    if (logo.isNull()) {
        // The focus is left where it is.
        setPicture(defaultStartPicture());
        return;
    }
    setPicture(logo);
    txtNomeArchivio->setFocus(Qt::OtherFocusReason);
}

void TfrmImpostaAvvio::setPicture(const QImage &picture) {
    m_picture = picture;
    imgLogo->setPixmap(fittedPicture(m_picture, kPictureSize));
}

void TfrmImpostaAvvio::btnSfogliaClick() {
    const QString folder =
        existingFolderOrHome(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
    const QString path = Desktop::current().openFileName(this, kDialogTitle, kDialogFilter, folder);
    if (path.isEmpty())
        return;
    const QImage picture = readPictureFile(path, Orientation::FromExif);
    setPicture(picture.isNull() ? defaultStartPicture() : picture);
}

void TfrmImpostaAvvio::btnCancLogoClick() {
    setPicture(whitePicture());
}

void TfrmImpostaAvvio::btnRipristinaClick() {
    setPicture(defaultStartPicture());
}

void TfrmImpostaAvvio::btnApplicaClick() {
    Desktop &desktop = Desktop::current();
    if (text::trimmed(txtNomeArchivio->text()).isEmpty()) {
        desktop.message(this, Desktop::Kind::Warning, kNameMissing);
        txtNomeArchivio->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Name, subtitle and picture are one change: a kill leaves all three as
    // they were or all three stored.
    const AppFolder &folder = shell().appFolder();
    bool logoSaved = false;
    try {
        Change change(folder, Change::Kind::Settings);
        change.keepWhole(QString::fromLatin1(dataset::kSettingsFile));
        change.keepWhole(QString::fromLatin1(dataset::kLogoFile));
        change.begin();
        ArchiveSettings settings(folder);
        settings.setArchiveName(text::trimmed(txtNomeArchivio->text()));
        settings.setSubtitle(text::trimmed(txtSottotitolo->text()));
        logoSaved = saveBitmap(m_picture, folder.logoFile());
        change.commit();
    } catch (const StorageError &error) {
        desktop.message(this, Desktop::Kind::Error, error.message());
        return;
    }
    if (!logoSaved) {
        // Name and subtitle are stored; the picture is kept in the window so
        // that the user can try again or leave with "Annulla".
        desktop.message(this, Desktop::Kind::Warning, kLogoNotSaved);
        return;
    }
    close();
}

void TfrmImpostaAvvio::btnAnnullaClick() {
    close();
}

