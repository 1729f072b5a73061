// The program walked over a damaged archive or card photo: the workspaces,
// their searches, lists and export windows and the client pick show what can
// be read, tell the one fixed message of each window where the archive cannot
// be opened, never block, and write nothing but what "Salva" and the export
// are meant to write.
#include "support/DamagedFiles.h"
#include "support/Walk.h"
#include "database/Photo.h"
#include "database/PhotoView.h"
#include "database/TfrmDatabase.h"

#include <QtTest>

class TestDamagedCards : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void damaged_data();
    void damaged();
    void unreadablePhotoSurvivesSaving_data();
    void unreadablePhotoSurvivesSaving();

  private:
    Walk m_reference;
};

namespace {

const QString kAccess = kAccessError;
const QString kAskExportText = QStringLiteral(
    "L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di "
    "schede presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?");
const QString kExportFailedText = QStringLiteral(
    "Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi che il file di "
    "Excel non sia già aperto.");

// Three records of `layout` in which every length byte claims more than its
// field holds and the text bytes are letters.
QByteArray overCapacity(const RecordLayout &layout) {
    QByteArray record(layout.size, 'K');
    for (const FieldSlot &field : layout.fields)
        record[field.offset] = char(field.capacity < 255 ? field.capacity + 1 : 255);
    return record.repeated(3);
}

// What the walk shows when the archive of one workspace cannot be opened at
// all: each arrow and "Salva" tell the access error, the search tells it
// plainly and keeps its filters, the list is silently empty, the export grid
// is empty and the export fails.
Expected unreadable(bool database) {
    const QString error = shownMessage(Desktop::Kind::Error, kAccess);
    const QString plain = shownMessage(Desktop::Kind::Plain, kAccess);
    const QString ask = shownMessage(Desktop::Kind::Confirmation, kAskExportText);
    const QString failed = shownMessage(Desktop::Kind::Plain, kExportFailedText);
    const QString p = database ? QStringLiteral("database") : QStringLiteral("clients");
    const QString list = database ? QStringLiteral("flagged") : QStringLiteral("recontact");
    Expected expected = {
        {"messages " + p + " first", error},
        {"seen " + p + " first", "-"},
        {"seen " + p + " card", ""},
        {"messages " + p + " arrows", QStringList(3, error).join(u'|')},
        {"seen " + p + " arrows", "- - -"},
        {"messages " + p + " search", plain},
        {"seen " + p + " search", "0"},
        {"seen " + p + " search loads", ""},
        {"seen " + list, "0"},
        {"seen " + list + " loads", ""},
        {"messages " + p + " export", ask + u'|' + failed},
        {"seen " + p + " export", "0"},
        {"messages " + p + " save", error},
        {"seen " + p + " save", ""},
    };
    if (database) {
        expected.insert("seen database photo", "default");
    } else {
        // The client pick searches the same archive.
        expected.insert("messages client pick", plain);
        expected.insert("seen client pick", "0");
        expected.insert("seen client pick copies", "");
    }
    return expected;
}

// What the walk shows when every record of one workspace's archive is the
// free slot of a deleted card: the arrows tell the archive is empty, the
// searches find nothing.
Expected allDeleted(bool database) {
    const QString empty = shownMessage(Desktop::Kind::Information,
                                       QStringLiteral("L'archivio non contiene nessuna scheda."));
    const QString none = shownMessage(Desktop::Kind::Plain,
                                      QStringLiteral("Nessuna scheda corrisponde ai criteri indicati."));
    const QString p = database ? QStringLiteral("database") : QStringLiteral("clients");
    const QString list = database ? QStringLiteral("flagged") : QStringLiteral("recontact");
    Expected expected = {
        {"seen " + list, "0"},
        {"seen " + list + " loads", ""},
        {"messages " + p + " first", empty},
        {"seen " + p + " first", "-"},
        {"seen " + p + " card", ""},
        {"messages " + p + " arrows", QStringList(3, empty).join(u'|')},
        {"seen " + p + " arrows", "- - -"},
        {"messages " + p + " search", none},
        {"seen " + p + " search", "0"},
        {"seen " + p + " search loads", ""},
    };
    if (database) {
        expected.insert("seen database photo", "default");
    } else {
        expected.insert("messages client pick", none);
        expected.insert("seen client pick", "0");
        expected.insert("seen client pick copies", "");
    }
    return expected;
}

} // namespace

