// The client search: finds clients of the client registry by parts of up to
// ten of their fields and lists them as client lines. It serves two callers:
// the client workspace's find button ("clienti": the client double-clicked is
// shown in the client workspace) and the database workspace's import button
// ("database": the client's contact data go into the card's contact block).
#pragma once

#include "SearchWindow.h"
#include "storage/ClientRecord.h"

class TfrmTrovaClienti : public SearchWindow {
    Q_OBJECT
  public:
    explicit TfrmTrovaClienti(QWidget *parent = nullptr);

    // Caller mode "clienti": creates the client search over `owner`, runs it
    // modally and destroys it when it closes; the client the user
    // double-clicks goes to `load` with its record position.
    static void open(QWidget *owner, LoadRecord<ClientRecord> load);
    // Caller mode "database": as open(), but the client double-clicked hands
    // only its contact data, to `pick`.
    static void pick(QWidget *owner, std::function<void(const ContactBlock &)> pick);

    QLineEdit *txtCliente;
    QLineEdit *txtComuneRes;
    QLineEdit *txtPartitaIva;
    QLineEdit *txtCodFisc;
    QLineEdit *txtDocumento;
    QLineEdit *txtOccupazione;
    QLineEdit *txtProdotti;
    QLineEdit *txtZona;
    QLineEdit *txtQuestioni;
    QLineEdit *txtNote;

  protected:
    QString summaryTitle() const override { return QStringLiteral("Riepilogo Clienti"); }
    void find(const QList<search::Filter> &filters, search::HitList &found) override;

  private:
    LoadRecord<ClientRecord> m_load;
    std::function<void(const ContactBlock &)> m_pick;
};
