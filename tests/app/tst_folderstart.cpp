#include "app/FolderStart.h"
#include "storage/Journal.h"
#include "support/FakeDesktop.h"
#include "support/Files.h"

#include <QTemporaryDir>
#include <QtTest>

// What the program does with its folder before the login: one program per
// folder, and a change left half done put back, with one message.
class TestFolderStart : public QObject {
    Q_OBJECT
  private slots:
    void secondProgramIsRefused();
    void unfinishedChangeIsPutBackAndSaid_data();
    void unfinishedChangeIsPutBackAndSaid();
    void installedFolderThatCannotBeMadeIsSaid();
};

void TestFolderStart::secondProgramIsRefused() {
    QTemporaryDir dir;
    const AppFolder folder(dir.path());
    QVERIFY(writeFile(folder.databaseFile(), QByteArray(3310, 'a')));
    FakeDesktop desktop;
    FolderLock first(folder);
    QVERIFY(openFolder(folder, first));
    QVERIFY(desktop.messages.isEmpty());

    const auto before = folderSnapshot(dir.path());
    FolderLock second(folder);
    QVERIFY(!openFolder(folder, second));
    QCOMPARE(desktop.messages.size(), 1);
    QCOMPARE(desktop.messages[0].kind, Desktop::Kind::Warning);
    QVERIFY(desktop.messages[0].text.contains(QDir::toNativeSeparators(dir.path())));
    QVERIFY(desktop.messages[0].text.contains(QStringLiteral("è già aperto")));
    QCOMPARE(folderSnapshot(dir.path()), before);
}

void TestFolderStart::unfinishedChangeIsPutBackAndSaid_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("said");
    QTest::newRow("save") << int(Change::Kind::Save) << "L'ultimo salvataggio di una scheda";
    QTest::newRow("import") << int(Change::Kind::Import) << "L'ultima importazione non era terminata";
    QTest::newRow("restore") << int(Change::Kind::Restore) << "L'ultimo ripristino";
}

void TestFolderStart::unfinishedChangeIsPutBackAndSaid() {
    QFETCH(int, kind);
    QFETCH(QString, said);
    QTemporaryDir dir;
    const AppFolder folder(dir.path());
    QVERIFY(writeFile(folder.databaseFile(), QByteArray(3310, 'a')));
    const auto before = folderSnapshot(dir.path());
    QByteArray journalBytes;
    {
        Change change(folder, Change::Kind(kind));
        change.keepRange(QStringLiteral("Database.pro"), 3310, 3310);
        change.begin();
        journalBytes = readFile(folder.file(Change::fileName()));
        QVERIFY(writeFile(folder.databaseFile(), QByteArray(3310, 'a') + QByteArray(3310, 'b')));
        change.commit();
    }
    // The program was killed before the change was done.
    QVERIFY(writeFile(folder.file(Change::fileName()), journalBytes));

    FakeDesktop desktop;
    FolderLock lock(folder);
    QVERIFY(openFolder(folder, lock));
    QCOMPARE(folderSnapshot(dir.path()), before);
    QCOMPARE(desktop.messages.size(), 1);
    QCOMPARE(desktop.messages[0].kind, Desktop::Kind::Information);
    QVERIFY2(desktop.messages[0].text.startsWith(said), qPrintable(desktop.messages[0].text));

    // The next start finds nothing to say.
    desktop.messages.clear();
    lock.release();
    QVERIFY(openFolder(folder, lock));
    QVERIFY(desktop.messages.isEmpty());
}

// The installed program's first start makes its folder; when it cannot, one
// error names the folder and the way to another, and the program ends.
void TestFolderStart::installedFolderThatCannotBeMadeIsSaid() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("share/cartavera")));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("share/cartavera/Guida.pdf")), "guida"));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("share/cartavera/unins000.dll")), "x"));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("casa")), "un file, non una cartella"));
    FakeDesktop desktop;
    const apphome::Place made{dir.filePath(QStringLiteral("Cartavera")),
                              dir.filePath(QStringLiteral("share/cartavera"))};
    QVERIFY(prepareFolder(made));
    QVERIFY(desktop.messages.isEmpty());
    QCOMPARE(readFile(made.folder + QStringLiteral("/unins000.dll")), QByteArray("x"));

    const apphome::Place refused{dir.filePath(QStringLiteral("casa/Cartavera")), made.delivered};
    QVERIFY(!prepareFolder(refused));
    QCOMPARE(desktop.messages.size(), 1);
    QCOMPARE(desktop.messages[0].kind, Desktop::Kind::Error);
    QVERIFY(desktop.messages[0].text.contains(QDir::toNativeSeparators(refused.folder)));
    QVERIFY(desktop.messages[0].text.contains(QStringLiteral("CARTAVERA_HOME")));
}

QTEST_MAIN(TestFolderStart)
#include "tst_folderstart.moc"
