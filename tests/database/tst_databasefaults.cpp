// Faults on the database workspace's writes: a full or read-only disk under
// "Salva" (new card, stored card, a duplicate) and a save killed part-way by another
// process. After each, every other card is byte-identical, the archive reads
// as long as before or one card longer, and the user is told in the window's
// own words, never with a success box after a failed write.
#include "SyntheticArchive.h"
#include "database/PhotoView.h"
#include "database/TfrmDatabase.h"
#include "support/AppFixture.h"
#include "support/FullDisk.h"
#include "support/KilledSave.h"

#include <QImageReader>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QtTest>

namespace {

const QString kAccessError = QStringLiteral(
    "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere "
    "i privilegi di scrittura nella cartella di installazione del programma.");
const QString kPhotoNotSaved = QStringLiteral(
    "Attenzione: i dati della scheda sono stati salvati in archivio, ma non è stato possibile "
    "salvare la foto.\n\r\n\rAccertarsi di possedere i privilegi di scrittura nella cartella di "
    "installazione del programma.");
const QString kCardUpdated =
    QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
const QString kCardInserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");

constexpr qint64 kSize = DatabaseRecord::kSize;
using Kind = Desktop::Kind;

QByteArray card(qint64 index) {
    return synthetic::databaseCard(uint64_t(index)).bytes();
}

// A picture whose JPEG is far larger than a page of the small disk.
QImage noise() {
    QImage image(230, 307, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, random.generate() | 0xff000000u);
    return image;
}

} // namespace

class TestDatabaseFaults : public QObject {
    Q_OBJECT
  private slots:
    void diskThatTakesNoMore_data();
    void diskThatTakesNoMore();
    void killedSave_data();
    void killedSave();

  private:
    static TfrmDatabase *show(AppFixture &app);
};

TfrmDatabase *TestDatabaseFaults::show(AppFixture &app) {
    TfrmDatabase *w = app.windows->frmDatabase;
    w->present();
    if (!QTest::qWaitForWindowExposed(w))
        return nullptr;
    return w;
}

void TestDatabaseFaults::diskThatTakesNoMore_data() {
    QTest::addColumn<QString>("path"); // "append", "overwrite", "duplicate"
    QTest::addColumn<qint64>("room");  // bytes freed after filling the disk
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("positionAfter");
    QTest::addColumn<qint64>("cardsAfter");
    QTest::newRow("append: no room") << "append" << qint64(0) << kAccessError << "" << qint64(2);
    QTest::newRow("duplicate, then save: no room")
        << "duplicate" << qint64(0) << kAccessError << "" << qint64(2);
    // A card written over itself needs room for its journal, which keeps the
    // old record and photo: without it nothing is stored.
    QTest::newRow("overwrite: no room") << "overwrite" << qint64(0) << kAccessError << "2"
                                        << qint64(2);
    QTest::newRow("overwrite: room for the card, not its photo")
        << "overwrite" << qint64(16384) << kPhotoNotSaved << "2" << qint64(2);
    QTest::newRow("append: room for the card, not its photo")
        << "append" << qint64(16384) << kPhotoNotSaved << "3" << qint64(3);
    QTest::newRow("append: read-only disk")
        << "append" << qint64(-1) << kAccessError << "" << qint64(2);
    QTest::newRow("overwrite: read-only disk")
        << "overwrite" << qint64(-1) << kAccessError << "2" << qint64(2);
}

