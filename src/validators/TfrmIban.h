// The IBAN check window: tells whether an Italian IBAN has the right check
// digits.
#pragma once

#include "validators/CheckWindow.h"

class TfrmIban : public CheckWindow {
    Q_OBJECT
  public:
    explicit TfrmIban(QWidget *parent = nullptr);

    // Opens the window with `number` trimmed in its box, runs it modally and
    // returns when it has closed; nothing comes back.
    static void open(QWidget *owner, const QString &number);
    using QDialog::open;

    QLineEdit *txtIban;

    void btnControllaClick() override;
};
