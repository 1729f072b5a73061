// Italian IBAN: 27 characters passing the MOD 97-10 check digits test.
#pragma once

#include "validators/Verdict.h"

#include <QStringView>

namespace validators {

// Checks the text trimmed of blanks and control characters at both ends (a-z count
// as A-Z). WrongLength when the trimmed text is not 27 characters (blanks inside
// count), otherwise Valid when the remainder of the text without its blanks is 1,
// and Wrong when it is not.
Verdict checkIban(QStringView text);

// The remainder modulo 97 (0 to 96) of the text's rearranged numeric form: a-z
// upper-cased, the first "IBAN" deleted, the first four characters moved to the end,
// each letter replaced by its number (A = 10 ... Z = 35). 0 for an empty text or a
// text holding a character that is neither a digit 0-9 nor a letter A-Z.
int ibanRemainder(QStringView text);

} // namespace validators
