#include "StatusHints.h"

#include "Buttons.h"
#include "Shortcuts.h"

#include <QEvent>
#include <QMouseEvent>

StatusHints::StatusHints(QLabel *panInfo) : QObject(panInfo), m_panel(panInfo) {}

void StatusHints::describe(QWidget *control, const QString &text) {
    m_texts.insert(control, text);
    // A picture says nothing by itself: its tooltip tells what it does too,
    // as does that of a command the keyboard reaches, with its keys.
    const QString keys = boundKeysOf(control);
    if ((qobject_cast<PictureButton *>(control) || qobject_cast<PictureLabel *>(control) ||
         !keys.isEmpty()) &&
        control->toolTip().isEmpty())
        control->setToolTip(tooltipWithKeys(text, keys));
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
