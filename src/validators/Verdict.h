// The outcome shared by the code checks, so a check window and the command-line
// companion read every check the same way.
#pragma once

namespace validators {

enum class Verdict {
    Valid,       // the code passes its check
    Wrong,       // right length, but the check fails (or a character has no value)
    WrongLength, // the text has not the length the code must have
    Blank,       // nothing to check (only the credit card check tells this apart)
};

} // namespace validators
