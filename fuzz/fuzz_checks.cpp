// The four checks on arbitrary text: the first byte picks the check, the rest
// is the text (UTF-8, so non-Latin characters are reached too). The IBAN
// remainder is compared with one computed digit by digit.
#include "FuzzSupport.h"

#include "validators/CreditCard.h"
#include "validators/FiscalCode.h"
#include "validators/Iban.h"
#include "validators/VatNumber.h"

#include "storage/TextRules.h"

namespace {

// The remainder of the rearranged IBAN digits modulo 97, one digit at a time;
// 0 when a character is neither a digit nor a letter A–Z.
int slowIbanRemainder(QStringView text) {
    QString s = text::toUpperAscii(text);
    if (const qsizetype at = s.indexOf(u"IBAN"); at >= 0)
        s.remove(at, 4);
    s = s.mid(4) + s.left(4);
    int remainder = 0;
    for (QChar c : s) {
        if (c >= u'0' && c <= u'9')
            remainder = (remainder * 10 + (c.unicode() - u'0')) % 97;
        else if (c >= u'A' && c <= u'Z')
            remainder = (remainder * 100 + (c.unicode() - u'A' + 10)) % 97;
        else
            return 0;
    }
    return remainder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    const QString text = QString::fromUtf8(fuzz::view(data + 1, size - 1));
    using namespace validators;
    switch (data[0] % 4) {
    case 0:
        checkFiscalCode(text);
        break;
    case 1:
        checkVatNumber(text);
        break;
    case 2: {
        const CardCheck card = checkCreditCard(text);
        FUZZ_CHECK(card.typeCode == cardTypeCode(text));
        break;
    }
    case 3:
        checkIban(text);
        FUZZ_CHECK(ibanRemainder(text) == slowIbanRemainder(text));
        break;
    }
    return 0;
}
