// The program started over a damaged settings file or start picture: every
// window from the login on shows what it can, says nothing it should not,
// never blocks, and no file is rewritten by merely looking.
#include "support/DamagedFiles.h"
#include "support/Walk.h"

#include <QtTest>

class TestDamagedStart : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void damaged_data();
    void damaged();

  private:
    Walk m_reference;
};

namespace {

// The files the walk itself writes: the two exports.
const QStringList kWrittenByTheWalk = {QStringLiteral("Database.xls"),
                                       QStringLiteral("Clienti.xls")};

QMap<QString, QByteArray> withoutExports(QMap<QString, QByteArray> files) {
    for (const QString &name : kWrittenByTheWalk)
        files.remove(name);
    return files;
}

} // namespace

void TestDamagedStart::initTestCase() {
    AppFixture app;
    writeGoodFolder(app);
    walkEveryWindow(app, m_reference, QStringLiteral("amministratore"), false);
    QCOMPARE(m_reference.seen.value("login"), QStringLiteral("frmAvvio"));
    QCOMPARE(m_reference.seen.value("start"), QStringLiteral("Archivio prove|Sottotitolo"));
    QCOMPARE(m_reference.seen.value("start picture"), QStringLiteral("own"));
    QCOMPARE(m_reference.seen.value("database"), QStringLiteral("Archivio prove|Titolo uno"));
    QCOMPARE(m_reference.seen.value("field titles"), QStringLiteral("Archivio prove|Titolo uno"));
    QCOMPARE(m_reference.seen.value("start settings picture"), QStringLiteral("own"));
}

void TestDamagedStart::damaged_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind"); // "folder", "fifo" or "bytes"
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Expected>("expected"); // what differs from a good folder

    const QString name = QStringLiteral("Archivio.ini");
    // Every window that shows the settings shows them empty.
    const QMap<QString, QString> noSettings = {{"seen start", "|"},
                                               {"seen database", "|"},
                                               {"seen field titles", "|"},
                                               {"seen start settings", "|"}};
    const QByteArray good = "[Database]\r\nNome Archivio=Caff\xC3\xA8 e libri\r\n"
                            "Sottotitolo Archivio=Sottotitolo\r\n[Nome Campi]\r\n"
                            "Campo 01=Titolo uno\r\n";
    const QMap<QString, QString> accented = {{"seen start", "Caffè e libri|Sottotitolo"},
                                             {"seen database", "Caffè e libri|Titolo uno"},
                                             {"seen field titles", "Caffè e libri|Titolo uno"},
                                             {"seen start settings", "Caffè e libri|Sottotitolo"}};
    QTest::newRow("settings: binary junk") << name << "bytes" << junkBytes(4096) << noSettings;
    QByteArray big = good;
    while (big.size() < 10 * 1024 * 1024)
        big += "; riga di commento che allunga il file fino a dieci megabyte\r\n";
    QTest::newRow("settings: 10 MB of text") << name << "bytes" << big << accented;
    QTest::newRow("settings: UTF-8 with a byte order mark") << name << "bytes"
                                                            << "\xEF\xBB\xBF" + good << accented;
    QByteArray latin = good;
    latin.replace("\xC3\xA8", "\xE8"); // è in Windows-1252: not UTF-8
    QTest::newRow("settings: not UTF-8") << name << "bytes" << latin << accented;
    QTest::newRow("settings: a folder") << name << "folder" << QByteArray() << noSettings;
    QTest::newRow("settings: a FIFO") << name << "fifo" << QByteArray() << noSettings;

    // The built-in picture, silently, on the start screen and in its settings.
    const QMap<QString, QString> builtIn = {{"seen start picture", "default"},
                                            {"seen start settings picture", "default"}};
    const QString logo = QStringLiteral("Logo.bmp");
    QTest::newRow("picture: zero bytes") << logo << "bytes" << QByteArray() << builtIn;
    QTest::newRow("picture: a folder") << logo << "folder" << QByteArray() << builtIn;
    QTest::newRow("picture: a FIFO") << logo << "fifo" << QByteArray() << builtIn;
    QTest::newRow("picture: not a picture") << logo << "bytes" << junkBytes(4096) << builtIn;
    QTest::newRow("picture: a bitmap claiming 20000 x 20000")
        << logo << "bytes" << bitmapClaiming(QSize(20000, 20000)) << builtIn;
    QTest::newRow("picture: a JPEG claiming 20000 x 20000")
        << logo << "bytes" << jpegClaiming(QSize(20000, 20000)) << builtIn;
}

void TestDamagedStart::damaged() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(Expected, expected);
    AppFixture app;
    writeGoodFolder(app);
    putDamaged(app, name, kind, bytes);
    const QMap<QString, QByteArray> before = folderSnapshot(app.folder);
    const long memory = peakMegabytes();

    Walk walk;
    walkGuarded(app, walk, name, false);
    if (QTest::currentTestFailed())
        return;

    const QStringList differ = differences(walk, m_reference, expected);
    QVERIFY2(differ.isEmpty(), qPrintable(differ.join(u'\n')));
    QCOMPARE(withoutExports(folderSnapshot(app.folder)), withoutExports(before));
    QVERIFY2(peakMegabytes() - memory < kWalkMemoryMegabytes, "a picture took too much memory");
}

QTEST_MAIN(TestDamagedStart)
#include "tst_damagedstart.moc"
