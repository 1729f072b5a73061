#include "kit/CardArchive.h"
#include "kit/Shell.h"
#include "storage/AppFolder.h"
#include "storage/ClientRecord.h"
#include "storage/DatabaseRecord.h"
#include "support/FakeDesktop.h"
#include "support/FolderShell.h"

#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

using cards::Arrow;
using cards::Step;
Q_DECLARE_METATYPE(Arrow)
Q_DECLARE_METATYPE(Step)

namespace {

const QString kAccessError = QStringLiteral(
    "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere "
    "i privilegi di scrittura nella cartella di installazione del programma.");

} // namespace

// The moves both workspaces make on their archive: where each arrow leads,
// and what every step does when the archive cannot be opened.
class TestCardArchive : public QObject {
    Q_OBJECT
  private slots:
    void arrows_data();
    void arrows();
    void failingArchive_data();
    void failingArchive();
    void arrowsPassFreeSlots_data();
    void arrowsPassFreeSlots();
};

void TestCardArchive::arrows_data() {
    QTest::addColumn<Arrow>("arrow");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<qint64>("shown"); // 0: a new card
    QTest::addColumn<Step>("expected");
    const Step empty{Step::EmptyArchive};
    const Step stay{Step::Stay};
    auto show = [](qint64 index) { return Step{Step::Show, index}; };

    for (Arrow a : {Arrow::First, Arrow::Previous, Arrow::Next, Arrow::Last})
        QTest::addRow("empty archive, arrow %d", int(a)) << a << qint64(0) << qint64(0) << empty;
    QTest::newRow("first") << Arrow::First << qint64(3) << qint64(2) << show(0);
    QTest::newRow("last") << Arrow::Last << qint64(3) << qint64(1) << show(2);
    QTest::newRow("last from a new card") << Arrow::Last << qint64(3) << qint64(0) << show(2);
    QTest::newRow("next") << Arrow::Next << qint64(3) << qint64(1) << show(1);
    QTest::newRow("previous") << Arrow::Previous << qint64(3) << qint64(3) << show(1);
    QTest::newRow("new card: next is the first") << Arrow::Next << qint64(3) << qint64(0) << show(0);
    QTest::newRow("new card: previous is the first")
        << Arrow::Previous << qint64(3) << qint64(0) << show(0);
    QTest::newRow("next on the last stays") << Arrow::Next << qint64(3) << qint64(3) << stay;
    QTest::newRow("previous on the first stays") << Arrow::Previous << qint64(3) << qint64(1) << stay;
    // A card shown beyond the end (the archive shrank under it): "next"
    // stays, "previous" goes to the record before it, which the read refuses.
    QTest::newRow("next beyond the end") << Arrow::Next << qint64(3) << qint64(9) << stay;
    QTest::newRow("previous beyond the end") << Arrow::Previous << qint64(3) << qint64(9) << show(7);
    QTest::newRow("previous on the first of an emptied archive")
        << Arrow::Previous << qint64(0) << qint64(1) << stay;
    QTest::newRow("a million cards") << Arrow::Last << qint64(1000000) << qint64(5)
                                     << show(999999);
}

void TestCardArchive::arrows() {
    QFETCH(Arrow, arrow);
    QFETCH(qint64, count);
    QFETCH(qint64, shown);
    QFETCH(Step, expected);
    const Step got = cards::step(arrow, count, shown);
    QCOMPARE(int(got.kind), int(expected.kind));
    QCOMPARE(got.index, expected.index);
}

void TestCardArchive::failingArchive_data() {
    QTest::addColumn<bool>("clients");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("positionAfter");
    for (bool clients : {false, true}) {
        const char *archive = clients ? "clients" : "database";
        QTest::addRow("%s: save a new card", archive) << clients << "store" << "" << "";
        QTest::addRow("%s: save a stored card", archive) << clients << "store" << "3" << "3";
        for (const char *arrow : {"first", "previous", "next", "last"})
            QTest::addRow("%s: %s", archive, arrow) << clients << arrow << "3" << "3";
        // The card has already become a new card when the archive fails.
        QTest::addRow("%s: duplicate", archive) << clients << "duplicate" << "3" << "";
    }
}

