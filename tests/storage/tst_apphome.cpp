#include "storage/AppHome.h"
#include "storage/StorageError.h"
#include "support/Files.h"

#include <QTemporaryDir>
#include <QtTest>

// Where the application folder is, and what a new one is given: the same for
// the installed program at its start and for ./run.
class TestAppHome : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void locate_data();
    void locate();
    void newFolderIsMadeAndFilled();
    void existingFolderKeepsTheUsersFiles_data();
    void existingFolderKeepsTheUsersFiles();
    void failures_data();
    void failures();

  private:
    QString path(const QString &relative) const { return m_dir->filePath(relative); }
    // A folder of delivered files under `relative`.
    QString delivered(const QString &relative, const QByteArray &guide = "guida nuova") {
        const QString folder = path(relative);
        [&] {
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(writeFile(folder + QStringLiteral("/Guida.pdf"), guide));
            QVERIFY(
                writeFile(folder + QStringLiteral("/unins000.dll"), "[Accesso]\r\nValore=x\r\n"));
        }();
        return folder;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QByteArray m_home, m_chosen;
};

void TestAppHome::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_home = qgetenv("HOME");
    m_chosen = qgetenv("CARTAVERA_HOME");
}

void TestAppHome::cleanup() {
    qputenv("HOME", m_home);
    if (m_chosen.isNull())
        qunsetenv("CARTAVERA_HOME");
    else
        qputenv("CARTAVERA_HOME", m_chosen);
}

void TestAppHome::locate_data() {
    QTest::addColumn<QString>("executable");  // the executable's folder, under the temporary one
    QTest::addColumn<QString>("shareFolder"); // made before locating, when not empty
    QTest::addColumn<QString>("chosen");      // CARTAVERA_HOME, unset when "-"
    QTest::addColumn<QString>("folder");      // where the data go
    QTest::addColumn<QString>("from");        // the delivered files; empty when not installed
    QTest::newRow("application folder") << "Cartavera"
                                        << ""
                                        << "-"
                                        << "Cartavera"
                                        << "";
    QTest::newRow("build tree") << "build/bin"
                                << ""
                                << "altrove"
                                << "build/bin"
                                << "";
    QTest::newRow("bin without delivered files") << "usr/bin"
                                                 << "usr/share"
                                                 << "-"
                                                 << "usr/bin"
                                                 << "";
    QTest::newRow("installed") << "usr/bin"
                               << "usr/share/cartavera"
                               << "-"
                               << "home/Cartavera"
                               << "usr/share/cartavera";
    QTest::newRow("installed, empty CARTAVERA_HOME") << "usr/bin"
                                                     << "usr/share/cartavera"
                                                     << ""
                                                     << "home/Cartavera"
                                                     << "usr/share/cartavera";
    QTest::newRow("installed, CARTAVERA_HOME") << "opt/x/bin"
                                               << "opt/x/share/cartavera"
                                               << "dati/Archivio2"
                                               << "dati/Archivio2"
                                               << "opt/x/share/cartavera";
    QTest::newRow("installed, CARTAVERA_HOME with dots") << "usr/bin"
                                                         << "usr/share/cartavera"
                                                         << "dati/../altro/"
                                                         << "altro"
                                                         << "usr/share/cartavera";
}

void TestAppHome::locate() {
    QFETCH(QString, executable);
    QFETCH(QString, shareFolder);
    QFETCH(QString, chosen);
    QFETCH(QString, folder);
    QFETCH(QString, from);
    QVERIFY(QDir().mkpath(path(executable)));
    if (!shareFolder.isEmpty())
        QVERIFY(QDir().mkpath(path(shareFolder)));
    qputenv("HOME", QFile::encodeName(path(QStringLiteral("home"))));
    // A relative CARTAVERA_HOME is taken from the current folder.
    QVERIFY(QDir::setCurrent(m_dir->path()));
    if (chosen == u"-")
        qunsetenv("CARTAVERA_HOME");
    else
        qputenv("CARTAVERA_HOME", QFile::encodeName(chosen));

    const apphome::Place place = apphome::locate(path(executable));
    QCOMPARE(place.folder, path(folder));
    QCOMPARE(place.delivered, from.isEmpty() ? QString() : path(from));
    QCOMPARE(place.installed(), !from.isEmpty());
    // Nothing is made by looking.
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("home"))));
}

