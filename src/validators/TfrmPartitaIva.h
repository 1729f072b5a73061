// The VAT number check window: tells whether a VAT number has the right check
// digit and, when it has, which office issued it.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TfrmPartitaIva : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmPartitaIva(QWidget *parent = nullptr);

    // Opens the window with `number` trimmed in its box, runs it modally and
    // returns when it has closed; nothing comes back.
    static void open(QWidget *owner, const QString &number);
    using QDialog::open;

    QLabel *imgLogo;
    QLabel *lblTitolo;
    QLineEdit *txtPartitaIva;
    QPushButton *btnControlla;
    QPushButton *btnChiudi;

    void btnControllaClick();
    void btnChiudiClick();

  protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};
