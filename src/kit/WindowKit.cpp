#include "WindowKit.h"

#include "storage/TextRules.h"

#include <QLineEdit>
#include <algorithm>

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QSvgRenderer>
#include <QWindow>

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

// The frame the kit draws around a fixed window: the title bar with the
// window's caption (dragged to move the window) and a thin edge on the other
// three sides, in the window's margins, where no content reaches.
constexpr int kCaptionHeight = 28;
constexpr int kEdgeWidth = 1;

class CaptionBar : public QLabel {
  public:
    explicit CaptionBar(QWidget *window) : QLabel(window->windowTitle(), window) {
        setObjectName(QStringLiteral("windowCaption"));
        setTextFormat(Qt::PlainText);
        setStyleSheet(
            QStringLiteral("QLabel { color: white; font-weight: bold; padding: 0 10px; margin: 0;"
                           " border: none; border-bottom: 1px solid #163a6a;"
                           " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #3a7bc4,"
                           " stop:1 #1f4e8c); }"));
    }

  protected:
    void mousePressEvent(QMouseEvent *event) override {
        if (event->button() != Qt::LeftButton)
            return;
        // The window manager moves the window when it can; elsewhere the
        // bar follows the mouse itself.
        if (QWindow *handle = window()->windowHandle(); handle && handle->startSystemMove())
            return;
        m_grab = event->globalPosition().toPoint() - window()->pos();
        m_dragging = true;
    }
    void mouseMoveEvent(QMouseEvent *event) override {
        if (m_dragging)
            window()->move(event->globalPosition().toPoint() - m_grab);
    }
    void mouseReleaseEvent(QMouseEvent *) override { m_dragging = false; }

  private:
    QPoint m_grab;
    bool m_dragging = false;
};

class FixedWindowFrame : public QObject {
  public:
    explicit FixedWindowFrame(QWidget *window)
        : QObject(window), m_window(window), m_caption(new CaptionBar(window)) {
        for (QFrame *&edge : m_edges) {
            edge = new QFrame(window);
            edge->setObjectName(QStringLiteral("windowEdge"));
            edge->setStyleSheet(QStringLiteral("QFrame { background: #1f4e8c; border: none; }"));
            edge->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
        window->installEventFilter(this);
        place();
    }

  protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::WindowTitleChange)
            m_caption->setText(m_window->windowTitle());
        else if (event->type() == QEvent::Resize)
            place();
        return false;
    }

  private:
    void place() {
        const int w = m_window->width();
        const int h = m_window->height();
        m_caption->setGeometry(0, 0, w, kCaptionHeight);
        m_edges[0]->setGeometry(0, kCaptionHeight, kEdgeWidth, h - kCaptionHeight);
        m_edges[1]->setGeometry(w - kEdgeWidth, kCaptionHeight, kEdgeWidth, h - kCaptionHeight);
        m_edges[2]->setGeometry(0, h - kEdgeWidth, w, kEdgeWidth);
    }
    QWidget *m_window;
    CaptionBar *m_caption;
    QFrame *m_edges[3] = {};
};

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

StatusHints::StatusHints(QLabel *panInfo) : QObject(panInfo), m_panel(panInfo) {}

void StatusHints::describe(QWidget *control, const QString &text) {
    m_texts.insert(control, text);
    control->installEventFilter(this);
    control->setAttribute(Qt::WA_Hover);
}

void StatusHints::describe(std::initializer_list<std::pair<QWidget *, QString>> items) {
    for (const auto &[control, text] : items)
        describe(control, text);
}

void StatusHints::background(const QList<QWidget *> &widgets) {
    for (QWidget *w : widgets) {
        m_backgrounds.insert(w);
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
}

bool StatusHints::eventFilter(QObject *watched, QEvent *event) {
    const auto it = m_texts.constFind(watched);
    const auto *widget = static_cast<QWidget *>(watched);
    if (event->type() == QEvent::Enter || (event->type() == QEvent::EnabledChange &&
                                           it != m_texts.constEnd() && widget->underMouse())) {
        if (it != m_texts.constEnd())
            m_panel->setText(widget->isEnabled() ? *it : QString());
        else if (m_backgrounds.contains(watched))
            m_panel->clear();
    } else if (event->type() == QEvent::MouseMove && m_backgrounds.contains(watched)) {
        // Moves over a control reach its panel too: only the panel itself counts.
        if (!widget->childAt(static_cast<QMouseEvent *>(event)->position().toPoint()))
            m_panel->clear();
    }
    return false;
}

QFrame *addFocusFrame(QWidget *box, const QString &objectName) {
    auto *frame = new QFrame(box->parentWidget());
    frame->setObjectName(objectName);
    frame->setStyleSheet(QStringLiteral("QFrame { background: #ffd700; border: 1px solid #e0a800;"
                                        " border-radius: 3px; }"));
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

QLabel *headingPicture(const QString &objectName, QSize size, QWidget *parent) {
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setPixmap(
        QPixmap::fromImage(renderPicture(QStringLiteral(":/pictures/logo.svg"), size)));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

void makeFixedWindow(QWidget *window, QSize clientSize) {
    // Window managers keep their own title-bar buttons whatever a window asks
    // (some keep the close button always): only a window without a frame has
    // none everywhere, so the kit draws the bar itself.
    const Qt::WindowType type = qobject_cast<QDialog *>(window) ? Qt::Dialog : Qt::Window;
    window->setWindowFlags(type | Qt::FramelessWindowHint);
    window->setContentsMargins(kEdgeWidth, kCaptionHeight, kEdgeWidth, kEdgeWidth);
    window->setFixedSize(clientSize + QSize(2 * kEdgeWidth, kCaptionHeight + kEdgeWidth));
    if (!window->findChild<QLabel *>(QStringLiteral("windowCaption"), Qt::FindDirectChildrenOnly))
        new FixedWindowFrame(window);
}

void centerOnScreen(QWidget *window) {
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
}

QImage renderPicture(const QString &resource, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QSvgRenderer renderer(resource);
    if (renderer.isValid()) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    return image;
}

QImage builtInStartPicture() {
    return renderPicture(QStringLiteral(":/pictures/avvio.svg"), QSize(912, 409));
}

QImage defaultPhoto() {
    return renderPicture(QStringLiteral(":/pictures/foto.svg"), QSize(230, 307));
}

QIcon icon(const QString &name) {
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(name));
}

void applyProcessFormats() {
    // Italian conventions: decimal comma; dates are written with kShortDateFormat.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

QString formatDate(const QDate &date) {
    return date.toString(kShortDateFormat);
}
