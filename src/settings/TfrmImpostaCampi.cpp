#include "TfrmImpostaCampi.h"

#include "kit/Desktop.h"
#include "kit/Shell.h"
#include "storage/AppFolder.h"
#include "kit/WindowKit.h"
#include "storage/ArchiveSettings.h"
#include "storage/Journal.h"
#include "storage/StorageError.h"
#include "storage/TextRules.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

const QString kFirstTitleMissing = QStringLiteral(
    "Attenzione: per salvare le impostazioni è necessario compilare il primo campo del database.");
const QString kReady = QStringLiteral("Pronto per salvare le impostazioni...");
constexpr int kBoxWidth = 330;

QString controlName(const char *prefix, int index) {
    return QStringLiteral("%1Campo%2")
        .arg(QLatin1String(prefix))
        .arg(index + 1, 2, 10, QChar(u'0'));
}

// One of the instruction panels under the boxes: an icon and a short text.
QFrame *instruction(const QString &name, const QString &iconName, const QString &text,
                    QWidget *parent) {
    auto *panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setStyleSheet(theme::notePanel(name));
    auto *picture = new QLabel(panel);
    picture->setPixmap(icon(iconName).pixmap(32, 32));
    picture->setAlignment(Qt::AlignTop);
    auto *words = new QLabel(text, panel);
    words->setWordWrap(true);
    auto *row = new QHBoxLayout(panel);
    row->setContentsMargins(10, 8, 10, 8);
    row->addWidget(picture);
    row->addWidget(words, 1);
    return panel;
}

} // namespace

