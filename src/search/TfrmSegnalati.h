// The flagged-records list: the database cards whose flag "Segnala" is set,
// as card lines, without any search. The database workspace opens it from its
// list button; the card the user double-clicks is shown there.
#pragma once

#include "ListWindow.h"
#include "storage/DatabaseRecord.h"

class TfrmSegnalati : public ListWindow {
    Q_OBJECT
  public:
    explicit TfrmSegnalati(QWidget *parent = nullptr);

    // Creates the list over `owner`, runs it modally and destroys it when it
    // closes; the card the user double-clicks goes to `load` with its record
    // position.
    static void open(QWidget *owner, LoadRecord<DatabaseRecord> load);

    // Fills the list from the archive at every showing.
    void FormShow() override;

  protected:
    QString summaryTitle() const override { return QStringLiteral("Riepilogo record segnalati"); }
};
