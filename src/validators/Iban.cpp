#include "Iban.h"

#include "storage/TextRules.h"

namespace validators {
namespace {

constexpr qsizetype kLength = 27;
// Each piece of the digit string is reduced while it holds at most nine digits.
constexpr qsizetype kPieceDigits = 9;

} // namespace

Verdict checkIban(QStringView text) {
    QString iban = text::trimmed(text);
    if (iban.size() != kLength)
        return Verdict::WrongLength;
    iban.remove(u' ');
    return ibanRemainder(iban) == 1 ? Verdict::Valid : Verdict::Wrong;
}

int ibanRemainder(QStringView text) {
    QString rearranged = text::toUpperAscii(text);
    const qsizetype marker = rearranged.indexOf(u"IBAN");
    if (marker >= 0)
        rearranged.remove(marker, 4);
    const qsizetype head = qMin(rearranged.size(), qsizetype(4));
    rearranged = rearranged.sliced(head) + rearranged.first(head);

    QString digits;
    digits.reserve(rearranged.size() * 2);
    for (QChar c : rearranged) {
        if (c >= u'0' && c <= u'9')
            digits.append(c);
        else if (c >= u'A' && c <= u'Z')
            digits.append(QString::number(c.unicode() - u'A' + 10));
        else
            return 0;
    }

    // Piecewise: the remainder so far is written in front of the next digits, so
    // that no piece holds more than nine digits.
    int remainder = 0;
    qsizetype position = 0;
    qsizetype take = kPieceDigits;
    while (position < digits.size()) {
        const QStringView next = QStringView(digits).mid(position, take);
        auto piece = quint32(remainder);
        for (QChar c : next)
            piece = piece * 10 + quint32(c.unicode() - u'0');
        remainder = int(piece % 97);
        position += next.size();
        take = kPieceDigits - QString::number(remainder).size();
    }
    return remainder;
}

} // namespace validators