TfrmImpostaCampi::TfrmImpostaCampi(QWidget *parent) : LargeWindow(parent) {
    setObjectName(QStringLiteral("frmImpostaCampi"));
    setWindowTitle(QStringLiteral(" Cartavera - Imposta campi di testo"));
    resize(1016, 713);
    applyProcessFormats();
    setStyleSheet(theme::fieldSettingsWindow());

    auto *panContainer = new QFrame(this);
    panContainer->setObjectName(QStringLiteral("panContainer"));
    panContainer->setFixedWidth(1000);

    titNomeArchivio = new QLabel(panContainer);
    titNomeArchivio->setObjectName(QStringLiteral("titNomeArchivio"));
    titNomeArchivio->setFont(QFont(QStringLiteral("Arial"), 20, QFont::Bold));
    titNomeArchivio->setAlignment(Qt::AlignCenter);

    auto *lblIntestazione = new QLabel(QStringLiteral("Titoli dei campi di testo"), panContainer);
    lblIntestazione->setObjectName(QStringLiteral("lblIntestazione"));
    lblIntestazione->setFont(QFont(QStringLiteral("Arial"), 13, QFont::Bold));
    lblIntestazione->setAlignment(Qt::AlignCenter);

    imgFoto = new QLabel(panContainer);
    imgFoto->setObjectName(QStringLiteral("imgFoto"));
    imgFoto->setPixmap(
        QPixmap::fromImage(defaultPhoto().convertToFormat(QImage::Format_Grayscale8)));
    imgFoto->setFixedSize(232, 309);
    imgFoto->setEnabled(false);
    btnSfoglia = new CommandButton(QStringLiteral("btnSfoglia"), QStringLiteral("Carica foto"),
                                   panContainer, QStringLiteral("foto"));
    btnSfoglia->setEnabled(false);
    btnSfoglia->setFixedWidth(232);

    auto *fields = new QGridLayout;
    fields->setHorizontalSpacing(26);
    fields->setVerticalSpacing(2);
    QFont boxFont = font();
    boxFont.setBold(true);
    for (int i = 0; i < kFields; ++i) {
        auto *box = new QLineEdit(panContainer);
        box->setObjectName(controlName("txt", i));
        box->setFont(boxFont);
        box->setFixedWidth(kBoxWidth);
        auto *title = new QLabel(panContainer);
        title->setObjectName(controlName("tit", i));
        title->setProperty("title", true);
        title->setWordWrap(false);
        // As wide as the box: a longer title shows only its beginning.
        title->setFixedWidth(kBoxWidth);
        title->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        txtCampo[i] = box;
        titCampo[i] = title;
        effCampo[i] = addFocusFrame(box, controlName("eff", i));
        const int row = (i / 2) * 3;
        const int column = i % 2;
        fields->addWidget(title, row, column);
        fields->addWidget(box, row + 1, column);
        fields->setRowMinimumHeight(row + 2, 8);
        connect(box, &QLineEdit::textChanged, title,
                [title](const QString &text) { title->setText(text::trimmed(text)); });
    }
    chainEnter({txtCampo[0], txtCampo[1], txtCampo[2], txtCampo[3], txtCampo[4], txtCampo[5],
                txtCampo[6], txtCampo[7], txtCampo[8], txtCampo[9], txtCampo[10], txtCampo[11],
                txtCampo[12], txtCampo[13], txtCampo[0]});

    auto *photo = new QVBoxLayout;
    photo->setSpacing(8);
    photo->addWidget(imgFoto);
    photo->addWidget(btnSfoglia);
    photo->addStretch();

    auto *card = new QHBoxLayout;
    card->setSpacing(28);
    card->addLayout(photo);
    card->addLayout(fields);
    card->addStretch();

    auto *help = new QHBoxLayout;
    help->setSpacing(10);
    help->addWidget(instruction(
        QStringLiteral("imgIstruzioni1"), QStringLiteral("mano"),
        QStringLiteral("Scrivi in ogni casella il titolo del campo di testo corrispondente: il "
                       "primo campo è obbligatorio. Il titolo più lungo è quello che "
                       "l'etichetta sopra la casella riesce a mostrare."),
        panContainer));
    help->addWidget(instruction(
        QStringLiteral("imgIstruzioni2"), QStringLiteral("applica"),
        QStringLiteral("Dopo aver scritto i titoli, premi \u00abApplica e chiudi\u00bb per "
                       "salvarli; \u00abAnnulla\u00bb chiude la finestra senza salvare."),
        panContainer));
    help->addWidget(instruction(
        QStringLiteral("imgIstruzioni3"), QStringLiteral("trova"),
        QStringLiteral("Il nome dell'archivio si imposta nella finestra della schermata di avvio. "
                       "I primi sei campi di testo servono da filtri per la ricerca delle "
                       "schede."),
        panContainer));

    panInfo = new QLabel(kReady, panContainer);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    panInfo->setFixedHeight(32);
    btnAnnulla = new CommandButton(QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"),
                                   panContainer, QStringLiteral("chiudi"));
    btnApplica = new CommandButton(QStringLiteral("btnApplica"), QStringLiteral("Applica e chiudi"),
                                   panContainer, QStringLiteral("applica"));
    btnAnnulla->setFixedSize(140, 32);
    btnApplica->setFixedSize(180, 32);

    auto *foot = new QHBoxLayout;
    foot->setSpacing(10);
    foot->addWidget(panInfo, 1);
    foot->addWidget(btnAnnulla);
    foot->addWidget(btnApplica);

    auto *panel = new QVBoxLayout(panContainer);
    panel->setContentsMargins(24, 14, 24, 16);
    panel->setSpacing(10);
    panel->addWidget(titNomeArchivio);
    panel->addWidget(lblIntestazione);
    panel->addSpacing(4);
    panel->addLayout(card);
    panel->addSpacing(4);
    panel->addLayout(help);
    panel->addLayout(foot);

    centrePanel(panContainer);

    for (int i = 0; i + 1 < kFields; ++i)
        setTabOrder(txtCampo[i], txtCampo[i + 1]);
    setTabOrder(txtCampo[kFields - 1], btnAnnulla);
    setTabOrder(btnAnnulla, btnApplica);

    auto *hints = new StatusHints(panInfo);
    hints->describe({
        {btnApplica, QStringLiteral("Applica le impostazioni e chiudi questa schermata.")},
        {btnAnnulla, QStringLiteral("Esci senza salvare le impostazioni.")},
    });
    hints->background({this, panContainer, titNomeArchivio, lblIntestazione, imgFoto});

    connect(btnApplica, &QPushButton::clicked, this, &TfrmImpostaCampi::btnApplicaClick);
    connect(btnAnnulla, &QPushButton::clicked, this, &TfrmImpostaCampi::btnAnnullaClick);
}

void TfrmImpostaCampi::FormShow() {
    const ArchiveSettings settings(shell().appFolder());
    titNomeArchivio->setText(settings.archiveName());
    for (int i = 0; i < kFields; ++i) {
        const QString title = settings.fieldTitle(i);
        showText(txtCampo[i], title);
        titCampo[i]->setText(title);
    }
    panInfo->setText(kReady);
    txtCampo[0]->setFocus(Qt::OtherFocusReason);
}

void TfrmImpostaCampi::btnApplicaClick() {
    if (text::trimmed(txtCampo[0]->text()).isEmpty()) {
        Desktop::current().message(this, Desktop::Kind::Warning, kFirstTitleMissing);
        txtCampo[0]->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The fourteen titles are one change.
    try {
        const AppFolder &folder = shell().appFolder();
        Change change(folder, Change::Kind::Settings);
        change.keepWhole(QString::fromLatin1(dataset::kSettingsFile));
        change.begin();
        ArchiveSettings settings(folder);
        for (int i = 0; i < kFields; ++i)
            settings.setFieldTitle(i, text::trimmed(txtCampo[i]->text()));
        change.commit();
    } catch (const StorageError &error) {
        Desktop::current().message(this, Desktop::Kind::Error, error.message());
        return;
    }
    close();
}

void TfrmImpostaCampi::btnAnnullaClick() {
    close();
}

