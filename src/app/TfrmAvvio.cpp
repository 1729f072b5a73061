#include "TfrmAvvio.h"

#include "StartGuide.h"
#include "kit/Desktop.h"
#include "kit/Shortcuts.h"
#include "kit/Shell.h"
#include "kit/ShellOpen.h"
#include "kit/StartPicture.h"
#include "TfrmInfo.h"
#include "TfrmSplash.h"
#include "kit/WindowKit.h"
#include "storage/AppFolder.h"
#include "storage/ArchiveSettings.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr QSize kPictureSize(912, 409);
constexpr QSize kPanelSize(995, 692);
constexpr int kPanelMargin = 14;
constexpr int kIconSize = 44;
constexpr int kGap = 8;

// The web-site picture: the globe and the site's host name.
QPixmap webSitePicture() {
    const QString host = TfrmSplash::webHost();
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(15);
    font.setBold(true);
    const int textWidth = QFontMetrics(font).horizontalAdvance(host);
    const qreal dpr = 2.0;
    QPixmap pixmap(QSize(36 + textWidth + 4, 30) * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    icon(QStringLiteral("sitoweb")).paint(&painter, QRect(0, 1, 28, 28));
    painter.setFont(font);
    painter.setPen(theme::blue());
    painter.drawText(QRect(36, 0, textWidth + 4, 30), Qt::AlignVCenter | Qt::AlignLeft, host);
    return pixmap;
}

// The design fonts of the two titles, and the smallest sizes they shrink to.
QFont nameFont() {
    return QFont(QStringLiteral("Arial"), 28, QFont::Bold);
}
QFont subtitleFont() {
    QFont font(QStringLiteral("Arial"), 26);
    font.setItalic(true);
    return font;
}
constexpr int kSmallestName = 16;
constexpr int kSmallestSubtitle = 14;
constexpr int kSmallestWrapped = 10; // on two lines

// Shows `text` in `title` in its design font, made smaller (down to `smallest`
// points) when it would not fit the label's width; a text still too wide goes
// on two lines, smaller again if need be.
void showTitle(QLabel *title, const QFont &design, int smallest, const QString &text) {
    const int room = title->maximumWidth() - 8;
    auto width = [&text](const QFont &f) { return QFontMetrics(f).horizontalAdvance(text); };
    QFont font = design;
    while (font.pointSize() > smallest && width(font) > room)
        font.setPointSize(font.pointSize() - 1);
    const bool wrap = width(font) > room;
    // Two lines hold a little less than twice the width: words do not split.
    while (wrap && font.pointSize() > kSmallestWrapped && width(font) > room * 17 / 10)
        font.setPointSize(font.pointSize() - 1);
    title->setFont(font);
    title->setWordWrap(wrap);
    title->setText(text);
}

PictureLabel *iconLabel(const QString &name, const QString &iconName, QWidget *parent) {
    auto *label = new PictureLabel(name, parent);
    label->setPixmap(icon(iconName).pixmap(40, 40));
    label->setFixedSize(kIconSize, kIconSize);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

TfrmAvvio::TfrmAvvio(QWidget *parent) : LargeWindow(parent) {
    setObjectName(QStringLiteral("frmAvvio"));
    setWindowTitle(QStringLiteral(" Cartavera"));
    resize(1016, 713);
    applyProcessFormats();
    setStyleSheet(theme::startWindow());

    panContainer = new QFrame(this);
    panContainer->setObjectName(QStringLiteral("panContainer"));
    panContainer->setFixedSize(kPanelSize);

    titNomeArchivio = new QLabel(QStringLiteral("CARTAVERA"), panContainer);
    titNomeArchivio->setObjectName(QStringLiteral("titNomeArchivio"));
    titNomeArchivio->setFont(nameFont());
    titNomeArchivio->setAlignment(Qt::AlignCenter);
    // Between the two corner icons.
    titNomeArchivio->setFixedWidth(kPanelSize.width() - 2 * (kPanelMargin + kIconSize + kGap));

    titSottotitolo = new QLabel(QStringLiteral("Crea il tuo database personalizzato in un minuto!"),
                                panContainer);
    titSottotitolo->setObjectName(QStringLiteral("titSottotitolo"));
    titSottotitolo->setFont(subtitleFont());
    titSottotitolo->setAlignment(Qt::AlignCenter);
    titSottotitolo->setFixedWidth(kPictureSize.width());
    for (QLabel *title : {titNomeArchivio, titSottotitolo})
        title->setMinimumHeight(52);

    imgTemp = new QLabel(panContainer);
    imgTemp->setObjectName(QStringLiteral("imgTemp"));
    imgTemp->setFixedSize(kPictureSize);
    imgTemp->setPixmap(QPixmap::fromImage(defaultStartPicture()));
    imgTemp->hide();

    imgLogo = new QLabel(panContainer);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setFixedSize(kPictureSize + QSize(2, 2));
    imgLogo->setAlignment(Qt::AlignCenter);
    imgLogo->setPixmap(imgTemp->pixmap());

    cmdImpostazioni =
        new CommandButton(QStringLiteral("cmdImpostazioni"), QStringLiteral("Impostazioni"),
                          panContainer, QStringLiteral("impostazioni"));
    cmdDatabase = new CommandButton(QStringLiteral("cmdDatabase"), QStringLiteral("Database"),
                                    panContainer, QStringLiteral("database"));
    cmdClienti = new CommandButton(QStringLiteral("cmdClienti"), QStringLiteral("Clienti"),
                                   panContainer, QStringLiteral("clienti"));
    for (QPushButton *b : {cmdImpostazioni, cmdDatabase, cmdClienti}) {
        b->setFixedSize(229, 38);
        b->setIconSize(QSize(24, 24));
        QFont f = b->font();
        f.setPointSize(12);
        b->setFont(f);
    }

    imgInfo = iconLabel(QStringLiteral("imgInfo"), QStringLiteral("info"), panContainer);
    imgGuida = iconLabel(QStringLiteral("imgGuida"), QStringLiteral("guida"), panContainer);
    imgCopyright =
        iconLabel(QStringLiteral("imgCopyright"), QStringLiteral("copyright"), panContainer);
    imgEsci = iconLabel(QStringLiteral("imgEsci"), QStringLiteral("esci"), panContainer);
    imgSitoWeb = new PictureLabel(QStringLiteral("imgSitoWeb"), panContainer);
    imgSitoWeb->setPixmap(webSitePicture());

    panInfo = new QLabel(this);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    panInfo->setFixedHeight(28);
    QFont statusFont = panInfo->font();
    statusFont.setPointSize(10);
    panInfo->setFont(statusFont);

    // The panel: name, picture and subtitle between the corner icons, the three
    // buttons under them, the exits at the foot.
    auto *grid = new QGridLayout(panContainer);
    grid->setContentsMargins(kPanelMargin, 10, kPanelMargin, 10);
    grid->setHorizontalSpacing(kGap);
    grid->setVerticalSpacing(8);
    grid->addWidget(imgInfo, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(titNomeArchivio, 0, 1, Qt::AlignCenter);
    grid->addWidget(imgGuida, 0, 2, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(imgLogo, 1, 0, 1, 3, Qt::AlignCenter);
    grid->addWidget(titSottotitolo, 2, 0, 1, 3, Qt::AlignCenter);

    const int side = (kPanelSize.width() - 2 * kPanelMargin - kPictureSize.width()) / 2;
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(side, 0, side, 0);
    buttons->addWidget(cmdImpostazioni);
    buttons->addStretch();
    buttons->addWidget(cmdDatabase);
    buttons->addStretch();
    buttons->addWidget(cmdClienti);
    grid->addLayout(buttons, 4, 0, 1, 3);
    grid->addWidget(imgCopyright, 6, 0, Qt::AlignLeft | Qt::AlignBottom);
    grid->addWidget(imgSitoWeb, 6, 1, Qt::AlignCenter);
    grid->addWidget(imgEsci, 6, 2, Qt::AlignRight | Qt::AlignBottom);
    grid->setColumnStretch(1, 1);
    // The buttons halfway between the subtitle and the foot of the panel.
    grid->setRowStretch(3, 1);
    grid->setRowStretch(5, 1);

    QVBoxLayout *layout = centrePanel(panContainer);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panInfo);

    m_hints = new StatusHints(panInfo);
    bindKeys(imgGuida, QKeySequence(Qt::Key_F1), [this] { imgGuidaClick(); });
    m_hints->describe({
        {cmdImpostazioni, QStringLiteral("Imposta il nome dell'archivio, la schermata di avvio e "
                                         "i titoli dei campi di testo.")},
        {cmdDatabase, QStringLiteral("Apri il database per gestire le schede dell'archivio.")},
        {cmdClienti, QStringLiteral("Apri l'anagrafica dei clienti e dei contatti.")},
        {imgInfo, QStringLiteral("Informazioni sul programma e sui contatti dell'autore.")},
        {imgGuida, QStringLiteral("Guida all'utilizzo del software.")},
        {imgCopyright, QStringLiteral("Mostra la schermata di presentazione del programma.")},
        {imgSitoWeb, QStringLiteral("Visita il sito web %1.").arg(TfrmSplash::webHost())},
        {imgEsci, QStringLiteral("Esci dal programma.")},
    });
    m_hints->background({this, panContainer, titNomeArchivio, titSottotitolo, imgLogo, panInfo});

    connect(cmdDatabase, &QPushButton::clicked, this, &TfrmAvvio::cmdDatabaseClick);
    connect(cmdClienti, &QPushButton::clicked, this, &TfrmAvvio::cmdClientiClick);
    connect(cmdImpostazioni, &QPushButton::clicked, this, &TfrmAvvio::cmdImpostazioniClick);
    connect(imgInfo, &PictureLabel::clicked, this, &TfrmAvvio::imgInfoClick);
    connect(imgCopyright, &PictureLabel::clicked, this, &TfrmAvvio::imgCopyrightClick);
    connect(imgGuida, &PictureLabel::clicked, this, &TfrmAvvio::imgGuidaClick);
    connect(imgSitoWeb, &PictureLabel::clicked, this, &TfrmAvvio::imgSitoWebClick);
    connect(imgEsci, &PictureLabel::clicked, this, &TfrmAvvio::imgEsciClick);
}

void TfrmAvvio::FormShow() {
    const ArchiveSettings settings(shell().appFolder());
    showTitle(titNomeArchivio, nameFont(), kSmallestName, settings.archiveName());
    showTitle(titSottotitolo, subtitleFont(), kSmallestSubtitle, settings.subtitle());
    const QImage logo = loadLogo(shell().appFolder());
    imgLogo->setPixmap(logo.isNull() ? imgTemp->pixmap() : fittedPicture(logo, kPictureSize));
    // A workspace that is not part of the program yet cannot be opened.
    cmdDatabase->setEnabled(m_to.database != nullptr);
    cmdClienti->setEnabled(m_to.clients != nullptr);
    panInfo->clear();
}

void TfrmAvvio::cmdDatabaseClick() {
    if (m_to.database)
        handOver(m_to.database);
}

void TfrmAvvio::cmdClientiClick() {
    if (m_to.clients)
        handOver(m_to.clients);
}

void TfrmAvvio::cmdImpostazioniClick() {
    if (m_to.settings)
        handOver(m_to.settings);
}

void TfrmAvvio::imgInfoClick() {
    TfrmInfo info(this);
    Desktop::current().runModal(info);
}

void TfrmAvvio::imgCopyrightClick() {
    TfrmSplash splash(this);
    Desktop::current().runModal(splash);
}

void TfrmAvvio::imgGuidaClick() {
    shell().showGuide(this, startGuide());
}

void TfrmAvvio::imgSitoWebClick() {
    openInShell(TfrmSplash::webSite());
}

void TfrmAvvio::imgEsciClick() {
    shell().endProgram();
}

void TfrmAvvio::closeEvent(QCloseEvent *event) {
    event->accept();
    if (Shell::isRunning() && !shell().terminating())
        shell().endProgram();
}
