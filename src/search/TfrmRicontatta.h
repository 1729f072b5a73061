// The recontact list: the clients whose flag "Da ricontattare" is set, each
// as a line ending with its pending questions, without any search. The client
// workspace opens it from its list button; the client the user double-clicks
// is shown there.
#pragma once

#include "ListWindow.h"
#include "storage/ClientRecord.h"

class TfrmRicontatta : public ListWindow {
    Q_OBJECT
  public:
    explicit TfrmRicontatta(QWidget *parent = nullptr);

    // Creates the list over `owner`, runs it modally and destroys it when it
    // closes; the client the user double-clicks goes to `load` with its
    // record position.
    static void open(QWidget *owner, LoadRecord<ClientRecord> load);

    // Fills the list from the archive at every showing.
    void FormShow() override;

  protected:
    QString summaryTitle() const override { return QStringLiteral("Riepilogo Clienti da ricontattare"); }
};