void TestAppHome::newFolderIsMadeAndFilled() {
    const QString from = delivered(QStringLiteral("share/cartavera"));
    const QString folder = path(QStringLiteral("casa/utente/Cartavera"));
    const apphome::Furnished done = apphome::furnish(folder, from);
    QVERIFY(done.created && done.guide && done.password);
    QCOMPARE(QFileInfo(folder).permissions() &
                 ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
             QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(folderSnapshot(folder), (QMap<QString, QByteArray>{
                                         {"Guida.pdf", "guida nuova"},
                                         {"unins000.dll", "[Accesso]\r\nValore=x\r\n"},
                                     }));

    // Again: nothing to do, nothing written.
    const QDateTime written = QFileInfo(folder + QStringLiteral("/Guida.pdf")).lastModified();
    const apphome::Furnished again = apphome::furnish(folder, from);
    QVERIFY(!again.created && !again.guide && !again.password);
    QCOMPARE(QFileInfo(folder + QStringLiteral("/Guida.pdf")).lastModified(), written);
}

// A folder in use: the user's password, archives, photos and attachments stay
// as they are; only a guide that differs from the delivered one is replaced.
void TestAppHome::existingFolderKeepsTheUsersFiles_data() {
    QTest::addColumn<QByteArray>("oldGuide"); // "-" when the folder has none
    QTest::addColumn<bool>("guideWritten");
    QTest::newRow("older guide") << QByteArray("guida vecchia") << true;
    QTest::newRow("guide of another length") << QByteArray("guida") << true;
    QTest::newRow("same guide") << QByteArray("guida nuova") << false;
    QTest::newRow("no guide") << QByteArray("-") << true;
}

void TestAppHome::existingFolderKeepsTheUsersFiles() {
    QFETCH(QByteArray, oldGuide);
    QFETCH(bool, guideWritten);
    const QString from = delivered(QStringLiteral("share/cartavera"));
    const QString folder = path(QStringLiteral("Cartavera"));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/Documenti_Allegati")));
    QVERIFY(writeFile(folder + QStringLiteral("/unins000.dll"), "[Accesso]\r\nValore=mia\r\n"));
    QVERIFY(writeFile(folder + QStringLiteral("/Database.pro"), QByteArray(3310, 'd')));
    QVERIFY(writeFile(folder + QStringLiteral("/Clienti.pro"), QByteArray(3372, 'c')));
    QVERIFY(writeFile(folder + QStringLiteral("/1.jpg"), "foto"));
    QVERIFY(writeFile(folder + QStringLiteral("/Documenti_Allegati/a.txt"), "allegato"));
    if (oldGuide != "-")
        QVERIFY(writeFile(folder + QStringLiteral("/Guida.pdf"), oldGuide));
    auto expected = folderSnapshot(folder);
    expected.insert(QStringLiteral("Guida.pdf"), "guida nuova");

    const apphome::Furnished done = apphome::furnish(folder, from);
    QVERIFY(!done.created && !done.password);
    QCOMPARE(done.guide, guideWritten);
    QCOMPARE(folderSnapshot(folder), expected);
}

// A user's password file, even one that only a link leading nowhere stands
// for, is never replaced; a folder that cannot be made or filled is an error.
void TestAppHome::failures_data() {
    QTest::addColumn<QString>("what");
    QTest::newRow("password is a dangling link") << "link";
    QTest::newRow("folder under a file") << "under a file";
    QTest::newRow("folder is a file") << "file";
    QTest::newRow("delivered guide missing") << "no guide";
    QTest::newRow("delivered password missing") << "no password";
}

void TestAppHome::failures() {
    QFETCH(QString, what);
    const QString from = delivered(QStringLiteral("share/cartavera"));
    QString folder = path(QStringLiteral("Cartavera"));
    QVERIFY(QDir().mkpath(folder));
    if (what == u"link") {
        QVERIFY(QFile::link(path(QStringLiteral("altrove/unins000.dll")),
                            folder + QStringLiteral("/unins000.dll")));
        QVERIFY(!apphome::furnish(folder, from).password);
        QVERIFY(QFileInfo(folder + QStringLiteral("/unins000.dll")).isSymLink());
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("altrove"))));
        return;
    }
    if (what == u"under a file") {
        QVERIFY(writeFile(path(QStringLiteral("file")), "x"));
        folder = path(QStringLiteral("file/Cartavera"));
    } else if (what == u"file") {
        folder = path(QStringLiteral("file"));
        QVERIFY(writeFile(folder, "x"));
    } else if (what == u"no guide") {
        QVERIFY(QFile::remove(from + QStringLiteral("/Guida.pdf")));
    } else {
        QVERIFY(QFile::remove(from + QStringLiteral("/unins000.dll")));
    }
    const auto before = folderSnapshot(m_dir->path());
    try {
        apphome::furnish(folder, from);
        QFAIL("furnish() did not fail");
    } catch (const StorageError &e) {
        QVERIFY2(e.message().contains(what == u"no guide"      ? QStringLiteral("Guida.pdf")
                                      : what == u"no password" ? QStringLiteral("unins000.dll")
                                                               : folder),
                 qPrintable(e.message()));
    }
    // The guide may have gone in before a missing password file was found.
    auto after = folderSnapshot(m_dir->path());
    after.remove(QStringLiteral("Cartavera/Guida.pdf"));
    QCOMPARE(after, before);
}

QTEST_MAIN(TestAppHome)
#include "tst_apphome.moc"
