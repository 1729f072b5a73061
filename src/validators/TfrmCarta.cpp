#include "TfrmCarta.h"

#include "storage/TextRules.h"
#include "validators/CreditCard.h"

#include <QLineEdit>

TfrmCarta::TfrmCarta(QWidget *parent)
    : CheckWindow({.objectName = QStringLiteral("frmCarta"),
                   .caption = QStringLiteral(" Controllo carta di credito"),
                   .clientSize = QSize(519, 254),
                   .prompt = QStringLiteral("Immettere il numero di carta di credito e premere il "
                                            "pulsante di controllo."),
                   .boxName = QStringLiteral("txtNumero"),
                   .maxLength = 30,
                   .digitsOnly = true,
                   // A blank left in front when the caller's first group is
                   // deleted goes at once.
                   .tidyWhileTyping = true},
                  parent),
      txtNumero(codeBox()) {}

void TfrmCarta::open(QWidget *owner, const QString &number) {
    TfrmCarta dialog(owner);
    dialog.runWith(number);
}

void TfrmCarta::btnControllaClick() {
    const validators::CardCheck check = validators::checkCreditCard(txtNumero->text());
    switch (check.verdict) {
    case validators::Verdict::Blank:
        retry(QStringLiteral("Attenzione: immettere il numero di carta di credito prima di "
                             "premere il pulsante di controllo."));
        return;
    case validators::Verdict::Valid: {
        QString text = QStringLiteral("Il numero di carta di credito ") +
                       text::trimmed(txtNumero->text()) +
                       QStringLiteral(" risulta valido.\r\n\r\n");
        // A number starting with 32 or 39 passes, but names no known type.
        if (check.typeName.isEmpty())
            text += QStringLiteral("Il tipo di carta di credito non è tra quelli riconosciuti.");
        else
            text += QStringLiteral("La carta di credito è del tipo ") + check.typeName + u'.';
        conclude(Desktop::Kind::Information, text);
        return;
    }
    default:
        conclude(Desktop::Kind::Warning,
                 QStringLiteral("Attenzione: il numero digitato risulta ERRATO!\r\n\r\nNon è "
                                "quindi possibile fornire informazioni relative al tipo di carta "
                                "di credito."));
        return;
    }
}
