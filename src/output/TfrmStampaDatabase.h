// The card print window: prints the card the database workspace shows, with
// its photo or without it.
#pragma once

#include "output/CardPrintWindow.h"

class TfrmStampaDatabase : public CardPrintWindow {
    Q_OBJECT
  public:
    TfrmStampaDatabase(const CardSheet &sheet, QWidget *owner = nullptr);

    // Opens the window over `owner` for `sheet`, runs it modally and
    // destroys it when it has closed.
    static void open(QWidget *owner, const CardSheet &sheet);
    using QDialog::open;
};
