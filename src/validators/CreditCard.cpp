#include "CreditCard.h"

#include "storage/TextRules.h"

namespace validators {
namespace {

constexpr qsizetype kCharactersRead = 20;
constexpr int kMasterCard = 3;

// MasterCard has also issued numbers from 2221 to 2720 since 2017: their first
// six digits lie in 222100-272099.
bool isMasterCardFrom2(QStringView digits) {
    if (digits.size() < 6)
        return false;
    const int head = digits.first(6).toInt();
    return head >= 222100 && head <= 272099;
}

} // namespace

int cardTypeCode(QStringView text) {
    QString digits;
    for (QChar c : text.left(kCharactersRead))
        if (c >= u'0' && c <= u'9')
            digits.append(c);
    if (digits.isEmpty())
        return 0;

    // Leftwards from the digit before the check digit, every second digit is
    // doubled (less 9 when above 9).
    const qsizetype last = digits.size() - 1;
    int sum = 0;
    bool doubled = true;
    for (qsizetype i = last - 1; i >= 0; --i, doubled = !doubled) {
        int digit = digits[i].unicode() - u'0';
        if (doubled) {
            digit *= 2;
            if (digit > 9)
                digit -= 9;
        }
        sum += digit;
    }
    const int expected = (10 - sum % 10) % 10;
    if (digits[last].unicode() - u'0' != expected)
        return 0;
    const int first = digits[0].unicode() - u'0';
    if (first == 2)
        return isMasterCardFrom2(digits) ? kMasterCard : 0;
    return first - 2;
}

QString cardTypeName(int typeCode, QStringView prefix) {
    switch (typeCode) {
    case 1:
        if (prefix == u"30" || prefix == u"36" || prefix == u"38")
            return QStringLiteral("Diner's Club / Carte Blanche");
        if (prefix == u"34" || prefix == u"37")
            return QStringLiteral("American Express");
        if (prefix == u"31" || prefix == u"33" || prefix == u"35")
            return QStringLiteral("JCB");
        return {};
    case 2:
        return QStringLiteral("Visa");
    case kMasterCard:
        return QStringLiteral("MasterCard");
    case 4:
        return QStringLiteral("Discover");
    default:
        return {};
    }
}

CardCheck checkCreditCard(QStringView text) {
    const QString trimmed = text::trimmed(text);
    if (trimmed.isEmpty())
        return {Verdict::Blank, 0, {}};
    const int code = cardTypeCode(text);
    if (code < 1 || code > 4)
        return {Verdict::Wrong, code, {}};
    return {Verdict::Valid, code, cardTypeName(code, QStringView(trimmed).left(2))};
}

} // namespace validators
