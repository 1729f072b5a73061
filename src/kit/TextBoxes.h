// What the text boxes of every window do: the yellow focus frame, Enter
// chains, the digits-only key rule, tidying and showing a loaded text; and
// the hidden labels that carry a window's data.
#pragma once

#include <QFrame>
#include <QList>
#include <functional>

class QKeyEvent;
class QLabel;
class QLineEdit;

// The yellow frame `eff…` behind a text box: visible while the box has the focus.
QFrame *addFocusFrame(QWidget *box, const QString &objectName);

// Runs `action` when Enter (Return or the keypad's Enter) is pressed in `box`;
// the key goes no further.
void onEnter(QWidget *box, std::function<void()> action);
// Enter in each box moves the focus to the next one.
void chainEnter(const QList<QWidget *> &boxes);

// For a box that accepts digits only: true when `key` must be swallowed.
// Enter, Tab, Esc, Backspace, Delete and the left and right arrows pass; of
// the rest only a plain digit does.
bool digitsOnlyRefuses(const QKeyEvent *key);

// Replaces the box's text by itself trimmed (and, with Tidy::Capitals, with
// a–z in capitals) when that changes it, keeping the caret on the character
// it was on.
enum class Tidy { Trim, Capitals };
void tidyBox(QLineEdit *box, Tidy rule);
// Puts `text` in the box as a loaded value: a text longer than the box shows
// from its beginning.
void showText(QLineEdit *box, const QString &text);

// A hidden label named `objectName`: a carrier of data the window keeps.
QLabel *hiddenLabel(const QString &objectName, QWidget *parent);
