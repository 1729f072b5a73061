// The credit card check window: tells whether a card number passes the Luhn
// checksum and, when it does, which card type its leading digits name.
#pragma once

#include "validators/CheckWindow.h"

class TfrmCarta : public CheckWindow {
    Q_OBJECT
  public:
    explicit TfrmCarta(QWidget *parent = nullptr);

    // Opens the window with `number` trimmed in its box, runs it modally and
    // returns when it has closed; nothing comes back.
    static void open(QWidget *owner, const QString &number);
    using QDialog::open;

    QLineEdit *txtNumero;

    void btnControllaClick() override;
};
