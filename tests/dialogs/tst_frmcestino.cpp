#include "app/Forms.h"
#include "clients/TfrmClienti.h"
#include "database/TfrmDatabase.h"
#include "dialogs/TfrmCestino.h"
#include "kit/WindowKit.h"
#include "storage/CardBin.h"
#include "support/AppFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableWidget>
#include <QtTest>

using Kind = Desktop::Kind;
using Answer = Desktop::Answer;

namespace {

TfrmCestino &bin(QDialog &dialog) {
    auto *window = qobject_cast<TfrmCestino *>(&dialog);
    Q_ASSERT(window);
    return *window;
}

// `count` cards (or clients) named after their positions; database cards
// with a photo and a folder.
QByteArray writeArchive(AppFixture &app, bool clients, int count) {
    QByteArray bytes;
    for (int i = 1; i <= count; ++i) {
        if (clients) {
            ClientRecord c;
            c.setText(ClientField::Cliente, QStringLiteral("Cliente %1").arg(i));
            c.setYesNo(ClientField::Ricontatta, false);
            bytes += c.bytes();
        } else {
            DatabaseRecord d;
            d.setText(DatabaseField::Campo01, QStringLiteral("Scheda %1").arg(i));
            d.setYesNo(DatabaseField::Segnala, false);
            bytes += d.bytes();
            [&] {
                QVERIFY(app.write(QStringLiteral("%1.jpg").arg(i), "foto"));
                QVERIFY(QDir().mkpath(app.path(QStringLiteral("Scheda_%1").arg(i))));
                QVERIFY(app.write(QStringLiteral("Scheda_%1/nota.txt").arg(i), "nota"));
            }();
        }
    }
    [&] { QVERIFY(app.write(clients ? "Clienti.pro" : "Database.pro", bytes)); }();
    return bytes;
}

} // namespace

class TestFrmCestino : public QObject {
    Q_OBJECT
  private slots:
    void deleteAndGiveBack_data();
    void deleteAndGiveBack();
    void answeredNoOrNothingToDelete();
    void discardAndEmpty();
    void giveBackRefusedWhenTaken();
};

void TestFrmCestino::deleteAndGiveBack_data() {
    QTest::addColumn<bool>("clients");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("shownAfter"); // "": a new card
    QTest::newRow("database, middle: the next shows") << false << 3 << 2 << "3";
    QTest::newRow("database, last: the one before shows") << false << 3 << 3 << "2";
    QTest::newRow("clients, first") << true << 3 << 1 << "2";
    QTest::newRow("clients, the only one: a new card") << true << 1 << 1 << "";
}

// Ctrl+Canc in a box, "Sì": the card leaves the archive and the workspace
// shows another; the bin lists it and gives it back byte for byte.
void TestFrmCestino::deleteAndGiveBack() {
    QFETCH(bool, clients);
    QFETCH(int, count);
    QFETCH(int, position);
    QFETCH(QString, shownAfter);
    AppFixture app;
    const QString archive = clients ? QStringLiteral("Clienti.pro") : QStringLiteral("Database.pro");
    const QByteArray original = writeArchive(app, clients, count);
    const auto before = folderSnapshot(app.folder);
    TfrmDatabase *db = app.windows->frmDatabase;
    TfrmClienti *cl = app.windows->frmClienti;
    QLabel *lblPosizione = clients ? cl->lblPosizione : db->lblPosizione;
    QLineEdit *box = clients ? cl->txtCliente : db->txtCampo[0];
    LargeWindow *window = clients ? static_cast<LargeWindow *>(cl) : db;
    window->present();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::mouseClick(clients ? cl->cmdPrimo : db->cmdPrimo, Qt::LeftButton);
    for (int i = 1; i < position; ++i)
        QTest::mouseClick(clients ? cl->cmdAvanti : db->cmdAvanti, Qt::LeftButton);
    QCOMPARE(lblPosizione->text(), QString::number(position));

    app.desktop.answers << Answer::Yes;
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    QTest::keySequence(box, QKeySequence(Qt::CTRL | Qt::Key_Delete));
    QVERIFY(!app.desktop.messages.isEmpty());
    QCOMPARE(app.desktop.messages.last().kind, Kind::Risky);
    QVERIFY(app.desktop.messages.last().text.startsWith(u"Eliminare "));
    QCOMPARE(lblPosizione->text(), shownAfter);
    const int size = clients ? ClientRecord::kSize : DatabaseRecord::kSize;
    QCOMPARE(app.read(archive).mid((position - 1) * size, size), QByteArray(size, '\0'));
    QCOMPARE(app.exists(QStringLiteral("%1.jpg").arg(position)), false);

    bool shown = false;
    app.desktop.onModal = [&](QDialog &dialog) {
        TfrmCestino &w = bin(dialog);
        shown = true;
        QCOMPARE(w.grdCestino->rowCount(), 1);
        QCOMPARE(w.grdCestino->item(0, 1)->text(), clients ? "Clienti" : "Database");
        QCOMPARE(w.grdCestino->item(0, 2)->text(), QString::number(position));
        QVERIFY(w.grdCestino->item(0, 3)->text().contains(
            QStringLiteral("%1 %2").arg(clients ? "Cliente" : "Scheda").arg(position)));
        QTest::mouseClick(w.cmdRimetti, Qt::LeftButton);
        QCOMPARE(w.grdCestino->rowCount(), 0);
        QCOMPARE(w.lblConteggio->text(), QStringLiteral("Il cestino è vuoto."));
        QVERIFY(!w.cmdSvuota->isEnabled());
        QTest::mouseClick(w.cmdChiudi, Qt::LeftButton);
    };
    if (clients)
        cl->cmdElimina->menu()->actions()[1]->trigger();
    else
        QTest::mouseClick(db->cmdCestino, Qt::LeftButton);
    QVERIFY(shown);
    QCOMPARE(app.desktop.messages.last().kind, Kind::Information);
    QCOMPARE(app.read(archive), original);
    auto after = folderSnapshot(app.folder);
    after.remove(QStringLiteral("Cestino"));
    QCOMPARE(after, before);
}

