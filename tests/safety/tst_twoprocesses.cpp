// Two processes on one application folder at once, each a real process: a
// second program is refused with its message while the first works on, and
// a backup taken while the program saves or imports holds the archive as it
// was before a change or after it, never in between. Nothing the first
// process saved is lost.
#include "SyntheticArchive.h"
#include "storage/DatabaseRecord.h"
#include "support/Files.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <zip.h>

namespace {

constexpr int kStartCards = 3;

// The bytes of `name` inside the ZIP archive at `path`; empty when missing.
QByteArray entryOf(const QString &path, const char *name) {
    int code = 0;
    zip_t *z = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!z)
        return {};
    QByteArray bytes;
    zip_stat_t st;
    if (zip_stat(z, name, 0, &st) == 0) {
        bytes.resize(qsizetype(st.size));
        zip_file_t *f = zip_fopen(z, name, 0);
        if (!f || zip_fread(f, bytes.data(), st.size) != zip_int64_t(st.size))
            bytes.clear();
        if (f)
            zip_fclose(f);
    }
    zip_discard(z);
    return bytes;
}

QProcess *start(const QString &program, const QStringList &args, QObject *parent) {
    auto *p = new QProcess(parent);
    p->setProgram(program);
    p->setArguments(args);
    p->start();
    return p;
}

} // namespace

class TestTwoProcesses : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void secondProgramIsRefused_data();
    void secondProgramIsRefused();
    void backupBesideAChange_data();
    void backupBesideAChange();

  private:
    QStringList program(const QString &change) const {
        return {QStringLiteral("--come-programma"), m_folder, change, m_picture};
    }

    QTemporaryDir m_dir;
    QString m_folder;
    QString m_picture;
};

void TestTwoProcesses::init() {
    m_folder = m_dir.filePath(QStringLiteral("Archivio"));
    QDir(m_folder).removeRecursively();
    QVERIFY(QDir().mkpath(m_folder));
    const AppFolder folder(m_folder);
    QVERIFY(synthetic::writeDatabase(folder.databaseFile(), kStartCards));
    QVERIFY(synthetic::writeClients(folder.clientFile(), 2));
    m_picture = m_dir.filePath(QStringLiteral("foto.bmp"));
}

void TestTwoProcesses::secondProgramIsRefused_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<int>("cardsAdded");
    QTest::newRow("the first open, idle") << "attendi" << 0;
    QTest::newRow("the first importing") << "importa-grande" << 30000;
    QTest::newRow("the first saving cards") << "schede-200" << 200;
}

// The second program, whatever it was asked to do, ends at start with the
// message and changes nothing; the first one's work is all there.
void TestTwoProcesses::secondProgramIsRefused() {
    QFETCH(QString, first);
    QFETCH(int, cardsAdded);
    const QString change = QString::fromLatin1(CARTAVERA_TEST_CHANGE);
    QProcess *a = start(change, program(first), this);
    QVERIFY(a->waitForStarted());
    // The first program holds the folder once its lock file is there.
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(m_folder + QStringLiteral("/.cartavera.lock")) && waited.elapsed() < 20000)
        QTest::qWait(5);
    QTest::qWait(50);

    for (const char *second : {"scheda-nuova", "importa", "attendi"}) {
        QProcess b;
        b.start(change, program(QString::fromLatin1(second)));
        b.closeWriteChannel();
        QVERIFY(b.waitForFinished(30000));
        QCOMPARE(b.exitCode(), 3);
        QVERIFY2(QString::fromUtf8(b.readAllStandardError()).contains(u"è già aperto"), second);
    }

    a->closeWriteChannel();
    QVERIFY(a->waitForFinished(120000));
    QCOMPARE(a->exitCode(), 0);
    const QByteArray cards = readFile(AppFolder(m_folder).databaseFile());
    QCOMPARE(cards.size(), qsizetype(kStartCards + cardsAdded) * DatabaseRecord::kSize);
}

void TestTwoProcesses::backupBesideAChange_data() {
    QTest::addColumn<QString>("first");
    QTest::newRow("an import") << "importa-grande";
    QTest::newRow("200 saves") << "schede-200";
}

// Backups by cartavera-cli taken again and again while the program changes
// the archive: each holds the record file as some finished change left it (a
// whole number of cards, each equal to the final file's card at its place),
// and the program's work is all there at the end.
void TestTwoProcesses::backupBesideAChange() {
    QFETCH(QString, first);
    QProcess *a = start(QString::fromLatin1(CARTAVERA_TEST_CHANGE), program(first), this);
    QVERIFY(a->waitForStarted());
    QStringList backups;
    for (int n = 0; !a->waitForFinished(0) || backups.isEmpty(); ++n) {
        const QString zip = m_dir.filePath(QStringLiteral("copia-%1.zip").arg(n));
        QProcess b;
        b.start(QString::fromLatin1(CARTAVERA_CLI),
                {QStringLiteral("--cartella"), m_folder, QStringLiteral("copia"),
                 QStringLiteral("--file"), zip});
        QVERIFY(b.waitForFinished(120000));
        QVERIFY2(b.exitCode() == 0, b.readAllStandardError().constData());
        backups << zip;
    }
    QCOMPARE(a->exitStatus(), QProcess::NormalExit);
    QCOMPARE(a->exitCode(), 0);

    const QByteArray final = readFile(AppFolder(m_folder).databaseFile());
    QVERIFY(final.size() > qsizetype(kStartCards) * DatabaseRecord::kSize);
    QSet<qsizetype> sizes;
    for (const QString &zip : backups) {
        const QByteArray taken = entryOf(zip, "Database.pro");
        QVERIFY2(taken.size() % DatabaseRecord::kSize == 0, qPrintable(zip));
        QVERIFY2(taken.size() >= qsizetype(kStartCards) * DatabaseRecord::kSize, qPrintable(zip));
        QVERIFY2(final.startsWith(taken), qPrintable(zip));
        sizes.insert(taken.size());
    }
    // An import is one change: a backup sees none of it or all of it.
    if (first == u"importa-grande")
        for (const qsizetype size : sizes)
            QVERIFY(size == kStartCards * DatabaseRecord::kSize || size == final.size());
    QVERIFY(!QFile::exists(m_folder + QStringLiteral("/.cartavera.journal")));
}

QTEST_GUILESS_MAIN(TestTwoProcesses)
#include "tst_twoprocesses.moc"
