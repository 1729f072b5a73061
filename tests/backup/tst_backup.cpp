#include "SyntheticArchive.h"
#include "backup/Backup.h"
#include "backup/EntryPolicy.h"
#include "storage/PasswordFile.h"
#include "support/Files.h"

#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QtTest>
#include <sys/stat.h>
#include <zip.h>

using namespace backup;

Q_DECLARE_METATYPE(backup::EntryVerdict::Refusal)
Q_DECLARE_METATYPE(backup::Stage)

namespace {

// An application folder with the data set under awkward names, and the
// program's own files beside it.
void fillFolder(const QString &app, int cards) {
    QDir dir(app);
    dir.mkpath(QStringLiteral("Documenti_Allegati"));
    dir.mkpath(QStringLiteral("Scheda_1/Preventivi 2026/vuota"));
    dir.mkpath(QStringLiteral("Scheda_12"));
    QVERIFY(synthetic::writeDatabase(dir.filePath(QStringLiteral("Database.pro")), cards));
    QVERIFY(synthetic::writeClients(dir.filePath(QStringLiteral("Clienti.pro")), cards / 2 + 1));
    const QList<std::pair<QString, QByteArray>> files = {
        {"Archivio.ini", "[Database]\r\nNome Archivio=Citt\xe0\r\n"},
        {"unins000.dll", "[Password]\r\nPassword=xyz\r\n"},
        {"Logo.bmp", QByteArray(5000, 'B')},
        {"1.jpg", QByteArray(3000, '\xff')},
        {"12.jpg", QByteArray(70000, 'j')},
        {QString::fromUtf8("Documenti_Allegati/Fattura n°3 – è.pdf"), QByteArray(200000, 'p')},
        {QString::fromUtf8("Scheda_1/Preventivi 2026/perché.txt"), "testo"},
        {"Scheda_1/vuoto.txt", ""},
        // The program's own files and exports: never in a backup.
        {"cartavera", "ELF"},
        {"cartavera-cli", "ELF"},
        {"Guida.pdf", "%PDF"},
        {"Database.xls", "xls"},
        {"Clienti.xls", "xls"},
        {"Cliente.pdf", "%PDF"},
        {"note.txt", "altro"},
        {"1.jpeg", "non una foto di scheda"},
    };
    for (const auto &[name, bytes] : files)
        QVERIFY(writeFile(dir.filePath(name), bytes));
}

// A folder "app" of `appCards` cards in `tmp`, and "copia.zip", a backup of
// another folder of `archiveCards` cards; the archive's path.
QString folderAndOtherBackup(const QTemporaryDir &tmp, int appCards, int archiveCards) {
    const QString app = tmp.filePath(QStringLiteral("app"));
    const QString other = tmp.filePath(QStringLiteral("altra"));
    QDir().mkpath(app);
    QDir().mkpath(other);
    fillFolder(other, archiveCards);
    const QString zipPath = tmp.filePath("copia.zip");
    makeBackup(AppFolder(other), zipPath);
    fillFolder(app, appCards);
    return zipPath;
}

const QStringList kProgramFiles = {"cartavera",   "cartavera-cli", "Guida.pdf", "Database.xls",
                                   "Clienti.xls", "Cliente.pdf",   "note.txt",  "1.jpeg"};

QMap<QString, QByteArray> dataOnly(QMap<QString, QByteArray> snapshot) {
    for (const QString &name : kProgramFiles)
        snapshot.remove(name);
    return snapshot;
}

// A ZIP archive holding the given entries (name → bytes), written with libzip.
// `link` marks the entry stored as a symbolic link.
QString craftZip(const QString &path, const QList<std::pair<QByteArray, QByteArray>> &entries,
                 const QByteArray &link = {}) {
    int code = 0;
    zip_t *z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    for (const auto &[name, bytes] : entries) {
        // The entries outlive zip_close(), which reads the bytes.
        zip_source_t *s = zip_source_buffer(z, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        const zip_int64_t i = zip_file_add(z, name.constData(), s, ZIP_FL_ENC_UTF_8);
        if (name == link)
            zip_file_set_external_attributes(z, zip_uint64_t(i), 0, ZIP_OPSYS_UNIX,
                                             zip_uint32_t(S_IFLNK | 0777) << 16);
    }
    zip_close(z);
    return path;
}

} // namespace

class TestBackup : public QObject {
    Q_OBJECT
  private slots:
    void cleanup();
    void roundTrip_data();
    void roundTrip();
    void namesAreUtf8WithTheFlag();
    void unsafeEntriesAreRefused_data();
    void unsafeEntriesAreRefused();
    void entryPolicy_data();
    void entryPolicy();
    void manyEntriesInLinearTime();
    void archivesThatCannotReplaceTheFolder_data();
    void archivesThatCannotReplaceTheFolder();
    void passwordFileTheArchiveLacksStays();
    void leftoversOfKilledBackupsGo();
    void damagedArchiveChangesNothing_data();
    void damagedArchiveChangesNothing();
    void verificaAndRestoreAgree_data();
    void verificaAndRestoreAgree();
    void libraryErrorsInItalian_data();
    void libraryErrorsInItalian();
    void readBackCatchesACorruptedWrite();
    void cancelLeavesNothing();
    void cancelledRestoreChangesNothing_data();
    void cancelledRestoreChangesNothing();
    void failedMoveIsUndone();
    void neverWritesOverAnArchiveOrTheData();
};

void TestBackup::cleanup() {
    setWrittenHook({});
    setMoveHook({});
}

void TestBackup::roundTrip_data() {
    QTest::addColumn<int>("cards");
    QTest::newRow("names outside ASCII") << 3;
    QTest::newRow("1,000 cards") << 1000;
}

// A backup restored into an empty folder gives the data set back byte for
// byte, and nothing of the program.
void TestBackup::roundTrip() {
    QFETCH(int, cards);
    QTemporaryDir tmp;
    const QString app = tmp.filePath(QStringLiteral("Schede Città"));
    const QString copies = tmp.filePath(QStringLiteral("Copie già fatte"));
    const QString empty = tmp.filePath(QStringLiteral("Vuota"));
    for (const QString &d : {app, copies, empty})
        QDir().mkpath(d);
    fillFolder(app, cards);
    if (QTest::currentTestFailed())
        return;

    const QDateTime when(QDate(2026, 12, 10), QTime(16, 42));
    qint64 lastDone = -1;
    const Made made =
        makeBackup(AppFolder(app), freeArchivePath(copies, when), [&](Stage, qint64 done, qint64) {
            lastDone = done;
            return true;
        });
    QCOMPARE(QFileInfo(made.path).fileName(), QStringLiteral("Cartavera-2026-12-10-1642.zip"));
    QCOMPARE(QDir(copies).entryList(QDir::Files), QStringList{"Cartavera-2026-12-10-1642.zip"});
    QCOMPARE(made.files, 10);
    QVERIFY(lastDone > 0);

    QStringList names;
    for (const Entry &e : checkArchive(made.path, true))
        names << e.name;
    for (const QString &program : kProgramFiles)
        QVERIFY2(!names.contains(program), qPrintable(program));

    const Restored restored = restore(AppFolder(empty), made.path, copies);
    QCOMPARE(restored.files, 10);
    QCOMPARE(folderSnapshot(empty), dataOnly(folderSnapshot(app)));
    // An empty folder had nothing to keep.
    QCOMPARE(restored.safetyBackup, QString());
    QCOMPARE(QDir(copies).entryList(QDir::Files), QStringList{"Cartavera-2026-12-10-1642.zip"});
}

void TestBackup::namesAreUtf8WithTheFlag() {
    QTemporaryDir tmp;
    const QString app = tmp.filePath(QStringLiteral("Schede Città"));
    QDir().mkpath(app);
    fillFolder(app, 2);
    const QString zipPath = tmp.filePath(QStringLiteral("c.zip"));
    makeBackup(AppFolder(app), zipPath);
    const QByteArray zip = readFile(zipPath);
    // Every central-directory header naming an attachment outside ASCII has
    // the UTF-8 flag (bit 11) and the name in UTF-8.
    int seen = 0;
    for (qsizetype at = zip.indexOf("PK\x01\x02"); at >= 0;
         at = zip.indexOf("PK\x01\x02", at + 4)) {
        const int flags = quint8(zip[at + 8]) | quint8(zip[at + 9]) << 8;
        const int length = quint8(zip[at + 28]) | quint8(zip[at + 29]) << 8;
        const QByteArray name = zip.mid(at + 46, length);
        if (name == QString::fromUtf8("Documenti_Allegati/Fattura n°3 – è.pdf").toUtf8()) {
            QVERIFY(flags & (1 << 11));
            ++seen;
        }
    }
    QCOMPARE(seen, 1);
}

void TestBackup::unsafeEntriesAreRefused_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("link");
    QTest::addColumn<QString>("why");
    QTest::newRow("parent folder") << QByteArray("../x") << false << "..";
    QTest::newRow("parent inside a card folder") << QByteArray("Scheda_1/../../x") << false << "..";
    QTest::newRow("absolute path") << QByteArray("/tmp/Database.pro") << false << "assoluto";
    QTest::newRow("drive letter") << QByteArray("C:/Database.pro") << false << "assoluto";
    QTest::newRow("symbolic link")
        << QByteArray("Documenti_Allegati/a.pdf") << true << "collegamento";
    QTest::newRow("outside the data set") << QByteArray("cartavera") << false << "dati";
    QTest::newRow("card folder as a file") << QByteArray("Scheda_2") << false << "dati";
}

