#include "Buttons.h"

#include "Pictures.h"
#include "Theme.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace {

// Enter (Return or the keypad's Enter) presses the focused `button`, once per
// key press; true when the key was Enter.
bool pressOnEnter(QAbstractButton *button, QKeyEvent *event) {
    const int key = event->key();
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) ||
        (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    event->accept();
    if (!event->isAutoRepeat())
        button->click();
    return true;
}
} // namespace

PictureButton::PictureButton(const QString &objectName, const QString &iconName, int size,
                             QWidget *parent)
    : QToolButton(parent) {
    setObjectName(objectName);
    setIcon(::icon(iconName));
    setIconSize(QSize(size, size));
    setAutoRaise(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setStyleSheet(theme::pictureButton());
}

void PictureButton::keyPressEvent(QKeyEvent *event) {
    if (!pressOnEnter(this, event))
        QToolButton::keyPressEvent(event);
}

CommandButton::CommandButton(const QString &objectName, const QString &caption, QWidget *parent,
                             const QString &iconName)
    : QPushButton(caption, parent) {
    setObjectName(objectName);
    setCursor(Qt::PointingHandCursor);
    setStyleSheet(theme::commandButton());
    if (!iconName.isEmpty()) {
        setIcon(::icon(iconName));
        setIconSize(QSize(20, 20));
    }
}

void CommandButton::keyPressEvent(QKeyEvent *event) {
    if (!pressOnEnter(this, event))
        QPushButton::keyPressEvent(event);
}

PictureLabel::PictureLabel(const QString &objectName, QWidget *parent) : QLabel(parent) {
    setObjectName(objectName);
    setCursor(Qt::PointingHandCursor);
}

void PictureLabel::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        emit pressed();
    QLabel::mousePressEvent(event);
}

void PictureLabel::mouseReleaseEvent(QMouseEvent *event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    emit released();
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

LinkLabel::LinkLabel(const QString &objectName, const QString &text, QWidget *parent)
    : PictureLabel(objectName, parent) {
    setText(text);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    setColor(followedColor());
    connect(this, &PictureLabel::pressed, this, [this] { setColor(pressedColor()); });
    connect(this, &PictureLabel::released, this, [this] { setColor(followedColor()); });
}

void LinkLabel::tie(PictureLabel *picture) {
    connect(picture, &PictureLabel::pressed, this, [this] { setColor(pressedColor()); });
    connect(picture, &PictureLabel::released, this, [this] { setColor(followedColor()); });
}

QColor LinkLabel::color() const {
    return palette().color(QPalette::WindowText);
}

void LinkLabel::setColor(const QColor &c) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, c);
    setPalette(p);
}
