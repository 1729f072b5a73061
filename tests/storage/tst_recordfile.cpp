#include "storage/ClientRecord.h"
#include "storage/DatabaseRecord.h"
#include "storage/RecordFile.h"
#include "storage/StorageError.h"

#include <QTemporaryDir>
#include <QtTest>

class TestRecordFile : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void missingFileIsCreatedEmpty();
    void existingFileIsNeverEmptied();
    void partialTrailingRecord();
    void overwriteTouchesOneRecord();
    void failures_data();
    void failures();
    void scannerReadsInOrder();
    void scannerLeavesMissingFileAlone();
    void recordsOfAnotherArchive();

  private:
    QString path(const char *name = "Database.pro") const { return m_dir->filePath(name); }
    static QByteArray card(char fill) {
        DatabaseRecord r;
        r.setText(DatabaseField::Campo01, QString(10, QChar::fromLatin1(fill)));
        return r.bytes();
    }
    void writeFile(const QByteArray &bytes) {
        QFile f(path());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray fileBytes() const {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestRecordFile::init() {
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestRecordFile::missingFileIsCreatedEmpty() {
    DatabaseFile f;
    f.openOrCreate(AppFolder(m_dir->path()));
    QCOMPARE(f.size(), 0);
    QVERIFY(f.atEnd());
    f.close();
    QVERIFY(QFileInfo::exists(path()));
    QCOMPARE(QFileInfo(path()).size(), 0);
}

void TestRecordFile::existingFileIsNeverEmptied() {
    writeFile(card('a') + card('b'));
    RecordFile f;
    f.openOrCreate(databaseLayout, path());
    QCOMPARE(f.size(), 2);
    f.close();
    QCOMPARE(fileBytes(), card('a') + card('b'));
}

void TestRecordFile::partialTrailingRecord() {
    // Two whole cards and 100 stray bytes: the stray bytes are not a card, and
    // an append lands right after the second card.
    writeFile(card('a') + card('b') + QByteArray(100, 'z'));
    DatabaseFile f;
    f.openOrCreate(AppFolder(m_dir->path()));
    QCOMPARE(f.size(), 2);
    f.seek(2);
    QVERIFY(f.atEnd());
    DatabaseRecord r;
    QVERIFY_THROWS_EXCEPTION(StorageError, f.read(r));
    r.setText(DatabaseField::Campo01, QString(10, u'c'));
    f.write(r);
    QCOMPARE(f.position(), 3);
    QCOMPARE(f.size(), 3);
    f.close();
    QCOMPARE(fileBytes(), card('a') + card('b') + card('c'));
    QCOMPARE(QFileInfo(path()).size(), 3 * 3310);
}

void TestRecordFile::overwriteTouchesOneRecord() {
    writeFile(card('a') + card('b') + card('c') + card('d') + card('e'));
    DatabaseFile f;
    f.openOrCreate(AppFolder(m_dir->path()));
    DatabaseRecord r;
    f.seek(1);
    f.read(r);
    QCOMPARE(r.text(DatabaseField::Campo01), QString(10, u'b'));
    QCOMPARE(f.position(), 2);
    r.setText(DatabaseField::Campo01, u"nuovo");
    f.seek(1);
    f.write(r);
    f.close();
    const QByteArray after = fileBytes();
    QCOMPARE(after.size(), 5 * 3310);
    QCOMPARE(after.left(3310), card('a'));
    QCOMPARE(after.mid(3310, 3310), r.bytes());
    QCOMPARE(after.mid(2 * 3310), card('c') + card('d') + card('e'));
}

void TestRecordFile::failures_data() {
    QTest::addColumn<QString>("what");
    QTest::newRow("parent is a file") << "parent";
    QTest::newRow("path is a folder") << "folder";
    QTest::newRow("seek past the end") << "seek";
    QTest::newRow("read past the end") << "read";
    QTest::newRow("device full") << "full";
}

void TestRecordFile::failures() {
    QFETCH(QString, what);
    writeFile(card('a'));
    RecordFile f;
    DatabaseRecord record;
    auto run = [&] {
        if (what == u"parent")
            f.openOrCreate(databaseLayout, path() + QStringLiteral("/Database.pro"));
        else if (what == u"folder")
            f.openOrCreate(databaseLayout, m_dir->path());
        else if (what == u"full") {
            f.openOrCreate(databaseLayout, QStringLiteral("/dev/full"));
            f.write(record);
        } else {
            f.openOrCreate(databaseLayout, path());
            if (what == u"seek")
                f.seek(2);
            f.read(record);
            f.read(record);
        }
    };
    QVERIFY_THROWS_EXCEPTION(StorageError, run());
    QCOMPARE(fileBytes(), card('a'));
}

void TestRecordFile::scannerReadsInOrder() {
    QByteArray all;
    for (int i = 0; i < 700; ++i) // more than one read buffer
        all += card(char('a' + i % 26));
    writeFile(all + "xx");
    RecordScanner s(databaseLayout, path());
    QCOMPARE(s.count(), 700);
    int n = 0;
    while (const char *r = s.next()) {
        QCOMPARE(QByteArray(r, 3310), card(char('a' + n % 26)));
        ++n;
    }
    QCOMPARE(n, 700);
}

// The read path (scanner and read-only open) never creates a missing archive
// and never writes.
void TestRecordFile::scannerLeavesMissingFileAlone() {
    {
        RecordScanner s(databaseLayout, path());
        QCOMPARE(s.count(), 0);
        QCOMPARE(s.next(), nullptr);
    }
    {
        ClientFile f;
        f.openForReading(AppFolder(m_dir->path()));
        QCOMPARE(f.size(), 0);
        QVERIFY_THROWS_EXCEPTION(StorageError, f.write(ClientRecord()));
    }
    QVERIFY(QDir(m_dir->path()).isEmpty());

    writeFile(card('a'));
    DatabaseFile f;
    f.openForReading(AppFolder(m_dir->path()));
    QCOMPARE(f.size(), 1);
    DatabaseRecord r;
    f.read(r);
    QCOMPARE(r.bytes(), card('a'));
    f.seek(0);
    QVERIFY_THROWS_EXCEPTION(StorageError, f.write(r));
    QCOMPARE(fileBytes(), card('a'));
}

// A record of one archive never lands in the other: the typed archives do not
// compile it, and the untyped file refuses it, and a file named after the
// other archive, at run time.
template <class File, class R>
concept Writes = requires(File f, const R r) {
    f.write(r);
};
template <class File, class R>
concept Reads = requires(File f, R r) {
    f.read(r);
};
static_assert(Writes<DatabaseFile, DatabaseRecord> && Reads<DatabaseFile, DatabaseRecord>);
static_assert(!Writes<DatabaseFile, ClientRecord> && !Reads<DatabaseFile, ClientRecord>);
static_assert(Writes<ClientFile, ClientRecord> && !Writes<ClientFile, DatabaseRecord>);

void TestRecordFile::recordsOfAnotherArchive() {
    writeFile(card('a'));
    RecordFile f;
    f.openOrCreate(databaseLayout, path());
    ClientRecord client;
    client.setText(ClientField::Cliente, u"Neri Anna");
    QVERIFY_THROWS_EXCEPTION(StorageError, f.write(client));
    f.seek(0);
    QVERIFY_THROWS_EXCEPTION(StorageError, f.read(client));
    QVERIFY_THROWS_EXCEPTION(StorageError, f.openOrCreate(clientLayout, path()));
    QVERIFY_THROWS_EXCEPTION(StorageError, RecordScanner(clientLayout, path()));
    QVERIFY_THROWS_EXCEPTION(StorageError, f.openOrCreate(databaseLayout, path("Clienti.pro")));
    QCOMPARE(fileBytes(), card('a'));
    QVERIFY(!QFileInfo::exists(path("Clienti.pro")));
}

QTEST_APPLESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
