// The import window, for either archive and for a CSV, a spreadsheet export
// or (for the clients) a vCard: the column → field mapping in combo boxes, the first rows as they will be stored, what will be cut, and
// "Importa", which appends the rows after a confirmation with a progress
// window that can be cancelled. Every message and the file chooser go
// through the Desktop.
#pragma once

#include "import/ImportPlan.h"

#include <QDialog>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QTableWidget;
class CommandButton;

class TfrmImporta : public QDialog {
    Q_OBJECT
  public:
    TfrmImporta(QWidget *parent, const AppFolder &folder, const spreadsheet::Sheet &sheet,
                const QString &file);

    // Widgets the tests drive.
    QLabel *lblFile;
    QCheckBox *chkIntestazione;
    QTableWidget *grdColonne;
    QTableWidget *grdAnteprima;
    QLabel *lblConteggio;
    CommandButton *cmdImporta;
    CommandButton *cmdAnnulla;
    CommandButton *cmdGuida;
    std::vector<QComboBox *> cboCampo; // one per column of the file

    // Rows appended by the last successful import.
    qint64 imported() const { return m_imported; }
    // True when the user gave the import up while the file was being counted.
    bool abandoned() const { return m_abandoned; }

  private:
    void refresh();
    void refreshOrWarn();
    void cmdImportaClick();

    AppFolder m_folder;
    QString m_file;
    import::Plan m_plan;
    import::Counts m_counts;
    qint64 m_imported = 0;
    bool m_abandoned = false;
};

namespace import {
// Asks for a CSV file or spreadsheet export and runs the import window on it.
// Returns the number of cards appended (0 when nothing was).
qint64 importFromWindow(QWidget *parent, const AppFolder &folder, const spreadsheet::Sheet &sheet);
// Runs the import window on `file`; with `vCardOnly`, a file that is no
// vCard gets a warning instead. Returns the number of cards appended.
qint64 importFile(QWidget *parent, const AppFolder &folder, const spreadsheet::Sheet &sheet,
                  const QString &file, bool vCardOnly);
} // namespace import
