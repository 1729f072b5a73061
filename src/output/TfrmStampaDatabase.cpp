#include "TfrmStampaDatabase.h"

TfrmStampaDatabase::TfrmStampaDatabase(const CardSheet &sheet, QWidget *owner)
    : CardPrintWindow({.objectName = QStringLiteral("frmStampaDatabase"),
                       .caption = QStringLiteral(" Stampa scheda"),
                       .clientSize = QSize(364, 372),
                       .withPhoto = QStringLiteral("Stampa dati con foto."),
                       .withoutPhoto = QStringLiteral("Stampa dati senza foto."),
                       .action = QStringLiteral("Stampa"),
                       .icon = QStringLiteral("stampa"),
                       .output = Output::Print},
                      sheet, owner) {}

void TfrmStampaDatabase::open(QWidget *owner, const CardSheet &sheet) {
    TfrmStampaDatabase window(sheet, owner);
    window.run();
}
