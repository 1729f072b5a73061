// Leaving a card that holds unsaved changes, in both workspaces: every way of
// leaving asks first, and each answer leaves the archive's bytes and the card
// shown as the user chose.
#include "clients/TfrmClienti.h"
#include "database/TfrmDatabase.h"
#include "search/TfrmTrovaClienti.h"
#include "search/TfrmTrovaDatabase.h"
#include "support/AppFixture.h"
#include "support/Walk.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

using Kind = Desktop::Kind;
using Answer = Desktop::Answer;

namespace {

const QString kQuestion = QStringLiteral("Salvare le modifiche alla scheda corrente?");
const QString kCardUpdated =
    QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
const QString kTyped = QStringLiteral("scritto a mano");

// What a test needs of a workspace, the same for both.
struct Workspace {
    LargeWindow *window;
    QLabel *position;
    QLineEdit *edited;   // the box the user types in
    QLineEdit *required; // emptied, it makes "Salva" refuse the card
    QMap<QString, QAbstractButton *> buttons;
    QString archive;
    QList<QByteArray> records; // the archive's three cards: "Alfa", "Beta", "Gamma"
    int editedField;
    std::function<QByteArray(const QByteArray &record, const QString &text)> withEdit;
    std::function<void()> searchAndPickFirst;
    std::function<void(int position)> show;
};

template <class R> QByteArray withText(const QByteArray &bytes, int field, const QString &text) {
    R record;
    std::copy(bytes.begin(), bytes.end(), record.data());
    record.setText(field, text);
    return record.bytes();
}

// Brings up the card at a position as the user does: "Primo", then "Avanti".
std::function<void(int)> arrowsTo(QAbstractButton *first, QAbstractButton *next) {
    return [first, next](int position) {
        QTest::mouseClick(first, Qt::LeftButton);
        for (int p = 1; p < position; ++p)
            QTest::mouseClick(next, Qt::LeftButton);
    };
}

Workspace databaseWorkspace(AppFixture &app) {
    using namespace DatabaseField;
    TfrmDatabase *w = app.windows->frmDatabase;
    Workspace ws{w, w->lblPosizione, w->txtCampo[1], w->txtCampo[0], {}, "Database.pro", {},
                 Campo02, {}, {}, {}};
    ws.buttons = {{"primo", w->cmdPrimo},   {"avanti", w->cmdAvanti}, {"nuovo", w->cmdNuovo},
                  {"duplica", w->cmdDuplica}, {"esci", w->cmdEsci}};
    for (const char *title : {"Alfa", "Beta", "Gamma"}) {
        DatabaseRecord r;
        r.setText(Campo01, QString::fromLatin1(title));
        r.setText(Cliente, QStringLiteral("Cliente ") + QString::fromLatin1(title));
        r.setYesNo(Segnala, false);
        ws.records << r.bytes();
    }
    ws.withEdit = [](const QByteArray &r, const QString &t) {
        return withText<DatabaseRecord>(r, Campo02, t);
    };
    ws.searchAndPickFirst = [&app, w] { walk::searchAll<TfrmTrovaDatabase>(app, w->cmdTrova); };
    ws.show = arrowsTo(w->cmdPrimo, w->cmdAvanti);
    return ws;
}

Workspace clientsWorkspace(AppFixture &app) {
    using namespace ClientField;
    TfrmClienti *w = app.windows->frmClienti;
    Workspace ws{w, w->lblPosizione, w->txtField[Zona], w->txtCliente, {}, "Clienti.pro", {},
                 Zona, {}, {}, {}};
    ws.buttons = {{"primo", w->cmdPrimo},   {"avanti", w->cmdAvanti}, {"nuovo", w->cmdNuovo},
                  {"duplica", w->cmdDuplica}, {"esci", w->cmdEsci}};
    for (const char *name : {"Alfa", "Beta", "Gamma"}) {
        ClientRecord r;
        r.setText(Cliente, QString::fromLatin1(name));
        r.setYesNo(Ricontatta, false);
        ws.records << r.bytes();
    }
    ws.withEdit = [](const QByteArray &r, const QString &t) {
        return withText<ClientRecord>(r, Zona, t);
    };
    ws.searchAndPickFirst = [&app, w] { walk::searchAll<TfrmTrovaClienti>(app, w->cmdTrova); };
    ws.show = arrowsTo(w->cmdPrimo, w->cmdAvanti);
    return ws;
}

} // namespace

class TestLeaveCard : public QObject {
    Q_OBJECT
  private slots:
    void leaving_data();
    void leaving();
    void tidyUpsAndThePhoto();
};

void TestLeaveCard::leaving_data() {
    QTest::addColumn<bool>("database");
    QTest::addColumn<QString>("way");
    // "none": nothing typed; "refused": "Sì", but the save refuses the card.
    QTest::addColumn<QString>("answer");

    const QStringList ways = {"primo", "avanti", "nuovo", "duplica", "lista", "esci", "chiudi"};
    const QStringList answers = {"none", "Sì", "No", "Annulla", "refused"};
    for (const bool database : {true, false})
        for (const QString &way : ways)
            for (const QString &answer : answers)
                QTest::addRow("%s, %s, %s", database ? "database" : "clienti", qPrintable(way),
                              qPrintable(answer))
                    << database << way << answer;
}

