#include "storage/TextRules.h"

#include <QtTest>

class TestTextRules : public QObject {
    Q_OBJECT
  private slots:
    void trim_data();
    void trim();
    void upperCaseAsciiOnly();
    void encode_data();
    void encode();
    void everyByteRoundTrips();
};

void TestTextRules::trim_data() {
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("blanks") << "  Rossi  "
                            << "Rossi";
    QTest::newRow("controls") << "\t\r\nRossi\x01\x1f"
                              << "Rossi";
    QTest::newRow("inner kept") << " Via  Roma 1 "
                                << "Via  Roma 1";
    QTest::newRow("no-break space is text")
        << QStringLiteral("\u00a0x\u00a0") << QStringLiteral("\u00a0x\u00a0");
    QTest::newRow("only blanks") << " \t "
                                 << "";
}

void TestTextRules::trim() {
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(text::trimmed(in), out);
    QCOMPARE(text::decode1252(text::trimmed(QByteArrayView(text::encode1252(in)))), out);
}

void TestTextRules::upperCaseAsciiOnly() {
    QCOMPARE(text::toUpperAscii(u"perché àbc"), QStringLiteral("PERCHé àBC"));
    QCOMPARE(text::toLowerAscii(u"PERCHÉ ÀBC"), QStringLiteral("perchÉ Àbc"));
}

void TestTextRules::encode_data() {
    QTest::addColumn<QString>("in");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << "Abc 1" << QByteArray("Abc 1");
    QTest::newRow("italian") << QStringLiteral("àèéìòù") << QByteArray("\xE0\xE8\xE9\xEC\xF2\xF9");
    QTest::newRow("euro and quotes")
        << QStringLiteral("€ “x” …") << QByteArray("\x80 \x93x\x94 \x85");
    QTest::newRow("polish l") << QStringLiteral("Łódź")
                              << QByteArray("?\xF3"
                                            "d?");
    QTest::newRow("emoji is one char") << QStringLiteral("a\U0001F600b") << QByteArray("a?b");
}

void TestTextRules::encode() {
    QFETCH(QString, in);
    QFETCH(QByteArray, bytes);
    QCOMPARE(text::encode1252(in), bytes);
}

void TestTextRules::everyByteRoundTrips() {
    QByteArray all(256, '\0');
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    const QString decoded = text::decode1252(all);
    QCOMPARE(decoded.size(), 256);
    QCOMPARE(decoded[0x80], QChar(0x20AC));
    QCOMPARE(decoded[0xEC], QChar(u'ì'));
    QCOMPARE(text::encode1252(decoded), all);
}

QTEST_APPLESS_MAIN(TestTextRules)
#include "tst_textrules.moc"