void TestDatabaseFaults::diskThatTakesNoMore() {
    QFETCH(QString, path);
    QFETCH(qint64, room);
    QFETCH(QString, message);
    QFETCH(QString, positionAfter);
    QFETCH(qint64, cardsAfter);
    FullDisk disk("1m");
    REQUIRE_MOUNTED(disk);
    QTemporaryDir pictures; // the photo chosen lies on another disk
    const QString chosen = pictures.filePath(QStringLiteral("foto.bmp"));
    QVERIFY(noise().save(chosen, "BMP"));
    AppFixture app(disk.filePath(QStringLiteral("Schede Città")));
    QVERIFY(synthetic::writeDatabase(app.path(QStringLiteral("Database.pro")), 2));
    QImage old(20, 10, QImage::Format_RGB32);
    old.fill(Qt::red);
    QVERIFY(old.save(app.path(QStringLiteral("2.jpg")), "JPG"));
    const QByteArray archive = app.read(QStringLiteral("Database.pro"));
    const QByteArray photo2 = app.read(QStringLiteral("2.jpg"));

    TfrmDatabase *w = show(app);
    QVERIFY(w);
    QTest::mouseClick(w->cmdUltimo, Qt::LeftButton);
    QCOMPARE(w->lblPosizione->text(), QStringLiteral("2"));
    if (path == QLatin1String("duplicate"))
        QTest::mouseClick(w->cmdDuplica, Qt::LeftButton);
    if (path == QLatin1String("append")) {
        QTest::mouseClick(w->cmdNuovo, Qt::LeftButton);
        QTest::keyClicks(w->txtCampo[0], QStringLiteral("Il nome della rosa"));
        QTest::keyClicks(w->txtCliente, QStringLiteral("Anna Rossi"));
    }
    w->txtCampo[13]->setText(QStringLiteral("modificato"));
    app.desktop.fileNames.enqueue(chosen);
    QTest::mouseClick(w->btnSfoglia, Qt::LeftButton);
    if (room < 0)
        QVERIFY(disk.makeReadOnly());
    else
        QVERIFY(disk.fill() && (room == 0 || disk.release(room)));
    app.desktop.messages.clear();

    QTest::mouseClick(w->cmdSalva, Qt::LeftButton);

    QCOMPARE(app.desktop.messages.size(), 1);
    QCOMPARE(app.desktop.messages[0].text, message);
    QCOMPARE(app.desktop.messages[0].kind, message == kAccessError ? Kind::Error : Kind::Warning);
    QCOMPARE(w->lblPosizione->text(), positionAfter);
    const QByteArray after = app.read(QStringLiteral("Database.pro"));
    QCOMPARE(killedSave::countedRecords(databaseLayout, app.path(QStringLiteral("Database.pro"))),
             cardsAfter);
    QCOMPARE(after.left(kSize), archive.left(kSize));
    if (path == QLatin1String("overwrite") && message == kPhotoNotSaved)
        QVERIFY(after.mid(kSize, kSize) != archive.mid(kSize, kSize));
    else
        QCOMPARE(after.left(2 * kSize), archive);
    // The old photo stays whole, no half photo appears, nothing is left beside them.
    QCOMPARE(app.read(QStringLiteral("2.jpg")), photo2);
    QCOMPARE(QDir(app.folder).entryList(QDir::Files),
             (QStringList{QStringLiteral("2.jpg"), QStringLiteral("Database.pro")}));
    // The card and its photo stay in the controls for another try.
    QCOMPARE(w->txtCampo[13]->text(), QStringLiteral("modificato"));
    QCOMPARE(w->imgFoto->picture().size(), QSize(230, 307));

    if (room < 0)
        return;
    // Room again: the same press stores the card and its photo.
    QVERIFY(disk.release(512 * 1024));
    QTest::mouseClick(w->cmdSalva, Qt::LeftButton);
    const bool wasStored = !positionAfter.isEmpty();
    QCOMPARE(app.desktop.lastMessage(), wasStored ? kCardUpdated : kCardInserted);
    const QString position =
        path == QLatin1String("overwrite") ? QStringLiteral("2") : QStringLiteral("3");
    QCOMPARE(w->lblPosizione->text(), position);
    QCOMPARE(QFileInfo(app.path(QStringLiteral("Database.pro"))).size(),
             (path == QLatin1String("overwrite") ? 2 : 3) * kSize);
    QCOMPARE(app.read(QStringLiteral("Database.pro")).left(kSize), archive.left(kSize));
    QCOMPARE(QImageReader(app.path(position + QStringLiteral(".jpg"))).size(), QSize(230, 307));
}

void TestDatabaseFaults::killedSave_data() {
    killedSave::addRows(kSize);
}

// A save killed part-way leaves every card stored before it whole, and the
// workspace then reads the archive and stores its next card after the last
// whole one.
void TestDatabaseFaults::killedSave() {
    AppFixture app;
    const QString archive = app.path(QStringLiteral("Database.pro"));
    QVERIFY(synthetic::writeDatabase(archive, 3));
    killedSave::check<TfrmDatabase>(
        app.folder, QStringLiteral("database"), archive, databaseLayout, card,
        [](qint64 i) { return synthetic::databaseCard(uint64_t(i)).text(DatabaseField::Cliente); },
        [&app] { return show(app); },
        [](TfrmDatabase *w) {
            QTest::keyClicks(w->txtCampo[0], QStringLiteral("Dopo il guasto"));
            QTest::keyClicks(w->txtCliente, QStringLiteral("Anna Rossi"));
        });
    if (!QTest::currentTestFailed())
        QCOMPARE(app.desktop.lastMessage(), kCardInserted);
}

QTEST_MAIN(TestDatabaseFaults)
#include "tst_databasefaults.moc"