void TestLeaveCard::leaving() {
    QFETCH(bool, database);
    QFETCH(QString, way);
    QFETCH(QString, answer);

    AppFixture app;
    Workspace ws = database ? databaseWorkspace(app) : clientsWorkspace(app);
    QVERIFY(app.write(ws.archive, ws.records.join()));
    ws.window->present();
    ws.show(2); // "Beta"
    QCOMPARE(ws.position->text(), QStringLiteral("2"));
    const QString shownRequired = ws.required->text();
    QVERIFY(app.desktop.messages.isEmpty());

    const bool typed = answer != u"none";
    if (typed) {
        ws.edited->setFocus();
        QTest::keyClicks(ws.edited, kTyped);
    }
    if (answer == u"refused")
        ws.required->clear();
    if (answer == u"Sì" || answer == u"refused")
        app.desktop.answers << Answer::Yes;
    else if (answer == u"No")
        app.desktop.answers << Answer::No;
    else if (answer == u"Annulla")
        app.desktop.answers << Answer::Cancel;

    if (way == u"lista")
        ws.searchAndPickFirst();
    else if (way == u"chiudi")
        ws.window->close(); // the title bar's close, or Alt+F4
    else
        QTest::mouseClick(ws.buttons.value(way), Qt::LeftButton);

    // The question, and only when something was typed.
    QStringList kinds;
    for (const FakeDesktop::Message &m : app.desktop.messages)
        kinds << kindName(m.kind);
    QCOMPARE(kinds.value(0) == u"save question", typed);
    if (typed)
        QCOMPARE(app.desktop.messages[0].text, kQuestion);
    if (answer == u"Sì")
        QCOMPARE(app.desktop.messages.value(1).text, kCardUpdated);
    if (answer == u"refused")
        QCOMPARE(kinds.value(1), QStringLiteral("warning"));

    // Bytes on disk: only "Sì" changes the card, and only that card.
    QList<QByteArray> expected = ws.records;
    if (answer == u"Sì")
        expected[1] = ws.withEdit(expected[1], kTyped);
    QCOMPARE(app.read(ws.archive), expected.join());

    // The card shown afterwards.
    const bool stays = answer == u"Annulla" || answer == u"refused";
    if (stays) {
        QVERIFY(ws.window->isVisible());
        QCOMPARE(ws.position->text(), QStringLiteral("2"));
        QCOMPARE(ws.edited->text(), kTyped);
        QCOMPARE(ws.required->text(), answer == u"refused" ? QString() : shownRequired);
        return;
    }
    if (way == u"esci" || way == u"chiudi") {
        QVERIFY(!ws.window->isVisible());
        return;
    }
    QVERIFY(ws.window->isVisible());
    const QMap<QString, QString> lands = {{"primo", "1"}, {"avanti", "3"}, {"nuovo", ""},
                                          {"duplica", ""}, {"lista", "1"}};
    QCOMPARE(ws.position->text(), lands.value(way));
    // A copy carries what the window showed; any other card shows its own texts.
    QCOMPARE(ws.edited->text(), way == u"duplica" && typed ? kTyped : QString());
}

void TestLeaveCard::tidyUpsAndThePhoto() {
    using namespace DatabaseField;
    AppFixture app;
    TfrmDatabase *w = app.windows->frmDatabase;
    DatabaseRecord card;
    card.setText(Campo01, QStringLiteral("Alfa"));
    card.setText(Cliente, QStringLiteral("Rossi"));
    card.setYesNo(Segnala, true);
    QVERIFY(app.write(QStringLiteral("Database.pro"), card.bytes() + card.bytes()));
    w->present();
    QTest::mouseClick(w->cmdPrimo, Qt::LeftButton);

    // Blanks the window trims, and a box visited and left, are no change.
    w->txtEmail->setFocus();
    QTest::keyClicks(w->txtEmail, QStringLiteral("  "));
    w->txtCampo[3]->setFocus();
    QVERIFY(!w->cardChanged());
    QTest::mouseClick(w->cmdAvanti, Qt::LeftButton);
    QVERIFY(app.desktop.messages.isEmpty());
    QCOMPARE(w->lblPosizione->text(), QStringLiteral("2"));

    // The flag and an erased photo are.
    w->chkSegnala->click();
    QVERIFY(w->cardChanged());
    w->chkSegnala->click();
    QVERIFY(!w->cardChanged());
    QTest::mouseClick(w->btnCancFoto, Qt::LeftButton);
    QVERIFY(w->cardChanged());
    app.desktop.answers << Answer::Cancel;
    QTest::mouseClick(w->cmdPrimo, Qt::LeftButton);
    QCOMPARE(app.desktop.messages.size(), 1);
    QCOMPARE(w->lblPosizione->text(), QStringLiteral("2"));
}

QTEST_MAIN(TestLeaveCard)
#include "tst_leavecard.moc"
