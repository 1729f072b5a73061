// The buttons and clickable labels every window is made of: picture buttons,
// command buttons, pictures that act as buttons and link labels.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QToolButton>

class QKeyEvent;
class QMouseEvent;

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
