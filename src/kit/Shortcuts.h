// Keyboard shortcuts of a window's commands: the keys press the command's
// button wherever the focus is in its window, and the button's tooltip names
// them, "Salva la scheda (Ctrl+S)".
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <functional>

class QAbstractButton;
class QWidget;

// The keys as an Italian keyboard labels them: "Ctrl+Inizio", "PagGiù", "Invio".
QString keysLabel(const QKeySequence &keys);

// Presses `button` when `keys` are typed in its window, unless the button is
// disabled or hidden; the keys go in the button's tooltip (now, or when the
// status line describes it later: StatusHints).
void bindKeys(QAbstractButton *button, const QKeySequence &keys);
// The same for a control that acts as a button (a picture): `run` is its click.
void bindKeys(QWidget *control, const QKeySequence &keys, const std::function<void()> &run);

// The commands of a card workspace, and the keys both workspaces give them:
// Ctrl+S, Ctrl+N, Ctrl+D, Ctrl+F, Ctrl+P, PagSu, PagGiù, Ctrl+Inizio,
// Ctrl+Fine and F1.
struct CardCommands {
    QAbstractButton *save, *newCard, *duplicate, *find, *print;
    QAbstractButton *previous, *next, *first, *last, *guide;
};
void bindCardKeys(const CardCommands &commands);

// The label of the keys bound to `control` by bindKeys(), or the empty text.
QString boundKeysOf(const QWidget *control);

// A control's tooltip: its description, followed by the keys bound to it.
QString tooltipWithKeys(const QString &text, const QString &label);

// Tab runs through `order` and from its last control back to its first; the
// buttons in it take the focus from Tab, never from a click, so a click keeps
// the focus in the box the user was typing in.
void tabRing(const QList<QWidget *> &order);
