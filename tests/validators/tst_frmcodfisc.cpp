#include "CheckRun.h"
#include "app/Forms.h"
#include "support/FakeDesktop.h"
#include "support/Typing.h"
#include "validators/TfrmCodFisc.h"
#include "validators/TfrmPartitaIva.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

const QString kWrongLength = QStringLiteral(
    "Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici.");
const QString kValid = QStringLiteral("Il codice fiscale digitato è VALIDO.");
const QString kWrong = QStringLiteral("Attenzione: il codice fiscale digitato è ERRATO.");

TfrmCodFisc &checkWindow(QDialog &dialog) {
    auto *window = qobject_cast<TfrmCodFisc *>(&dialog);
    Q_ASSERT(window);
    return *window;
}

} // namespace

class TestFrmCodFisc : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void outcomes_data();
    void outcomes();
    void typingRules_data();
    void typingRules();
    void caretStaysWhileTyping();
    void digitsGoToTheVatWindow_data();
    void digitsGoToTheVatWindow();

  private:
    QTemporaryDir m_dir;
    std::unique_ptr<Forms> m_forms;
    std::unique_ptr<FakeDesktop> m_desktop;
};

void TestFrmCodFisc::init() {
    m_forms = std::make_unique<Forms>(AppFolder(m_dir.path()));
    m_desktop = std::make_unique<FakeDesktop>();
}

void TestFrmCodFisc::cleanup() {
    m_desktop.reset();
    m_forms.reset();
}

void TestFrmCodFisc::outcomes_data() {
    QTest::addColumn<QString>("code"); // as the caller hands it over
    QTest::addColumn<Desktop::Kind>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("staysOpen");
    QTest::newRow("valid") << "RSSMRA85T10A562S" << Desktop::Kind::Information << kValid << false;
    QTest::newRow("valid in lower case")
        << "rssmra85t10a562s" << Desktop::Kind::Information << kValid << false;
    QTest::newRow("blanks around")
        << "  RSSMRA85T10A562S \t" << Desktop::Kind::Information << kValid << false;
    QTest::newRow("wrong check") << "RSSMRA85T10A562X" << Desktop::Kind::Warning << kWrong << false;
    QTest::newRow("15 characters")
        << "RSSMRA85T10A562" << Desktop::Kind::Warning << kWrongLength << true;
    QTest::newRow("17 characters, not cut to 16")
        << "RSSMRA85T10A562SX" << Desktop::Kind::Warning << kWrongLength << true;
    QTest::newRow("empty") << "" << Desktop::Kind::Warning << kWrongLength << true;
}

void TestFrmCodFisc::outcomes() {
    QFETCH(QString, code);
    QFETCH(Desktop::Kind, kind);
    QFETCH(QString, message);
    QFETCH(bool, staysOpen);
    const CheckRun run = pressControlla(
        *m_desktop, [&] { TfrmCodFisc::open(nullptr, code); }, QStringLiteral("txtCodFisc"));
    verifyOutcome(run, *m_desktop, "TfrmCodFisc", kind, message, staysOpen);
}

void TestFrmCodFisc::typingRules_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("capitals") << "rssmra85t10a562s"
                              << "RSSMRA85T10A562S";
    QTest::newRow("accents keep their case") << "àbc"
                                             << "àBC";
    QTest::newRow("blanks around dropped") << "  rss  "
                                           << "RSS";
    QTest::newRow("at most 16") << "rssmra85t10a562sxyz"
                                << "RSSMRA85T10A562S";
}

void TestFrmCodFisc::typingRules() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QCOMPARE(typeInto(*m_desktop, [] { TfrmCodFisc::open(nullptr, QString()); },
                      QStringLiteral("txtCodFisc"), {typed}),
             shown);
}

void TestFrmCodFisc::caretStaysWhileTyping() {
    QString text;
    int caret = -1;
    m_desktop->onModal = [&](QDialog &dialog) {
        TfrmCodFisc &w = checkWindow(dialog);
        QTest::keyClick(w.txtCodFisc, Qt::Key_Home);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(w.txtCodFisc, Qt::Key_Right);
        QTest::keyClicks(w.txtCodFisc, QStringLiteral("m"));
        text = w.txtCodFisc->text();
        caret = w.txtCodFisc->cursorPosition();
        w.close();
    };
    TfrmCodFisc::open(nullptr, QStringLiteral("rssra85t10a562s"));
    QCOMPARE(text, QStringLiteral("RSSMRA85T10A562S"));
    QCOMPARE(caret, 4);
}

void TestFrmCodFisc::digitsGoToTheVatWindow_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("box");
    QTest::newRow("eleven digits") << " 12345670637 "
                                   << "TfrmPartitaIva"
                                   << "12345670637";
    QTest::newRow("any number of digits") << "  123 "
                                          << "TfrmPartitaIva"
                                          << "123";
    QTest::newRow("sixteen digits, kept whole") << "1234567890123456"
                                                << "TfrmPartitaIva"
                                                << "1234567890123456";
    QTest::newRow("letters and digits") << "RSSMRA85T10A562S"
                                        << "TfrmCodFisc"
                                        << "RSSMRA85T10A562S";
    QTest::newRow("empty") << "   "
                           << "TfrmCodFisc"
                           << "";
}

void TestFrmCodFisc::digitsGoToTheVatWindow() {
    QFETCH(QString, code);
    QFETCH(QString, window);
    QFETCH(QString, box);
    QString shown;
    m_desktop->onModal = [&](QDialog &dialog) {
        const char *name = window == QLatin1String("TfrmCodFisc") ? "txtCodFisc" : "txtPartitaIva";
        shown = dialog.findChild<QLineEdit *>(QLatin1String(name))->text();
    };
    TfrmCodFisc::open(nullptr, code);
    QCOMPARE(m_desktop->modalDialogs, QStringList{window});
    QCOMPARE(shown, box);
}

QTEST_MAIN(TestFrmCodFisc)
#include "tst_frmcodfisc.moc"
