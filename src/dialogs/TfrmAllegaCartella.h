// The attachments window: up to three files attached to the card shown in the
// database workspace or the client workspace, each with a description. Chosen
// files are copied into the shared folder Documenti_Allegati; a card refers to
// them by their bare names.
#pragma once

#include "storage/Attachments.h"

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class PictureLabel;

class TfrmAllegaCartella : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmAllegaCartella(QWidget *parent = nullptr);

    // The archive whose card the attachments belong to.
    enum class Archive { Database, Clients };

    // Opens the window on the attachments of a card of `archive`, runs it
    // modally and returns the attachments as "Applica e chiudi" leaves them
    // (names and descriptions trimmed), or nothing when it is cancelled.
    static std::optional<Attachments> edit(QWidget *owner, Archive archive,
                                           const Attachments &current);

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
    QLineEdit *descriptionBox(int slot) const;
    void showAttachments(const Attachments &attachments);
    Attachments shownAttachments() const;
};
