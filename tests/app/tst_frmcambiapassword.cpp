#include "app/TfrmAvvio.h"
#include "app/TfrmCambiaPassword.h"
#include "app/TfrmPassword.h"
#include "storage/PasswordFile.h"
#include "support/AppFixture.h"
#include "support/FullDisk.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestFrmCambiaPassword : public QObject {
    Q_OBJECT
  private slots:
    void okNeedsAllThreeBoxes_data();
    void okNeedsAllThreeBoxes();
    void enterWalksRoundAndNeverApplies();
    void refusals_data();
    void refusals();
    void acceptedPasswordOpensTheLogin_data();
    void acceptedPasswordOpensTheLogin();
    void damagedPasswordFile();
    void closingBringsBackAnEmptyLogin();
    void failedWriteKeepsThePassword_data();
    void failedWriteKeepsThePassword();
};

namespace {
const QString kOld = QStringLiteral("VECCHIA1");

struct Change {
    AppFixture app;
    TfrmCambiaPassword *w;
    explicit Change(bool withFile = true, const QString &folder = AppFixture::defaultSubfolder())
        : app(folder), w(app.windows->frmCambiaPassword) {
        if (withFile)
            password::write(AppFolder(app.folder), kOld);
        app.windows->frmPassword->present();
        app.windows->frmPassword->btnCambiaPassword->click();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }
    void type(const QString &old, const QString &fresh, const QString &confirm) {
        w->txtPasswordOld->setText(old);
        w->txtPasswordNew->setText(fresh);
        w->txtConferma->setText(confirm);
    }
    QByteArray file() const { return app.read(QStringLiteral("unins000.dll")); }
};

// Logs in with `typed` on the login window; true when the start screen opens.
bool logsIn(AppFixture &app, const QString &typed) {
    TfrmPassword *login = app.windows->frmPassword;
    login->txtPassword->setText(typed);
    login->cmdOKClick();
    const bool in = app.windows->frmAvvio && app.visibleWindows() == QStringList{"frmAvvio"};
    if (in) {
        app.windows->frmAvvio->hide();
        login->present();
    }
    return in;
}
} // namespace

void TestFrmCambiaPassword::okNeedsAllThreeBoxes_data() {
    QTest::addColumn<QString>("old");
    QTest::addColumn<QString>("fresh");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("all three") << "a"
                               << "b"
                               << "c" << true;
    QTest::newRow("old empty") << ""
                               << "b"
                               << "c" << false;
    QTest::newRow("new blank") << "a"
                               << "   "
                               << "c" << false;
    QTest::newRow("confirmation blank") << "a"
                                        << "b"
                                        << " \t " << false;
}

void TestFrmCambiaPassword::okNeedsAllThreeBoxes() {
    QFETCH(QString, old);
    QFETCH(QString, fresh);
    QFETCH(QString, confirm);
    QFETCH(bool, enabled);
    Change c;
    QVERIFY(!c.w->cmdOK->isEnabled());
    QTest::keyClicks(c.w->txtPasswordOld, old);
    QTest::keyClicks(c.w->txtPasswordNew, fresh);
    c.w->txtConferma->setText(confirm);
    QCOMPARE(c.w->cmdOK->isEnabled(), enabled);
}

void TestFrmCambiaPassword::enterWalksRoundAndNeverApplies() {
    Change c;
    c.type(QStringLiteral("vecchia1"), QStringLiteral("nuova123"), QStringLiteral("nuova123"));
    const QByteArray before = c.file();
    QTRY_VERIFY(c.w->txtPasswordOld->hasFocus());
    QVERIFY(c.w->effPasswordOld->isVisible());
    const QList<QLineEdit *> ring = {c.w->txtPasswordNew, c.w->txtConferma, c.w->txtPasswordOld};
    const QList<QFrame *> frames = {c.w->effPasswordNew, c.w->effConferma, c.w->effPasswordOld};
    for (int i = 0; i < ring.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_VERIFY(ring[i]->hasFocus());
        for (int j = 0; j < frames.size(); ++j)
            QCOMPARE(frames[j]->isVisible(), i == j);
    }
    QVERIFY(c.app.desktop.messages.isEmpty());
    QCOMPARE(c.file(), before);
}

