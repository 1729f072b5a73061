// Typing into a control key by key, as a user would, also characters the
// test keyboard has no key for (accented letters, "Ł").
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QString>
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