void TestCardArchive::failingArchive() {
    QFETCH(bool, clients);
    QFETCH(QString, step);
    QFETCH(QString, shown);
    QFETCH(QString, positionAfter);
    QTemporaryDir dir;
    FolderShell shell(dir.path());
    FakeDesktop desktop;
    const AppFolder &folder = shell.appFolder();
    const QString archive = clients ? folder.clientFile() : folder.databaseFile();
    QVERIFY(QDir().mkpath(archive)); // the archive's name taken by a folder
    QLabel lblPosizione(shown);
    bool ready = false;

    auto run = [&]<class R>(R) {
        const QMap<QString, Arrow> arrows = {{"first", Arrow::First},
                                             {"previous", Arrow::Previous},
                                             {"next", Arrow::Next},
                                             {"last", Arrow::Last}};
        if (step == QLatin1String("store"))
            QCOMPARE(cards::store(nullptr, &lblPosizione, R()), cards::Saved::Failed);
        else if (step == QLatin1String("duplicate"))
            cards::duplicate<R>(nullptr, &lblPosizione, [] {}, [&] { ready = true; });
        else
            QVERIFY(!cards::move<R>(nullptr, &lblPosizione, arrows.value(step)));
    };
    if (clients)
        run(ClientRecord());
    else
        run(DatabaseRecord());

    QCOMPARE(desktop.messages.size(), 1);
    QCOMPARE(desktop.messages[0].kind, Desktop::Kind::Error);
    QCOMPARE(desktop.messages[0].text, kAccessError);
    QCOMPARE(lblPosizione.text(), positionAfter);
    QVERIFY(!ready);
    QVERIFY(QFileInfo(archive).isDir());
}

void TestCardArchive::arrowsPassFreeSlots_data() {
    QTest::addColumn<QString>("pattern"); // a card '.', a deleted card's free slot 'F'
    QTest::addColumn<Arrow>("arrow");
    QTest::addColumn<qint64>("shown");
    QTest::addColumn<qint64>("expected"); // 0: nothing shown
    QTest::addColumn<bool>("emptyMessage");
    for (Arrow a : {Arrow::First, Arrow::Previous, Arrow::Next, Arrow::Last})
        QTest::addRow("all free, from a new card, arrow %d", int(a))
            << "FFF" << a << qint64(0) << qint64(0) << true;
    QTest::newRow("all free: last from a card") << "FFF" << Arrow::Last << qint64(2) << qint64(0) << true;
    QTest::newRow("first free: first") << "F.." << Arrow::First << qint64(3) << qint64(2) << false;
    QTest::newRow("first free: previous stays") << "F.." << Arrow::Previous << qint64(2) << qint64(0) << false;
    QTest::newRow("first free: new card, previous") << "F.." << Arrow::Previous << qint64(0) << qint64(2) << false;
    QTest::newRow("last free: last") << "..F" << Arrow::Last << qint64(1) << qint64(2) << false;
    QTest::newRow("last free: next stays") << "..F" << Arrow::Next << qint64(2) << qint64(0) << false;
    QTest::newRow("a run: next") << ".FFF." << Arrow::Next << qint64(1) << qint64(5) << false;
    QTest::newRow("a run: previous") << ".FFF." << Arrow::Previous << qint64(5) << qint64(1) << false;
}

// The arrows pass over the free slots of deleted cards; with nothing but
// free slots the archive reads as empty.
void TestCardArchive::arrowsPassFreeSlots() {
    QFETCH(QString, pattern);
    QFETCH(Arrow, arrow);
    QFETCH(qint64, shown);
    QFETCH(qint64, expected);
    QFETCH(bool, emptyMessage);
    QTemporaryDir dir;
    FolderShell shell(dir.path());
    FakeDesktop desktop;
    QByteArray bytes;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        DatabaseRecord card;
        if (pattern[i] == u'.') {
            card.setText(DatabaseField::Campo01, QString::number(i + 1));
            card.setYesNo(DatabaseField::Segnala, false);
        }
        bytes += card.bytes();
    }
    QFile file(shell.appFolder().databaseFile());
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    QLabel lblPosizione(shown ? QString::number(shown) : QString());
    const auto found = cards::move<DatabaseRecord>(nullptr, &lblPosizione, arrow);
    QCOMPARE(found ? found->position : 0, expected);
    if (found)
        QCOMPARE(found->record.text(DatabaseField::Campo01), QString::number(expected));
    QCOMPARE(desktop.messages.size(), emptyMessage ? 1 : 0);
}

QTEST_MAIN(TestCardArchive)
#include "tst_cardarchive.moc"
