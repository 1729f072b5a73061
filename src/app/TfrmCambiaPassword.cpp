#include "TfrmCambiaPassword.h"

#include "kit/Desktop.h"
#include "kit/Shell.h"
#include "kit/WindowKit.h"
#include "storage/AppFolder.h"
#include "storage/PasswordFile.h"
#include "storage/StorageError.h"
#include "storage/TextRules.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

const QString kWrongOld = QStringLiteral("Attenzione: vecchia password errata.");
const QString kNotConfirmed =
    QStringLiteral("Attenzione: la nuova password non è stata confermata correttamente. E' "
                   "necessario reinserire entrambi i valori.");
const QString kChanged = QStringLiteral("Modifica della password completata con successo.");
const QString kChangeError =
    QStringLiteral("Attenzione: si è verificato un errore durante la procedura di modifica della "
                   "password. Si consiglia di reinstallare il software.");
const QString kTooLong = QStringLiteral(
    "Attenzione: la nuova password non può superare i %1 caratteri. E' necessario reinserire "
    "entrambi i valori.");
const QString kBadCharacter = QStringLiteral(
    "Attenzione: la nuova password contiene il carattere \u00ab%1\u00bb, che non può essere "
    "memorizzato. Si possono usare lettere (anche accentate), cifre e i simboli più comuni. "
    "E' necessario reinserire entrambi i valori.");

// The first character the password file cannot hold (each character is kept
// as one byte), or an empty text when there is none.
QString unstorableCharacter(const QString &plain) {
    for (qsizetype i = 0; i < plain.size(); ++i) {
        if (plain[i].unicode() <= 0xFF)
            continue;
        const bool pair = plain[i].isHighSurrogate() && i + 1 < plain.size();
        return plain.mid(i, pair ? 2 : 1);
    }
    return {};
}

} // namespace

TfrmCambiaPassword::TfrmCambiaPassword(QWidget *parent) : LargeWindow(parent) {
    setObjectName(QStringLiteral("frmCambiaPassword"));
    setWindowTitle(QStringLiteral(" Cambia password"));
    makeFixedWindow(this, QSize(411, 418));
    setStyleSheet(theme::passwordWindow("TfrmCambiaPassword"));

    imgLogo = headingPicture(QStringLiteral("imgLogo"), QSize(411, 90), this);
    imgLogo->setFixedSize(411, 90);

    auto label = [this](const char *name, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    auto box = [this](const char *name) {
        auto *b = new QLineEdit(this);
        b->setObjectName(QLatin1String(name));
        b->setEchoMode(QLineEdit::Password);
        return b;
    };
    lblRigo05 = label("lblRigo05", QStringLiteral("Vecchia password:"));
    txtPasswordOld = box("txtPasswordOld");
    lblRigo06 = label("lblRigo06", QStringLiteral("Nuova password:"));
    txtPasswordNew = box("txtPasswordNew");
    lblRigo07 = label("lblRigo07", QStringLiteral("Conferma nuova password:"));
    txtConferma = box("txtConferma");
    effPasswordOld = addFocusFrame(txtPasswordOld, QStringLiteral("effPasswordOld"));
    effPasswordNew = addFocusFrame(txtPasswordNew, QStringLiteral("effPasswordNew"));
    effConferma = addFocusFrame(txtConferma, QStringLiteral("effConferma"));

    cmdEsci = new CommandButton(QStringLiteral("cmdEsci"), QStringLiteral("Chiudi"), this,
                                QStringLiteral("chiudi"));
    cmdOK = new CommandButton(QStringLiteral("cmdOK"), QStringLiteral("OK"), this,
                              QStringLiteral("applica"));
    cmdOK->setEnabled(false);
    for (QPushButton *b : {cmdOK, cmdEsci})
        b->setFixedWidth(120);

    auto *form = new QVBoxLayout;
    form->setSpacing(4);
    for (auto [l, b] : {std::pair{lblRigo05, txtPasswordOld}, std::pair{lblRigo06, txtPasswordNew},
                        std::pair{lblRigo07, txtConferma}}) {
        form->addWidget(l);
        form->addWidget(b);
        form->addSpacing(10);
    }

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdEsci);
    buttons->addStretch();

    auto *lblSuggerimento = new QLabel(
        QStringLiteral("Scegli una password di almeno otto caratteri. Le lettere minuscole "
                       "valgono come le maiuscole."),
        this);
    lblSuggerimento->setObjectName(QStringLiteral("lblSuggerimento"));
    lblSuggerimento->setWordWrap(true);
    lblSuggerimento->setStyleSheet(theme::hintText());

    auto *body = new QVBoxLayout;
    body->setContentsMargins(48, 22, 48, 24);
    body->addLayout(form);
    body->addWidget(lblSuggerimento);
    body->addStretch();
    body->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(imgLogo);
    layout->addLayout(body, 1);

    setTabOrder(txtPasswordOld, txtPasswordNew);
    setTabOrder(txtPasswordNew, txtConferma);
    setTabOrder(txtConferma, cmdEsci);
    setTabOrder(cmdEsci, cmdOK);

    for (QLineEdit *b : {txtPasswordOld, txtPasswordNew, txtConferma})
        connect(b, &QLineEdit::textChanged, this, &TfrmCambiaPassword::boxesChange);
    // Enter walks round the three boxes; it never applies the change.
    chainEnter({txtPasswordOld, txtPasswordNew, txtConferma, txtPasswordOld});
    connect(cmdOK, &QPushButton::clicked, this, &TfrmCambiaPassword::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &TfrmCambiaPassword::cmdEsciClick);
}

