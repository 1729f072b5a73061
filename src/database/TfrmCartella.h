// The card folder window: opens the folder Scheda_<position> that belongs to a
// stored database card, creating it on first use.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class TfrmCartella : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmCartella(QWidget *parent = nullptr);

    // Opens the window for the card at record `position` (the workspace's
    // lblPosizione). A card not yet stored (empty position) has no folder: a
    // warning is shown instead. Runs modally and returns when it has closed.
    static void open(QWidget *owner, const QString &position);
    using QDialog::open;

    // The folder of the card at `position`, under the application folder.
    static QString cardFolder(const QString &position);

    QLabel *imgTitolo;
    QLabel *imgIstruzioni1;
    QLabel *imgIstruzioni2;
    QLabel *imgCartella;
    QPushButton *btnApriCartella;
    QPushButton *btnChiudi;
    QLabel *lblMemory;

    void btnApriCartellaClick();
    void btnChiudiClick();
};
