#include "TfrmGuida.h"

#include "kit/Desktop.h"
#include "kit/Shell.h"
#include "kit/ShellOpen.h"
#include "kit/WindowKit.h"
#include "storage/AppFolder.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

// The program's heading band across the window: the logo at its own size,
// its blue carried on to the right edge.
QPixmap headingBand(int width) {
    const QImage logo = renderPicture(QStringLiteral(":/pictures/logo.svg"), QSize(388, 90));
    QPixmap band(width, logo.height());
    band.fill(logo.pixelColor(logo.width() - 1, logo.height() / 2));
    QPainter painter(&band);
    painter.drawImage(0, 0, logo);
    return band;
}

} // namespace

TfrmGuida::TfrmGuida(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmGuida"));
    setWindowTitle(QStringLiteral(" Guida all'utilizzo del software"));
    makeFixedWindow(this, QSize(670, 572));
    setStyleSheet(theme::plainWindow("TfrmGuida"));

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(headingBand(670));
    imgLogo->setFixedSize(670, 90);

    lblTitolo = new QLabel(QStringLiteral("Argomento della guida."), this);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    QFont titleFont = lblTitolo->font();
    titleFont.setPointSize(15);
    titleFont.setBold(true);
    lblTitolo->setFont(titleFont);
    lblTitolo->setStyleSheet(theme::topicTitleText());

    txtGuida = new QPlainTextEdit(this);
    txtGuida->setObjectName(QStringLiteral("txtGuida"));
    txtGuida->setReadOnly(true);
    txtGuida->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont textFont = txtGuida->font();
    textFont.setBold(true);
    txtGuida->setFont(textFont);
    txtGuida->setStyleSheet(theme::guideText());

    imgPDF = new PictureLabel(QStringLiteral("imgPDF"), this);
    imgPDF->setPixmap(icon(QStringLiteral("pdf")).pixmap(32, 32));
    lnkWeb = new LinkLabel(QStringLiteral("lnkWeb"),
                           QStringLiteral("Visualizza guida in formato PDF"), this);
    lnkWeb->tie(imgPDF);
    btnChiudi = new CommandButton(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), this,
                                  QStringLiteral("chiudi"));
    btnChiudi->setFixedWidth(130);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(imgPDF);
    bottom->addWidget(lnkWeb);
    bottom->addStretch();
    bottom->addWidget(btnChiudi);
    auto *body = new QVBoxLayout;
    body->setContentsMargins(16, 10, 16, 14);
    body->setSpacing(8);
    body->addWidget(lblTitolo);
    body->addWidget(txtGuida, 1);
    body->addLayout(bottom);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(imgLogo);
    layout->addLayout(body, 1);

    connect(lnkWeb, &PictureLabel::clicked, this, &TfrmGuida::lnkWebClick);
    connect(imgPDF, &PictureLabel::clicked, this, &TfrmGuida::lnkWebClick);
    connect(btnChiudi, &QPushButton::clicked, this, &TfrmGuida::btnChiudiClick);
}

void TfrmGuida::showTopic(QWidget *owner, const GuideTopic &topic) {
    TfrmGuida guide(owner);
    guide.lblTitolo->setText(topic.title);
    guide.txtGuida->setPlainText(topic.text());
    centerOnScreen(&guide);
    Desktop::current().runModal(guide);
}

void TfrmGuida::lnkWebClick() {
    openInShell(u'"' + shell().appFolder().file(QStringLiteral("Guida.pdf")) + u'"');
}

void TfrmGuida::btnChiudiClick() {
    close();
}
