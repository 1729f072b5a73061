#include "validators/CreditCard.h"
#include "validators/FiscalCode.h"
#include "validators/Iban.h"
#include "validators/VatNumber.h"

#include <QSet>
#include <QTest>

namespace validators {

// Lets QCOMPARE print a verdict when a comparison fails.
char *toString(Verdict verdict) {
    switch (verdict) {
    case Verdict::Valid:
        return qstrdup("Valid");
    case Verdict::Wrong:
        return qstrdup("Wrong");
    case Verdict::WrongLength:
        return qstrdup("WrongLength");
    case Verdict::Blank:
        return qstrdup("Blank");
    }
    return qstrdup("?");
}

} // namespace validators

using validators::Verdict;

class TestValidators : public QObject {
    Q_OBJECT

  private slots:
    void fiscalCode_data();
    void fiscalCode();

    void vatNumber_data();
    void vatNumber();
    void vatNumberHasOneCheckDigit();
    void vatOfficeName_data();
    void vatOfficeName();
    void vatOfficeTable();

    void creditCard_data();
    void creditCard();
    void cardTypeName_data();
    void cardTypeName();

    void ibanRemainder_data();
    void ibanRemainder();
    void iban_data();
    void iban();
};

void TestValidators::fiscalCode_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<Verdict>("verdict");

    QTest::newRow("valid") << "RSSMRA85T10A562S" << Verdict::Valid;
    QTest::newRow("another valid") << "MRTMTT25D09F205Z" << Verdict::Valid;
    QTest::newRow("wrong check character") << "RSSMRA85T10A562X" << Verdict::Wrong;
    QTest::newRow("lower case") << "rssmra85t10a562s" << Verdict::Valid;
    QTest::newRow("mixed case") << "RssMra85t10A562s" << Verdict::Valid;
    // Every digit on both tables, and the letters at the top of the alphabet.
    QTest::newRow("all digits") << "0123456789ABCDEP" << Verdict::Valid;
    QTest::newRow("all Z") << "ZZZZZZZZZZZZZZZV" << Verdict::Valid;
    // Every letter at an odd and at an even position.
    QTest::newRow("letters A-O") << "ABCDEFGHIJKLMNOZ" << Verdict::Valid;
    QTest::newRow("letters B-P") << "BCDEFGHIJKLMNOPL" << Verdict::Valid;
    QTest::newRow("letters P-Z") << "PQRSTUVWXYZ0123K" << Verdict::Valid;
    QTest::newRow("letters Q-Z") << "QRSTUVWXYZ01234W" << Verdict::Valid;
    // The signs between 9 and A count 0 at even and at odd positions.
    QTest::newRow("colon, even position") << "RSS:RA85T10A562G" << Verdict::Valid;
    QTest::newRow("at sign, even position") << "R@SMRA85T10A562A" << Verdict::Valid;
    QTest::newRow("semicolon, odd position") << "RSSMRA85T10A56;N" << Verdict::Valid;
    QTest::newRow("15 characters") << "RSSMRA85T10A562" << Verdict::WrongLength;
    QTest::newRow("17 characters") << "RSSMRA85T10A562SS" << Verdict::WrongLength;
    QTest::newRow("empty") << "" << Verdict::WrongLength;
    // The text is not trimmed: a blank makes it too long, or is a character
    // without a value.
    QTest::newRow("trailing blank") << "RSSMRA85T10A562S " << Verdict::WrongLength;
    QTest::newRow("leading blank") << " RSSMRA85T10A562" << Verdict::Wrong;
    // Characters just outside the tables, and an accented letter (never upper-cased),
    // with the check character they would give if they counted 0.
    QTest::newRow("slash") << "RSSMRA85T10A5/2M" << Verdict::Wrong;
    QTest::newRow("bracket") << "RSSMRA85T10A[62F" << Verdict::Wrong;
    QTest::newRow("accented letter") << QStringLiteral("RSSMR\u00e085T10A562S") << Verdict::Wrong;
}

void TestValidators::fiscalCode() {
    QFETCH(QString, text);
    QFETCH(Verdict, verdict);
    QCOMPARE(validators::checkFiscalCode(text), verdict);
}

