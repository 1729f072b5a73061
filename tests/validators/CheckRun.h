// Running a code check window as its caller does, for the per-window tests:
// press "Controlla" and see what the user saw, or type into the box and see
// what it shows.
#pragma once

#include "support/FakeDesktop.h"
#include "support/Typing.h"
#include "validators/CheckWindow.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <functional>

struct CheckRun {
    QStringList dialogs; // class names of the windows run
    bool focusAtStart = false;
    bool frameShown = false;
    bool staysOpen = false;
    bool focusAfter = false; // in the box once the message has gone
};

// Runs `open`, clicks "Controlla" in the window it opens and returns what
// happened; the messages are in `desktop`.
inline CheckRun pressControlla(FakeDesktop &desktop, const std::function<void()> &open,
                               const QString &boxName) {
    CheckRun run;
    desktop.onModal = [&](QDialog &dialog) {
        auto *window = qobject_cast<CheckWindow *>(&dialog);
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
        auto *box = window->findChild<QLineEdit *>(boxName);
        QVERIFY(box);
        run.focusAtStart = box->hasFocus();
        run.frameShown =
            window->findChild<QFrame *>(QStringLiteral("eff") + boxName.mid(3))->isVisible();
        QTest::mouseClick(window->btnControlla, Qt::LeftButton);
        run.staysOpen = window->isVisible();
        run.focusAfter = box->hasFocus();
    };
    open();
    run.dialogs = desktop.modalDialogs;
    return run;
}

// The checks every outcome row makes: one window run, opened with the focus
// in its framed box; one message of `kind` and `text`; the window closed, or
// open with the focus back in the box.
inline void verifyOutcome(const CheckRun &run, const FakeDesktop &desktop, const char *windowClass,
                          Desktop::Kind kind, const QString &text, bool staysOpen) {
    QCOMPARE(run.dialogs, QStringList{QLatin1String(windowClass)});
    QVERIFY(run.focusAtStart);
    QVERIFY(run.frameShown);
    QCOMPARE(desktop.messages.size(), 1);
    QCOMPARE(desktop.messages[0].kind, kind);
    QCOMPARE(desktop.messages[0].text, text);
    QCOMPARE(run.staysOpen, staysOpen);
    if (staysOpen)
        QVERIFY(run.focusAfter);
}

// Runs `open`, types `steps` (see typeSteps) into the box with the caret at
// the end of the caller's text, closes the window and returns what the box
// showed.
inline QString typeInto(FakeDesktop &desktop, const std::function<void()> &open,
                        const QString &boxName, const QStringList &steps) {
    QString shown;
    desktop.onModal = [&](QDialog &dialog) {
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto *box = dialog.findChild<QLineEdit *>(boxName);
        QVERIFY(box);
        box->end(false);
        typeSteps(box, steps);
        shown = box->text();
        dialog.close();
    };
    open();
    return shown;
}
