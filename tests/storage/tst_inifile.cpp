#include "storage/IniFile.h"
#include "storage/StorageError.h"
#include "support/FullDisk.h"
#include "support/PermissionBits.h"

#include <QTemporaryDir>
#include <QtTest>

class TestIniFile : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void missingReadsEmpty();
    void namesIgnoreCase();
    void writeKeepsExistingHeader();
    void newSectionUsesWritersSpelling();
    void updateInPlaceKeepsOtherLines();
    void encodings_data();
    void encodings();
    void failedWrite();
    void fullDisk();
    void unreadableFileIsNeverRewritten();

  private:
    QString path() const { return m_dir->filePath(QStringLiteral("Archivio.ini")); }
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

void TestIniFile::init() {
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestIniFile::missingReadsEmpty() {
    IniFile ini(path());
    QCOMPARE(ini.read(QStringLiteral("Database"), QStringLiteral("Nome Archivio")), QString());
    writeFile("[Database]\r\nNome Archivio=Vini\r\n");
    QCOMPARE(ini.read(QStringLiteral("Database"), QStringLiteral("Sottotitolo Archivio")),
             QString());
    QCOMPARE(ini.read(QStringLiteral("Nome Campi"), QStringLiteral("Nome Archivio")), QString());
    QVERIFY(!QFileInfo::exists(m_dir->filePath(QStringLiteral("other.ini"))));
}

void TestIniFile::namesIgnoreCase() {
    writeFile("[NOME CAMPI]\r\ncampo 01 =  Vitigno  \r\nCampo 02=\r\n[Database]\r\nNome "
              "Archivio=Cantina\r\n");
    IniFile ini(path());
    QCOMPARE(ini.read(QStringLiteral("Nome Campi"), QStringLiteral("Campo 01")),
             QStringLiteral("Vitigno"));
    QCOMPARE(ini.read(QStringLiteral("nome campi"), QStringLiteral("CAMPO 02")), QString());
    QCOMPARE(ini.read(QStringLiteral("database"), QStringLiteral("nome archivio")),
             QStringLiteral("Cantina"));
}

void TestIniFile::writeKeepsExistingHeader() {
    writeFile("[NOME CAMPI]\r\nCampo 01=Vecchio\r\n\r\n[Database]\r\nNome Archivio=Cantina\r\n");
    IniFile ini(path());
    ini.write(QStringLiteral("Nome campi"), QStringLiteral("Campo 01"),
              QStringLiteral("  Vitigno "));
    ini.write(QStringLiteral("Nome campi"), QStringLiteral("Campo 02"), QString());
    QCOMPARE(fileBytes(), QByteArray("[NOME CAMPI]\r\nCampo 01=Vitigno\r\nCampo 02=\r\n\r\n"
                                     "[Database]\r\nNome Archivio=Cantina\r\n"));
}

void TestIniFile::newSectionUsesWritersSpelling() {
    IniFile ini(path());
    ini.write(QStringLiteral("Nome campi"), QStringLiteral("Campo 01"), QStringLiteral("Annata"));
    ini.write(QStringLiteral("Database"), QStringLiteral("Nome Archivio"),
              QStringLiteral("Cantina"));
    QCOMPARE(fileBytes(), QByteArray("[Nome campi]\r\nCampo 01=Annata\r\n"
                                     "[Database]\r\nNome Archivio=Cantina\r\n"));
    QCOMPARE(ini.read(QStringLiteral("Nome Campi"), QStringLiteral("Campo 01")),
             QStringLiteral("Annata"));
}

void TestIniFile::updateInPlaceKeepsOtherLines() {
    writeFile("; appunti\n[Database]\nNome Archivio=Uno\nSottotitolo Archivio=Due\n");
    IniFile(path()).write(QStringLiteral("DATABASE"), QStringLiteral("nome archivio"),
                          QStringLiteral("Tre"));
    // The file's own line ending and the key's own spelling are kept.
    QCOMPARE(fileBytes(), QByteArray("; appunti\n[Database]\nNome Archivio=Tre\n"
                                     "Sottotitolo Archivio=Due\n"));
}

// A file is written back in the encoding it was read in: another key written
// never turns its characters into "?".
void TestIniFile::encodings_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("windows-1252") << QByteArray(
                                         "[Database]\r\nNome Archivio=Citt\xE0 e propriet\xE0\r\n")
                                  << QStringLiteral("Città e proprietà")
                                  << QByteArray(
                                         "[Database]\r\nNome Archivio=Citt\xE0 e propriet\xE0\r\n"
                                         "Sottotitolo Archivio=Per\xF2\r\n");
    QTest::newRow("plain ascii") << QByteArray("[Database]\r\nNome Archivio=Vini\r\n")
                                 << QStringLiteral("Vini")
                                 << QByteArray("[Database]\r\nNome Archivio=Vini\r\n"
                                               "Sottotitolo Archivio=Per\xF2\r\n");
    QTest::newRow("utf-8") << QByteArray(
                                  "[Database]\r\nNome Archivio=Citt\xC3\xA0 e propriet\xC3\xA0\r\n")
                           << QStringLiteral("Città e proprietà")
                           << QByteArray(
                                  "[Database]\r\nNome Archivio=Citt\xC3\xA0 e propriet\xC3\xA0\r\n"
                                  "Sottotitolo Archivio=Per\xC3\xB2\r\n");
    QTest::newRow("utf-8 beyond windows-1252")
        << QByteArray("[Database]\nNome Archivio=\xC5\x81\xC3\xB3"
                      "d\xC5\xBA\n")
        << QStringLiteral("Łódź")
        << QByteArray("[Database]\nNome Archivio=\xC5\x81\xC3\xB3"
                      "d\xC5\xBA\n"
                      "Sottotitolo Archivio=Per\xC3\xB2\n");
    QTest::newRow("utf-8 with mark")
        << QByteArray("\xEF\xBB\xBF[Database]\nNome Archivio=\xC5\x81\xC3\xB3"
                      "d\xC5\xBA\n")
        << QStringLiteral("Łódź")
        << QByteArray("\xEF\xBB\xBF[Database]\nNome Archivio=\xC5\x81\xC3\xB3"
                      "d\xC5\xBA\n"
                      "Sottotitolo Archivio=Per\xC3\xB2\n");
}

