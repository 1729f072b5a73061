// The card preview window: shows the card the database workspace shows, with
// its photo or without it, in the report preview.
#pragma once

#include "output/CardPrintWindow.h"

class TfrmAnteprimaPrev : public CardPrintWindow {
    Q_OBJECT
  public:
    TfrmAnteprimaPrev(const CardSheet &sheet, QWidget *owner = nullptr);

    // Opens the window over `owner` for `sheet`, runs it modally and
    // destroys it when it has closed.
    static void open(QWidget *owner, const CardSheet &sheet);
    using QDialog::open;
};
