#include "TfrmPassword.h"

#include "kit/Desktop.h"
#include "kit/Shell.h"
#include "kit/WindowKit.h"
#include "storage/AppFolder.h"
#include "storage/PasswordFile.h"
#include "storage/StorageError.h"
#include "storage/TextRules.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

const QString kWrongPassword = QStringLiteral("Attenzione: password errata.");
const QString kReadError =
    QStringLiteral("Attenzione: si è verificato un errore durante la procedura di lettura della "
                   "password. Si consiglia di reinstallare il software.");

} // namespace

TfrmPassword::TfrmPassword(QWidget *parent) : LargeWindow(parent) {
    setObjectName(QStringLiteral("frmPassword"));
    setWindowTitle(QStringLiteral(" Cartavera - Accesso al programma"));
    makeFixedWindow(this, QSize(388, 405));
    setStyleSheet(theme::passwordWindow("TfrmPassword"));

    imgLogo = headingPicture(QStringLiteral("imgLogo"), QSize(388, 90), this);
    imgLogo->setFixedSize(388, 90);

    auto *icoLucchetto = new QLabel(this);
    icoLucchetto->setObjectName(QStringLiteral("icoLucchetto"));
    icoLucchetto->setPixmap(icon(QStringLiteral("password")).pixmap(56, 56));
    icoLucchetto->setAlignment(Qt::AlignCenter);

    lblRigo05 = new QLabel(QStringLiteral("Immetti la password e premi OK."), this);
    lblRigo05->setObjectName(QStringLiteral("lblRigo05"));
    lblRigo05->setAlignment(Qt::AlignCenter);

    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setFixedWidth(250);
    effPassword = addFocusFrame(txtPassword, QStringLiteral("effPassword"));

    cmdOK = new CommandButton(QStringLiteral("cmdOK"), QStringLiteral("OK"), this,
                              QStringLiteral("applica"));
    cmdOK->setEnabled(false);
    cmdEsci = new CommandButton(QStringLiteral("cmdEsci"), QStringLiteral("Esci"), this,
                                QStringLiteral("esci"));
    btnCambiaPassword =
        new CommandButton(QStringLiteral("btnCambiaPassword"), QStringLiteral("Cambia password"),
                          this, QStringLiteral("password"));
    for (QPushButton *b : {cmdOK, cmdEsci})
        b->setFixedWidth(120);
    btnCambiaPassword->setFixedWidth(250);

    lblMemory = hiddenLabel(QStringLiteral("lblMemory"), this);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdEsci);
    buttons->addStretch();

    auto *body = new QVBoxLayout;
    body->setContentsMargins(24, 18, 24, 22);
    body->setSpacing(12);
    body->addWidget(icoLucchetto);
    body->addWidget(lblRigo05);
    body->addWidget(txtPassword, 0, Qt::AlignHCenter);
    body->addSpacing(6);
    body->addLayout(buttons);
    body->addStretch();
    body->addWidget(btnCambiaPassword, 0, Qt::AlignHCenter);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(imgLogo);
    layout->addLayout(body, 1);

    setTabOrder(txtPassword, cmdOK);
    setTabOrder(cmdOK, cmdEsci);
    setTabOrder(cmdEsci, btnCambiaPassword);

    connect(txtPassword, &QLineEdit::textChanged, this, &TfrmPassword::txtPasswordChange);
    onEnter(txtPassword, [this] {
        if (!text::trimmed(txtPassword->text()).isEmpty())
            cmdOKClick();
    });
    connect(cmdOK, &QPushButton::clicked, this, &TfrmPassword::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &TfrmPassword::cmdEsciClick);
    connect(btnCambiaPassword, &QPushButton::clicked, this, &TfrmPassword::btnCambiaPasswordClick);
}

void TfrmPassword::FormShow() {
    // Every showing starts from an empty box, whichever window handed back.
    txtPassword->clear();
    lblMemory->clear();
    txtPasswordChange();
    txtPassword->setFocus(Qt::OtherFocusReason);
}

void TfrmPassword::txtPasswordChange() {
    cmdOK->setEnabled(!text::trimmed(txtPassword->text()).isEmpty());
}

void TfrmPassword::cmdOKClick() {
    QString stored;
    try {
        stored = password::read(shell().appFolder());
    } catch (const StorageError &) {
        Desktop::current().message(this, Desktop::Kind::Plain, kReadError);
        return;
    }
    if (password::normalized(txtPassword->text()) == stored) {
        txtPassword->clear();
        if (m_to.startScreen)
            handOver(m_to.startScreen);
        return;
    }
    Desktop::current().message(this, Desktop::Kind::Plain, kWrongPassword);
    txtPassword->clear();
    txtPassword->setFocus(Qt::OtherFocusReason);
}

void TfrmPassword::cmdEsciClick() {
    shell().endProgram();
}

void TfrmPassword::btnCambiaPasswordClick() {
    if (m_to.passwordChange)
        handOver(m_to.passwordChange);
}

void TfrmPassword::closeEvent(QCloseEvent *event) {
    // The login is the program's main window: closing it by any means ends
    // the program, as its "Esci" button does.
    event->accept();
    if (Shell::isRunning() && !shell().terminating())
        shell().endProgram();
}
