#include "FixedWindow.h"

#include "Theme.h"

#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

namespace {

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
        setStyleSheet(theme::captionBar());
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
            edge->setStyleSheet(theme::windowEdge());
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

} // namespace

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
