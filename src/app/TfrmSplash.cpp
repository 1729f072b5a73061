#include "TfrmSplash.h"

#include "kit/ShellOpen.h"
#include "kit/WindowKit.h"

#include <QHBoxLayout>
#include <QShowEvent>
#include <QVBoxLayout>

QString TfrmSplash::webSite() {
    return QStringLiteral("https://www.cartavera.it");
}
QString TfrmSplash::webHost() {
    return QStringLiteral("www.cartavera.it");
}

TfrmSplash::TfrmSplash(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral(" Cartavera - realizzato da Cartavera Software"));
    makeFixedWindow(this, QSize(661, 467));
    setStyleSheet(theme::splashWindow());

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(QPixmap::fromImage(
        renderPicture(QStringLiteral(":/pictures/marchio.svg"), QSize(625, 380))));
    imgLogo->setFixedSize(627, 382);

    imgWeb = new PictureLabel(QStringLiteral("imgWeb"), this);
    imgWeb->setPixmap(icon(QStringLiteral("sitoweb")).pixmap(32, 32));
    lnkWeb = new LinkLabel(QStringLiteral("lnkWeb"), webHost(), this);
    QFont linkFont = lnkWeb->font();
    linkFont.setPointSize(12);
    lnkWeb->setFont(linkFont);
    lnkWeb->tie(imgWeb);

    btnChiudi = new CommandButton(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), this,
                                  QStringLiteral("chiudi"));
    btnChiudi->setFixedWidth(130);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(imgWeb);
    bottom->addSpacing(4);
    bottom->addWidget(lnkWeb);
    bottom->addStretch();
    bottom->addWidget(btnChiudi);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(17, 17, 17, 14);
    layout->setSpacing(12);
    layout->addWidget(imgLogo, 0, Qt::AlignHCenter);
    layout->addStretch();
    layout->addLayout(bottom);

    connect(lnkWeb, &PictureLabel::clicked, this, &TfrmSplash::lnkWebClick);
    connect(imgWeb, &PictureLabel::clicked, this, &TfrmSplash::lnkWebClick);
    connect(btnChiudi, &QPushButton::clicked, this, &TfrmSplash::btnChiudiClick);
}

void TfrmSplash::showEvent(QShowEvent *event) {
    // Centred on the window that opened it.
    if (!event->spontaneous()) {
        if (QWidget *owner = parentWidget())
            move(owner->frameGeometry().center() - QPoint(width() / 2, height() / 2));
        else
            centerOnScreen(this);
    }
    QDialog::showEvent(event);
}

void TfrmSplash::lnkWebClick() {
    openInShell(webSite());
}

void TfrmSplash::btnChiudiClick() {
    close();
}
