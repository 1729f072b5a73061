#include "ProvinceBox.h"

#include "WindowKit.h"

#include <QLineEdit>

ProvinceBox::ProvinceBox(const QString &objectName, QWidget *parent) : QComboBox(parent) {
    setObjectName(objectName);
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    addItems(codes());
    setMaxVisibleItems(16);
    lineEdit()->setMaxLength(2);
    setCurrentIndex(-1);
    connect(lineEdit(), &QLineEdit::textEdited, this,
            [this] { tidyBox(lineEdit(), Tidy::Capitals); });
}

const QStringList &ProvinceBox::codes() {
    static const QStringList codes =
        QStringLiteral("AG AL AN AO AP AQ AR AT AV BA BG BI BL BN BO BR BS BT BZ CA CB CE CH CI CL "
                       "CN CO CR CS CT CZ EE EN FC FE FG FI FM FO FR GE GO GR IM IS KR LC LE LI LO "
                       "LT LU MB MC MD ME MI MN MO MS MT NA NO NU OG OR OT PA PC PD PE PG PI PN PO "
                       "PR PT PU PV PZ RA RC RE RG RI RM RN RO SA SI SO SP SR SS SV TA TE TN TO TP "
                       "TR TS TV UD VA VB VC VE VI VR VT VV")
            .split(u' ');
    return codes;
}

void ProvinceBox::clearProvince() {
    setCurrentIndex(-1);
    clearEditText();
}

void ProvinceBox::focusInEvent(QFocusEvent *event) {
    const QString typed = currentText();
    setCurrentIndex(-1);
    setEditText(typed);
    QComboBox::focusInEvent(event);
}

void ProvinceBox::focusOutEvent(QFocusEvent *event) {
    tidyBox(lineEdit(), Tidy::Capitals);
    QComboBox::focusOutEvent(event);
}
