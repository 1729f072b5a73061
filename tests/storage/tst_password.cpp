#include "storage/AppFolder.h"
#include "storage/IniFile.h"
#include "storage/PasswordFile.h"
#include "storage/StorageError.h"
#include "support/FullDisk.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class TestPassword : public QObject {
    Q_OBJECT
  private slots:
    void vectors_data();
    void vectors();
    void unscrambleRules();
    void sharedPrefix();
    void roundTripEveryByte();
    void passwordFile();
    void deliveredFile();
    void fullDisk();
};

void TestPassword::vectors_data() {
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("hex");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("A") << "A"
                       << "1D";
    QTest::newRow("AB") << "AB"
                        << "1DD7";
    QTest::newRow("word") << "AMMINISTRATORE"
                          << "1DD826A3242FE21F1803B5354617";
    QTest::newRow("accent") << QStringLiteral("CITTÀ") << "1F95010095";
    // A character above U+00FF counts as its low byte (U+0141 as 0x41).
    QTest::newRow("low byte") << QStringLiteral("\u0141") << "1D";
}

void TestPassword::vectors() {
    QFETCH(QString, plain);
    QFETCH(QString, hex);
    QCOMPARE(Crypt::scramble(plain), hex);
    QCOMPARE(Crypt::scramble(plain), hex); // the key restarts on every call
}

void TestPassword::unscrambleRules() {
    QCOMPARE(Crypt::unscramble(u""), std::optional<QString>(QString()));
    QCOMPARE(Crypt::unscramble(u"1dd826a3242fe21f1803b5354617"),
             std::optional<QString>(QStringLiteral("AMMINISTRATORE")));
    QCOMPARE(Crypt::unscramble(u"1DD7F"), std::optional<QString>(QStringLiteral("AB")));
    QCOMPARE(Crypt::unscramble(u"1DG7"), std::nullopt);
    QCOMPARE(Crypt::unscramble(u"1D 7"), std::nullopt);
}

void TestPassword::sharedPrefix() {
    const QString a = Crypt::scramble(u"CASALE");
    const QString b = Crypt::scramble(u"CASTELLO");
    QCOMPARE(a.left(6), b.left(6));
    QVERIFY(a.mid(6, 2) != b.mid(6, 2));
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9A-F]*$")).match(b).hasMatch());
    QCOMPARE(b.size(), 16);
}

void TestPassword::roundTripEveryByte() {
    QString all;
    for (int i = 1; i < 256; ++i)
        all += QChar(char16_t(i));
    QCOMPARE(Crypt::unscramble(Crypt::scramble(all)), std::optional<QString>(all));
}

void TestPassword::passwordFile() {
    QTemporaryDir dir;
    const AppFolder folder(dir.path());
    QCOMPARE(password::read(folder), QString()); // no file
    password::write(folder, QStringLiteral("SEGRETO"));
    QCOMPARE(
        IniFile(folder.passwordFile()).read(QStringLiteral("accesso"), QStringLiteral("valore")),
        Crypt::scramble(u"SEGRETO"));
    QCOMPARE(password::read(folder), QStringLiteral("SEGRETO"));
    QCOMPARE(password::normalized(u"  segreto è\t"), QStringLiteral("SEGRETO è"));
    IniFile(folder.passwordFile())
        .write(QStringLiteral("Accesso"), QStringLiteral("Valore"), QStringLiteral("XYZ0"));
    QVERIFY_THROWS_EXCEPTION(StorageError, password::read(folder));
}

// The password file delivered with the program holds a 14-letter word.
void TestPassword::deliveredFile() {
    const AppFolder resources(qEnvironmentVariable("CARTAVERA_SOURCE_DIR") +
                              QStringLiteral("/resources"));
    const QString word = password::read(resources);
    QCOMPARE(word.size(), 14);
    QVERIFY(QRegularExpression(QStringLiteral("^[A-Z]{14}$")).match(word).hasMatch());
}

// "Cambia password" on a full disk: the write raises and the old password file
// stays byte for byte.
void TestPassword::fullDisk() {
    FullDisk disk;
    REQUIRE_MOUNTED(disk);
    const AppFolder folder(disk.path());
    password::write(folder, QStringLiteral("VECCHIA"));
    QFile file(folder.passwordFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray old = file.readAll();
    file.close();
    QVERIFY(disk.fill());
    QVERIFY_THROWS_EXCEPTION(StorageError, password::write(folder, QStringLiteral("NUOVA")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), old);
    QCOMPARE(password::read(folder), QStringLiteral("VECCHIA"));
}

QTEST_APPLESS_MAIN(TestPassword)
#include "tst_password.moc"