void TestValidators::vatNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<Verdict>("verdict");
    QTest::addColumn<QString>("office");

    QTest::newRow("valid") << "12345670637" << Verdict::Valid << "Napoli 1";
    QTest::newRow("wrong check digit") << "12345670636" << Verdict::Wrong << "";
    QTest::newRow("eleven zeros") << "00000000000" << Verdict::Valid << "";
    QTest::newRow("office 001") << "00000000018" << Verdict::Valid << "Torino";
    QTest::newRow("office 102") << "00000001024" << Verdict::Valid << "Napoli 2";
    QTest::newRow("office 103") << "00000001032" << Verdict::Valid << "";
    QTest::newRow("office 120") << "00000001206" << Verdict::Valid << "Bologna 2";
    QTest::newRow("office 121") << "00000001214" << Verdict::Valid << "Napoli 2";
    QTest::newRow("10 digits") << "1234567063" << Verdict::WrongLength << "";
    QTest::newRow("12 digits") << "123456706371" << Verdict::WrongLength << "";
    QTest::newRow("empty") << "" << Verdict::WrongLength << "";
    QTest::newRow("letter") << "1234567063A" << Verdict::Wrong << "";
    QTest::newRow("blank, not trimmed") << " 1234567063" << Verdict::Wrong << "";
    QTest::newRow("sign") << "+2345670637" << Verdict::Wrong << "";
    QTest::newRow("non-ASCII digit") << QStringLiteral("1234567063\u0667") << Verdict::Wrong << "";
}

void TestValidators::vatNumber() {
    QFETCH(QString, text);
    QFETCH(Verdict, verdict);
    QFETCH(QString, office);
    const validators::VatCheck check = validators::checkVatNumber(text);
    QCOMPARE(check.verdict, verdict);
    QCOMPARE(check.officeName, office);
}

void TestValidators::vatNumberHasOneCheckDigit() {
    for (char digit = '0'; digit <= '9'; ++digit) {
        const QString number = QStringLiteral("1234567063") + QLatin1Char(digit);
        const Verdict expected = digit == '7' ? Verdict::Valid : Verdict::Wrong;
        QCOMPARE(validators::checkVatNumber(number).verdict, expected);
    }
}

void TestValidators::vatOfficeName_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");

    QTest::newRow("000") << "000"
                         << "";
    QTest::newRow("001") << "001"
                         << "Torino";
    QTest::newRow("010") << "010"
                         << "Genova 1";
    QTest::newRow("011") << "011"
                         << "La Spezia";
    QTest::newRow("040") << "040" << QStringLiteral("Forl\u00ec");
    QTest::newRow("096") << "096"
                         << "Monza (Milano 2)";
    QTest::newRow("099") << "099"
                         << "Chiavari (Genova 2)";
    QTest::newRow("100") << "100"
                         << "Roma 2";
    QTest::newRow("101") << "101"
                         << "Bologna 2";
    QTest::newRow("102") << "102"
                         << "Napoli 2";
    QTest::newRow("103") << "103"
                         << "";
    QTest::newRow("119") << "119"
                         << "";
    QTest::newRow("120") << "120"
                         << "Bologna 2";
    QTest::newRow("121") << "121"
                         << "Napoli 2";
    QTest::newRow("122") << "122"
                         << "";
    QTest::newRow("999") << "999"
                         << "";
    // Only the three-digit text names an office.
    QTest::newRow("no leading zero") << "63"
                                     << "";
    QTest::newRow("four digits") << "0063"
                                 << "";
    QTest::newRow("blank") << " 63"
                           << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestValidators::vatOfficeName() {
    QFETCH(QString, code);
    QFETCH(QString, name);
    QCOMPARE(validators::vatOfficeName(code), name);
}

void TestValidators::vatOfficeTable() {
    const auto offices = validators::vatOffices();
    QCOMPARE(offices.size(), std::size_t(104));
    for (std::size_t i = 0; i < 102; ++i)
        QCOMPARE(offices[i].code, QString::asprintf("%03d", int(i + 1)));
    QCOMPARE(offices[102].code, u"120");
    QCOMPARE(offices[103].code, u"121");

    // Every code from 000 to 999: exactly the table's codes name an office, and
    // none is an empty name.
    QSet<QString> named;
    for (int code = 0; code <= 999; ++code) {
        const QString text = QString::asprintf("%03d", code);
        if (!validators::vatOfficeName(text).isEmpty())
            named.insert(text);
    }
    QCOMPARE(named.size(), 104);
    for (const validators::VatOffice &office : offices)
        QVERIFY2(named.contains(office.code.toString()), qPrintable(office.code.toString()));
}

