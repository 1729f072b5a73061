#include "app/TfrmAvvio.h"
#include "app/TfrmPassword.h"
#include "storage/PasswordFile.h"
#include "support/AppFixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestFrmPassword : public QObject {
    Q_OBJECT
  private slots:
    void okFollowsTheEntry_data();
    void okFollowsTheEntry();
    void check_data();
    void check();
    void enterOnBlanksDoesNothing();
    void deliveredFirstAccessPassword();
    void damagedPasswordFile_data();
    void damagedPasswordFile();
    void focusFrame();
};

namespace {
const QString kWrong = QStringLiteral("Attenzione: password errata.");

struct Login {
    AppFixture app;
    TfrmPassword *w;
    Login() : w(app.windows->frmPassword) {
        w->present();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }
};
} // namespace

void TestFrmPassword::okFollowsTheEntry_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blanks") << "    " << false;
    QTest::newRow("word") << "x" << true;
    QTest::newRow("word in blanks") << "  a  " << true;
}

void TestFrmPassword::okFollowsTheEntry() {
    QFETCH(QString, typed);
    QFETCH(bool, enabled);
    Login login;
    QVERIFY(!login.w->cmdOK->isEnabled());
    QTest::keyClicks(login.w->txtPassword, typed);
    QCOMPARE(login.w->cmdOK->isEnabled(), enabled);
    QCOMPARE(login.w->txtPassword->echoMode(), QLineEdit::Password);
}

void TestFrmPassword::check_data() {
    QTest::addColumn<QString>("stored"); // as the file keeps it
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enter"); // Enter instead of OK
    QTest::addColumn<bool>("accepted");
    QTest::newRow("same") << "SEGRETO1"
                          << "SEGRETO1" << false << true;
    QTest::newRow("lower case typed") << "SEGRETO1"
                                      << "segreto1" << false << true;
    QTest::newRow("blanks around") << "SEGRETO1"
                                   << "  Segreto1  " << true << true;
    QTest::newRow("accented letter keeps its case") << "CITTà"
                                                    << "città" << false << true;
    QTest::newRow("accented capital is another letter") << "CITTà"
                                                        << "CITTÀ" << false << false;
    QTest::newRow("wrong") << "SEGRETO1"
                           << "segreto2" << true << false;
    QTest::newRow("no password file") << ""
                                      << "qualcosa" << false << false;
}

void TestFrmPassword::check() {
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, enter);
    QFETCH(bool, accepted);
    Login login;
    if (!stored.isEmpty())
        password::write(AppFolder(login.app.folder), stored);
    FlowRecorder flow;
    const bool ascii =
        std::all_of(typed.cbegin(), typed.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii)
        QTest::keyClicks(login.w->txtPassword, typed);
    else
        login.w->txtPassword->setText(typed);
    if (enter)
        QTest::keyClick(login.w->txtPassword, Qt::Key_Return);
    else
        login.w->cmdOK->click();

    if (accepted) {
        QVERIFY(login.app.desktop.messages.isEmpty());
        QCOMPARE(login.app.visibleWindows(), QStringList{"frmAvvio"});
        QCOMPARE(flow.events, (QStringList{"show frmAvvio", "hide frmPassword"}));
    } else {
        QCOMPARE(login.app.desktop.messages.size(), 1);
        QCOMPARE(login.app.desktop.messages[0].kind, Desktop::Kind::Plain);
        QCOMPARE(login.app.desktop.lastMessage(), kWrong);
        QCOMPARE(login.app.visibleWindows(), QStringList{"frmPassword"});
        QCOMPARE(login.w->txtPassword->text(), QString());
        QVERIFY(!login.w->cmdOK->isEnabled());
        QTRY_VERIFY(login.w->txtPassword->hasFocus());
    }
}

