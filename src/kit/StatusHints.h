// The status line `panInfo`: shows the description of the control under the
// mouse and empties over the window's background.
#pragma once

#include <QHash>
#include <QLabel>
#include <QSet>
#include <initializer_list>

// A control that is disabled promises nothing: over it the status line is
// empty. A picture described here (a picture button or a picture that acts as
// one) carries its text as its tooltip too, and so does a button with keys
// (Shortcuts), followed by the keys.
class StatusHints : public QObject {
    Q_OBJECT
  public:
    explicit StatusHints(QLabel *panInfo);
    void describe(QWidget *control, const QString &text);
    void describe(std::initializer_list<std::pair<QWidget *, QString>> items);
    // The mouse over these empties the status line: when it enters them and
    // when it moves over them (not over a control they hold), so coming back
    // from a control to its panel empties it too.
    void background(const QList<QWidget *> &widgets);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    QLabel *m_panel;
    QHash<QObject *, QString> m_texts;
    QSet<QObject *> m_backgrounds;
};
