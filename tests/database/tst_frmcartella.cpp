#include "app/Forms.h"
#include "database/TfrmCartella.h"
#include "support/FakeDesktop.h"
#include "support/Files.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

TfrmCartella &cardFolderWindow(QDialog &dialog) {
    auto *window = qobject_cast<TfrmCartella *>(&dialog);
    Q_ASSERT(window);
    return *window;
}

} // namespace

class TestFrmCartella : public QObject {
    Q_OBJECT
  private slots:
    void openCreatesTheFolder_data();
    void openCreatesTheFolder();
    void newCardOnlyWarns();
    void folderThatCannotBeMade_data();
    void folderThatCannotBeMade();
    void closeDoesNothing();
};

void TestFrmCartella::openCreatesTheFolder_data() {
    QTest::addColumn<QString>("appFolder"); // under the temporary folder
    QTest::addColumn<bool>("exists");
    QTest::newRow("first use") << QString() << false;
    QTest::newRow("already there") << QString() << true;
    QTest::newRow("missing parents") << QStringLiteral("/copia/archivio") << false;
    QTest::newRow("folder name outside ASCII") << QStringLiteral("/Schede Città") << false;
}

void TestFrmCartella::openCreatesTheFolder() {
    QFETCH(QString, appFolder);
    QFETCH(bool, exists);
    QTemporaryDir dir;
    Forms forms(AppFolder(dir.path() + appFolder));
    FakeDesktop desktop;
    const QString expected = dir.path() + appFolder + QStringLiteral("/Scheda_12");
    if (exists) {
        QVERIFY(QDir().mkpath(expected));
        QVERIFY(writeFile(expected + QStringLiteral("/nota.txt"), "x"));
    }
    QString memory;
    bool closed = false;
    desktop.onModal = [&](QDialog &dialog) {
        TfrmCartella &w = cardFolderWindow(dialog);
        memory = w.lblMemory->text();
        QVERIFY(!w.lblMemory->isVisible());
        QTest::mouseClick(w.btnApriCartella, Qt::LeftButton);
        closed = !w.isVisible();
    };
    TfrmCartella::open(nullptr, QStringLiteral(" 12 "));

    QCOMPARE(desktop.modalDialogs, QStringList{QStringLiteral("TfrmCartella")});
    QCOMPARE(memory, QStringLiteral("12"));
    QVERIFY(QFileInfo(expected).isDir());
    QCOMPARE(desktop.opened, QList<QUrl>{QUrl::fromLocalFile(expected)});
    QVERIFY(desktop.messages.isEmpty());
    QVERIFY(closed);
    if (exists)
        QVERIFY(QFileInfo::exists(expected + QStringLiteral("/nota.txt")));
}

void TestFrmCartella::newCardOnlyWarns() {
    QTemporaryDir dir;
    Forms forms(AppFolder(dir.path()));
    FakeDesktop desktop;
    TfrmCartella::open(nullptr, QStringLiteral("  "));

    QVERIFY(desktop.modalDialogs.isEmpty());
    QCOMPARE(desktop.messages.size(), 1);
    QCOMPARE(desktop.messages[0].kind, Desktop::Kind::Warning);
    QCOMPARE(desktop.messages[0].text,
             QStringLiteral("Attenzione: l'abbinamento di una cartella ad un record può avvenire "
                            "soltanto dopo che la scheda è stata inserita in archivio."));
    QVERIFY(desktop.opened.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void TestFrmCartella::folderThatCannotBeMade_data() {
    QTest::addColumn<QString>("blocker"); // a file where a folder must go
    QTest::addColumn<QString>("appFolder");
    QTest::addColumn<QString>("position");
    QTest::newRow("name taken by a file")
        << QStringLiteral("Scheda_7") << QString() << QStringLiteral("7");
    QTest::newRow("parent is a file")
        << QStringLiteral("copia") << QStringLiteral("/copia") << QStringLiteral("7");
    QTest::newRow("not a position") << QString() << QString() << QStringLiteral("/../7");
}

void TestFrmCartella::folderThatCannotBeMade() {
    QFETCH(QString, blocker);
    QFETCH(QString, appFolder);
    QFETCH(QString, position);
    QTemporaryDir dir;
    if (!blocker.isEmpty())
        QVERIFY(writeFile(dir.filePath(blocker), "x"));
    Forms forms(AppFolder(dir.path() + appFolder));
    FakeDesktop desktop;
    bool stillOpen = false;
    desktop.onModal = [&](QDialog &dialog) {
        TfrmCartella &w = cardFolderWindow(dialog);
        QTest::mouseClick(w.btnApriCartella, Qt::LeftButton);
        stillOpen = w.isVisible();
    };
    TfrmCartella::open(nullptr, position);

    QVERIFY(desktop.opened.isEmpty());
    QCOMPARE(desktop.messages.size(), 1);
    QCOMPARE(desktop.messages[0].kind, Desktop::Kind::Error);
    const QString expected =
        position == QLatin1String("7")
            ? QStringLiteral("Attenzione: non è stato possibile creare la cartella \"%1\".\r\n\r\n")
                  .arg(QDir::toNativeSeparators(forms.folder.file(QStringLiteral("Scheda_7"))))
            : QStringLiteral("Attenzione: la posizione della scheda \"/../7\" non è valida.");
    QVERIFY2(desktop.messages[0].text.startsWith(expected), qPrintable(desktop.messages[0].text));
    QVERIFY(stillOpen);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("7"))));
}

void TestFrmCartella::closeDoesNothing() {
    QTemporaryDir dir;
    Forms forms(AppFolder(dir.path()));
    FakeDesktop desktop;
    bool closed = false;
    desktop.onModal = [&](QDialog &dialog) {
        TfrmCartella &w = cardFolderWindow(dialog);
        QTest::mouseClick(w.btnChiudi, Qt::LeftButton);
        closed = !w.isVisible();
    };
    TfrmCartella::open(nullptr, QStringLiteral("3"));

    QVERIFY(closed);
    QVERIFY(desktop.opened.isEmpty());
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("Scheda_3"))));
}

QTEST_MAIN(TestFrmCartella)
#include "tst_frmcartella.moc"
