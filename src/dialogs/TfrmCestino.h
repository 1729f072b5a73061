// The bin: the cards and clients deleted from either workspace, the most
// recent first, each with the moment of its delete, its archive, its
// position and its line as the searches list it. A card goes back to its own
// position ("Rimetti in archivio"), or out of the bin for good ("Elimina per
// sempre", "Svuota il cestino"), after a question whose default is "No".
#pragma once

#include "storage/CardBin.h"

#include <QDialog>

class QLabel;
class QTableWidget;
class CommandButton;

class TfrmCestino : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmCestino(QWidget *parent = nullptr);

    // Opens the bin over `owner` and runs it modally; the number of cards
    // given back.
    static int browse(QWidget *owner);

    // Widgets the tests drive.
    QLabel *lblConteggio;
    QTableWidget *grdCestino;
    CommandButton *cmdRimetti;
    CommandButton *cmdElimina;
    CommandButton *cmdSvuota;
    CommandButton *cmdChiudi;

  private:
    void refresh();
    // The entry of the selected row, or nothing.
    const cardbin::Entry *selected() const;
    void cmdRimettiClick();
    void cmdEliminaClick();
    void cmdSvuotaClick();

    QList<cardbin::Entry> m_entries;
    int m_givenBack = 0;
};