void TestFrmCestino::answeredNoOrNothingToDelete() {
    AppFixture app;
    const QByteArray original = writeArchive(app, false, 2);
    TfrmDatabase *w = app.windows->frmDatabase;
    w->present();
    // A new card: nothing to delete, and no question.
    QTest::mouseClick(w->cmdElimina, Qt::LeftButton);
    QVERIFY(!app.desktop.messages.isEmpty());
    QCOMPARE(app.desktop.messages.last().kind, Kind::Warning);
    QVERIFY(app.desktop.messages.last().text.contains(u"non c'è nulla da eliminare"));
    // "No" (the default of the question) leaves the card where it is.
    QTest::mouseClick(w->cmdUltimo, Qt::LeftButton);
    app.desktop.answers << Answer::No;
    QTest::mouseClick(w->cmdElimina, Qt::LeftButton);
    QCOMPARE(app.desktop.messages.last().kind, Kind::Risky);
    QCOMPARE(w->lblPosizione->text(), QStringLiteral("2"));
    QCOMPARE(app.read("Database.pro"), original);
    QVERIFY(!app.exists(QStringLiteral("Cestino")));
    // The key is named in the button's tooltip.
    QVERIFY2(w->cmdElimina->toolTip().endsWith(u"(Ctrl+Canc)"), qPrintable(w->cmdElimina->toolTip()));
}

// "Elimina per sempre" and "Svuota il cestino" ask first; the free slots stay.
void TestFrmCestino::discardAndEmpty() {
    AppFixture app;
    writeArchive(app, false, 3);
    writeArchive(app, true, 2);
    cardbin::remove(app.windows->folder, databaseLayout, 1);
    cardbin::remove(app.windows->folder, clientLayout, 2);
    cardbin::remove(app.windows->folder, databaseLayout, 3);
    app.desktop.answers << Answer::No << Answer::Yes << Answer::Yes;
    app.desktop.onModal = [&](QDialog &dialog) {
        TfrmCestino &w = bin(dialog);
        QCOMPARE(w.grdCestino->rowCount(), 3);
        QCOMPARE(w.lblConteggio->text(), QStringLiteral("Schede nel cestino: 3."));
        w.grdCestino->selectRow(1);
        QTest::mouseClick(w.cmdElimina, Qt::LeftButton); // "No"
        QCOMPARE(w.grdCestino->rowCount(), 3);
        QTest::mouseClick(w.cmdElimina, Qt::LeftButton); // "Sì"
        QCOMPARE(w.grdCestino->rowCount(), 2);
        QTest::mouseClick(w.cmdSvuota, Qt::LeftButton);
        QCOMPARE(w.grdCestino->rowCount(), 0);
    };
    QTest::mouseClick(app.windows->frmDatabase->cmdCestino, Qt::LeftButton);
    QCOMPARE(app.desktop.messages.size(), 3);
    for (const auto &m : app.desktop.messages)
        QCOMPARE(m.kind, Kind::Risky);
    QVERIFY(app.desktop.messages[2].text.contains(u"tutte le schede del cestino (2)"));
    QVERIFY(QDir(app.path(QStringLiteral("Cestino"))).isEmpty());
    QVERIFY(!app.exists(QStringLiteral("1.jpg")) && !app.exists(QStringLiteral("Scheda_3")));
    QCOMPARE(app.read("Database.pro").left(DatabaseRecord::kSize), QByteArray(DatabaseRecord::kSize, '\0'));
}

// The slot holds a card again (a restore of an older backup): the card stays
// in the bin, and the user is told why.
void TestFrmCestino::giveBackRefusedWhenTaken() {
    AppFixture app;
    const QByteArray original = writeArchive(app, true, 2);
    cardbin::remove(app.windows->folder, clientLayout, 2);
    QVERIFY(app.write("Clienti.pro", original));
    app.desktop.onModal = [&](QDialog &dialog) {
        TfrmCestino &w = bin(dialog);
        QTest::mouseClick(w.cmdRimetti, Qt::LeftButton);
        QCOMPARE(w.grdCestino->rowCount(), 1);
    };
    app.windows->frmClienti->cmdElimina->menu()->actions()[1]->trigger();
    QCOMPARE(app.desktop.messages.last().kind, Kind::Warning);
    QVERIFY(app.desktop.lastMessage().contains(u"di nuovo occupata"));
    QCOMPARE(app.read("Clienti.pro"), original);
}

QTEST_MAIN(TestFrmCestino)
#include "tst_frmcestino.moc"
