// Typing into a control key by key, as a user would, also characters the
// test keyboard has no key for (accented letters, "Ł").
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QString>
#include <QStringList>
#include <QtTest>

inline void typeText(QWidget *box, const QString &text) {
    for (QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(box, char(c.unicode()));
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &release);
    }
}

// Types each step in turn: a step in angle brackets is one key press by its
// QKeySequence name ("<Left>", "<Backspace>", "<Ctrl+V>"); any other step is
// typed as text.
inline void typeSteps(QWidget *box, const QStringList &steps) {
    for (const QString &step : steps) {
        if (step.size() > 2 && step.startsWith(u'<') && step.endsWith(u'>'))
            QTest::keySequence(box, QKeySequence::fromString(step.mid(1, step.size() - 2)));
        else
            typeText(box, step);
    }
}
