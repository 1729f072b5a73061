#include "storage/FolderLock.h"
#include "storage/Journal.h"
#include "storage/StorageError.h"
#include "support/Files.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>


// The rollback journal and the folder lock.
class TestJournal : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void committedChangeStays();
    void unfinishedChangeIsPutBack_data();
    void unfinishedChangeIsPutBack();
    void journalCutShortIsIgnored();
    void journalCannotLeaveTheFolder();
    void oneProgramPerFolder();
    void readersWaitForAChange();

  private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString file(const QString &name) const { return m_dir->filePath(name); }
    AppFolder folder() const { return AppFolder(m_dir->path()); }
    void makeFolder();
    // Changes the folder as a save, a settings write and a restore would.
    void change(Change &change);
};

void TestJournal::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    makeFolder();
}

void TestJournal::makeFolder() {
    QVERIFY(writeFile(file("Database.pro"), QByteArray(3000, 'a') + QByteArray(500, 'b')));
    QVERIFY(writeFile(file("Archivio.ini"), "[Database]\r\nNome Archivio=Vecchio\r\n"));
    QVERIFY(QDir().mkpath(file("Scheda_1")));
    QVERIFY(writeFile(file("Scheda_1/nota.txt"), "vecchia"));
}

void TestJournal::change(Change &c) {
    c.keepRange("Database.pro", 1000, 1000);       // an overwrite
    c.keepRange("Database.pro", 3500, 1000);       // an append
    c.keepWhole("Archivio.ini");                   // a replaced file
    c.keepWhole("12.jpg");                         // a new file
    c.keepNewFolder(".nuovo");
    c.keepRename("Scheda_1", ".nuovo/Scheda_1");   // a folder moved aside
    c.begin();
    QFile records(file("Database.pro"));
    QVERIFY(records.open(QIODevice::ReadWrite));
    QVERIFY(records.seek(1000));
    QCOMPARE(records.write(QByteArray(1000, 'X')), 1000);
    QVERIFY(records.seek(3500));
    QCOMPARE(records.write(QByteArray(1000, 'Y')), 1000);
    records.close();
    QVERIFY(writeFile(file("Archivio.ini"), "[Database]\r\nNome Archivio=Nuovo\r\n"));
    QVERIFY(writeFile(file("12.jpg"), "foto"));
    QVERIFY(QDir().mkpath(file(".nuovo")));
    QVERIFY(QDir().rename(file("Scheda_1"), file(".nuovo/Scheda_1")));
}

void TestJournal::committedChangeStays() {
    {
        Change c(folder(), Change::Kind::Save);
        change(c);
        c.commit();
    }
    QVERIFY(!QFile::exists(file(Change::fileName())));
    QCOMPARE(readFile(file("Database.pro")), QByteArray(1000, 'a') + QByteArray(1000, 'X') +
                                                 QByteArray(1000, 'a') + QByteArray(500, 'b') +
                                                 QByteArray(1000, 'Y'));
    QCOMPARE(readFile(file("12.jpg")), QByteArray("foto"));
    QVERIFY(QFile::exists(file(".nuovo/Scheda_1/nota.txt")));
    QVERIFY(!journal::recover(folder()));
}

void TestJournal::unfinishedChangeIsPutBack_data() {
    QTest::addColumn<bool>("byRecovery"); // else by the change's own rollback
    QTest::newRow("a failed change rolls itself back") << false;
    QTest::newRow("a killed change is put back at the next start") << true;
}

void TestJournal::unfinishedChangeIsPutBack() {
    QFETCH(bool, byRecovery);
    const auto before = folderSnapshot(m_dir->path());
    QByteArray journalBytes;
    {
        Change c(folder(), Change::Kind::Import);
        change(c);
        journalBytes = readFile(file(Change::fileName()));
        QVERIFY(!journalBytes.isEmpty());
        QVERIFY(journal::unfinished(folder()));
    }
    QCOMPARE(folderSnapshot(m_dir->path()), before);
    if (!byRecovery)
        return;
    // The same change again, and the program killed with the journal in place:
    // recovery puts the folder back, twice over if it is itself interrupted.
    {
        Change c(folder(), Change::Kind::Import);
        change(c);
        c.commit();
    }
    QVERIFY(writeFile(file(Change::fileName()), journalBytes));
    QVERIFY(QDir().mkpath(file(".nuovo"))); // the rename happened, the folder was made
    const auto recovered = journal::recover(folder());
    QVERIFY(recovered);
    QCOMPARE(recovered->kind, Change::Kind::Import);
    QCOMPARE(folderSnapshot(m_dir->path()), before);
    QVERIFY(!journal::recover(folder()));
}

void TestJournal::journalCutShortIsIgnored() {
    QByteArray journalBytes;
    {
        Change c(folder(), Change::Kind::Save);
        c.keepRange("Database.pro", 0, 3000);
        c.begin();
        journalBytes = readFile(file(Change::fileName()));
        c.commit();
    }
    const auto before = folderSnapshot(m_dir->path());
    // Cut anywhere, the journal was being written: no change had begun.
    for (qsizetype cut : {qsizetype(0), qsizetype(3), qsizetype(40), journalBytes.size() - 1}) {
        QVERIFY(writeFile(file(Change::fileName()), journalBytes.left(cut)));
        QVERIFY(!journal::unfinished(folder()));
        QVERIFY(!journal::recover(folder()));
        QCOMPARE(folderSnapshot(m_dir->path()), before);
    }
}

void TestJournal::journalCannotLeaveTheFolder() {
    Change c(folder(), Change::Kind::Restore);
    QVERIFY_THROWS_EXCEPTION(StorageError, c.keepRename("Scheda_1", "../fuori"));
    QVERIFY_THROWS_EXCEPTION(StorageError, c.keepWhole("/etc/passwd"));
    QVERIFY_THROWS_EXCEPTION(StorageError, c.keepNewFolder("a/../../b"));
}

void TestJournal::oneProgramPerFolder() {
    auto first = std::make_unique<FolderLock>(folder());
    FolderLock second(folder());
    QCOMPARE(first->holdProgram(), FolderLock::Result::Taken);
    QCOMPARE(second.holdProgram(), FolderLock::Result::Busy);
    first.reset(); // the program ends, however it ends
    QCOMPARE(second.holdProgram(), FolderLock::Result::Taken);
    // The program's lock leaves changes and readers free.
    FolderLock reader(folder());
    QCOMPARE(reader.holdReading(0), FolderLock::Result::Taken);
}

void TestJournal::readersWaitForAChange() {
    auto change = std::make_unique<Change>(folder(), Change::Kind::Save);
    FolderLock reader(folder());
    QCOMPARE(reader.holdReading(50), FolderLock::Result::Busy);
    // A second change of the same process is refused instead of waiting for
    // the first for ever.
    QVERIFY_THROWS_EXCEPTION(StorageError, Change(folder(), Change::Kind::Save));
    change.reset();
    QCOMPARE(reader.holdReading(50), FolderLock::Result::Taken);
}

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"
