#include "TfrmPartitaIva.h"

#include "kit/WindowKit.h"
#include "validators/VatNumber.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

TfrmPartitaIva::TfrmPartitaIva(QWidget *parent)
    : CheckWindow({.objectName = QStringLiteral("frmPartitaIva"),
                   .caption = QStringLiteral(" Controllo partita IVA"),
                   .clientSize = QSize(480, 254),
                   .prompt = QStringLiteral("Immettere il numero di partita IVA e premere il "
                                            "pulsante di controllo."),
                   .boxName = QStringLiteral("txtPartitaIva"),
                   .maxLength = 11},
                  parent),
      txtPartitaIva(codeBox()) {
    // Only keys reach the box: no pasting from a menu, a drop or the mouse.
    txtPartitaIva->setContextMenuPolicy(Qt::NoContextMenu);
    txtPartitaIva->setAcceptDrops(false);
    txtPartitaIva->installEventFilter(this);
}

void TfrmPartitaIva::open(QWidget *owner, const QString &number) {
    TfrmPartitaIva dialog(owner);
    dialog.runWith(number);
}

bool TfrmPartitaIva::eventFilter(QObject *watched, QEvent *event) {
    if (watched != txtPartitaIva)
        return CheckWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        // Digits only; Enter moves the focus to "Controlla" (the shared window's rule).
        return digitsOnlyRefuses(static_cast<QKeyEvent *>(event));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        // The middle button would paste the selection.
        return static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton;
    default:
        return false;
    }
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
