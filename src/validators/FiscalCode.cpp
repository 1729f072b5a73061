#include "FiscalCode.h"

#include "storage/TextRules.h"

#include <array>
#include <optional>

namespace validators {
namespace {

constexpr qsizetype kLength = 16;

// Values of the characters '0' .. 'Z' in code order: ten digits, the seven signs
// ':' ';' '<' '=' '>' '?' '@' (worth 0), then the 26 letters.
// clang-format off
constexpr std::array<int, 43> kOddValues = {
     1,  0,  5,  7,  9, 13, 15, 17, 19, 21,          // 0 1 2 3 4 5 6 7 8 9
     0,  0,  0,  0,  0,  0,  0,                      // : ; < = > ? @
     1,  0,  5,  7,  9, 13, 15, 17, 19, 21,  2,  4,  // A B C D E F G H I J K L
    18, 20, 11,  3,  6,  8, 12, 14, 16, 10, 22, 25,  // M N O P Q R S T U V W X
    24, 23};                                         // Y Z

constexpr std::array<int, 43> kEvenValues = {
     0,  1,  2,  3,  4,  5,  6,  7,  8,  9,          // 0 1 2 3 4 5 6 7 8 9
     0,  0,  0,  0,  0,  0,  0,                      // : ; < = > ? @
     0,  1,  2,  3,  4,  5,  6,  7,  8,  9, 10, 11,  // A B C D E F G H I J K L
    12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23,  // M N O P Q R S T U V W X
    24, 25};                                         // Y Z
// clang-format on

// The value of one character at a 1-based position, or nothing for a character
// the tables do not cover.
std::optional<int> valueAt(QChar c, qsizetype position) {
    const auto &table = position % 2 == 1 ? kOddValues : kEvenValues;
    const qsizetype index = qsizetype(c.unicode()) - u'0';
    if (index < 0 || index >= qsizetype(table.size()))
        return std::nullopt;
    return table[std::size_t(index)];
}

} // namespace

Verdict checkFiscalCode(QStringView text) {
    const QString code = text::toUpperAscii(text);
    if (code.size() != kLength)
        return Verdict::WrongLength;

    int sum = 0;
    for (qsizetype i = 0; i < kLength - 1; ++i) {
        const std::optional<int> value = valueAt(code[i], i + 1);
        if (!value)
            return Verdict::Wrong;
        sum += *value;
    }
    const QChar expected(u'A' + sum % 26);
    return code[kLength - 1] == expected ? Verdict::Valid : Verdict::Wrong;
}

} // namespace validators
