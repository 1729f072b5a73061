#include "Shortcuts.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QShortcut>
#include <QVariant>

namespace {
const char *const kKeysProperty = "keysLabel";
const char *const kWindowKeysProperty = "boundKeys";

// A text box claims some keys for itself (Ctrl+Home moves to its start):
// the keys a window binds to its commands win over the box.
class WindowKeysFirst : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType())
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const QWidget *window = static_cast<QWidget *>(watched)->window();
        const QVariantList bound = window->property(kWindowKeysProperty).toList();
        // Consumed without being accepted: the window's shortcut runs.
        return bound.contains(QVariant::fromValue(QKeySequence(key->keyCombination())));
    }
};
} // namespace

QString keysLabel(const QKeySequence &keys) {
    static const QHash<QString, QString> italian = {
        {QStringLiteral("PgUp"), QStringLiteral("PagSu")},
        {QStringLiteral("PgDown"), QStringLiteral("PagGiù")},
        {QStringLiteral("Home"), QStringLiteral("Inizio")},
        {QStringLiteral("End"), QStringLiteral("Fine")},
        {QStringLiteral("Return"), QStringLiteral("Invio")},
        {QStringLiteral("Enter"), QStringLiteral("Invio")},
        {QStringLiteral("Del"), QStringLiteral("Canc")},
        {QStringLiteral("Ins"), QStringLiteral("Ins")},
        {QStringLiteral("Shift"), QStringLiteral("Maiusc")},
    };
    QStringList parts = keys.toString(QKeySequence::PortableText).split(u'+');
    for (QString &part : parts)
        part = italian.value(part, part);
    return parts.join(u'+');
}

QString boundKeysOf(const QWidget *control) {
    return control->property(kKeysProperty).toString();
}

QString tooltipWithKeys(const QString &text, const QString &label) {
    return label.isEmpty() ? text : text + QStringLiteral(" (") + label + u')';
}

void bindKeys(QWidget *control, const QKeySequence &keys, const std::function<void()> &run) {
    // One filter for the application, which owns it.
    static QPointer<WindowKeysFirst> first;
    if (!first) {
        first = new WindowKeysFirst(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(first);
    }
    QWidget *window = control->window();
    QVariantList bound = window->property(kWindowKeysProperty).toList();
    bound << QVariant::fromValue(keys);
    window->setProperty(kWindowKeysProperty, bound);

    auto *shortcut = new QShortcut(keys, window);
    QObject::connect(shortcut, &QShortcut::activated, control, [control, run] {
        if (control->isEnabled() && control->isVisible())
            run();
    });
    const QString label = keysLabel(keys);
    control->setProperty(kKeysProperty, label);
    if (!control->toolTip().isEmpty())
        control->setToolTip(tooltipWithKeys(control->toolTip(), label));
}

void bindKeys(QAbstractButton *button, const QKeySequence &keys) {
    bindKeys(button, keys, [button] { button->click(); });
}

void bindCardKeys(const CardCommands &c) {
    bindKeys(c.save, QKeySequence(Qt::CTRL | Qt::Key_S));
    bindKeys(c.newCard, QKeySequence(Qt::CTRL | Qt::Key_N));
    bindKeys(c.duplicate, QKeySequence(Qt::CTRL | Qt::Key_D));
    bindKeys(c.find, QKeySequence(Qt::CTRL | Qt::Key_F));
    bindKeys(c.print, QKeySequence(Qt::CTRL | Qt::Key_P));
    bindKeys(c.previous, QKeySequence(Qt::Key_PageUp));
    bindKeys(c.next, QKeySequence(Qt::Key_PageDown));
    bindKeys(c.first, QKeySequence(Qt::CTRL | Qt::Key_Home));
    bindKeys(c.last, QKeySequence(Qt::CTRL | Qt::Key_End));
    bindKeys(c.guide, QKeySequence(Qt::Key_F1));
}

void tabRing(const QList<QWidget *> &order) {
    for (QWidget *control : order)
        if (qobject_cast<QAbstractButton *>(control))
            control->setFocusPolicy(Qt::TabFocus);
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
    if (order.size() > 1)
        QWidget::setTabOrder(order.last(), order.first());
}
