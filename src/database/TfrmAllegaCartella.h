// The attachments window: up to three files attached to the card shown in the
// database workspace or the client workspace, each with a description. Chosen
// files are copied into the shared folder Documenti_Allegati; a card refers to
// them by their bare names.
#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QLineEdit;
class QPushButton;
class PictureLabel;

class TfrmAllegaCartella : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmAllegaCartella(QWidget *parent = nullptr);

    // Opens the window for the card of the database workspace (memory
    // "database") or of the client workspace ("clienti"): the boxes start from
    // that workspace's hidden labels lblFile01..lblFile03 and lblDesc01..
    // lblDesc03, and "Applica e chiudi" writes them back there. Runs modally
    // and returns when the window has closed.
    static void open(QWidget *owner, const QString &memory);
    // The same, with the window whose six hidden labels are read and written
    // given explicitly.
    static void open(QWidget *owner, const QString &memory, QWidget *caller);
    using QDialog::open;

    // The folder that holds every attached file, under the application folder.
    static QString attachmentsFolder();
    // True for a name that may be joined to the attachments folder: not empty,
    // no folder separator, not "." or "..".
    static bool isBareName(const QString &name);

    QLabel *lblMemory;
    QLineEdit *txtFile01;
    QLineEdit *txtFile02;
    QLineEdit *txtFile03;
    PictureLabel *imgCancella01;
    PictureLabel *imgCancella02;
    PictureLabel *imgCancella03;
    QPushButton *btnSfoglia01;
    QPushButton *btnSfoglia02;
    QPushButton *btnSfoglia03;
    QPushButton *btnApri01;
    QPushButton *btnApri02;
    QPushButton *btnApri03;
    QLineEdit *txtDesc01;
    QLineEdit *txtDesc02;
    QLineEdit *txtDesc03;
    QPushButton *btnAnnulla;
    QPushButton *btnApplica;

    // Slot handlers; `slot` is 1, 2 or 3.
    void btnSfogliaClick(int slot);
    void btnApriClick(int slot);
    void imgCancellaClick(int slot);
    void txtFileChange(int slot);
    void btnApplicaClick();
    void btnAnnullaClick();

  private:
    QLineEdit *fileBox(int slot) const;
    // The window whose hidden labels the boxes came from and go back to.
    QPointer<QWidget> m_caller;
};
