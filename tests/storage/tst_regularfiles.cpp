// The data files are opened only when they are regular files: a FIFO, a
// device, a folder or a link loop under one of their names is a file error
// at once, never a wait and never an empty archive, and it is left as it was.
#include "database/Photo.h"
#include "storage/AppFolder.h"
#include "storage/IniFile.h"
#include "storage/PasswordFile.h"
#include "storage/PictureFile.h"
#include "storage/RecordFile.h"
#include "storage/StorageError.h"
#include "support/Deadline.h"

#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace std::chrono_literals;

class TestRegularFiles : public QObject {
    Q_OBJECT
  private slots:
    void notRegular_data();
    void notRegular();
};

namespace {

QString countOf(qint64 records) {
    return records == 0 ? QStringLiteral("empty") : QStringLiteral("records");
}

template <class File> QString open(const AppFolder &folder, bool create) {
    File f;
    if (create)
        f.openOrCreate(folder);
    else
        f.openForReading(folder);
    return countOf(f.size());
}

// What `entry` does with the folder's files; "empty" when it read nothing.
QString run(const QString &entry, const AppFolder &folder) {
    const QString key = QStringLiteral("Nome Archivio");
    try {
        if (entry == u"DatabaseFile::openOrCreate")
            return open<DatabaseFile>(folder, true);
        if (entry == u"DatabaseFile::openForReading")
            return open<DatabaseFile>(folder, false);
        if (entry == u"ClientFile::openOrCreate")
            return open<ClientFile>(folder, true);
        if (entry == u"ClientFile::openForReading")
            return open<ClientFile>(folder, false);
        if (entry == u"RecordScanner")
            return countOf(RecordScanner(databaseLayout, folder.databaseFile()).count());
        if (entry == u"IniFile::read")
            return IniFile(folder.settingsFile()).read(QStringLiteral("Database"), key).isEmpty()
                       ? QStringLiteral("empty")
                       : QStringLiteral("value");
        if (entry == u"IniFile::write") {
            IniFile(folder.settingsFile())
                .write(QStringLiteral("Database"), key, QStringLiteral("Vini"));
            return QStringLiteral("written");
        }
        if (entry == u"readPictureFile")
            return readPictureFile(folder.logoFile()).isNull() ? QStringLiteral("empty")
                                                               : QStringLiteral("picture");
        if (entry == u"photo::load")
            return photo::load(photo::fileOf(folder, u"1")).isNull() ? QStringLiteral("empty")
                                                                      : QStringLiteral("picture");
        if (entry == u"password::read")
            return password::read(folder).isEmpty() ? QStringLiteral("empty")
                                                    : QStringLiteral("value");
        if (entry == u"password::write") {
            password::write(folder, QStringLiteral("NUOVA"));
            return QStringLiteral("written");
        }
    } catch (const StorageError &) {
        return QStringLiteral("StorageError");
    }
    return QStringLiteral("unknown entry point");
}

// The kind of thing at `path`, without following a link.
QString kindOf(const QString &path) {
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QStringLiteral("missing");
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("fifo");
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("folder");
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("link");
    return QStringLiteral("file");
}

} // namespace

void TestRegularFiles::notRegular_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("outcome");
    const struct {
        const char *name;
        const char *entry;
        const char *unreadable; // the outcome for a file that cannot be read
        bool replaces;          // writes the whole file aside and renames it over
    } entries[] = {
        {"Database.pro", "DatabaseFile::openOrCreate", "StorageError", false},
        {"Database.pro", "DatabaseFile::openForReading", "StorageError", false},
        {"Database.pro", "RecordScanner", "StorageError", false},
        {"Clienti.pro", "ClientFile::openOrCreate", "StorageError", false},
        {"Clienti.pro", "ClientFile::openForReading", "StorageError", false},
        // Settings read as empty where they cannot be read, as when missing.
        {"Archivio.ini", "IniFile::read", "empty", false},
        {"Archivio.ini", "IniFile::write", "StorageError", true},
        // A picture that cannot be read shows as the built-in one.
        {"Logo.bmp", "readPictureFile", "empty", false},
        {"1.jpg", "photo::load", "empty", false},
        {"unins000.dll", "password::read", "StorageError", false},
        {"unins000.dll", "password::write", "StorageError", true},
    };
    for (const auto &e : entries)
        for (const char *kind : {"fifo", "link loop", "folder", "device"}) {
            // A failing guard would rename a file over the device the link leads to.
            if (e.replaces && !qstrcmp(kind, "device"))
                continue;
            QTest::addRow("%s %s, %s", e.entry, e.name, kind)
                << e.name << e.entry << kind << e.unreadable;
        }
}

void TestRegularFiles::notRegular() {
    QFETCH(QString, name);
    QFETCH(QString, entry);
    QFETCH(QString, kind);
    QFETCH(QString, outcome);
    QTemporaryDir dir;
    const AppFolder folder(dir.path());
    const QString path = folder.file(name);
    if (kind == u"fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == u"link loop")
        QVERIFY(QFile::link(name, path)); // a link to itself
    else if (kind == u"folder")
        QVERIFY(QDir(dir.path()).mkdir(name));
    else
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), path));
    const QString before = kindOf(path);

    const std::optional<QString> result = endsWithin(
        1s, [entry, folder] { return run(entry, folder); }, [path] { wakeFifo(path); });
    QVERIFY2(result, "blocked on a file that is not a regular file");
    QCOMPARE(*result, outcome);
    QCOMPARE(kindOf(path), before);
    QCOMPARE(QDir(dir.path())
                 .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{name}); // nothing written beside it
}

QTEST_APPLESS_MAIN(TestRegularFiles)
#include "tst_regularfiles.moc"