void TestIniFile::encodings() {
    QFETCH(QByteArray, file);
    QFETCH(QString, name);
    QFETCH(QByteArray, written);
    writeFile(file);
    IniFile ini(path());
    QCOMPARE(ini.read(QStringLiteral("Database"), QStringLiteral("Nome Archivio")), name);
    ini.write(QStringLiteral("Database"), QStringLiteral("Sottotitolo Archivio"),
              QStringLiteral("Però"));
    QCOMPARE(fileBytes(), written);
    QCOMPARE(ini.read(QStringLiteral("Database"), QStringLiteral("Nome Archivio")), name);
    QCOMPARE(ini.read(QStringLiteral("Database"), QStringLiteral("Sottotitolo Archivio")),
             QStringLiteral("Però"));
}

void TestIniFile::failedWrite() {
    writeFile("[Database]\r\n");
    const QString bad = path() + QStringLiteral("/Archivio.ini"); // its parent is a file
    IniFile ini(bad);
    try {
        ini.write(QStringLiteral("Database"), QStringLiteral("Nome Archivio"), QStringLiteral("x"));
        QFAIL("no error raised");
    } catch (const StorageError &e) {
        QCOMPARE(e.message(), QStringLiteral("impossibile scrivere %1").arg(bad));
    }
    QCOMPARE(fileBytes(), QByteArray("[Database]\r\n"));

    // A settings path that cannot be read is never written over.
    const QString folder = m_dir->filePath(QStringLiteral("Cartella.ini"));
    QVERIFY(QDir().mkdir(folder));
    QVERIFY_THROWS_EXCEPTION(StorageError, IniFile(folder).write(QStringLiteral("Database"),
                                                                 QStringLiteral("Nome Archivio"),
                                                                 QStringLiteral("x")));
    QVERIFY(QFileInfo(folder).isDir());
}

// On a really full disk a write raises and the settings file stays as it was.
void TestIniFile::fullDisk() {
    FullDisk disk;
    REQUIRE_MOUNTED(disk);
    IniFile ini(disk.filePath(QStringLiteral("Archivio.ini")));
    ini.write(QStringLiteral("Database"), QStringLiteral("Nome Archivio"), QStringLiteral("Vini"));
    const QByteArray old = "[Database]\r\nNome Archivio=Vini\r\n";
    QVERIFY(disk.fill());
    try {
        ini.write(QStringLiteral("Database"), QStringLiteral("Sottotitolo Archivio"),
                  QStringLiteral("Cantina"));
        QFAIL("no error raised");
    } catch (const StorageError &e) {
        QCOMPARE(e.message(), QStringLiteral("impossibile scrivere %1").arg(ini.path()));
    }
    QFile file(ini.path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), old);
}

// A regular file that is there but cannot be read (write-only here) would lose
// every other line if a write rewrote it: the write raises, and the file stays
// byte for byte. (A folder, a FIFO or a device is refused by the writer as
// well; this file is one the writer alone would replace.)
void TestIniFile::unreadableFileIsNeverRewritten() {
    const QByteArray old =
        "[Database]\r\nNome Archivio=Vini\r\n[Nome Campi]\r\nCampo 01=Annata\r\n";
    writeFile(old);
    QVERIFY(QFile::setPermissions(path(), QFileDevice::WriteOwner));
    {
        PermissionBits bits;
        if (!bits.active())
            QSKIP("permission bits cannot be made to count here");
        IniFile ini(path());
        QVERIFY(!QFile(path()).open(QIODevice::ReadOnly)); // truly unreadable now
        QCOMPARE(ini.read(QStringLiteral("Database"), QStringLiteral("Nome Archivio")), QString());
        try {
            ini.write(QStringLiteral("Database"), QStringLiteral("Sottotitolo Archivio"),
                      QStringLiteral("Cantina"));
            QFAIL("no error raised");
        } catch (const StorageError &e) {
            QCOMPARE(e.message(), QStringLiteral("impossibile scrivere %1").arg(path()));
        }
        QVERIFY_THROWS_EXCEPTION(
            StorageError, IniFile(path(), IniFile::Unreadable::Raises)
                              .read(QStringLiteral("Database"), QStringLiteral("Nome Archivio")));
    }
    QCOMPARE(fileBytes(), old);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files),
             QStringList{QStringLiteral("Archivio.ini")});
}

QTEST_APPLESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
