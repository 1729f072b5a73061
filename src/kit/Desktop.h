// Desktop: every message box, file chooser, modal dialog run and shell-open
// goes through here. The real one wraps the toolkit; tests install a fake that
// records each call and answers from a script.
#pragma once

#include "report/Report.h"

#include <QString>
#include <QUrl>
#include <memory>

class QDialog;
class QWidget;

// The window a long run shows: a label over a bar, and "Annulla". It appears
// only when the run lasts more than half a second, is modal to the window
// that started the run, and closes when it is destroyed.
class ProgressWindow {
  public:
    virtual ~ProgressWindow() = default;
    // The text above the bar, for a run that goes through stages.
    virtual void setLabel(const QString &label) = 0;
    // Moves the bar to `done` out of `total` and lets the window answer the
    // user; false once the user has pressed "Annulla".
    virtual bool advance(qint64 done, qint64 total) = 0;
};

class Desktop {
  public:
    // Warning, error and information boxes carry OK and Cancel; confirmation
    // boxes Yes and No, Yes the default; a risky question (one whose Yes
    // destroys or replaces data) Yes and No, No the default, so Enter never
    // destroys; the question before unsaved changes are left Yes, No and
    // Cancel, Yes (save) the default and Esc Cancel; plain boxes the message
    // and OK only.
    enum class Kind { Warning, Error, Information, Confirmation, Risky, SaveChanges, Plain };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Desktop() = default;

    virtual Answer message(QWidget *parent, Kind kind, const QString &text) = 0;
    // The chosen file's path, or the empty text when the user cancels.
    virtual QString openFileName(QWidget *parent, const QString &title, const QString &filter,
                                 const QString &folder) = 0;
    // The path to save to, starting from `suggested` (a folder or a file
    // path), or the empty text when the user cancels. The chooser asks before
    // an existing file is replaced.
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &filter,
                                 const QString &suggested) = 0;
    // The chosen folder's path, or the empty text when the user cancels.
    virtual QString folderName(QWidget *parent, const QString &title, const QString &folder) = 0;
    // Runs a dialog modally and returns when it has closed.
    virtual int runModal(QDialog &dialog) = 0;
    // The shell's open action: files, folders, web addresses and mail links
    // open in the user's default programs. Failures are not reported.
    virtual void openUrl(const QUrl &url) = 0;
    // The report engine's preview window, modal; returns when it has closed.
    // Printing from it goes through print().
    virtual void preview(QWidget *parent, const report::PreparedReport &report) = 0;
    // The print dialog on the default printer, then the pages printed.
    // Returns false when the user cancelled; raises report::ReportError when
    // the pages could not be printed.
    virtual bool print(QWidget *parent, const report::PreparedReport &report) = 0;
    // The progress window of a long run started from `parent`.
    virtual std::unique_ptr<ProgressWindow> progress(QWidget *parent, const QString &title,
                                                     const QString &label) = 0;

    // The desktop in use; the real one unless a test installed another.
    static Desktop &current();
    // Installs `desktop` (not owned), or the real one again for nullptr.
    static void install(Desktop *desktop);
};

// `folder` when it is an existing folder, else the user's home folder. A file
// chooser opened on a folder that does not exist takes its last name for a
// file name and shows it in the name box.
QString existingFolderOrHome(const QString &folder);

// The real desktop: message boxes in the program's look (pale background, our
// icon for each kind, command buttons), Qt's file chooser, the shell.
class RealDesktop : public Desktop {
  public:
    Answer message(QWidget *parent, Kind kind, const QString &text) override;
    QString openFileName(QWidget *parent, const QString &title, const QString &filter,
                         const QString &folder) override;
    QString saveFileName(QWidget *parent, const QString &title, const QString &filter,
                         const QString &suggested) override;
    QString folderName(QWidget *parent, const QString &title, const QString &folder) override;
    int runModal(QDialog &dialog) override;
    void openUrl(const QUrl &url) override;
    void preview(QWidget *parent, const report::PreparedReport &report) override;
    bool print(QWidget *parent, const report::PreparedReport &report) override;
    std::unique_ptr<ProgressWindow> progress(QWidget *parent, const QString &title,
                                             const QString &label) override;
};
