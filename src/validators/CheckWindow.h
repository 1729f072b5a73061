// The shape shared by the code check windows: a heading picture, a one-line
// prompt, one big box for the code with its yellow focus frame, "Controlla"
// beside the box and "Chiudi" below it. The window opens with the focus in the
// box; Enter in the box moves the focus to "Controlla" without checking.
#pragma once

#include "kit/Desktop.h"

#include <QDialog>
#include <QSize>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

class CheckWindow : public QDialog {
    Q_OBJECT
  public:
    QLabel *imgLogo;
    QLabel *lblTitolo;
    QPushButton *btnControlla;
    QPushButton *btnChiudi;

    // Checks the box's text and shows the outcome.
    virtual void btnControllaClick() = 0;
    void btnChiudiClick();

  protected:
    struct Shape {
        QString objectName; // "frmCodFisc"
        QString caption;    // the window title
        QSize clientSize;
        QString prompt;    // the text of lblTitolo
        QString boxName;   // "txtCodFisc"; its focus frame is named "effCodFisc"
        int maxLength = 0; // characters the user can type in the box
        // Only digits can be typed: any other key that makes a character, or
        // none, is swallowed (Enter, Tab and the editing keys pass), and
        // nothing is pasted.
        bool digitsOnly = false;
        // After each change typed the box shows its text trimmed, with a-z in
        // capitals; with tidyOnKeyRelease also after each key released.
        bool tidyWhileTyping = false;
        bool tidyOnKeyRelease = false;
    };
    CheckWindow(const Shape &shape, QWidget *parent);

    QLineEdit *codeBox() const { return m_box; }

    // Puts `code`, trimmed, in the box, centres the window on the screen and
    // runs it modally; returns when it has closed. A code longer than the box
    // takes stays whole, so that the check sees it as the caller has it.
    void runWith(const QString &code);

    // An outcome that ends the check: the message, then the window closes.
    void conclude(Desktop::Kind kind, const QString &text);
    // A text that cannot be checked: a warning, then the focus goes back into
    // the box and the window stays open.
    void retry(const QString &warning);

    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void tidy();
    // The longest code the box takes shows whole: its large font shrinks,
    // down to the window's own size, until that many digits fit.
    void fitBoxFont();

    QLineEdit *m_box;
    int m_maxLength;
    bool m_digitsOnly;
    bool m_tidyOnKeyRelease;
};
