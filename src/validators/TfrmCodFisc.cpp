#include "TfrmCodFisc.h"

#include "storage/TextRules.h"
#include "validators/FiscalCode.h"
#include "validators/TfrmPartitaIva.h"

#include <QLineEdit>

TfrmCodFisc::TfrmCodFisc(QWidget *parent)
    : CheckWindow({.objectName = QStringLiteral("frmCodFisc"),
                   .caption = QStringLiteral(" Controllo codice fiscale"),
                   .clientSize = QSize(478, 254),
                   .prompt = QStringLiteral(
                       "Immettere il codice fiscale e premere il pulsante di controllo."),
                   .boxName = QStringLiteral("txtCodFisc"),
                   .maxLength = 16,
                   // Whatever the user types shows at once trimmed and in capitals.
                   .tidyWhileTyping = true,
                   .tidyOnKeyRelease = true},
                  parent),
      txtCodFisc(codeBox()) {}

void TfrmCodFisc::open(QWidget *owner, const QString &code) {
    const QString t = text::trimmed(code);
    if (text::isAllDigits(t)) {
        TfrmPartitaIva::open(owner, t);
        return;
    }
    TfrmCodFisc dialog(owner);
    dialog.runWith(t);
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
