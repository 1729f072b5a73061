// The workspaces' keys, typed as real key events while the user is in a box:
// each runs its command and its button's tooltip names it.
#include "clients/TfrmClienti.h"
#include "database/TfrmDatabase.h"
#include "kit/Shortcuts.h"
#include "app/TfrmAvvio.h"
#include "output/TfrmExpClienti.h"
#include "output/TfrmExpDatabase.h"
#include "settings/TfrmMenuImpostazioni.h"
#include "support/AppFixture.h"

#include <QLineEdit>
#include <QTest>

namespace {

const QString kCardInserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");
const QString kDuplicated = QStringLiteral(
    "E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\rAl termine "
    "premere Salva per inserire la scheda in archivio.");

// Four cards, "Carta 1" … "Carta 4", in the archive of the workspace.
QByteArray fourCards(bool database) {
    QByteArray bytes;
    for (int n = 1; n <= 4; ++n) {
        const QString name = QStringLiteral("Carta %1").arg(n);
        if (database) {
            DatabaseRecord r;
            r.setText(DatabaseField::Campo01, name);
            r.setText(DatabaseField::Cliente, name);
            bytes += r.bytes();
        } else {
            ClientRecord r;
            r.setText(ClientField::Cliente, name);
            bytes += r.bytes();
        }
    }
    return bytes;
}

} // namespace

class TestWorkspaceKeys : public QObject {
    Q_OBJECT
  private slots:
    void keys_data();
    void keys();
    void f1InTheOtherWindows();
    void italianKeyNames();
};

void TestWorkspaceKeys::keys_data() {
    QTest::addColumn<bool>("database");
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("label");
    // What the window shows afterwards: the position ("-" for a new card),
    // then the dialog opened or the last message.
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("opened");

    struct Row {
        QKeySequence keys;
        const char *button;
        const char *label;
        const char *position;
        const char *databaseOpened;
        const char *clientsOpened;
    };
    const Row rows[] = {
        {Qt::CTRL | Qt::Key_S, "cmdSalva", "Ctrl+S", "5", "", ""},
        {Qt::CTRL | Qt::Key_N, "cmdNuovo", "Ctrl+N", "-", "", ""},
        {Qt::CTRL | Qt::Key_D, "cmdDuplica", "Ctrl+D", "-", "", ""},
        {Qt::CTRL | Qt::Key_F, "cmdTrova", "Ctrl+F", "2", "TfrmTrovaDatabase",
         "TfrmTrovaClienti"},
        {Qt::CTRL | Qt::Key_P, "cmdStampa", "Ctrl+P", "2", "TfrmStampaDatabase", ""},
        {Qt::Key_PageUp, "cmdIndietro", "PagSu", "1", "", ""},
        {Qt::Key_PageDown, "cmdAvanti", "PagGiù", "3", "", ""},
        {Qt::CTRL | Qt::Key_Home, "cmdPrimo", "Ctrl+Inizio", "1", "", ""},
        {Qt::CTRL | Qt::Key_End, "cmdUltimo", "Ctrl+Fine", "4", "", ""},
        {Qt::Key_F1, "cmdGuida", "F1", "2", "TfrmGuida", "TfrmGuida"},
    };
    for (const bool database : {true, false})
        for (const Row &r : rows)
            QTest::addRow("%s %s", database ? "database" : "clienti", r.label)
                << database << r.keys << QString::fromLatin1(r.button)
                << QString::fromUtf8(r.label) << QString::fromLatin1(r.position)
                << QString::fromLatin1(database ? r.databaseOpened : r.clientsOpened);
}

void TestWorkspaceKeys::keys() {
    QFETCH(bool, database);
    QFETCH(QKeySequence, keys);
    QFETCH(QString, button);
    QFETCH(QString, label);
    QFETCH(QString, position);
    QFETCH(QString, opened);

    AppFixture app;
    LargeWindow *window = database ? static_cast<LargeWindow *>(app.windows->frmDatabase)
                                   : app.windows->frmClienti;
    QVERIFY(app.write(database ? QStringLiteral("Database.pro") : QStringLiteral("Clienti.pro"),
                      fourCards(database)));
    window->present();
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto *lblPosizione = window->findChild<QLabel *>(QStringLiteral("lblPosizione"));
    auto *pressed = window->findChild<QAbstractButton *>(button);
    QVERIFY(pressed);
    QVERIFY2(pressed->toolTip().endsWith(QStringLiteral(" (") + label + u')'), qPrintable(pressed->toolTip()));

    // Card 2 shown; the user is typing in a box that is not the first.
    QTest::mouseClick(window->findChild<QAbstractButton *>(QStringLiteral("cmdPrimo")),
                      Qt::LeftButton);
    QTest::mouseClick(window->findChild<QAbstractButton *>(QStringLiteral("cmdAvanti")),
                      Qt::LeftButton);
    auto *box = window->findChild<QLineEdit *>(database ? QStringLiteral("txtCampo03")
                                                        : QStringLiteral("txtZona"));
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    if (button == u"cmdSalva") // a new card, saved by its keys
        window->findChild<QAbstractButton *>(QStringLiteral("cmdDuplica"))->click();
    app.desktop.messages.clear();

    QTest::keySequence(window->focusWidget(), keys);

    const QString shown = lblPosizione->text().isEmpty() ? QStringLiteral("-") : lblPosizione->text();
    QCOMPARE(shown, position);
    QCOMPARE(app.desktop.modalDialogs.value(0), opened);
    if (button == u"cmdSalva")
        QCOMPARE(app.desktop.lastMessage(), kCardInserted);
    if (button == u"cmdDuplica")
        QCOMPARE(app.desktop.lastMessage(), kDuplicated);
    if (button == u"cmdStampa" && !database)
        QCOMPARE(app.desktop.prints.size(), 1);
    // A key that works from the box leaves the box's text alone.
    QCOMPARE(box->text(), QString());
}

// F1 opens the guide of every other window that has one.
void TestWorkspaceKeys::f1InTheOtherWindows() {
    AppFixture app;
    const QList<QWidget *> windows = {app.windows->frmAvvio, app.windows->frmMenuImpostazioni,
                                      app.windows->frmExpDatabase, app.windows->frmExpClienti};
    for (QWidget *window : windows) {
        app.desktop.modalDialogs.clear();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window->focusWidget() ? window->focusWidget() : window, Qt::Key_F1);
        QCOMPARE(app.desktop.modalDialogs, QStringList{QStringLiteral("TfrmGuida")});
        window->hide();
    }
}

void TestWorkspaceKeys::italianKeyNames() {
    const QList<std::pair<QKeySequence, QString>> names = {
        {QKeySequence(Qt::CTRL | Qt::Key_Return), QStringLiteral("Ctrl+Invio")},
        {QKeySequence(Qt::CTRL | Qt::Key_Delete), QStringLiteral("Ctrl+Canc")},
        {QKeySequence(Qt::SHIFT | Qt::Key_PageDown), QStringLiteral("Maiusc+PagGiù")},
        {QKeySequence(Qt::Key_Escape), QStringLiteral("Esc")},
    };
    for (const auto &[keys, name] : names)
        QCOMPARE(keysLabel(keys), name);
}

QTEST_MAIN(TestWorkspaceKeys)
#include "tst_workspacekeys.moc"
