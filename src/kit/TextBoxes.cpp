#include "TextBoxes.h"

#include "Theme.h"
#include "storage/TextRules.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

namespace {

class FocusFrameFilter : public QObject {
  public:
    FocusFrameFilter(QWidget *box, QFrame *frame) : QObject(box), m_box(box), m_frame(frame) {}

  protected:
    bool eventFilter(QObject *, QEvent *event) override {
        switch (event->type()) {
        case QEvent::FocusIn:
            place();
            m_frame->show();
            break;
        case QEvent::FocusOut:
        case QEvent::Hide:
            m_frame->hide();
            break;
        case QEvent::Move:
        case QEvent::Resize:
            place();
            break;
        default:
            break;
        }
        return false;
    }

  private:
    void place() {
        m_frame->setGeometry(m_box->geometry().adjusted(-3, -3, 3, 3));
        m_frame->stackUnder(m_box);
    }
    QWidget *m_box;
    QFrame *m_frame;
};

class EnterFilter : public QObject {
  public:
    EnterFilter(QWidget *box, std::function<void()> action)
        : QObject(box), m_action(std::move(action)) {}

  protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_action();
                return true;
            }
        }
        return false;
    }

  private:
    std::function<void()> m_action;
};

} // namespace

QFrame *addFocusFrame(QWidget *box, const QString &objectName) {
    auto *frame = new QFrame(box->parentWidget());
    frame->setObjectName(objectName);
    frame->setStyleSheet(theme::focusFrame());
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    frame->hide();
    box->installEventFilter(new FocusFrameFilter(box, frame));
    return frame;
}

void onEnter(QWidget *box, std::function<void()> action) {
    box->installEventFilter(new EnterFilter(box, std::move(action)));
}

void chainEnter(const QList<QWidget *> &boxes) {
    for (qsizetype i = 0; i + 1 < boxes.size(); ++i) {
        QWidget *next = boxes[i + 1];
        onEnter(boxes[i], [next] { next->setFocus(Qt::OtherFocusReason); });
    }
}

bool digitsOnlyRefuses(const QKeyEvent *key) {
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape: // closes the window the box is in
        return false;
    default:
        break;
    }
    const QString typed = key->text();
    const bool digit = typed.size() == 1 && typed[0] >= u'0' && typed[0] <= u'9' &&
                       !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    return !digit;
}

void tidyBox(QLineEdit *box, Tidy rule) {
    const QString old = box->text();
    QString now = text::trimmed(old);
    if (rule == Tidy::Capitals)
        now = text::toUpperAscii(now);
    if (now == old)
        return;
    // Only blanks removed at the start move the characters under the caret.
    qsizetype lead = 0;
    while (lead < old.size() && old[lead].unicode() <= 0x20)
        ++lead;
    const qsizetype caret = std::clamp<qsizetype>(box->cursorPosition() - lead, 0, now.size());
    box->setText(now);
    box->setCursorPosition(int(caret));
}

void showText(QLineEdit *box, const QString &text) {
    box->setText(text);
    box->setCursorPosition(0);
}

QLabel *hiddenLabel(const QString &objectName, QWidget *parent) {
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    label->hide();
    return label;
}
