#include "CheckRun.h"
#include "app/Forms.h"
#include "support/FakeDesktop.h"
#include "validators/TfrmPartitaIva.h"

#include <QClipboard>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

const QString kWrongLength =
    QStringLiteral("Attenzione: la partita IVA deve essere composta da 11 caratteri numerici.");
const QString kWrong =
    QStringLiteral("Attenzione: il numero di partita IVA digitato risulta ERRATO!\r\n\r\nNon è "
                   "quindi possibile fornire informazioni relative all'Ufficio IVA che lo ha "
                   "rilasciato.");
QString valid(const QString &office) {
    return QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.\r\n\r\nE' stato "
                          "rilasciato dall'Ufficio IVA del Comune di ") +
           office + u'.';
}

TfrmPartitaIva &checkWindow(QDialog &dialog) {
    auto *window = qobject_cast<TfrmPartitaIva *>(&dialog);
    Q_ASSERT(window);
    return *window;
}

} // namespace

class TestFrmPartitaIva : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void outcomes_data();
    void outcomes();
    void onlyDigitsCanBeTyped();
    void editingKeysWork();
    void longTextFromTheCaller();

  private:
    QTemporaryDir m_dir;
    std::unique_ptr<Forms> m_forms;
    std::unique_ptr<FakeDesktop> m_desktop;
};

void TestFrmPartitaIva::init() {
    m_forms = std::make_unique<Forms>(AppFolder(m_dir.path()));
    m_desktop = std::make_unique<FakeDesktop>();
}

void TestFrmPartitaIva::cleanup() {
    m_desktop.reset();
    m_forms.reset();
}

void TestFrmPartitaIva::outcomes_data() {
    QTest::addColumn<QString>("number"); // as the caller hands it over
    QTest::addColumn<Desktop::Kind>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("staysOpen");
    const auto info = Desktop::Kind::Information;
    const auto warning = Desktop::Kind::Warning;
    QTest::newRow("valid, Napoli 1") << " 12345670637 " << info << valid("Napoli 1") << false;
    QTest::newRow("office 120") << "12345671205" << info << valid("Bologna 2") << false;
    QTest::newRow("office 121") << "12345671213" << info << valid("Napoli 2") << false;
    QTest::newRow("office not in the table")
        << "00000000000" << info
        << QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.\r\n\r\nIl codice "
                          "d'ufficio 000 non corrisponde ad alcun Ufficio IVA provinciale "
                          "conosciuto.")
        << false;
    QTest::newRow("wrong check digit") << "12345670636" << warning << kWrong << false;
    QTest::newRow("a letter in eleven") << "1234567063A" << warning << kWrong << false;
    QTest::newRow("10 digits") << "1234567063" << warning << kWrongLength << true;
    QTest::newRow("12 digits") << "123456706370" << warning << kWrongLength << true;
    QTest::newRow("16 digits, not cut to 11")
        << "1234567063712345" << warning << kWrongLength << true;
    QTest::newRow("empty") << "" << warning << kWrongLength << true;
}

void TestFrmPartitaIva::outcomes() {
    QFETCH(QString, number);
    QFETCH(Desktop::Kind, kind);
    QFETCH(QString, message);
    QFETCH(bool, staysOpen);
    const CheckRun run = pressControlla(
        *m_desktop, [&] { TfrmPartitaIva::open(nullptr, number); },
        QStringLiteral("txtPartitaIva"));
    verifyOutcome(run, *m_desktop, "TfrmPartitaIva", kind, message, staysOpen);
}

void TestFrmPartitaIva::onlyDigitsCanBeTyped() {
    QString shown;
    m_desktop->onModal = [&](QDialog &dialog) {
        TfrmPartitaIva &w = checkWindow(dialog);
        QGuiApplication::clipboard()->setText(QStringLiteral("999"));
        QTest::keyClicks(w.txtPartitaIva, QStringLiteral("1a 2-3.b"));
        QTest::keyClick(w.txtPartitaIva, Qt::Key_5, Qt::KeypadModifier);
        QTest::keyClick(w.txtPartitaIva, Qt::Key_V, Qt::ControlModifier); // no pasting
        QTest::keyClick(w.txtPartitaIva, Qt::Key_Home);                   // no character: swallowed
        QTest::keyClicks(w.txtPartitaIva, QStringLiteral("456789012345"));
        shown = w.txtPartitaIva->text();
        w.close();
    };
    TfrmPartitaIva::open(nullptr, QString());
    QCOMPARE(shown, QStringLiteral("12354567890")); // stops at 11 digits
}

void TestFrmPartitaIva::editingKeysWork() {
    QString shown;
    int caret = -1;
    m_desktop->onModal = [&](QDialog &dialog) {
        TfrmPartitaIva &w = checkWindow(dialog);
        QTest::keyClicks(w.txtPartitaIva, QStringLiteral("12345"));
        QTest::keyClick(w.txtPartitaIva, Qt::Key_Left);
        QTest::keyClick(w.txtPartitaIva, Qt::Key_Left);
        QTest::keyClick(w.txtPartitaIva, Qt::Key_Backspace); // 1245, caret after 2
        QTest::keyClick(w.txtPartitaIva, Qt::Key_Delete);    // 125
        QTest::keyClick(w.txtPartitaIva, Qt::Key_Right);
        QTest::keyClicks(w.txtPartitaIva, QStringLiteral("9"));
        shown = w.txtPartitaIva->text();
        caret = w.txtPartitaIva->cursorPosition();
        w.close();
    };
    TfrmPartitaIva::open(nullptr, QString());
    QCOMPARE(shown, QStringLiteral("1259"));
    QCOMPARE(caret, 4);
}

void TestFrmPartitaIva::longTextFromTheCaller() {
    // A caller's text beyond 11 digits stays whole; it can be shortened, and
    // typing never makes it longer than 11 again.
    QStringList steps;
    m_desktop->onModal = [&](QDialog &dialog) {
        TfrmPartitaIva &w = checkWindow(dialog);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        steps << w.txtPartitaIva->text();
        w.txtPartitaIva->end(false); // the text comes in selected
        QTest::keyClick(w.txtPartitaIva, Qt::Key_Backspace);
        QTest::keyClicks(w.txtPartitaIva, QStringLiteral("7"));
        steps << w.txtPartitaIva->text();
        for (int i = 0; i < 6; ++i)
            QTest::keyClick(w.txtPartitaIva, Qt::Key_Backspace);
        QTest::keyClicks(w.txtPartitaIva, QStringLiteral("78901234"));
        steps << w.txtPartitaIva->text();
        w.close();
    };
    TfrmPartitaIva::open(nullptr, QStringLiteral("1234567890123"));
    QCOMPARE(steps, (QStringList{QStringLiteral("1234567890123"), QStringLiteral("123456789012"),
                                 QStringLiteral("12345678901")}));
}

QTEST_MAIN(TestFrmPartitaIva)
#include "tst_frmpartitaiva.moc"