void TestDamagedCards::initTestCase() {
    AppFixture app;
    writeGoodFolder(app);
    walkEveryWindow(app, m_reference, QStringLiteral("amministratore"), true);
    QCOMPARE(m_reference.seen.value("database first"), QStringLiteral("1"));
    QCOMPARE(m_reference.seen.value("database photo"), QStringLiteral("own"));
    QCOMPARE(m_reference.seen.value("database arrows"), QStringLiteral("2 3 2"));
    QCOMPARE(m_reference.seen.value("flagged"), QStringLiteral("2"));
    QCOMPARE(m_reference.seen.value("database save"), QStringLiteral("4"));
    QCOMPARE(m_reference.seen.value("clients arrows"), QStringLiteral("2 3 2"));
    QCOMPARE(m_reference.seen.value("recontact"), QStringLiteral("1"));
    QCOMPARE(m_reference.seen.value("clients export"), QStringLiteral("3"));
}

void TestDamagedCards::damaged_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind"); // "folder", "fifo", "bytes" or "torn"
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("records");    // whole records a readable archive keeps; -1 unreadable
    QTest::addColumn<Expected>("expected"); // what differs from a good folder

    for (const bool database : {true, false}) {
        const RecordLayout &layout = database ? databaseLayout : clientLayout;
        const QString name = QString::fromLatin1(layout.fileName);
        const QString list = database ? QStringLiteral("flagged") : QStringLiteral("recontact");
        const QString p = database ? QStringLiteral("database") : QStringLiteral("clients");
        // Cards that show their first field (the client's name) cut to its
        // capacity of 50, with no flag anyone set.
        auto shown = [&](const QString &first) {
            Expected expected = {{"seen " + list, "0"},
                                 {"seen " + list + " loads", ""},
                                 {"seen " + p + " card", first}};
            if (!database)
                expected.insert("seen client pick copies", first);
            return expected;
        };

        QTest::addRow("%s: a torn last record", layout.fileName)
            << name << "torn" << QByteArray(100, 'Z') << qint64(3) << Expected();
        QTest::addRow("%s: lengths over capacity", layout.fileName)
            << name << "bytes" << overCapacity(layout) << qint64(3) << shown(QString(50, u'K'));
        QTest::addRow("%s: 0xFF everywhere", layout.fileName)
            << name << "bytes" << QByteArray(3 * layout.size, '\xFF') << qint64(3)
            << shown(QString(50, u'\u00FF'));
        // Records of zero bytes are the free slots deleted cards leave: the
        // archive holds no card, and says so.
        QTest::addRow("%s: all zeros, every card deleted", layout.fileName)
            << name << "bytes" << QByteArray(3 * layout.size, '\0') << qint64(3)
            << allDeleted(database);
        QTest::addRow("%s: a folder", layout.fileName)
            << name << "folder" << QByteArray() << qint64(-1) << unreadable(database);
        QTest::addRow("%s: a FIFO", layout.fileName)
            << name << "fifo" << QByteArray() << qint64(-1) << unreadable(database);
    }

    // A photo that cannot be shown gives the default photo, silently.
    const Expected noPhoto = {{"seen database photo", "default"}};
    const QString photo = QStringLiteral("1.jpg");
    QTest::newRow("photo: not a picture")
        << photo << "bytes" << junkBytes(4096) << qint64(3) << noPhoto;
    QTest::newRow("photo: a truncated JPEG")
        << photo << "bytes" << truncatedJpeg() << qint64(3) << Expected();
    QTest::newRow("photo: a JPEG claiming 20000 x 20000")
        << photo << "bytes" << jpegClaiming(QSize(20000, 20000)) << qint64(3) << noPhoto;
    QTest::newRow("photo: a folder") << photo << "folder" << QByteArray() << qint64(3) << noPhoto;
    QTest::newRow("photo: a FIFO") << photo << "fifo" << QByteArray() << qint64(3) << noPhoto;
}

