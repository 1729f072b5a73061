#include "TfrmPartitaIva.h"

#include "validators/VatNumber.h"

#include <QLineEdit>

TfrmPartitaIva::TfrmPartitaIva(QWidget *parent)
    : CheckWindow({.objectName = QStringLiteral("frmPartitaIva"),
                   .caption = QStringLiteral(" Controllo partita IVA"),
                   .clientSize = QSize(480, 254),
                   .prompt = QStringLiteral("Immettere il numero di partita IVA e premere il "
                                            "pulsante di controllo."),
                   .boxName = QStringLiteral("txtPartitaIva"),
                   .maxLength = 11,
                   .digitsOnly = true},
                  parent),
      txtPartitaIva(codeBox()) {}

void TfrmPartitaIva::open(QWidget *owner, const QString &number) {
    TfrmPartitaIva dialog(owner);
    dialog.runWith(number);
}

void TfrmPartitaIva::btnControllaClick() {
    const validators::VatCheck check = validators::checkVatNumber(txtPartitaIva->text());
    switch (check.verdict) {
    case validators::Verdict::WrongLength:
        retry(QStringLiteral(
            "Attenzione: la partita IVA deve essere composta da 11 caratteri numerici."));
        return;
    case validators::Verdict::Valid: {
        QString text = QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.\r\n\r\n");
        if (!check.officeName.isEmpty())
            text += QStringLiteral("E' stato rilasciato dall'Ufficio IVA del Comune di ") +
                    check.officeName + u'.';
        else
            text += QStringLiteral("Il codice d'ufficio %1 non corrisponde ad alcun Ufficio IVA "
                                   "provinciale conosciuto.")
                        .arg(txtPartitaIva->text().mid(7, 3));
        conclude(Desktop::Kind::Information, text);
        return;
    }
    default:
        conclude(Desktop::Kind::Warning,
                 QStringLiteral("Attenzione: il numero di partita IVA digitato risulta ERRATO!"
                                "\r\n\r\nNon è quindi possibile fornire informazioni relative "
                                "all'Ufficio IVA che lo ha rilasciato."));
        return;
    }
}