// A refused entry stops the restore before a byte is written anywhere.
void TestBackup::unsafeEntriesAreRefused() {
    QFETCH(QByteArray, name);
    QFETCH(bool, link);
    QFETCH(QString, why);
    QTemporaryDir tmp;
    const QString app = tmp.filePath(QStringLiteral("app"));
    const QString copies = tmp.filePath(QStringLiteral("copie"));
    QDir().mkpath(app);
    QDir().mkpath(copies);
    QVERIFY(writeFile(app + "/Database.pro", QByteArray(3310, 'a')));
    const QString zip =
        craftZip(tmp.filePath("bad.zip"), {{"Database.pro", QByteArray(3310, 'b')}, {name, "evil"}},
                 link ? name : QByteArray());
    const auto before = folderSnapshot(tmp.path());
    try {
        restore(AppFolder(app), zip, copies);
        QFAIL("restored");
    } catch (const BackupError &e) {
        QCOMPARE(e.kind(), BackupError::Kind::Unsafe);
        QVERIFY2(e.message().contains(why), qPrintable(e.message()));
    }
    QCOMPARE(folderSnapshot(tmp.path()), before);
}

// What the archive holds against what the folder holds: refused before a
// byte is written, with the user's own files where they are.
// A file may not stand where a folder of another entry is; that check and
// the rest stay linear: ten times the entries must take far less than a
// hundred times as long.
void TestBackup::manyEntriesInLinearTime() {
    QTemporaryDir dir;
    const auto archive = [&](int count, bool fileAsFolder) {
        QList<std::pair<QByteArray, QByteArray>> entries{{"Database.pro", QByteArray()}};
        for (int i = 0; i < count; ++i)
            entries.append(std::pair("Scheda_1/f" + QByteArray::number(i), QByteArray()));
        if (fileAsFolder)
            entries.append(std::pair(QByteArray("Scheda_1/f7/dentro"), QByteArray("x")));
        return craftZip(dir.filePath(QStringLiteral("%1.zip").arg(count)), entries);
    };
    const auto timed = [](const QString &path) {
        QElapsedTimer clock;
        clock.start();
        const QList<Entry> entries = checkArchive(path, false);
        return entries.isEmpty() ? -1 : clock.nsecsElapsed();
    };
    const QString small = archive(4'000, false);
    const QString large = archive(40'000, false);
    // The best of two runs, so that a pause of the machine counts for nothing.
    const qint64 smallTime = std::min(timed(small), timed(small));
    const qint64 largeTime = std::min(timed(large), timed(large));
    QVERIFY(smallTime > 0 && largeTime > 0);
    QVERIFY2(largeTime < 30 * smallTime,
             qPrintable(QStringLiteral("%1 ns against %2 ns").arg(largeTime).arg(smallTime)));

    try {
        checkArchive(archive(40'000, true), false);
        QFAIL("a file inside a file was accepted");
    } catch (const BackupError &e) {
        QCOMPARE(e.kind(), BackupError::Kind::Unsafe);
        QVERIFY2(e.message().contains(u"sta dentro un file"), qPrintable(e.message()));
    }
}

void TestBackup::archivesThatCannotReplaceTheFolder_data() {
    QTest::addColumn<QByteArray>("name"); // the one entry beside Database.pro, or alone
    QTest::addColumn<bool>("alone");
    QTest::addColumn<QString>("why");
    QTest::newRow("no record file, only the logo") << QByteArray("Logo.bmp") << true << "né";
    QTest::newRow("a card folder where the user has a file")
        << QByteArray("Scheda_2/a.txt") << false << "non è un dato";
    QTest::newRow("a photo where the user has a folder")
        << QByteArray("3.jpg") << false << "non è un dato";
}

void TestBackup::archivesThatCannotReplaceTheFolder() {
    QFETCH(QByteArray, name);
    QFETCH(bool, alone);
    QFETCH(QString, why);
    QTemporaryDir tmp;
    const QString app = tmp.filePath(QStringLiteral("app"));
    const QString copies = tmp.filePath(QStringLiteral("copie"));
    QDir().mkpath(app + "/3.jpg");
    QDir().mkpath(copies);
    QVERIFY(writeFile(app + "/Database.pro", QByteArray(3310, 'a')));
    QVERIFY(writeFile(app + "/unins000.dll", "[Password]\r\nPassword=xyz\r\n"));
    QVERIFY(writeFile(app + "/Scheda_2", "il file dell'utente"));
    QList<std::pair<QByteArray, QByteArray>> entries{{name, "nuovo"}};
    if (!alone)
        entries.prepend({"Database.pro", QByteArray(3310, 'b')});
    const QString zip = craftZip(tmp.filePath("copia.zip"), entries);
    const auto before = folderSnapshot(tmp.path());
    try {
        checkRestore(AppFolder(app), zip, true);
        QFAIL("accepted by the check");
    } catch (const BackupError &e) {
        QVERIFY2(e.message().contains(why), qPrintable(e.message()));
    }
    QVERIFY_THROWS_EXCEPTION(BackupError, restore(AppFolder(app), zip, copies));
    QCOMPARE(folderSnapshot(tmp.path()), before);
}

// An archive without the password file replaces everything else; the user
// logs in with the password they had.
void TestBackup::passwordFileTheArchiveLacksStays() {
    QTemporaryDir tmp;
    const QString app = tmp.filePath(QStringLiteral("app"));
    const QString copies = tmp.filePath(QStringLiteral("copie"));
    QDir().mkpath(app);
    QDir().mkpath(copies);
    fillFolder(app, 4);
    const AppFolder folder(app);
    password::write(folder, QStringLiteral("la mia parola"));
    const QByteArray passwordFile = readFile(folder.passwordFile());
    const QString zip = craftZip(tmp.filePath("copia.zip"), {{"Database.pro", QByteArray(3310, 'b')},
                                                             {"Clienti.pro", QByteArray()}});
    restore(folder, zip, copies);
    QCOMPARE(readFile(folder.passwordFile()), passwordFile);
    QCOMPARE(password::read(folder), QStringLiteral("la mia parola"));
    QCOMPARE(readFile(folder.databaseFile()), QByteArray(3310, 'b'));
    QVERIFY(!QFile::exists(folder.file(QStringLiteral("Logo.bmp"))));
    QVERIFY(!QFile::exists(folder.file(QStringLiteral("Scheda_1"))));
    // Nothing of the restore is left in the folder, and the user's other files stay.
    for (const QString &name : kProgramFiles)
        QVERIFY2(QFile::exists(folder.file(name)), qPrintable(name));
    QVERIFY(QDir(app).entryList({QStringLiteral(".ripristino-*")}, QDir::AllEntries | QDir::Hidden)
                .isEmpty());
}

void TestBackup::leftoversOfKilledBackupsGo() {
    QTemporaryDir tmp;
    const QString app = tmp.filePath(QStringLiteral("app"));
    const QString copies = tmp.filePath(QStringLiteral("copie"));
    QDir().mkpath(app);
    QDir().mkpath(copies);
    fillFolder(app, 2);
    const QStringList left = {"Cartavera-2026-12-01-0900.zip.part",
                              "Cartavera-2026-12-01-0900.zip.part.Ab12Cd", "mia.zip.part.x"};
    for (const QString &name : left)
        QVERIFY(writeFile(copies + u'/' + name, "mezza copia"));
    QVERIFY(writeFile(copies + "/appunti.part", "dell'utente"));
    const Made made = makeBackup(AppFolder(app), copies + "/nuova.zip");
    QCOMPARE(QDir(copies).entryList(QDir::Files),
             (QStringList{"appunti.part", "nuova.zip"}));
    QCOMPARE(checkArchive(made.path, true).isEmpty(), false);
}

// The entry policy on what a directory may say; the refusals a crafted ZIP
// shows above are not repeated here.
void TestBackup::entryPolicy_data() {
    using Refusal = EntryVerdict::Refusal;
    QTest::addColumn<QString>("name");
    // The Unix file type of the entry; 0 for attributes of another system,
    // -1 for attributes that cannot be read.
    QTest::addColumn<int>("type");
    QTest::addColumn<qint64>("size");
    // -1: the directory does not tell the sizes.
    QTest::addColumn<qint64>("compressed");
    QTest::addColumn<bool>("encrypted");
    QTest::addColumn<Refusal>("refusal");
    QTest::addColumn<QString>("why");
    const int file = S_IFREG, dir = S_IFDIR;
    const qint64 mb = 1 << 20;
    QTest::newRow("record file") << "Database.pro" << file << 3310LL << 40LL << false
                                 << Refusal::None << "";
    QTest::newRow("attachment of another system")
        << QString::fromUtf8("Documenti_Allegati/Fattura è.pdf") << 0 << 9LL << 9LL << false
        << Refusal::None << "";
    QTest::newRow("card folder") << "Scheda_4/" << dir << 0LL << 0LL << false << Refusal::None
                                 << "";
    QTest::newRow("empty name") << "" << file << 0LL << 0LL << false << Refusal::Unsafe << "vuoto";
    QTest::newRow("backslash path")
        << "\\server\\x" << file << 1LL << 1LL << false << Refusal::Unsafe << "assoluto";
    QTest::newRow("backslash inside")
        << "Scheda_1\\a" << file << 1LL << 1LL << false << Refusal::Unsafe << "barra rovesciata";
    QTest::newRow("dot part") << "Scheda_1/./a" << file << 1LL << 1LL << false << Refusal::Unsafe
                              << "..";
    QTest::newRow("empty part") << "Scheda_1//a" << file << 1LL << 1LL << false << Refusal::Unsafe
                                << "parte vuota";
    QTest::newRow("a part of 255 bytes")
        << "Scheda_1/" + QString(251, u'a') + ".pdf" << file << 1LL << 1LL << false
        << Refusal::None << "";
    QTest::newRow("a part of 258 bytes in 132 characters")
        << "Scheda_1/" + QString(126, u'\u00e8') + "ab.pdf" << file << 1LL << 1LL << false
        << Refusal::Unsafe << "nome più lungo di 255";
    QTest::newRow("a path of 5,000 bytes")
        << "Scheda_1/" + (QString(200, u'a') + u'/').repeated(25) + "x" << file << 1LL << 1LL
        << false << Refusal::Unsafe << "percorso più lungo di 3000";
    QTest::newRow("control character")
        << "Scheda_1/a\tb" << file << 1LL << 1LL << false << Refusal::Unsafe << "controllo";
    QTest::newRow("unreadable attributes")
        << "Clienti.pro" << -1 << 1LL << 1LL << false << Refusal::Damaged << "non si può leggere";
    QTest::newRow("FIFO") << "Scheda_1/f" << int(S_IFIFO) << 0LL << 0LL << false << Refusal::Unsafe
                          << "né un file";
    QTest::newRow("folder without slash")
        << "Scheda_1/d" << dir << 0LL << 0LL << false << Refusal::Unsafe << "senza";
    QTest::newRow("record file as a folder")
        << "Database.pro/" << dir << 0LL << 0LL << false << Refusal::Unsafe << "dati";
    QTest::newRow("repeated") << "Logo.bmp" << file << 1LL << 1LL << false << Refusal::Unsafe
                              << "ripetuto";
    QTest::newRow("encrypted") << "Clienti.pro" << file << 1LL << 1LL << true << Refusal::Unsafe
                               << "cifrata";
    QTest::newRow("sizes untold") << "Clienti.pro" << file << 1LL << -1LL << false
                                  << Refusal::Damaged << "lunghezza";
    QTest::newRow("folder with data")
        << "Scheda_2/" << dir << 5LL << 5LL << false << Refusal::Unsafe << "lunghezza non valida";
    QTest::newRow("negative size") << "Clienti.pro" << file << -5LL << 1LL << false
                                   << Refusal::Unsafe << "lunghezza non valida";
    QTest::newRow("zip bomb") << "Clienti.pro" << file << 100 * mb << (100 * mb) / 2000 << false
                              << Refusal::Unsafe << "compressione";
    QTest::newRow("high ratio of a small file")
        << "Clienti.pro" << file << mb << 1LL << false << Refusal::None << "";
}

void TestBackup::entryPolicy() {
    using Refusal = EntryVerdict::Refusal;
    QFETCH(QString, name);
    QFETCH(int, type);
    QFETCH(qint64, size);
    QFETCH(qint64, compressed);
    QFETCH(bool, encrypted);
    QFETCH(Refusal, refusal);
    QFETCH(QString, why);
    EntryFacts facts;
    facts.storedName = name;
    facts.attributesKnown = type >= 0;
    facts.madeOnUnix = type > 0;
    facts.unixMode = type > 0 ? quint32(type) | 0644 : 0;
    facts.encrypted = encrypted;
    facts.sizesKnown = compressed >= 0;
    facts.size = size;
    facts.compressedSize = compressed;
    const EntryVerdict verdict = judgeEntry(facts, {QStringLiteral("Logo.bmp")});
    QCOMPARE(verdict.refusal, refusal);
    QVERIFY2(verdict.why.contains(why), qPrintable(verdict.why));
    if (refusal == Refusal::None) {
        QCOMPARE(verdict.folder, name.endsWith(u'/'));
        QCOMPARE(verdict.name + (verdict.folder ? "/" : ""), name);
    }
}

void TestBackup::damagedArchiveChangesNothing_data() {
    QTest::addColumn<QString>("damage");
    QTest::newRow("truncated") << "truncate";
    QTest::newRow("byte flipped in a stored file") << "flip";
}

void TestBackup::damagedArchiveChangesNothing() {
    QFETCH(QString, damage);
    QTemporaryDir tmp;
    const QString app = tmp.filePath(QStringLiteral("Schede Città"));
    const QString copies = tmp.filePath(QStringLiteral("copie"));
    QDir().mkpath(app);
    QDir().mkpath(copies);
    fillFolder(app, 20);
    const QString zipPath = tmp.filePath("copia.zip");
    makeBackup(AppFolder(app), zipPath);
    QByteArray bytes = readFile(zipPath);
    if (damage == "truncate") {
        bytes.chop(bytes.size() / 3);
    } else {
        // 12.jpg is stored as it is: flip a byte in its middle.
        const qsizetype at = bytes.indexOf(QByteArray(1000, 'j'));
        QVERIFY(at > 0);
        bytes[at + 500] = 'k';
    }
    QVERIFY(writeFile(zipPath, bytes));
    QVERIFY_THROWS_EXCEPTION(BackupError, checkArchive(zipPath, true));

    // The restore meets the damage after its safety copy, while unpacking aside.
    QVERIFY(writeFile(app + "/Database.pro", "current"));
    const auto before = folderSnapshot(app);
    try {
        restore(AppFolder(app), zipPath, copies);
        QFAIL("restored");
    } catch (const BackupError &e) {
        QCOMPARE(e.kind(), BackupError::Kind::Damaged);
        QVERIFY2(e.message().contains("nessun dato"), qPrintable(e.message()));
    }
    QCOMPARE(folderSnapshot(app), before);
}

void TestBackup::verificaAndRestoreAgree_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("whole");
    QTest::newRow("a card folder's file") << QByteArray("Scheda_3/nota.txt") << true;
    QTest::newRow("a name of 300 characters") << "Scheda_3/" + QByteArray(300, 'n') << false;
    QTest::newRow("a path of 5,000 characters")
        << "Scheda_3/" + (QByteArray(99, 'p') + '/').repeated(50) + "x" << false;
    QTest::newRow("no archive of cards or clients") << QByteArray() << false;
}

// What verifica calls whole the restore restores, and what it refuses the
// restore refuses before it writes anything, its safety copy included.
void TestBackup::verificaAndRestoreAgree() {
    QFETCH(QByteArray, name);
    QFETCH(bool, whole);
    QTemporaryDir tmp;
    QList<std::pair<QByteArray, QByteArray>> entries{{"Logo.bmp", "BM"}};
    if (!name.isEmpty())
        entries += {{"Clienti.pro", QByteArray()}, {name, "x"}};
    const QString zipPath = craftZip(tmp.filePath(QStringLiteral("copia.zip")), entries);
    bool verified = true;
    try {
        checkArchive(zipPath, true);
    } catch (const BackupError &) {
        verified = false;
    }
    QCOMPARE(verified, whole);

    const QString app = tmp.filePath(QStringLiteral("app"));
    const QString copies = tmp.filePath(QStringLiteral("copie"));
    QDir().mkpath(app);
    QDir().mkpath(copies);
    QVERIFY(writeFile(app + "/Database.pro", "attuale"));
    bool restored = true;
    try {
        restore(AppFolder(app), zipPath, copies);
    } catch (const BackupError &) {
        restored = false;
    }
    QCOMPARE(restored, whole);
    if (!whole) {
        QCOMPARE(QDir(copies).entryList(QDir::Files), QStringList());
        QCOMPARE(readFile(app + "/Database.pro"), QByteArray("attuale"));
    }
}

void TestBackup::libraryErrorsInItalian_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("said");
    QTest::newRow("not an archive") << "text" << "non è un archivio ZIP";
    QTest::newRow("cut short") << "truncate" << "non è un archivio ZIP";
    QTest::newRow("a name twice") << "twice" << "un nome compare due volte";
    QTest::newRow("a flipped byte") << "flip" << "CRC-32";
    QTest::newRow("a directory that disagrees with the data") << "central" << "non concorda con i dati";
}

// What the ZIP library reports reaches the user in Italian, never in the
// library's English.
void TestBackup::libraryErrorsInItalian() {
    QFETCH(QString, damage);
    QFETCH(QString, said);
    QTemporaryDir tmp;
    const QString zipPath = craftZip(
        tmp.filePath(QStringLiteral("copia.zip")),
        {{"Database.pro", QByteArray(4000, 'd')}, {"Scheda_1/a", "BM1"}, {"Scheda_1/b", "BM2"}});
    QByteArray bytes = readFile(zipPath);
    if (damage == u"text") {
        bytes = QByteArray("una lettera, non un archivio\n").repeated(20);
    } else if (damage == u"truncate") {
        bytes.chop(30);
    } else if (damage == u"twice") {
        bytes.replace("Scheda_1/b", "Scheda_1/a");
    } else if (damage == u"flip") {
        bytes[bytes.indexOf("BM1")] = 'X';
    } else {
        // The central directory's size of Database.pro no longer matches.
        const qsizetype central = bytes.indexOf("PK\x01\x02");
        QVERIFY(central > 0);
        bytes[central + 24] = char(bytes[central + 24] ^ 0x10);
    }
    QVERIFY(writeFile(zipPath, bytes));
    try {
        checkArchive(zipPath, true);
        QFAIL("accepted");
    } catch (const BackupError &e) {
        QVERIFY2(e.message().contains(said), qPrintable(e.message()));
        for (const char *english : {"rchive", "rror", "exists", "nconsistent", "Not ", "File "})
            QVERIFY2(!e.message().contains(QLatin1String(english)), qPrintable(e.message()));
    }
}

void TestBackup::readBackCatchesACorruptedWrite() {
    QTemporaryDir tmp;
    const QString app = tmp.filePath(QStringLiteral("app"));
    QDir().mkpath(app);
    fillFolder(app, 5);
    setWrittenHook([](const QString &part) {
        QByteArray bytes = readFile(part);
        bytes[bytes.indexOf(QByteArray(1000, 'j')) + 10] = 'x';
        QVERIFY(writeFile(part, bytes));
    });
    const QString target = tmp.filePath("copia.zip");
    try {
        makeBackup(AppFolder(app), target);
        QFAIL("reported as written");
    } catch (const BackupError &e) {
        QCOMPARE(e.kind(), BackupError::Kind::Damaged);
    }
    QVERIFY(!QFile::exists(target));
    QVERIFY(!QFile::exists(target + ".part"));
}

void TestBackup::cancelLeavesNothing() {
    QTemporaryDir tmp;
    const QString app = tmp.filePath(QStringLiteral("app"));
    const QString copies = tmp.filePath(QStringLiteral("copie"));
    QDir().mkpath(app);
    QDir().mkpath(copies);
    fillFolder(app, 1000);
    for (const Stage stop : {Stage::Writing, Stage::Checking}) {
        try {
            makeBackup(AppFolder(app), copies + "/c.zip",
                       [&](Stage stage, qint64, qint64) { return stage != stop; });
            QFAIL("not cancelled");
        } catch (const BackupError &e) {
            QCOMPARE(e.kind(), BackupError::Kind::Cancelled);
        }
        QCOMPARE(QDir(copies).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
    }
}

// The archive is unpacked aside while the safety backup is made: stopped in
// either, the restore leaves the folder as it was, with nothing unpacked.
void TestBackup::cancelledRestoreChangesNothing_data() {
    QTest::addColumn<Stage>("stop");
    QTest::newRow("during the safety backup") << Stage::Writing;
    QTest::newRow("while unpacking") << Stage::Extracting;
}

void TestBackup::cancelledRestoreChangesNothing() {
    QFETCH(Stage, stop);
    QTemporaryDir tmp;
    const QString zipPath = folderAndOtherBackup(tmp, 3, 2000);
    const QString app = tmp.filePath(QStringLiteral("app"));
    const QString copies = tmp.filePath(QStringLiteral("copie"));
    QDir().mkpath(copies);
    const auto before = folderSnapshot(app);
    QList<Stage> seen;
    try {
        restore(AppFolder(app), zipPath, copies,
                [&](Stage stage, qint64, qint64) {
                    seen << stage;
                    return stage != stop;
                });
        QFAIL("not cancelled");
    } catch (const BackupError &e) {
        QCOMPARE(e.kind(), BackupError::Kind::Cancelled);
    }
    QVERIFY(seen.contains(stop));
    QCOMPARE(folderSnapshot(app), before);
}

// A move that fails midway puts back what was already moved.
void TestBackup::failedMoveIsUndone() {
    QTemporaryDir tmp;
    const QString zipPath = folderAndOtherBackup(tmp, 4, 30);
    const QString app = tmp.filePath(QStringLiteral("app"));
    const QString other = tmp.filePath(QStringLiteral("altra"));
    QVERIFY(writeFile(app + "/Scheda_12/solo qui.txt", "x"));
    const auto before = folderSnapshot(app);
    QStringList order;
    setMoveHook([&](const QString &item) {
        order << item;
        return item != "Clienti.pro";
    });
    QVERIFY_THROWS_EXCEPTION(BackupError, restore(AppFolder(app), zipPath, tmp.path()));
    QCOMPARE(folderSnapshot(app), before);
    // The record files come last, the card archive the very last.
    QCOMPARE(order.mid(order.size() - 4),
             (QStringList{"Logo.bmp", "Archivio.ini", "unins000.dll", "Clienti.pro"}));

    setMoveHook({});
    restore(AppFolder(app), zipPath, tmp.path());
    QCOMPARE(dataOnly(folderSnapshot(app)), dataOnly(folderSnapshot(other)));
}

void TestBackup::neverWritesOverAnArchiveOrTheData() {
    QTemporaryDir tmp;
    const QString app = tmp.filePath(QStringLiteral("app"));
    QDir().mkpath(app);
    fillFolder(app, 2);
    const QDateTime when(QDate(2026, 12, 10), QTime(9, 5));
    const QString first = freeArchivePath(tmp.path(), when);
    makeBackup(AppFolder(app), first);
    const QString second = freeArchivePath(tmp.path(), when);
    QCOMPARE(QFileInfo(second).fileName(), QStringLiteral("Cartavera-2026-12-10-0905-2.zip"));
    const auto before = folderSnapshot(app);
    for (const char *data : {"Database.pro", "Scheda_1/vuoto.txt", "Scheda_7"})
        QVERIFY_THROWS_EXCEPTION(BackupError,
                                 makeBackup(AppFolder(app), app + "/" + QLatin1String(data)));
    QCOMPARE(folderSnapshot(app), before);
}

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
