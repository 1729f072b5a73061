#include "TfrmExpClienti.h"

#include "ExportGuide.h"

TfrmExpClienti::TfrmExpClienti(QWidget *parent)
    : ExportWindow(QStringLiteral("frmExpClienti"),
                   QStringLiteral(" Esporta archivio Clienti in Microsoft Excel"),
                   spreadsheet::clientSheet, &clientsExportGuide, parent) {}

void TfrmExpClienti::open(QWidget *owner) {
    TfrmExpClienti dialog(owner);
    dialog.run();
}
