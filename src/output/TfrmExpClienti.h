// The export of the client registry: every client in a grid, then Clienti.xls.
// The client workspace opens it from its export button.
#pragma once

#include "ExportWindow.h"

class TfrmExpClienti : public ExportWindow {
    Q_OBJECT
  public:
    explicit TfrmExpClienti(QWidget *parent = nullptr);

    // Creates the window over `owner`, runs it modally and destroys it when
    // it closes.
    static void open(QWidget *owner);
    using QDialog::open;
};
