// The result page shared by the two search windows and the two list windows:
// the sorted lines of the records found, the in-list find ("Trova") and the
// double-click that loads the chosen record into the workspace that opened
// the window. Each window of this kind is created for one use, runs modally
// and is destroyed when it closes.
//
// Every line carries its record's position, and the double-click loads the
// record at that position: of two records with equal lines the one the user
// chose opens, never simply the last one stored.
#pragma once

#include "Search.h"
#include "kit/HandOver.h"
#include "kit/Shell.h"
#include "report/Templates.h"
#include "storage/RecordFile.h"

#include <QDialog>
#include <functional>

class HitListModel;
class LineDelegate;
class QBoxLayout;
class QGridLayout;
class QFrame;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

// The font of the list lines: Courier New 11 points, or its metric twin.
QFont listLineFont();
// The pale text of the windows' instructions.
QLabel *instructionLabel(const QString &objectName, const QString &text, QWidget *parent);
// Lays out the instructions `lines` in `band`, beside a picture named
// `pictureName`, on the rows of the returned grid's columns 1 and 2.
QGridLayout *instructionBand(QFrame *band, const QString &pictureName,
                             const QList<QLabel *> &lines);
// A command button of these windows: Enter presses it when it has the focus,
// and it is never pressed by Enter elsewhere in the window.
QPushButton *windowButton(const QString &objectName, const QString &caption, const QString &icon,
                          QWidget *parent);

// The record at `position` (1-based) of the archive of R in the application
// folder, opened for reading and closed again; raises StorageError when it
// cannot be read.
template <class R> R recordAt(qint64 position) {
    TypedRecordFile<R> archive;
    archive.openForReading(shell().appFolder());
    archive.seek(position - 1);
    R record;
    archive.read(record);
    archive.close();
    return record;
}

// The wait cursor, while a pass over an archive runs.
struct WaitCursor {
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

class ListWindow : public QDialog {
    Q_OBJECT
  public:
    QFrame *panContainer;
    QLabel *lblRigo01;
    QLabel *lblRigo02;
    QLineEdit *txtTrova;
    QPushButton *btnTrova;
    QListView *lstRecords;
    QLabel *lblRigo03;
    QPushButton *btnChiudi;
    QPushButton *btnStampa;

    // The lines shown, in list order, each with its record position.
    const search::HitList &hits() const;
    // The row selected in the list, or -1.
    int selectedRow() const;

    virtual void FormShow();
    // Empties the list (and, in a search window, hides the wait label).
    virtual void FormClose();

    void btnTrovaClick();
    void lstRecordsDblClick();
    void btnChiudiClick();
    // Prints the list's lines as a summary: the title bar, the lines as
    // shown, the footer with the date.
    void btnStampaClick();

    // The list summary, this window's own copy.
    report::Template frxReport = report::summaryTemplate();

  protected:
    ListWindow(const QString &objectName, const QString &caption, QWidget *parent);
    // The title of this window's list summary.
    virtual QString summaryTitle() const = 0;

    // What a double-click does with the chosen line's record position: reads
    // that record and hands it to the workspace. May raise StorageError.
    void setLoader(std::function<void(qint64 position)> loader);

    // A double-click reads the chosen record from the archive of R and hands
    // it to `load` with its position.
    template <class R> void loadInto(LoadRecord<R> load) {
        setLoader([load = std::move(load)](qint64 position) {
            if (load)
                load(recordAt<R>(position), position);
        });
    }
    // Centres the window on the screen and runs it modally; returns when it
    // has closed.
    void run();

    // Shows `hits` (in list order) as the list's lines; the list scrolls
    // sideways over the whole of its longest line.
    void showHits(search::HitList hits);
    // Shows the lines `scan` finds in a pass over an archive. A failure ends
    // the pass without a message: the list shows the lines found before it.
    void showFound(const std::function<void(search::HitList &)> &scan);
    // Forgets the last find text and empties the find box.
    void resetFind();

    // The row under the list, for the hint and (in a search window) the count.
    QBoxLayout *hintRow() const { return m_hintRow; }
    // The row of the result page's buttons, "Stampa" and "Chiudi" at its right.
    QBoxLayout *buttonRow() const { return m_buttonRow; }

    void showEvent(QShowEvent *event) override;
    // Every way of closing runs FormClose.
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    HitListModel *m_model;
    LineDelegate *m_delegate;
    search::ListFind m_find;
    std::function<void(qint64)> m_loader;
    QBoxLayout *m_hintRow;
    QBoxLayout *m_buttonRow;
};