void TestFrmCambiaPassword::refusals_data() {
    QTest::addColumn<QString>("old");
    QTest::addColumn<QString>("fresh");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("oldEmptied");
    QTest::newRow("wrong old password") << "vecchia2"
                                        << "nuova123"
                                        << "nuova123"
                                        << "Attenzione: vecchia password errata." << true;
    QTest::newRow("confirmation differs in case")
        << "vecchia1"
        << "nuova123"
        << "NUOVA123"
        << "Attenzione: la nuova password non è stata confermata correttamente. E' necessario "
           "reinserire entrambi i valori."
        << false;
    QTest::newRow("character the file cannot hold")
        << "vecchia1"
        << "prezzo€100"
        << "prezzo€100"
        << "Attenzione: la nuova password contiene il carattere «€», che non può essere "
           "memorizzato. Si possono usare lettere (anche accentate), cifre e i simboli più "
           "comuni. E' necessario reinserire entrambi i valori."
        << false;
    QTest::newRow("longer than 255 characters")
        << "vecchia1" << QString(256, u'k') << QString(256, u'k')
        << "Attenzione: la nuova password non può superare i 255 caratteri. E' necessario "
           "reinserire entrambi i valori."
        << false;
}

void TestFrmCambiaPassword::refusals() {
    QFETCH(QString, old);
    QFETCH(QString, fresh);
    QFETCH(QString, confirm);
    QFETCH(QString, message);
    QFETCH(bool, oldEmptied);
    Change c;
    const QByteArray before = c.file();
    c.type(old, fresh, confirm);
    c.w->cmdOK->click();
    QCOMPARE(c.app.desktop.messages.size(), 1);
    QCOMPARE(c.app.desktop.messages[0].kind, Desktop::Kind::Plain);
    QCOMPARE(c.app.desktop.lastMessage(), message);
    QCOMPARE(c.file(), before);
    QCOMPARE(c.app.visibleWindows(), QStringList{"frmCambiaPassword"});
    // Only the boxes at fault are emptied, and the focus goes to the first of them.
    QCOMPARE(c.w->txtPasswordOld->text().isEmpty(), oldEmptied);
    QCOMPARE(c.w->txtPasswordNew->text().isEmpty(), !oldEmptied);
    QCOMPARE(c.w->txtConferma->text().isEmpty(), !oldEmptied);
    QTRY_VERIFY((oldEmptied ? c.w->txtPasswordOld : c.w->txtPasswordNew)->hasFocus());
}

void TestFrmCambiaPassword::acceptedPasswordOpensTheLogin_data() {
    QTest::addColumn<QString>("fresh");  // as typed, twice
    QTest::addColumn<QString>("stored"); // in the file, unscrambled
    QTest::addColumn<QString>("typedAtLogin");
    QTest::newRow("lower case") << "nuova123"
                                << "NUOVA123"
                                << "nuova123";
    QTest::newRow("blanks around are not stored") << "  Nuova 123 "
                                                  << "NUOVA 123"
                                                  << "nuova 123";
    QTest::newRow("accented letters") << "perché-così"
                                      << "PERCHé-COSì"
                                      << "Perché-così";
    QTest::newRow("latin-1 symbols") << "ÿ£§°"
                                     << "ÿ£§°"
                                     << "ÿ£§°";
    QTest::newRow("exactly 255 characters")
        << QString(255, u'z') << QString(255, u'Z') << QString(255, u'z');
}

