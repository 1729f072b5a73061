// The fiscal code check window: tells whether a fiscal code has the right
// check character.
#pragma once

#include "validators/CheckWindow.h"

class TfrmCodFisc : public CheckWindow {
    Q_OBJECT
  public:
    explicit TfrmCodFisc(QWidget *parent = nullptr);

    // Checks the fiscal code of a card: opens this window with `code` trimmed
    // in its box, or the VAT number window when the trimmed code is made of
    // digits only (a company's fiscal code is its VAT number). Runs modally
    // and returns when the window has closed; nothing comes back.
    static void open(QWidget *owner, const QString &code);
    using QDialog::open;

    QLineEdit *txtCodFisc;

    void btnControllaClick() override;
};
