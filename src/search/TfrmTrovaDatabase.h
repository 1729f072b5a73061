// The record search: finds database cards by parts of up to ten of their
// fields and lists them as card lines; the card the user double-clicks is
// shown in the database workspace, which opens the window from its find
// button.
#pragma once

#include "SearchWindow.h"
#include "storage/DatabaseRecord.h"

#include <array>

class TfrmTrovaDatabase : public SearchWindow {
    Q_OBJECT
  public:
    explicit TfrmTrovaDatabase(QWidget *parent = nullptr);

    // Creates the record search over `owner`, runs it modally and destroys it
    // when it closes; the card the user double-clicks goes to `load` with its
    // record position.
    static void open(QWidget *owner, LoadRecord<DatabaseRecord> load);

    // The first six user fields (txtCampo01 …) under their titles from the
    // settings file (titCampo01 …), then the contact fields.
    std::array<QLineEdit *, 6> txtCampo{};
    std::array<QLabel *, 6> titCampo{};
    QLineEdit *txtCliente;
    QLineEdit *txtComuneRes;
    QLineEdit *txtCodFisc;
    QLineEdit *txtPartitaIva;

    // Reads the six titles again at every showing.
    void FormShow() override;

  protected:
    QString summaryTitle() const override { return QStringLiteral("Riepilogo Schede"); }
    void find(const QList<search::Filter> &filters, search::HitList &found) override;
};
