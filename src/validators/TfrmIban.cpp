#include "TfrmIban.h"

#include "validators/Iban.h"

#include <QLineEdit>

TfrmIban::TfrmIban(QWidget *parent)
    : CheckWindow({.objectName = QStringLiteral("frmIban"),
                   .caption = QStringLiteral(" Controllo IBAN"),
                   .clientSize = QSize(608, 270),
                   .prompt = QStringLiteral("Immettere l'IBAN e premere il pulsante di controllo."),
                   .boxName = QStringLiteral("txtIban"),
                   .maxLength = 27,
                   // Whatever the user types shows at once trimmed and in capitals.
                   .tidyWhileTyping = true,
                   .tidyOnKeyRelease = true},
                  parent),
      txtIban(codeBox()) {}

void TfrmIban::open(QWidget *owner, const QString &number) {
    TfrmIban dialog(owner);
    dialog.runWith(number);
}

void TfrmIban::btnControllaClick() {
    switch (validators::checkIban(txtIban->text())) {
    case validators::Verdict::WrongLength:
        retry(QStringLiteral("Attenzione: l'IBAN deve essere composto da 27 caratteri "
                             "alfanumerici."));
        return;
    case validators::Verdict::Valid:
        conclude(Desktop::Kind::Information, QStringLiteral("L'IBAN digitato è VALIDO."));
        return;
    default:
        conclude(Desktop::Kind::Warning, QStringLiteral("Attenzione: l'IBAN digitato è ERRATO!"));
        return;
    }
}