void TestDamagedCards::damaged() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, records);
    QFETCH(Expected, expected);
    AppFixture app;
    writeGoodFolder(app);
    if (kind == u"torn") {
        QFile torn(app.path(name));
        QVERIFY(torn.open(QIODevice::Append));
        QVERIFY(torn.write(bytes) == bytes.size());
    } else {
        putDamaged(app, name, kind, bytes);
    }
    const QMap<QString, QByteArray> before = folderSnapshot(app.folder);
    const long memory = peakMegabytes();

    Walk walk;
    walkGuarded(app, walk, name, true);
    if (QTest::currentTestFailed())
        return;
    const QStringList differ = differences(walk, m_reference, expected);
    QVERIFY2(differ.isEmpty(), qPrintable(differ.join(u'\n')));
    QVERIFY2(peakMegabytes() - memory < kWalkMemoryMegabytes, "a picture took too much memory");

    // "Salva" appended one card after the whole records of each readable
    // archive; nothing else changed but the new card's photo and the exports,
    // and no export was written from an archive that could not be read.
    QMap<QString, QByteArray> after = folderSnapshot(app.folder);
    QMap<QString, QByteArray> untouched = before;
    for (const auto *sheet : {&spreadsheet::databaseSheet, &spreadsheet::clientSheet}) {
        const RecordLayout &layout = *sheet->layout;
        const QString archive = QString::fromLatin1(layout.fileName);
        const QString exported = QString::fromLatin1(sheet->fileName);
        const qint64 kept = archive == name ? records : 3;
        QCOMPARE(after.contains(exported), kept >= 0);
        after.remove(exported);
        if (kept < 0)
            continue;
        const QByteArray now = after.take(archive);
        QCOMPARE(now.size(), (kept + 1) * layout.size);
        QVERIFY(now.left(kept * layout.size) == untouched.take(archive).left(kept * layout.size));
    }
    if (!(name == u"Database.pro" && records < 0))
        QVERIFY(!after.take(QStringLiteral("4.jpg")).isEmpty());
    QCOMPARE(after, untouched);
}

QTEST_MAIN(TestDamagedCards)
#include "tst_damagedcards.moc"

void TestDamagedCards::unreadablePhotoSurvivesSaving_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("not a picture") << junkBytes(4096);
    QTest::newRow("a JPEG too large to show") << jpegClaiming(QSize(20000, 20000));
}

// A photo file the window cannot show (a picture too large for memory, a
// damaged file) shows as the default photo, and saving the card leaves the
// file as it was instead of replacing it with the default picture; a photo
// the user loads then replaces it.
void TestDamagedCards::unreadablePhotoSurvivesSaving() {
    QFETCH(QByteArray, bytes);
    AppFixture app;
    writeGoodFolder(app);
    QVERIFY(app.write(QStringLiteral("1.jpg"), bytes));
    TfrmDatabase *w = app.windows->frmDatabase;
    w->present();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    w->cmdPrimo->click();
    QCOMPARE(w->lblPosizione->text(), QStringLiteral("1"));
    QVERIFY(photo::samePicture(w->imgFoto->picture(), w->imgBianco->picture()));

    w->txtCampo[1]->setText(QStringLiteral("cambiato"));
    w->cmdSalva->click();
    QCOMPARE(app.desktop.messages.last().kind, Desktop::Kind::Information);
    QCOMPARE(app.read(QStringLiteral("1.jpg")), bytes);

    const QString chosen = app.dir.filePath(QStringLiteral("nuova.jpg"));
    QVERIFY(writeFile(chosen, encodedPicture(QSize(40, 30), Qt::red, "JPG")));
    app.desktop.fileNames << chosen;
    w->btnSfoglia->click();
    w->cmdSalva->click();
    QCOMPARE(QImage(app.path(QStringLiteral("1.jpg"))).size(), QSize(40, 30));
}
