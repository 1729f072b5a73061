#include "TfrmInfo.h"

#include "TfrmSplash.h"
#include "kit/ShellOpen.h"
#include "kit/WindowKit.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#ifndef CARTAVERA_VERSION
#define CARTAVERA_VERSION "1.0"
#endif

QString TfrmInfo::contactAddress() {
    return QStringLiteral("info@cartavera.it");
}
QString TfrmInfo::mailSubject() {
    return QStringLiteral("Software Cartavera");
}
QString TfrmInfo::mailBody() {
    return QStringLiteral("Salve, desidererei avere le seguenti informazioni sul software in "
                          "oggetto:");
}

TfrmInfo::TfrmInfo(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QStringLiteral(" Informazioni su Cartavera"));
    makeFixedWindow(this, QSize(473, 579));
    setStyleSheet(theme::infoWindow());

    imgLogo = headingPicture(QStringLiteral("imgLogo"), QSize(473, 110), this);
    imgLogo->setFixedSize(473, 110);

    auto *shpRiquadro = new QFrame(this);
    shpRiquadro->setObjectName(QStringLiteral("shpRiquadro"));

    auto *icoMarchio = new QLabel(shpRiquadro);
    icoMarchio->setObjectName(QStringLiteral("icoMarchio"));
    icoMarchio->setPixmap(QPixmap::fromImage(
        renderPicture(QStringLiteral(":/pictures/marchio.svg"), QSize(625, 380))
            .scaled(QSize(250, 152), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    icoMarchio->setAlignment(Qt::AlignCenter);

    auto *lblProgramma = new QLabel(QStringLiteral("Cartavera"), shpRiquadro);
    lblProgramma->setObjectName(QStringLiteral("lblProgramma"));
    lblProgramma->setFont(QFont(QStringLiteral("Arial"), 20, QFont::Bold));
    lblProgramma->setAlignment(Qt::AlignCenter);

    auto *lblVersione = new QLabel(
        QStringLiteral("Versione %1").arg(QLatin1String(CARTAVERA_VERSION)), shpRiquadro);
    lblVersione->setObjectName(QStringLiteral("lblVersione"));
    lblVersione->setAlignment(Qt::AlignCenter);

    auto *lblDescrizione = new QLabel(
        QStringLiteral("Il database personalizzato da creare in un minuto, con l'anagrafica dei "
                       "clienti e i controlli di codice fiscale, partita IVA, carta di credito "
                       "e IBAN."),
        shpRiquadro);
    lblDescrizione->setObjectName(QStringLiteral("lblDescrizione"));
    lblDescrizione->setWordWrap(true);
    lblDescrizione->setAlignment(Qt::AlignCenter);

    auto *lblContatti =
        new QLabel(QStringLiteral("Per informazioni e assistenza scrivi a:"), shpRiquadro);
    lblContatti->setObjectName(QStringLiteral("lblContatti"));
    lblContatti->setAlignment(Qt::AlignCenter);

    imgEmail = new PictureLabel(QStringLiteral("imgEmail"), shpRiquadro);
    imgEmail->setPixmap(icon(QStringLiteral("email")).pixmap(32, 32));
    lnkWeb = new LinkLabel(QStringLiteral("lnkWeb"), contactAddress(), shpRiquadro);
    QFont linkFont = lnkWeb->font();
    linkFont.setPointSize(12);
    lnkWeb->setFont(linkFont);
    lnkWeb->tie(imgEmail);

    auto *mail = new QHBoxLayout;
    mail->addStretch();
    mail->addWidget(imgEmail);
    mail->addSpacing(6);
    mail->addWidget(lnkWeb);
    mail->addStretch();

    auto *card = new QVBoxLayout(shpRiquadro);
    card->setContentsMargins(18, 14, 18, 18);
    card->setSpacing(8);
    card->addWidget(icoMarchio);
    card->addWidget(lblProgramma);
    card->addWidget(lblVersione);
    card->addSpacing(4);
    card->addWidget(lblDescrizione);
    card->addStretch();
    card->addWidget(lblContatti);
    card->addLayout(mail);

    btnChiudi = new CommandButton(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), this,
                                  QStringLiteral("chiudi"));
    btnChiudi->setFixedWidth(130);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(20, 16, 20, 16);
    body->setSpacing(14);
    body->addWidget(shpRiquadro, 1);
    body->addWidget(btnChiudi, 0, Qt::AlignRight);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(imgLogo);
    layout->addLayout(body, 1);

    connect(lnkWeb, &PictureLabel::clicked, this, &TfrmInfo::lnkWebClick);
    connect(imgEmail, &PictureLabel::clicked, this, &TfrmInfo::lnkWebClick);
    connect(btnChiudi, &QPushButton::clicked, this, &TfrmInfo::btnChiudiClick);
    centerOnScreen(this);
}

void TfrmInfo::lnkWebClick() {
    openInShell(u'"' + mailLink(contactAddress(), mailSubject(), mailBody()) + u'"');
}

void TfrmInfo::btnChiudiClick() {
    close();
}
