// Credit card numbers: the Luhn checksum and the card type named by the leading
// digits.
#pragma once

#include "validators/Verdict.h"

#include <QString>
#include <QStringView>

namespace validators {

struct CardCheck {
    Verdict verdict = Verdict::Blank;
    int typeCode = 0;
    // The card type of a valid number; empty when the number is not valid or its
    // leading digits name no known type (a number starting with 32 or 39).
    QString typeName;
};

// The checksum and type of the text as given (not trimmed). Only its first 20
// characters are read, and the digits 0-9 among them form the number. Returns the
// first digit minus 2 when the number passes the Luhn checksum (1 for 3, 2 for 4,
// 3 for 5, 4 for 6, other values for other first digits), and 0 when it fails or
// holds no digits. A number starting with 2 gives 3 (MasterCard) when its first
// six digits lie in 222100-272099, and 0 otherwise.
int cardTypeCode(QStringView text);

// The type name for a code from cardTypeCode(); prefix is the first two characters
// of the trimmed text, needed for code 1. Empty for any other code, or for code 1
// with a prefix that names no type.
QString cardTypeName(int typeCode, QStringView prefix);

// The whole check: Blank when the trimmed text is empty, Valid with a type code of
// 1 to 4 (and the type name), Wrong otherwise.
CardCheck checkCreditCard(QStringView text);

} // namespace validators
