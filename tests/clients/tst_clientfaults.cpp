// Faults on the client workspace's writes: a full disk under "Salva" after
// "Duplica" and on a stored card, and a save killed part-way by another
// process. After each, every other client is byte-identical, the archive
// reads as long as before or one client longer, and the user is told in the
// window's own words, never with a success box after a failed write.
#include "SyntheticArchive.h"
#include "clients/TfrmClienti.h"
#include "storage/ClientRecord.h"
#include "support/AppFixture.h"
#include "support/FullDisk.h"
#include "support/KilledSave.h"

#include <QLineEdit>
#include <QtTest>

namespace {

const QString kAccessError = QStringLiteral(
    "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere "
    "i privilegi di scrittura nella cartella di installazione del programma.");
const QString kCardUpdated =
    QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
const QString kCardInserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");

constexpr qint64 kSize = ClientRecord::kSize;

QByteArray client(qint64 index) {
    return synthetic::clientCard(uint64_t(index)).bytes();
}

TfrmClienti *show(AppFixture &app) {
    TfrmClienti *w = app.windows->frmClienti;
    w->present();
    return QTest::qWaitForWindowExposed(w) ? w : nullptr;
}

} // namespace

class TestClientFaults : public QObject {
    Q_OBJECT
  private slots:
    void fullDisk_data();
    void fullDisk();
    void killedSave_data();
    void killedSave();
};

// (A new card on a full disk: tst_frmclienti's fullDiskIsNeverASuccess.)
void TestClientFaults::fullDisk_data() {
    QTest::addColumn<bool>("duplicate");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("positionAfter");
    QTest::newRow("duplicate, then save") << true << kAccessError << "";
    // A card written over itself needs room for its journal: without it the
    // card is not stored, and the one on disk stays whole.
    QTest::newRow("stored card") << false << kAccessError << "2";
}

void TestClientFaults::fullDisk() {
    QFETCH(bool, duplicate);
    QFETCH(QString, message);
    QFETCH(QString, positionAfter);
    FullDisk disk;
    REQUIRE_MOUNTED(disk);
    AppFixture app(disk.filePath(QStringLiteral("Schede Città")));
    const QString archive = app.path(QStringLiteral("Clienti.pro"));
    QVERIFY(synthetic::writeClients(archive, 2));
    const QByteArray before = readFile(archive);

    TfrmClienti *w = show(app);
    QVERIFY(w);
    QTest::mouseClick(w->cmdUltimo, Qt::LeftButton);
    QCOMPARE(w->lblPosizione->text(), QStringLiteral("2"));
    if (duplicate)
        QTest::mouseClick(w->cmdDuplica, Qt::LeftButton);
    w->txtCliente->setText(QStringLiteral("Anna Rossi"));
    QVERIFY(disk.fill());
    app.desktop.messages.clear();

    QTest::mouseClick(w->cmdSalva, Qt::LeftButton);

    QCOMPARE(app.desktop.messages.size(), 1);
    QCOMPARE(app.desktop.messages[0].text, message);
    QCOMPARE(app.desktop.messages[0].kind, Desktop::Kind::Error);
    QCOMPARE(w->lblPosizione->text(), positionAfter);
    QCOMPARE(w->txtCliente->text(), QStringLiteral("Anna Rossi"));
    QCOMPARE(killedSave::countedRecords(clientLayout, archive), 2);
    QCOMPARE(readFile(archive), before);
    QCOMPARE(QDir(app.folder).entryList(QDir::Files), QStringList{QStringLiteral("Clienti.pro")});
}

void TestClientFaults::killedSave_data() {
    killedSave::addRows(kSize);
}

// A save killed part-way leaves every client stored before it whole, and the
// workspace then reads the archive and stores its next client after the last
// whole one.
void TestClientFaults::killedSave() {
    AppFixture app;
    const QString archive = app.path(QStringLiteral("Clienti.pro"));
    QVERIFY(synthetic::writeClients(archive, 3));
    killedSave::check<TfrmClienti>(
        app.folder, QStringLiteral("clienti"), archive, clientLayout, client,
        [](qint64 i) { return synthetic::clientCard(uint64_t(i)).text(ClientField::Cliente); },
        [&app] { return show(app); },
        [](TfrmClienti *w) { QTest::keyClicks(w->txtCliente, QStringLiteral("Dopo il guasto")); });
    if (!QTest::currentTestFailed())
        QCOMPARE(app.desktop.lastMessage(), kCardInserted);
}

QTEST_MAIN(TestClientFaults)
#include "tst_clientfaults.moc"
