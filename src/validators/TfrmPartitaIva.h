// The VAT number check window: tells whether a VAT number has the right check
// digit and, when it has, which office issued it.
#pragma once

#include "validators/CheckWindow.h"

class TfrmPartitaIva : public CheckWindow {
    Q_OBJECT
  public:
    explicit TfrmPartitaIva(QWidget *parent = nullptr);

    // Opens the window with `number` trimmed in its box, runs it modally and
    // returns when it has closed; nothing comes back.
    static void open(QWidget *owner, const QString &number);
    using QDialog::open;

    QLineEdit *txtPartitaIva;

    void btnControllaClick() override;
};
