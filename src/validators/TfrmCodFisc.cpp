#include "TfrmCodFisc.h"

#include "kit/WindowKit.h"
#include "storage/TextRules.h"
#include "validators/FiscalCode.h"
#include "validators/TfrmPartitaIva.h"

#include <QEvent>
#include <QLineEdit>

TfrmCodFisc::TfrmCodFisc(QWidget *parent)
    : CheckWindow({.objectName = QStringLiteral("frmCodFisc"),
                   .caption = QStringLiteral(" Controllo codice fiscale"),
                   .clientSize = QSize(478, 254),
                   .prompt = QStringLiteral(
                       "Immettere il codice fiscale e premere il pulsante di controllo."),
                   .boxName = QStringLiteral("txtCodFisc"),
                   .maxLength = 16},
                  parent),
      txtCodFisc(codeBox()) {
    txtCodFisc->installEventFilter(this);
    // Whatever the user types shows at once trimmed and in capitals.
    connect(txtCodFisc, &QLineEdit::textEdited, this, &TfrmCodFisc::normalizeBox);
}

void TfrmCodFisc::open(QWidget *owner, const QString &code) {
    const QString t = text::trimmed(code);
    if (text::isAllDigits(t)) {
        TfrmPartitaIva::open(owner, t);
        return;
    }
    TfrmCodFisc dialog(owner);
    dialog.runWith(t);
}

bool TfrmCodFisc::eventFilter(QObject *watched, QEvent *event) {
    if (watched == txtCodFisc && event->type() == QEvent::KeyRelease)
        normalizeBox();
    return CheckWindow::eventFilter(watched, event);
}

void TfrmCodFisc::normalizeBox() {
    tidyBox(txtCodFisc, Tidy::Capitals);
}

void TfrmCodFisc::btnControllaClick() {
    switch (validators::checkFiscalCode(txtCodFisc->text())) {
    case validators::Verdict::WrongLength:
        retry(QStringLiteral(
            "Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici."));
        return;
    case validators::Verdict::Valid:
        conclude(Desktop::Kind::Information,
                 QStringLiteral("Il codice fiscale digitato è VALIDO."));
        return;
    default:
        conclude(Desktop::Kind::Warning,
                 QStringLiteral("Attenzione: il codice fiscale digitato è ERRATO."));
        return;
    }
}
