// Italian fiscal code (codice fiscale) of a person: 16 characters, the last one a
// check letter computed from the first fifteen.
#pragma once

#include "validators/Verdict.h"

#include <QStringView>

namespace validators {

// Checks the text as given (not trimmed; a-z count as A-Z). Valid, Wrong (wrong
// check character, or a character outside 0-9, A-Z and the signs between them) or
// WrongLength (not 16 characters).
Verdict checkFiscalCode(QStringView text);

} // namespace validators