void TestFrmPassword::enterOnBlanksDoesNothing() {
    Login login;
    password::write(AppFolder(login.app.folder), QString());
    QTest::keyClicks(login.w->txtPassword, QStringLiteral("   "));
    QTest::keyClick(login.w->txtPassword, Qt::Key_Return);
    QTest::keyClick(login.w->txtPassword, Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(login.app.desktop.messages.isEmpty());
    QCOMPARE(login.app.visibleWindows(), QStringList{"frmPassword"});
}

void TestFrmPassword::deliveredFirstAccessPassword() {
    Login login;
    const QString delivered =
        qEnvironmentVariable("CARTAVERA_SOURCE_DIR") + QStringLiteral("/resources/unins000.dll");
    QVERIFY(QFile::copy(delivered, login.app.path(QStringLiteral("unins000.dll"))));
    QCOMPARE(password::read(AppFolder(login.app.folder)), QStringLiteral("AMMINISTRATORE"));
    QTest::keyClicks(login.w->txtPassword, QStringLiteral("amministratore"));
    QTest::keyClick(login.w->txtPassword, Qt::Key_Return);
    QCOMPARE(login.app.visibleWindows(), QStringList{"frmAvvio"});
}

// A damaged password file never lets anyone in: a value that is not
// hexadecimal is a reading error, a file without the value reads as no
// password; an odd last digit is ignored.
void TestFrmPassword::damagedPasswordFile_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message"); // empty: the start screen opens
    const QByteArray stored = Crypt::scramble(u"AMMINISTRATORE").toLatin1();
    const QString readError =
        QStringLiteral("Attenzione: si è verificato un errore durante la procedura di "
                       "lettura della password. Si consiglia di reinstallare il software.");
    QTest::newRow("a pair that is not hexadecimal")
        << QByteArray("[Accesso]\r\nValore=1DZZ26\r\n") << "prova" << readError;
    QTest::newRow("binary bytes in the value")
        << QByteArray("[Accesso]\r\nValore=\x00\xFF\x80\x01\xC3\r\n", 25) << "prova" << readError;
    QTest::newRow("odd length, one digit more") << "[Accesso]\r\nValore=" + stored + "7\r\n"
                                                << "amministratore"
                                                << "";
    QTest::newRow("odd length, last digit lost, whole word typed")
        << "[Accesso]\r\nValore=" + stored.chopped(1) + "\r\n"
        << "amministratore" << kWrong;
    QByteArray junk(4096, Qt::Uninitialized);
    for (int i = 0; i < junk.size(); ++i)
        junk[i] = char((i * 7919 + 13) % 256);
    QTest::newRow("binary file") << junk << "amministratore" << kWrong;
    QTest::newRow("empty file") << QByteArray() << "amministratore" << kWrong;
}

void TestFrmPassword::damagedPasswordFile() {
    QFETCH(QByteArray, file);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    Login login;
    QVERIFY(login.app.write(QStringLiteral("unins000.dll"), file));
    QTest::keyClicks(login.w->txtPassword, typed);
    login.w->cmdOK->click();
    if (message.isEmpty()) {
        QVERIFY(login.app.desktop.messages.isEmpty());
        QCOMPARE(login.app.visibleWindows(), QStringList{"frmAvvio"});
        return;
    }
    QCOMPARE(login.app.desktop.messages.size(), 1);
    QCOMPARE(login.app.desktop.lastMessage(), message);
    QCOMPARE(login.app.desktop.messages[0].kind, Desktop::Kind::Plain);
    QCOMPARE(login.app.visibleWindows(), QStringList{"frmPassword"});
    // A reading error leaves the window as it was; a wrong password empties the box.
    QCOMPARE(login.w->txtPassword->text(), message == kWrong ? QString() : typed);
    QCOMPARE(login.app.read(QStringLiteral("unins000.dll")), file);
}

void TestFrmPassword::focusFrame() {
    Login login;
    QTRY_VERIFY(login.w->effPassword->isVisible());
    login.w->cmdOK->setEnabled(true);
    login.w->cmdEsci->setFocus();
    QTRY_VERIFY(!login.w->effPassword->isVisible());
}

QTEST_MAIN(TestFrmPassword)
#include "tst_frmpassword.moc"
