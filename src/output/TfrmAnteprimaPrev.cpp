#include "TfrmAnteprimaPrev.h"

TfrmAnteprimaPrev::TfrmAnteprimaPrev(const CardSheet &sheet, QWidget *owner)
    : CardPrintWindow({.objectName = QStringLiteral("frmAnteprimaPrev"),
                       .caption = QStringLiteral(" Anteprima di stampa"),
                       .clientSize = QSize(364, 361),
                       .withPhoto = QStringLiteral("Anteprima dati con foto."),
                       .withoutPhoto = QStringLiteral("Anteprima dati senza foto."),
                       .action = QStringLiteral("Mostra anteprima"),
                       .icon = QStringLiteral("anteprima"),
                       .output = Output::Preview},
                      sheet, owner) {}

void TfrmAnteprimaPrev::open(QWidget *owner, const CardSheet &sheet) {
    TfrmAnteprimaPrev window(sheet, owner);
    window.run();
}
