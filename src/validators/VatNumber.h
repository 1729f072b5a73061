// Italian VAT number (partita IVA): 11 digits, of which digits 8 to 10 name the
// provincial office that issued the number and digit 11 is a check digit.
#pragma once

#include "validators/Verdict.h"

#include <QString>
#include <QStringView>
#include <span>

namespace validators {

struct VatOffice {
    QStringView code; // three digits, leading zeros kept ("001")
    QStringView name;
};

struct VatCheck {
    Verdict verdict = Verdict::WrongLength;
    // The name of the issuing office when the number is valid; empty when it is not
    // valid or its office code is not in the table.
    QString officeName;
};

// Checks the text as given (not trimmed). Valid, Wrong (a character that is not a
// digit 0-9, or a wrong check digit) or WrongLength (not 11 characters).
VatCheck checkVatNumber(QStringView text);

// The name of the office with the given three-digit code, or an empty text when the
// code is not in the table.
QString vatOfficeName(QStringView code);

// The issuing-office table, in code order.
std::span<const VatOffice> vatOffices();

} // namespace validators