void TestValidators::creditCard_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<Verdict>("verdict");
    QTest::addColumn<int>("typeCode");
    QTest::addColumn<QString>("typeName");

    QTest::newRow("Visa") << "4111111111111111" << Verdict::Valid << 2 << "Visa";
    QTest::newRow("Visa, wrong last digit") << "4111111111111112" << Verdict::Wrong << 0 << "";
    QTest::newRow("Visa in groups") << "4111 1111 1111 1111" << Verdict::Valid << 2 << "Visa";
    QTest::newRow("Visa with hyphens") << "4111-1111-1111-1111" << Verdict::Valid << 2 << "Visa";
    QTest::newRow("MasterCard") << "5555555555554444" << Verdict::Valid << 3 << "MasterCard";
    QTest::newRow("Discover") << "6011111111111117" << Verdict::Valid << 4 << "Discover";
    QTest::newRow("American Express")
        << "378282246310005" << Verdict::Valid << 1 << "American Express";
    // The name of a number starting with 3 comes from the trimmed text.
    QTest::newRow("leading blanks, prefix trimmed")
        << "  378282246310005" << Verdict::Valid << 1 << "American Express";
    QTest::newRow("starts with 32") << "320000000000003" << Verdict::Valid << 1 << "";
    // MasterCard numbers from 2221 to 2720: the first six digits in 222100-272099.
    QTest::newRow("MasterCard 2221") << "2221000000000009" << Verdict::Valid << 3 << "MasterCard";
    QTest::newRow("MasterCard 272099") << "2720999999999996" << Verdict::Valid << 3 << "MasterCard";
    QTest::newRow("MasterCard 2221 in groups")
        << "2221 0000 0000 0009" << Verdict::Valid << 3 << "MasterCard";
    QTest::newRow("MasterCard six digits") << "222109" << Verdict::Valid << 3 << "MasterCard";
    QTest::newRow("MasterCard 2221, wrong last digit")
        << "2221000000000008" << Verdict::Wrong << 0 << "";
    // Passing the checksum is not enough when the first digit names no type.
    QTest::newRow("2220, below MasterCard") << "2220999999999991" << Verdict::Wrong << 0 << "";
    QTest::newRow("2721, above MasterCard") << "2721000000000004" << Verdict::Wrong << 0 << "";
    QTest::newRow("first digit 2") << "2000000000000006" << Verdict::Wrong << 0 << "";
    QTest::newRow("2999") << "2999999999999990" << Verdict::Wrong << 0 << "";
    QTest::newRow("2720, fewer than six digits") << "27201" << Verdict::Wrong << 0 << "";
    QTest::newRow("first digit 7") << "7000000000000005" << Verdict::Wrong << 5 << "";
    QTest::newRow("first digit 8") << "800000000000002" << Verdict::Wrong << 6 << "";
    QTest::newRow("first digit 9") << "91" << Verdict::Wrong << 7 << "";
    QTest::newRow("first digit 1") << "1000000000000008" << Verdict::Wrong << -1 << "";
    QTest::newRow("first digit 0") << "0" << Verdict::Wrong << -2 << "";
    // Only the first 20 characters are read, blanks at the start included.
    QTest::newRow("after the 20th character")
        << "4111111111111111    9" << Verdict::Valid << 2 << "Visa";
    QTest::newRow("leading blanks push the last digit out")
        << "     4111111111111111" << Verdict::Wrong << 0 << "";
    QTest::newRow("no digits") << "abc" << Verdict::Wrong << 0 << "";
    QTest::newRow("empty") << "" << Verdict::Blank << 0 << "";
    QTest::newRow("blanks") << "   " << Verdict::Blank << 0 << "";
    QTest::newRow("control characters") << "\t\r\n" << Verdict::Blank << 0 << "";
}

void TestValidators::creditCard() {
    QFETCH(QString, text);
    QFETCH(Verdict, verdict);
    QFETCH(int, typeCode);
    QFETCH(QString, typeName);
    const validators::CardCheck check = validators::checkCreditCard(text);
    QCOMPARE(check.verdict, verdict);
    QCOMPARE(check.typeCode, typeCode);
    QCOMPARE(check.typeName, typeName);
    if (verdict != Verdict::Blank)
        QCOMPARE(validators::cardTypeCode(text), typeCode);
}

