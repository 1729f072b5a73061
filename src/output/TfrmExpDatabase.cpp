#include "TfrmExpDatabase.h"

#include "ExportGuide.h"

TfrmExpDatabase::TfrmExpDatabase(QWidget *parent)
    : ExportWindow(QStringLiteral("frmExpDatabase"),
                   QStringLiteral(" Esporta database in Microsoft Excel"),
                   spreadsheet::databaseSheet, &databaseExportGuide, parent) {}

void TfrmExpDatabase::open(QWidget *owner) {
    TfrmExpDatabase dialog(owner);
    dialog.run();
}
