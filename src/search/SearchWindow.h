// The two search windows: a filter page in front of the result page. The
// filter page holds ten boxes, each compared with one field of the archive's
// records; "Cerca" lists the records in which every filled box occurs in its
// field (every record when no box is filled) and turns, once, to the result
// page. A new search is made by opening the window again.
#pragma once

#include "ListWindow.h"

#include <span>

class SearchWindow : public ListWindow {
    Q_OBJECT
  public:
    // A filter box: its name, the name and text of the title above it, and
    // whether it takes a whole row.
    struct Box {
        const char *name;
        const char *title;
        const char *caption;
        bool wide = false;
    };

    QFrame *panAvvio;
    QLabel *lblRigo04;
    QLabel *lblRigo05;
    QLabel *lblRigo06;
    QPushButton *btnAnnulla;
    QPushButton *btnCerca;
    QPushButton *btnModifica; // on the result page: back to the filters as typed
    QLabel *lblAttendere;
    QLabel *lblTrovate;
    QLabel *lblConta;  // hidden: how many boxes the last search had filled
    QLabel *lblMemory; // hidden: the caller mode, "database" or "clienti"

    void FormShow() override;
    void FormClose() override;
    // The wait label shows as soon as the mouse button goes down on "Cerca".
    void btnCercaMouseDown();
    void btnCercaClick();
    void btnAnnullaClick();
    void btnModificaClick();

  protected:
    // `fields`: the record field each box is compared with, box by box.
    SearchWindow(const QString &objectName, const QString &caption, std::span<const Box> boxes,
                 std::span<const int> fields, QWidget *parent);

    // The boxes and their titles, in the order given (the Enter order).
    const QList<QLineEdit *> &filterBoxes() const { return m_boxes; }
    const QList<QLabel *> &filterTitles() const { return m_titles; }

    // Appends to `found` the records of the archive that pass `filters`, in
    // list order; raises StorageError.
    virtual void find(const QList<search::Filter> &filters, search::HitList &found) = 0;

  private:
    QList<QLineEdit *> m_boxes;
    QList<QLabel *> m_titles;
    QList<int> m_fields;
};