void TestValidators::cardTypeName_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("typeName");

    // Numbers of 15 digits that pass the checksum, one per prefix 30 to 39.
    const QString diners = QStringLiteral("Diner's Club / Carte Blanche");
    QTest::newRow("30") << "300000000000007" << diners;
    QTest::newRow("31") << "310000000000005"
                        << "JCB";
    QTest::newRow("32") << "320000000000003"
                        << "";
    QTest::newRow("33") << "330000000000001"
                        << "JCB";
    QTest::newRow("34") << "340000000000009"
                        << "American Express";
    QTest::newRow("35") << "350000000000006"
                        << "JCB";
    QTest::newRow("36") << "360000000000004" << diners;
    QTest::newRow("37") << "370000000000002"
                        << "American Express";
    QTest::newRow("38") << "380000000000000" << diners;
    QTest::newRow("39") << "390000000000008"
                        << "";
}

void TestValidators::cardTypeName() {
    QFETCH(QString, number);
    QFETCH(QString, typeName);
    QCOMPARE(validators::cardTypeCode(number), 1);
    QCOMPARE(validators::cardTypeName(1, QStringView(number).first(2)), typeName);
    QCOMPARE(validators::checkCreditCard(number).typeName, typeName);
}

void TestValidators::ibanRemainder_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("remainder");

    QTest::newRow("valid") << "IT60X0542811101000000123456" << 1;
    QTest::newRow("check digits 61") << "IT61X0542811101000000123456" << 2;
    QTest::newRow("check digits 00") << "IT00X0542811101000000123456" << 38;
    QTest::newRow("lower case") << "it60x0542811101000000123456" << 1;
    QTest::newRow("other country") << "GB82WEST12345698765432" << 1;
    // The first "IBAN" goes, after upper-casing.
    QTest::newRow("IBAN in front") << "IBANIT60X0542811101000000123456" << 1;
    QTest::newRow("iban in front") << "ibanIT60X0542811101000000123456" << 1;
    // Short texts: letters become two digits, four characters move to the end.
    QTest::newRow("A") << "A" << 10;
    QTest::newRow("AB") << "AB" << 41;
    QTest::newRow("1234") << "1234" << 70;
    QTest::newRow("12345") << "12345" << 18;
    // Long texts are reduced piece by piece without overflow.
    QTest::newRow("200 nines") << QString(200, u'9') << 80;
    QTest::newRow("200 Z") << QString(200, u'Z') << 49;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("hyphen") << "IT60-X0542811101000000123456" << 0;
    QTest::newRow("blank") << "IT60 X0542811101000000123456" << 0;
    QTest::newRow("accented letter") << QStringLiteral("IT60\u00c00542811101000000123456") << 0;
}

void TestValidators::ibanRemainder() {
    QFETCH(QString, text);
    QFETCH(int, remainder);
    QCOMPARE(validators::ibanRemainder(text), remainder);
}

void TestValidators::iban_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<Verdict>("verdict");

    QTest::newRow("valid") << "IT60X0542811101000000123456" << Verdict::Valid;
    QTest::newRow("wrong") << "IT61X0542811101000000123456" << Verdict::Wrong;
    QTest::newRow("lower case") << "it60x0542811101000000123456" << Verdict::Valid;
    QTest::newRow("surrounding blanks and controls") << " \tIT60X0542811101000000123456\r\n"
                                                     << Verdict::Valid;
    QTest::newRow("26 characters") << "IT60X054281110100000012345" << Verdict::WrongLength;
    QTest::newRow("28 characters") << "IT60X05428111010000001234567" << Verdict::WrongLength;
    QTest::newRow("empty") << "" << Verdict::WrongLength;
    QTest::newRow("blanks only") << "   " << Verdict::WrongLength;
    QTest::newRow("in groups") << "IT60 X054 2811 1010 0000 0123 456" << Verdict::WrongLength;
    QTest::newRow("other country") << "GB82WEST12345698765432" << Verdict::WrongLength;
    QTest::newRow("hyphen") << "IT60X0542811101000000-23456" << Verdict::Wrong;
    // Blanks inside count towards the 27 characters, then are dropped.
    QTest::newRow("27 with blanks inside") << "GB82 WEST 1234 5698 7654 32" << Verdict::Valid;
    QTest::newRow("tab inside") << "GB82\tWEST 1234 5698 7654 32" << Verdict::Wrong;
}

void TestValidators::iban() {
    QFETCH(QString, text);
    QFETCH(Verdict, verdict);
    QCOMPARE(validators::checkIban(text), verdict);
}

QTEST_GUILESS_MAIN(TestValidators)
#include "tst_validators.moc"
