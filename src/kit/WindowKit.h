// The pieces every window is made of: picture buttons, command buttons, link
// labels, the status line fed by the control under the mouse, the yellow
// focus frames, Enter chains, window placement, pictures and formats.
#pragma once

#include <QDate>
#include <QFrame>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QToolButton>
#include <functional>

class QKeyEvent;
class QLineEdit;
#include <initializer_list>


// A flat button showing one of our icons, with a hand cursor. Enter presses
// it when it has the focus, as Space does.
class PictureButton : public QToolButton {
    Q_OBJECT
  public:
    PictureButton(const QString &objectName, const QString &icon, int size, QWidget *parent);

  protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// A button with its caption in white on a blue gradient, with a hand cursor.
// Enter presses it when it has the focus, in every window, as Space does.
class CommandButton : public QPushButton {
    Q_OBJECT
  public:
    CommandButton(const QString &objectName, const QString &caption, QWidget *parent,
                  const QString &icon = {});

  protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// The style sheet of a command button, for push buttons the kit does not
// create (those of the message boxes).
QString commandButtonStyle();

// A picture that acts as a button (hand cursor, clicked on release).
class PictureLabel : public QLabel {
    Q_OBJECT
  public:
    PictureLabel(const QString &objectName, QWidget *parent);
  signals:
    void pressed();
    void released(); // the left button let go, wherever the mouse is
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// An underlined link text: orange while the mouse button is pressed on it
// (or on a picture tied to it), dark blue when released and followed.
class LinkLabel : public PictureLabel {
    Q_OBJECT
  public:
    LinkLabel(const QString &objectName, const QString &text, QWidget *parent);
    // A picture that behaves as part of the link.
    void tie(PictureLabel *picture);
    static QColor pressedColor() { return QColor(255, 165, 0); }
    static QColor followedColor() { return QColor(0, 0, 139); }
    QColor color() const;

  private:
    void setColor(const QColor &c);
};

// The status line `panInfo`: shows the description of the control under the
// mouse and empties over the window's background. A control that is disabled
// promises nothing: over it the status line is empty.
class StatusHints : public QObject {
    Q_OBJECT
  public:
    explicit StatusHints(QLabel *panInfo);
    void describe(QWidget *control, const QString &text);
    void describe(std::initializer_list<std::pair<QWidget *, QString>> items);
    // The mouse over these empties the status line: when it enters them and
    // when it moves over them (not over a control they hold), so coming back
    // from a control to its panel empties it too.
    void background(const QList<QWidget *> &widgets);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    QLabel *m_panel;
    QHash<QObject *, QString> m_texts;
    QSet<QObject *> m_backgrounds;
};

// The yellow frame `eff…` behind a text box: visible while the box has the focus.
QFrame *addFocusFrame(QWidget *box, const QString &objectName);

// Runs `action` when Enter (Return or the keypad's Enter) is pressed in `box`;
// the key goes no further.
void onEnter(QWidget *box, std::function<void()> action);
// Enter in each box moves the focus to the next one.
void chainEnter(const QList<QWidget *> &boxes);

// For a box that accepts digits only: true when `key` must be swallowed.
// Enter, Tab, Backspace, Delete and the left and right arrows pass; of the
// rest only a plain digit does.
bool digitsOnlyRefuses(const QKeyEvent *key);

// Replaces the box's text by itself trimmed (and, with Tidy::Capitals, with
// a–z in capitals) when that changes it, keeping the caret on the character
// it was on.
enum class Tidy { Trim, Capitals };
void tidyBox(QLineEdit *box, Tidy rule);
// Puts `text` in the box as a loaded value: a text longer than the box shows
// from its beginning.
void showText(QLineEdit *box, const QString &text);

// A hidden label named `objectName`: a carrier of data the window keeps.
QLabel *hiddenLabel(const QString &objectName, QWidget *parent);

// The program's heading picture, named `objectName`, at `size`.
QLabel *headingPicture(const QString &objectName, QSize size, QWidget *parent);

// A fixed-size window whose content has the given size, with a title bar
// without buttons under any window manager: the window asks for no frame and
// the kit draws the bar (the window's caption, dragged to move the window) and
// a thin edge itself. A QDialog stays a dialog, anything else a window. The
// one place where a fixed window's flags are set.
void makeFixedWindow(QWidget *window, QSize clientSize);
void centerOnScreen(QWidget *window);

// Our pictures, drawn at their own sizes.
QImage builtInStartPicture(); // 912 × 409
QImage defaultPhoto();        // 230 × 307
QImage renderPicture(const QString &resource, QSize size);
QIcon icon(const QString &name);

// Dates and numbers, whatever the system's regional settings.
inline const QString kShortDateFormat = QStringLiteral("dd/MM/yyyy");
void applyProcessFormats();
QString formatDate(const QDate &date);
