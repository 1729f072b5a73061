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
    RecordFile f;
    f.openOrCreate(path(), 3310);
    QCOMPARE(f.size(), 0);
    QVERIFY(f.atEnd());
    f.close();
    QVERIFY(QFileInfo::exists(path()));
    QCOMPARE(QFileInfo(path()).size(), 0);
}

void TestRecordFile::existingFileIsNeverEmptied() {
    writeFile(card('a') + card('b'));
    RecordFile f;
    f.openOrCreate(path(), 3310);
    QCOMPARE(f.size(), 2);
    f.close();
    QCOMPARE(fileBytes(), card('a') + card('b'));
}

void TestRecordFile::partialTrailingRecord() {
    // Two whole cards and 100 stray bytes: the stray bytes are not a card, and
    // an append lands right after the second card.
    writeFile(card('a') + card('b') + QByteArray(100, 'z'));
    RecordFile f;
    f.openOrCreate(path(), 3310);
    QCOMPARE(f.size(), 2);
    f.seek(2);
    QVERIFY(f.atEnd());
    QVERIFY_THROWS_EXCEPTION(StorageError, f.read(DatabaseRecord().data()));
    f.write(card('c').constData());
    QCOMPARE(f.position(), 3);
    QCOMPARE(f.size(), 3);
    f.close();
    QCOMPARE(fileBytes(), card('a') + card('b') + card('c'));
    QCOMPARE(QFileInfo(path()).size(), 3 * 3310);
}

void TestRecordFile::overwriteTouchesOneRecord() {
    writeFile(card('a') + card('b') + card('c') + card('d') + card('e'));
    RecordFile f;
    f.openOrCreate(path(), 3310);
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
    char buffer[3310];
    auto run = [&] {
        if (what == u"parent")
            f.openOrCreate(path() + QStringLiteral("/Database.pro"), 3310);
        else if (what == u"folder")
            f.openOrCreate(m_dir->path(), 3310);
        else if (what == u"full") {
            f.openOrCreate(QStringLiteral("/dev/full"), 3310);
            f.write(buffer);
        } else {
            f.openOrCreate(path(), 3310);
            if (what == u"seek")
                f.seek(2);
            f.read(buffer);
            f.read(buffer);
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
    RecordScanner s(path(), 3310);
    QCOMPARE(s.count(), 700);
    int n = 0;
    while (const char *r = s.next()) {
        QCOMPARE(QByteArray(r, 3310), card(char('a' + n % 26)));
        ++n;
    }
    QCOMPARE(n, 700);
}

void TestRecordFile::scannerLeavesMissingFileAlone() {
    {
        RecordScanner s(path(), 3310, RecordScanner::Missing::Empty);
        QCOMPARE(s.count(), 0);
        QCOMPARE(s.next(), nullptr);
    }
    QVERIFY(!QFileInfo::exists(path()));
    RecordScanner created(path(), 3310);
    QVERIFY(QFileInfo::exists(path()));
}

QTEST_APPLESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
