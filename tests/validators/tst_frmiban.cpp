#include "CheckRun.h"
#include "support/AppFixture.h"
#include "validators/TfrmIban.h"

#include <QtTest>
#include <memory>

namespace {

const QString kWrongLength =
    QStringLiteral("Attenzione: l'IBAN deve essere composto da 27 caratteri alfanumerici.");
const QString kValid = QStringLiteral("L'IBAN digitato è VALIDO.");
const QString kWrong = QStringLiteral("Attenzione: l'IBAN digitato è ERRATO!");

} // namespace

class TestFrmIban : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void outcomes_data();
    void outcomes();
    void typingRules_data();
    void typingRules();

  private:
    std::unique_ptr<AppFixture> m_app;
};

void TestFrmIban::init() {
    m_app = std::make_unique<AppFixture>();
}

void TestFrmIban::cleanup() {
    m_app.reset();
}

void TestFrmIban::outcomes_data() {
    QTest::addColumn<QString>("iban"); // as the caller hands it over
    QTest::addColumn<Desktop::Kind>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("staysOpen");
    const auto info = Desktop::Kind::Information;
    const auto warning = Desktop::Kind::Warning;
    QTest::newRow("valid") << "IT60X0542811101000000123456" << info << kValid << false;
    QTest::newRow("valid in lower case")
        << "it60x0542811101000000123456" << info << kValid << false;
    QTest::newRow("blanks around") << "  IT60X0542811101000000123456 " << info << kValid << false;
    QTest::newRow("wrong check digits")
        << "IT61X0542811101000000123456" << warning << kWrong << false;
    QTest::newRow("hyphen in 27") << "IT60X0542811101000000-23456" << warning << kWrong << false;
    QTest::newRow("26 characters")
        << "IT60X054281110100000012345" << warning << kWrongLength << true;
    QTest::newRow("28 characters")
        << "IT60X05428111010000001234567" << warning << kWrongLength << true;
    QTest::newRow("in groups, not cut to 27")
        << "IT60 X054 2811 1010 0000 0123 456" << warning << kWrongLength << true;
    QTest::newRow("another country") << "GB82WEST12345698765432" << warning << kWrongLength << true;
    QTest::newRow("empty") << "" << warning << kWrongLength << true;
}

void TestFrmIban::outcomes() {
    QFETCH(QString, iban);
    QFETCH(Desktop::Kind, kind);
    QFETCH(QString, message);
    QFETCH(bool, staysOpen);
    const CheckRun run = pressControlla(
        m_app->desktop, [&] { TfrmIban::open(nullptr, iban); }, QStringLiteral("txtIban"));
    verifyOutcome(run, m_app->desktop, "TfrmIban", kind, message, staysOpen);
}

void TestFrmIban::typingRules_data() {
    QTest::addColumn<QString>("given"); // by the caller
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("shown");
    QTest::newRow("capitals") << "" << QStringList{"it60x"} << "IT60X";
    QTest::newRow("accents keep their case") << "" << QStringList{"itàb"} << "ITàB";
    QTest::newRow("blank at the end dropped") << "" << QStringList{"it60 ", "x"} << "IT60X";
    QTest::newRow("any character") << "" << QStringList{"it-6.0"} << "IT-6.0";
    QTest::newRow("at most 27") << "" << QStringList{QString(30, u'a')} << QString(27, u'A');
    // The caller's text is tidied by any key released, even one that changes nothing.
    QTest::newRow("key release tidies") << "it60x" << QStringList{"<Left>"} << "IT60X";
    QTest::newRow("blank in front dropped")
        << "IT60 X054" << QStringList(5, "<Left>") + QStringList(4, "<Backspace>") << "X054";
}

void TestFrmIban::typingRules() {
    QFETCH(QString, given);
    QFETCH(QStringList, steps);
    QFETCH(QString, shown);
    QCOMPARE(typeInto(
                 m_app->desktop, [&] { TfrmIban::open(nullptr, given); }, QStringLiteral("txtIban"),
                 steps),
             shown);
    QVERIFY(m_app->desktop.messages.isEmpty()); // typing checks nothing
}

QTEST_MAIN(TestFrmIban)
#include "tst_frmiban.moc"
