// The window shared by the two spreadsheet export windows: the archive in a
// grid, the Excel icon that writes the grid to the spreadsheet file of the
// application folder and offers to open it, the guide and the exit. Each
// window of this kind is created for one use, runs modally and is destroyed
// when it closes.
#pragma once

#include "kit/Guide.h"
#include "output/SpreadsheetExport.h"

#include <QDialog>
#include <QTableView>

class ExportGridModel;
class PictureButton;
class QLabel;

// The grid: a table view that can hand over the cell being typed in before
// the grid is written.
class ExportGrid : public QTableView {
    Q_OBJECT
  public:
    using QTableView::QTableView;
    // Keeps the text of a cell still being edited, and closes its editor.
    void commitEditing();
};

class ExportWindow : public QDialog {
    Q_OBJECT
  public:
    ExportGrid *grdRecords;
    PictureButton *cmdEsporta;
    PictureButton *cmdGuida;
    PictureButton *cmdEsci;
    QLabel *panInfo;
    QLabel *imgLogo;
    QLabel *icoHand;

    ExportGridModel *model() const { return m_model; }
    // The spreadsheet file written, in the application folder.
    QString targetPath() const;

    // Fills the grid from the archive at every showing.
    void FormShow();
    void cmdEsportaClick();
    void cmdGuidaClick();
    void cmdEsciClick();

  protected:
    ExportWindow(const QString &objectName, const QString &caption, const spreadsheet::Sheet &sheet,
                 GuideTopic (*guide)(), QWidget *parent);
    // Centres the window on the screen and runs it modally; returns when it
    // has closed.
    void run();

    void showEvent(QShowEvent *event) override;
    void done(int result) override;

  private:
    const spreadsheet::Sheet &m_sheet;
    GuideTopic (*m_guide)();
    ExportGridModel *m_model;
};