void TestFrmCambiaPassword::acceptedPasswordOpensTheLogin() {
    QFETCH(QString, fresh);
    QFETCH(QString, stored);
    QFETCH(QString, typedAtLogin);
    Change c;
    c.type(QStringLiteral("  vecchia1 "), fresh, fresh);
    FlowRecorder flow;
    c.w->cmdOK->click();
    QCOMPARE(c.app.desktop.messages.size(), 1);
    QCOMPARE(c.app.desktop.lastMessage(),
             QStringLiteral("Modifica della password completata con successo."));
    QCOMPARE(c.app.desktop.messages[0].kind, Desktop::Kind::Plain);
    QCOMPARE(password::read(AppFolder(c.app.folder)), stored);
    QCOMPARE(c.file(), "[Accesso]\r\nValore=" + Crypt::scramble(stored).toLatin1() + "\r\n");
    QCOMPARE(flow.events, (QStringList{"show frmPassword", "hide frmCambiaPassword"}));

    QVERIFY(!logsIn(c.app, QStringLiteral("vecchia1")));
    QVERIFY(logsIn(c.app, typedAtLogin));
}

void TestFrmCambiaPassword::damagedPasswordFile() {
    Change c(false);
    QVERIFY(c.app.write(QStringLiteral("unins000.dll"), "[accesso]\r\nvalore=XY12\r\n"));
    const QByteArray before = c.file();
    c.type(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("b"));
    c.w->cmdOK->click();
    QCOMPARE(c.app.desktop.lastMessage(),
             QStringLiteral("Attenzione: si è verificato un errore durante la procedura di "
                            "modifica della password. Si consiglia di reinstallare il software."));
    QCOMPARE(c.file(), before);
    QCOMPARE(c.app.visibleWindows(), QStringList{"frmCambiaPassword"});
}

void TestFrmCambiaPassword::closingBringsBackAnEmptyLogin() {
    Change c;
    TfrmPassword *login = c.app.windows->frmPassword;
    login->txtPassword->setText(QStringLiteral("resto"));
    login->lblMemory->setText(QStringLiteral("resto"));
    c.type(QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("y"));
    c.w->cmdEsci->click();
    QCOMPARE(c.app.visibleWindows(), QStringList{"frmPassword"});
    QCOMPARE(login->txtPassword->text(), QString());
    QCOMPARE(login->lblMemory->text(), QString());
    QTRY_VERIFY(login->txtPassword->hasFocus());
    QVERIFY(c.app.desktop.messages.isEmpty());
    // The next visit starts with empty boxes.
    login->btnCambiaPassword->click();
    QCOMPARE(c.w->txtPasswordOld->text(), QString());
    QCOMPARE(c.w->txtPasswordNew->text(), QString());
    QCOMPARE(c.w->txtConferma->text(), QString());
    QVERIFY(!c.w->cmdOK->isEnabled());
}

void TestFrmCambiaPassword::failedWriteKeepsThePassword_data() {
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("full disk") << false;
    QTest::newRow("read-only disk") << true;
}

void TestFrmCambiaPassword::failedWriteKeepsThePassword() {
    // The application folder on a disk that takes no more bytes: the change
    // fails, says so, and the old password still opens the program.
    QFETCH(bool, readOnly);
    FullDisk disk;
    REQUIRE_MOUNTED(disk);
    Change c(true, disk.filePath(QStringLiteral("Cartavera")));
    const QByteArray before = c.file();
    QVERIFY(!before.isEmpty());
    QVERIFY(readOnly ? disk.makeReadOnly() : disk.fill());
    c.type(QStringLiteral("vecchia1"), QStringLiteral("nuova123"), QStringLiteral("nuova123"));
    QTest::mouseClick(c.w->cmdOK, Qt::LeftButton);

    QCOMPARE(c.app.desktop.lastMessage(),
             QStringLiteral("Attenzione: si è verificato un errore durante la procedura di "
                            "modifica della password. Si consiglia di reinstallare il software."));
    QCOMPARE(c.file(), before);
    c.w->close();
    QVERIFY(logsIn(c.app, QStringLiteral("vecchia1")));
    QVERIFY(!logsIn(c.app, QStringLiteral("nuova123")));
}

QTEST_MAIN(TestFrmCambiaPassword)
#include "tst_frmcambiapassword.moc"
