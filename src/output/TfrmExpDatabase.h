// The export of the database archive: every card in a grid, then Database.xls.
// The database workspace opens it from its export button.
#pragma once

#include "ExportWindow.h"

class TfrmExpDatabase : public ExportWindow {
    Q_OBJECT
  public:
    explicit TfrmExpDatabase(QWidget *parent = nullptr);

    // Creates the window over `owner`, runs it modally and destroys it when
    // it closes.
    static void open(QWidget *owner);
    using QDialog::open;
};
