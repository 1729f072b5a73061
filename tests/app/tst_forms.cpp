#include "support/AppFixture.h"
#include "app/ScreenFit.h"
#include "app/TfrmAvvio.h"
#include "app/TfrmCambiaPassword.h"
#include "app/TfrmPassword.h"
#include "clients/TfrmClienti.h"
#include "database/TfrmDatabase.h"
#include "kit/Shell.h"
#include "settings/TfrmImpostaAvvio.h"
#include "settings/TfrmImpostaCampi.h"
#include "settings/TfrmMenuImpostazioni.h"

#include <QLineEdit>
#include <QVBoxLayout>
#include <QLocale>
#include <QtTest>

// The registry and the flow between the large windows.
class TestForms : public QObject {
    Q_OBJECT
  private slots:
    void startUpBuildsEveryWindowOnce();
    void onlyTheLoginAtStart();
    void formatsWhateverTheSystem();
    void handOverShowsBeforeHiding_data();
    void handOverShowsBeforeHiding();
    void waysTheProgramEnds_data();
    void waysTheProgramEnds();
    void closingOtherWindowsNeverEnds();
    void escClosesEveryDialog();
    void windowsShrinkToTheScreen();
};

void TestForms::startUpBuildsEveryWindowOnce() {
    // The login is made first, so it is the program's main window; each
    // window class is made once; making them touches no file of the folder.
    AppFixture app;
    const QList<QWidget *> created = app.windows->created();
    QVERIFY(!created.isEmpty());
    QCOMPARE(created.first(), static_cast<QWidget *>(app.windows->frmPassword));
    QSet<QString> seen;
    for (QWidget *w : created) {
        const QString name = QString::fromLatin1(w->metaObject()->className());
        QVERIFY2(!seen.contains(name), qPrintable(name));
        seen << name;
        QVERIFY2(!w->isVisible(), qPrintable(name));
    }
    for (QWidget *large :
         std::initializer_list<QWidget *>{app.windows->frmAvvio, app.windows->frmCambiaPassword,
                                          app.windows->frmDatabase, app.windows->frmClienti,
                                          app.windows->frmMenuImpostazioni,
                                          app.windows->frmImpostaCampi,
                                          app.windows->frmImpostaAvvio})
        QVERIFY(large && created.contains(large));
    QVERIFY(QDir(app.folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    QVERIFY(app.desktop.messages.isEmpty());
    // The registry is the shell for its lifetime only.
    QVERIFY(Shell::isRunning());
    app.windows.reset();
    QVERIFY(!Shell::isRunning());
}

void TestForms::onlyTheLoginAtStart() {
    AppFixture app;
    FlowRecorder flow;
    QVERIFY(app.visibleWindows().isEmpty());
    app.windows->startUp();
    QCOMPARE(app.visibleWindows(), QStringList{"frmPassword"});
    QCOMPARE(flow.events, QStringList{"show frmPassword"});
    QVERIFY(QTest::qWaitForWindowExposed(app.windows->frmPassword));
    QTRY_VERIFY(app.windows->frmPassword->txtPassword->hasFocus());
}

void TestForms::formatsWhateverTheSystem() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    AppFixture app;
    QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
    QCOMPARE(QLocale().toString(1.5), QStringLiteral("1,5"));
    QCOMPARE(formatDate(QDate(2024, 3, 7)), QStringLiteral("07/03/2024"));
}

void TestForms::handOverShowsBeforeHiding_data() {
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::newRow("start screen to settings menu") << "settings"
                                                   << "frmAvvio"
                                                   << "frmMenuImpostazioni";
    QTest::newRow("menu to field titles") << "campi"
                                          << "frmMenuImpostazioni"
                                          << "frmImpostaCampi";
    QTest::newRow("menu to start-screen settings") << "start"
                                                   << "frmMenuImpostazioni"
                                                   << "frmImpostaAvvio";
    QTest::newRow("menu back to start screen") << "menuExit"
                                               << "frmMenuImpostazioni"
                                               << "frmAvvio";
    QTest::newRow("field titles closed") << "campiClose"
                                         << "frmImpostaCampi"
                                         << "frmAvvio";
    QTest::newRow("start-screen settings closed") << "avvioClose"
                                                  << "frmImpostaAvvio"
                                                  << "frmAvvio";
    QTest::newRow("login to password change") << "change"
                                              << "frmPassword"
                                              << "frmCambiaPassword";
    QTest::newRow("password change closed") << "changeClose"
                                            << "frmCambiaPassword"
                                            << "frmPassword";
}

void TestForms::handOverShowsBeforeHiding() {
    QFETCH(QString, step);
    QFETCH(QString, from);
    QFETCH(QString, to);
    AppFixture app;
    Forms &f = *app.windows;
    LargeWindow *source = nullptr;
    for (QWidget *w : f.created())
        if (w->objectName() == from)
            source = qobject_cast<LargeWindow *>(w);
    QVERIFY(source);
    source->present();
    QTRY_VERIFY(source->isVisible());

    FlowRecorder flow;
    if (step == "settings")
        f.frmAvvio->cmdImpostazioni->click();
    else if (step == "campi")
        f.frmMenuImpostazioni->btnImpostaCampi->click();
    else if (step == "start")
        f.frmMenuImpostazioni->btnImpostaAvvio->click();
    else if (step == "menuExit")
        f.frmMenuImpostazioni->imgEsciClick();
    else if (step == "campiClose")
        f.frmImpostaCampi->btnAnnulla->click();
    else if (step == "avvioClose")
        f.frmImpostaAvvio->btnAnnulla->click();
    else if (step == "change")
        f.frmPassword->btnCambiaPassword->click();
    else if (step == "changeClose")
        f.frmCambiaPassword->cmdEsci->click();

    QCOMPARE(app.visibleWindows(), QStringList{to});
    QCOMPARE(flow.events, (QStringList{"show " + to, "hide " + from}));
    QVERIFY(!f.terminated);
}

void TestForms::waysTheProgramEnds_data() {
    QTest::addColumn<QString>("way");
    QTest::newRow("login Esci") << "loginEsci";
    QTest::newRow("login closed by the window manager") << "loginClose";
    QTest::newRow("start screen exit icon") << "startExit";
    QTest::newRow("start screen closed") << "startClose";
}

void TestForms::waysTheProgramEnds() {
    QFETCH(QString, way);
    AppFixture app;
    Forms &f = *app.windows;
    const bool fromLogin = way.startsWith("login");
    if (fromLogin)
        f.frmPassword->present();
    else
        f.frmAvvio->present();
    if (way == "loginEsci")
        f.frmPassword->cmdEsci->click();
    else if (way == "loginClose")
        f.frmPassword->close();
    else if (way == "startExit")
        f.frmAvvio->imgEsciClick();
    else
        f.frmAvvio->close();
    QVERIFY(f.terminated);
    QVERIFY(app.visibleWindows().isEmpty());
}

void TestForms::closingOtherWindowsNeverEnds() {
    AppFixture app;
    Forms &f = *app.windows;
    const QList<LargeWindow *> others = {f.frmCambiaPassword, f.frmMenuImpostazioni,
                                         f.frmImpostaCampi, f.frmImpostaAvvio};
    for (LargeWindow *w : others) {
        w->present();
        QVERIFY(w->close());
        QVERIFY2(!f.terminated, qPrintable(w->objectName()));
        QCOMPARE(app.visibleWindows().size(), 1);
        for (QWidget *v : f.created())
            v->hide();
    }
    // The start screen only hides when it hands over.
    f.frmAvvio->present();
    f.frmAvvio->cmdImpostazioniClick();
    QVERIFY(!f.terminated);
}

void TestForms::escClosesEveryDialog() {
    AppFixture app;
    for (QWidget *w : app.windows->created()) {
        auto *dialog = qobject_cast<QDialog *>(w);
        if (!dialog)
            continue;
        const QByteArray name = dialog->metaObject()->className();
        dialog->show();
        QVERIFY2(QTest::qWaitForWindowActive(dialog), name.constData());
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dialog,
                        Qt::Key_Escape);
        QVERIFY2(!dialog->isVisible(), name.constData());
    }
}

void TestForms::windowsShrinkToTheScreen() {
    // A fixed dialog needs its size; a large window its least size and room
    // for the window manager's frame (8 x 36).
    QDialog dialog;
    dialog.setFixedSize(600, 400);
    LargeWindow large;
    auto *panel = new QWidget;
    panel->setFixedSize(1000, 700);
    auto *layout = new QVBoxLayout(&large);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel);
    const QList<QWidget *> windows{&dialog, &large};
    QCOMPARE(screenShrink(windows, QSize(1600, 1000)), 1.0);
    QCOMPARE(screenShrink(windows, QSize(1008, 736)), 1.0);
    QCOMPARE(screenShrink(windows, QSize(504, 736)), 0.5);  // too narrow
    QCOMPARE(screenShrink(windows, QSize(1600, 368)), 0.5); // too low
    QCOMPARE(screenShrink({&dialog}, QSize(300, 400)), 0.5);
    QCOMPARE(screenShrink(windows, QSize()), 1.0); // no screen: as it is

    // The program's own windows fit a 1024 x 768 screen less its panel.
    AppFixture app;
    QVERIFY(screenShrink(app.windows->created(), QSize(1024, 740)) > 0.97);
}

QTEST_MAIN(TestForms)
#include "tst_forms.moc"
