// The named parts the two workspaces are built of. Every part carries the
// object name the theme's style sheets and the tests find it by; the
// workspace places it, by a table (clients) or in layouts (database).
#pragma once

#include <QRect>
#include <QString>

class QFrame;
class QLabel;
class QLineEdit;
class QPixmap;
class QWidget;

// A frame drawn by the theme (a band, a group, a container); placed at
// `geometry` when one is given.
QFrame *shape(const QString &name, QWidget *parent, const QRect &geometry = {});
// A text box holding at most `maxLength` characters (its record field's room).
QLineEdit *textBox(const QString &name, int maxLength, QWidget *parent);
// A label with a fixed text.
QLabel *namedLabel(const QString &name, const QString &text, QWidget *parent);
// A decorative picture, centred in `geometry`, that lets the mouse through to
// the part under it.
QLabel *decoration(const QString &name, const QPixmap &pixmap, QWidget *parent,
                   const QRect &geometry);