void TfrmCambiaPassword::FormShow() {
    txtPasswordOld->clear();
    txtPasswordNew->clear();
    txtConferma->clear();
    boxesChange();
    txtPasswordOld->setFocus(Qt::OtherFocusReason);
}

void TfrmCambiaPassword::boxesChange() {
    bool filled = true;
    for (QLineEdit *b : {txtPasswordOld, txtPasswordNew, txtConferma})
        filled = filled && !text::trimmed(b->text()).isEmpty();
    cmdOK->setEnabled(filled);
}

void TfrmCambiaPassword::cmdOKClick() {
    Desktop &desktop = Desktop::current();
    auto refuseNew = [&](const QString &message) {
        desktop.message(this, Desktop::Kind::Plain, message);
        txtPasswordNew->clear();
        txtConferma->clear();
        txtPasswordNew->setFocus(Qt::OtherFocusReason);
    };
    try {
        if (password::normalized(txtPasswordOld->text()) != password::read(shell().appFolder())) {
            desktop.message(this, Desktop::Kind::Plain, kWrongOld);
            txtPasswordOld->clear();
            txtPasswordOld->setFocus(Qt::OtherFocusReason);
            return;
        }
        if (text::trimmed(txtPasswordNew->text()) != text::trimmed(txtConferma->text())) {
            refuseNew(kNotConfirmed);
            return;
        }
        const QString fresh = password::normalized(txtPasswordNew->text());
        // The file keeps one byte per character and at most 255 of them: a
        // password it cannot hold exactly could never be typed back at login.
        if (fresh.size() > password::kMaxLength) {
            refuseNew(kTooLong.arg(password::kMaxLength));
            return;
        }
        if (const QString bad = unstorableCharacter(fresh); !bad.isEmpty()) {
            refuseNew(kBadCharacter.arg(bad));
            return;
        }
        password::write(shell().appFolder(), fresh);
    } catch (const StorageError &) {
        desktop.message(this, Desktop::Kind::Plain, kChangeError);
        return;
    }
    desktop.message(this, Desktop::Kind::Plain, kChanged);
    close();
}

void TfrmCambiaPassword::cmdEsciClick() {
    close();
}

LargeWindow *TfrmCambiaPassword::closeTarget() {
    // Every closing hands back to the login, which shows an empty box.
    return m_login;
}
