#include "TfrmCodFisc.h"

#include "storage/TextRules.h"
#include "validators/FiscalCode.h"
#include "validators/TfrmPartitaIva.h"

#include <QEvent>
#include <QLineEdit>
#include <algorithm>

namespace {

bool allDigits(const QString &s) {
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

} // namespace

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
    if (!t.isEmpty() && allDigits(t)) {
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
    const QString shown = txtCodFisc->text();
    const QString wanted = text::toUpperAscii(text::trimmed(shown));
    if (wanted == shown)
        return;
    // Keep the caret on the same character: only blanks at the start shift it.
    qsizetype lead = 0;
    while (lead < shown.size() && shown.at(lead).unicode() <= 0x20)
        ++lead;
    const qsizetype caret =
        std::clamp<qsizetype>(txtCodFisc->cursorPosition() - lead, 0, wanted.size());
    txtCodFisc->setText(wanted);
    txtCodFisc->setCursorPosition(int(caret));
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
