#include "Buttons.h"

#include "Pictures.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace {

const char kCommandStyle[] =
    "QPushButton { color: white; font-weight: bold; padding: 6px 16px;"
    " border: 1px solid #163a6a; border-radius: 5px;"
    " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #5a9de0, stop:1 #1f4e8c); }"
    "QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
    " stop:0 #6cb0f0, stop:1 #2a5fa3); }"
    "QPushButton:pressed { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
    " stop:0 #1f4e8c, stop:1 #4a90d9); }"
    "QPushButton:disabled { color: #d8dde3; border-color: #8a97a6;"
    " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #a9b6c4, stop:1 #7d8b9a); }"
    "QPushButton:focus { border: 2px solid #f2c500; }";

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
    setStyleSheet(QStringLiteral("QToolButton { border: none; padding: 2px; }"
                                 "QToolButton:hover { background: rgba(74,144,217,40);"
                                 " border-radius: 6px; }"
                                 "QToolButton:disabled { background: transparent; }"));
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
    setStyleSheet(QString::fromLatin1(kCommandStyle));
    if (!iconName.isEmpty()) {
        setIcon(::icon(iconName));
        setIconSize(QSize(20, 20));
    }
}

void CommandButton::keyPressEvent(QKeyEvent *event) {
    if (!pressOnEnter(this, event))
        QPushButton::keyPressEvent(event);
}

QString commandButtonStyle() {
    return QString::fromLatin1(kCommandStyle);
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
