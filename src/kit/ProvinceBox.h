// The province box of a contact block: an editable list of the Italian
// province codes. The list is a help for typing: nothing is selected in it
// while the user types, there is no autocompletion, and what is typed shows
// at once trimmed and in capitals (two characters at most).
#pragma once

#include <QComboBox>

class ProvinceBox : public QComboBox {
    Q_OBJECT
  public:
    ProvinceBox(const QString &objectName, QWidget *parent);

    // The codes the box offers, in their order.
    static const QStringList &codes();

    // Empties the box, with nothing selected.
    void clearProvince();

  protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};
