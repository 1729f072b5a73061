#include "CheckRun.h"
#include "support/AppFixture.h"
#include "validators/TfrmCarta.h"

#include <QClipboard>
#include <QtTest>
#include <memory>

namespace {

const QString kEmpty = QStringLiteral(
    "Attenzione: immettere il numero di carta di credito prima di premere il pulsante di "
    "controllo.");
const QString kWrong =
    QStringLiteral("Attenzione: il numero digitato risulta ERRATO!\r\n\r\nNon è quindi possibile "
                   "fornire informazioni relative al tipo di carta di credito.");

QString valid(const QString &number, const QString &type) {
    return QStringLiteral("Il numero di carta di credito ") + number +
           QStringLiteral(" risulta valido.\r\n\r\nLa carta di credito è del tipo ") + type + u'.';
}

// A number that passes but whose leading digits name no type.
QString validWithoutType(const QString &number) {
    return QStringLiteral("Il numero di carta di credito ") + number +
           QStringLiteral(" risulta valido.\r\n\r\nIl tipo di carta di credito non è tra quelli "
                          "riconosciuti.");
}

} // namespace

class TestFrmCarta : public QObject {
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

void TestFrmCarta::init() {
    m_app = std::make_unique<AppFixture>();
}

void TestFrmCarta::cleanup() {
    m_app.reset();
}

void TestFrmCarta::outcomes_data() {
    QTest::addColumn<QString>("number"); // as the caller hands it over
    QTest::addColumn<Desktop::Kind>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("staysOpen");
    const auto info = Desktop::Kind::Information;
    const auto warning = Desktop::Kind::Warning;
    QTest::newRow("Visa") << "4111111111111111" << info << valid("4111111111111111", "Visa")
                          << false;
    QTest::newRow("Visa in groups, blanks around")
        << " 4111 1111 1111 1111 " << info << valid("4111 1111 1111 1111", "Visa") << false;
    QTest::newRow("Visa, wrong last digit") << "4111111111111112" << warning << kWrong << false;
    QTest::newRow("MasterCard") << "5555555555554444" << info
                                << valid("5555555555554444", "MasterCard") << false;
    QTest::newRow("MasterCard from 2221")
        << "2221000000000009" << info << valid("2221000000000009", "MasterCard") << false;
    QTest::newRow("first digit 2 outside MasterCard")
        << "2000000000000006" << warning << kWrong << false;
    QTest::newRow("Discover") << "6011111111111117" << info << valid("6011111111111117", "Discover")
                              << false;
    QTest::newRow("American Express")
        << "378282246310005" << info << valid("378282246310005", "American Express") << false;
    QTest::newRow("Diner's Club") << "30569309025904" << info
                                  << valid("30569309025904",
                                           QStringLiteral("Diner's Club / Carte Blanche"))
                                  << false;
    QTest::newRow("JCB") << "3530111333300000" << info << valid("3530111333300000", "JCB") << false;
    QTest::newRow("starts with 32")
        << "3200000000000002" << info << validWithoutType("3200000000000002") << false;
    QTest::newRow("starts with 39")
        << "3900000000000005" << info << validWithoutType("3900000000000005") << false;
    QTest::newRow("passes, first digit 7") << "7000000000000005" << warning << kWrong << false;
    QTest::newRow("passes, first digit 1") << "1000000000000008" << warning << kWrong << false;
    QTest::newRow("digits after the 20th character ignored")
        << "4111111111111111    9" << info << valid("4111111111111111    9", "Visa") << false;
    QTest::newRow("no digits") << "abc" << warning << kWrong << false;
    QTest::newRow("empty") << "" << warning << kEmpty << true;
    QTest::newRow("blanks only") << "   " << warning << kEmpty << true;
}

void TestFrmCarta::outcomes() {
    QFETCH(QString, number);
    QFETCH(Desktop::Kind, kind);
    QFETCH(QString, message);
    QFETCH(bool, staysOpen);
    const CheckRun run = pressControlla(
        m_app->desktop, [&] { TfrmCarta::open(nullptr, number); }, QStringLiteral("txtNumero"));
    verifyOutcome(run, m_app->desktop, "TfrmCarta", kind, message, staysOpen);
}

void TestFrmCarta::typingRules_data() {
    QTest::addColumn<QString>("given"); // by the caller
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("shown");
    QTest::newRow("digits") << "" << QStringList{"4111"} << "4111";
    QTest::newRow("letters, blanks and signs swallowed") << "" << QStringList{"1a 2-3.b"} << "123";
    QTest::newRow("accented letter swallowed") << "" << QStringList{"1à2"} << "12";
    QTest::newRow("keypad digit") << "" << QStringList{"1", "<Num+5>"} << "15";
    QTest::newRow("keys without a character swallowed")
        << "" << QStringList{"12", "<Home>", "<Up>", "3"} << "123";
    QTest::newRow("no pasting") << "" << QStringList{"1", "<Ctrl+V>", "<Shift+Ins>"} << "1";
    QTest::newRow("editing keys pass")
        << "" << QStringList{"12345", "<Left>", "<Left>", "<Backspace>", "<Del>", "<Right>", "9"}
        << "1259";
    QTest::newRow("at most 30") << "" << QStringList{QString(35, u'4')} << QString(30, u'4');
    // The caller's number in groups: deleting the first group leaves no
    // blank in front.
    QTest::newRow("blank in front dropped")
        << "4111 2222" << QStringList(5, "<Left>") + QStringList(4, "<Backspace>") << "2222";
}

void TestFrmCarta::typingRules() {
    QFETCH(QString, given);
    QFETCH(QStringList, steps);
    QFETCH(QString, shown);
    QGuiApplication::clipboard()->setText(QStringLiteral("999")); // not to be pasted
    QCOMPARE(typeInto(
                 m_app->desktop, [&] { TfrmCarta::open(nullptr, given); },
                 QStringLiteral("txtNumero"), steps),
             shown);
    QVERIFY(m_app->desktop.messages.isEmpty()); // typing checks nothing
}

QTEST_MAIN(TestFrmCarta)
#include "tst_frmcarta.moc"
