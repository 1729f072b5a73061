// What the two export windows share: the file is the writer's, an edited
// cell changes only that cell, the questions, the failures, the empty archive.
// Each case runs for both windows.
#include "ExportRun.h"
#include "support/FullDisk.h"

#include <QDir>
#include <QLineEdit>
#include <QProgressDialog>

class TestFrmExport : public QObject {
    Q_OBJECT
  private slots:
    void writesTheWritersBytes_data();
    void writesTheWritersBytes();
    void deletedCardsStayOutOfTheFile();
    void editedCellReachesOnlyTheFile_data();
    void editedCellReachesOnlyTheFile();
    void answersNo_data();
    void answersNo();
    void failureKeepsTheOldFile_data();
    void failureKeepsTheOldFile();
    void emptyArchive_data();
    void emptyArchive();
};

namespace {

void bothWindows() {
    QTest::addColumn<Archive>("archive");
    QTest::newRow("database") << Archive::Database;
    QTest::newRow("clients") << Archive::Clients;
}

} // namespace

void TestFrmExport::writesTheWritersBytes_data() {
    QTest::addColumn<Archive>("archive");
    QTest::addColumn<int>("records");
    QTest::newRow("database, 3 cards") << Archive::Database << 3;
    QTest::newRow("clients, 3 clients") << Archive::Clients << 3;
    // Enough rows for the progress window, and more than the grid keeps read.
    QTest::newRow("database, 6000 cards") << Archive::Database << 6000;
}

void TestFrmExport::writesTheWritersBytes() {
    QFETCH(Archive, archive);
    QFETCH(int, records);
    ExportRun run(archive);
    run.writeArchive(records);
    const QByteArray archiveBytes = readFile(run.archivePath());
    run.open([&](ExportWindow &w) {
        QCOMPARE(w.model()->rowCount(), records);
        // Scroll to the end and back, as a user looking through the grid.
        w.grdRecords->scrollToBottom();
        QCOMPARE(w.model()->index(records - 1, 0).data().toString(), QString::number(records));
        w.grdRecords->scrollToTop();
        QTest::mouseClick(w.cmdEsporta, Qt::LeftButton);
        QVERIFY(w.isVisible()); // the window stays open
    });
    const QByteArray file = readFile(run.targetPath());
    QVERIFY(!file.isEmpty());
    QCOMPARE(file, run.writerBytes());
    QCOMPARE(readFile(run.archivePath()), archiveBytes);
    QCOMPARE(run.app.desktop.messages.size(), 2);
    QCOMPARE(run.app.desktop.messages[0].kind, Desktop::Kind::Confirmation);
    QCOMPARE(run.app.desktop.messages[0].text, kAskExport);
    QCOMPARE(run.app.desktop.messages[1].kind, Desktop::Kind::Confirmation);
    QCOMPARE(run.app.desktop.messages[1].text, kAskOpen);
    QCOMPARE(run.app.desktop.opened, QList<QUrl>{QUrl::fromLocalFile(run.targetPath())});
}

// A deleted card's free slot shows as a marked row that cannot be edited,
// and is no row of the file.
void TestFrmExport::deletedCardsStayOutOfTheFile() {
    ExportRun run(Archive::Database);
    run.writeArchive(3);
    {
        RecordFile file;
        file.openOrCreate(databaseLayout, run.archivePath());
        file.seek(1);
        DatabaseRecord free;
        free.clear();
        file.write(free);
        file.close();
    }
    run.open([&](ExportWindow &w) {
        QCOMPARE(w.model()->rowCount(), 3);
        QCOMPARE(w.model()->index(1, 0).data().toString(), QStringLiteral("2"));
        QCOMPARE(w.model()->index(1, 1).data().toString(), QStringLiteral("(scheda eliminata)"));
        QVERIFY(!(w.model()->flags(w.model()->index(1, 1)) & Qt::ItemIsEditable));
        w.model()->setData(w.model()->index(2, 1), QStringLiteral("Terza"));
        QTest::mouseClick(w.cmdEsporta, Qt::LeftButton);
    });
    const QByteArray file = readFile(run.targetPath());
    QCOMPARE(file.count("<tr>"), 3); // the titles and two cards
    QVERIFY(file.contains(">Scheda 1</td>") && file.contains(">Terza</td>"));
}

void TestFrmExport::editedCellReachesOnlyTheFile_data() {
    QTest::addColumn<Archive>("archive");
    QTest::addColumn<int>("column");
    QTest::addColumn<QByteArray>("cellBefore");
    QTest::newRow("database, Campo 1") << Archive::Database << 1 << QByteArray(">Scheda 2</td>");
    QTest::newRow("clients, Note")
        << Archive::Clients << 25 << QByteArray(">Nota 2 &lt;i&gt;urgente&lt;/i&gt;</td>");
}

void TestFrmExport::editedCellReachesOnlyTheFile() {
    // The text typed in a cell (still in its editor when the Excel icon is
    // clicked) reaches the file; the archive stays as it was.
    QFETCH(Archive, archive);
    QFETCH(int, column);
    QFETCH(QByteArray, cellBefore);
    ExportRun run(archive);
    run.writeArchive(3);
    const QByteArray archiveBytes = readFile(run.archivePath());
    const QByteArray expectedBase = run.writerBytes();
    QCOMPARE(expectedBase.count(cellBefore), 1);
    run.open([&](ExportWindow &w) {
        const QModelIndex cell = w.model()->index(1, column);
        w.grdRecords->setCurrentIndex(cell);
        w.grdRecords->edit(cell);
        auto *editor = qobject_cast<QLineEdit *>(w.grdRecords->indexWidget(cell));
        QVERIFY(editor);
        editor->selectAll();
        typeText(editor, QStringLiteral("  Però <nuovo>  "));
        QTest::mouseClick(w.cmdEsporta, Qt::LeftButton);
        QCOMPARE(cell.data().toString(), QStringLiteral("  Però <nuovo>  "));
    });
    QByteArray expected = expectedBase;
    expected.replace(cellBefore, ">Per\xF2 &lt;nuovo&gt;</td>");
    QCOMPARE(readFile(run.targetPath()), expected);
    QCOMPARE(readFile(run.archivePath()), archiveBytes);
}

void TestFrmExport::answersNo_data() {
    QTest::addColumn<Archive>("archive");
    QTest::addColumn<bool>("noToExport");
    QTest::newRow("database, no to the export") << Archive::Database << true;
    QTest::newRow("database, no to opening") << Archive::Database << false;
    QTest::newRow("clients, no to the export") << Archive::Clients << true;
    QTest::newRow("clients, no to opening") << Archive::Clients << false;
}

void TestFrmExport::answersNo() {
    QFETCH(Archive, archive);
    QFETCH(bool, noToExport);
    ExportRun run(archive);
    run.writeArchive(2);
    if (noToExport)
        run.app.desktop.answers << Desktop::Answer::No;
    else
        run.app.desktop.answers << Desktop::Answer::Yes << Desktop::Answer::No;
    run.open([&](ExportWindow &w) { QTest::mouseClick(w.cmdEsporta, Qt::LeftButton); });
    QCOMPARE(run.app.desktop.messages.size(), noToExport ? 1 : 2);
    QVERIFY(run.app.desktop.opened.isEmpty());
    if (noToExport)
        QVERIFY(!QFile::exists(run.targetPath()));
    else
        QCOMPARE(readFile(run.targetPath()), run.writerBytes());
}

namespace {
enum class Failure { TargetIsFolder, FolderGone, FullDisk, ReadOnlyDisk, ArchiveUnreadable };
} // namespace

void TestFrmExport::failureKeepsTheOldFile_data() {
    QTest::addColumn<Archive>("archive");
    QTest::addColumn<Failure>("failure");
    QTest::newRow("database, the target is a folder")
        << Archive::Database << Failure::TargetIsFolder;
    QTest::newRow("clients, the target is a folder") << Archive::Clients << Failure::TargetIsFolder;
    QTest::newRow("database, the folder became a file") << Archive::Database << Failure::FolderGone;
    QTest::newRow("clients, full disk") << Archive::Clients << Failure::FullDisk;
    QTest::newRow("database, full disk") << Archive::Database << Failure::FullDisk;
    QTest::newRow("clients, read-only disk") << Archive::Clients << Failure::ReadOnlyDisk;
    // Not an empty archive: nothing may be reported as exported.
    QTest::newRow("clients, the archive cannot be opened")
        << Archive::Clients << Failure::ArchiveUnreadable;
}

void TestFrmExport::failureKeepsTheOldFile() {
    // The user is told, the file that stood there stays whole, and the
    // window stays open for another try.
    QFETCH(Archive, archive);
    QFETCH(Failure, failure);
    std::unique_ptr<FullDisk> disk;
    QString subfolder = AppFixture::defaultSubfolder();
    const bool onDisk = failure == Failure::FullDisk || failure == Failure::ReadOnlyDisk;
    if (onDisk) {
        disk = std::make_unique<FullDisk>();
        REQUIRE_MOUNTED(*disk);
        subfolder = disk->filePath(QStringLiteral("Cartavera"));
    }
    ExportRun run(archive, subfolder);
    const QString target = run.targetPath();
    QByteArray oldFile;
    QString oldPath = target;
    if (failure == Failure::ArchiveUnreadable) {
        // A folder where the archive should be, and a file from another day.
        QVERIFY(QDir().mkpath(run.archivePath()));
        oldFile = "esportazione precedente";
        QVERIFY(writeFile(target, oldFile));
    } else {
        run.writeArchive(3);
    }
    if (failure == Failure::TargetIsFolder)
        QVERIFY(QDir().mkpath(target + QStringLiteral("/dentro")));

    run.open([&](ExportWindow &w) {
        if (failure == Failure::ArchiveUnreadable)
            QCOMPARE(w.model()->rowCount(), 0);
        else if (failure != Failure::TargetIsFolder) {
            // A good file from a first export.
            QTest::mouseClick(w.cmdEsporta, Qt::LeftButton);
            oldFile = readFile(target);
            QVERIFY(!oldFile.isEmpty());
            run.app.desktop.messages.clear();
            run.app.desktop.opened.clear();
        }
        if (failure == Failure::FolderGone) {
            // The application folder moved away, a file in its place.
            const QString moved = run.app.folder + QStringLiteral(".spostata");
            QVERIFY(QDir().rename(run.app.folder, moved));
            QVERIFY(writeFile(run.app.folder, "non una cartella"));
            oldPath = moved + u'/' + QString::fromLatin1(run.sheet().fileName);
        }
        if (failure == Failure::FullDisk)
            QVERIFY(disk->fill());
        if (failure == Failure::ReadOnlyDisk)
            QVERIFY(disk->makeReadOnly());
        QTest::mouseClick(w.cmdEsporta, Qt::LeftButton);
        QVERIFY(w.isVisible());
    });
    QCOMPARE(run.app.desktop.messages.size(), 2);
    QCOMPARE(run.app.desktop.messages[1].kind, Desktop::Kind::Plain);
    QCOMPARE(run.app.desktop.messages[1].text, kExportFailed);
    QVERIFY(run.app.desktop.opened.isEmpty());
    if (failure == Failure::TargetIsFolder)
        QVERIFY(QFileInfo(target + QStringLiteral("/dentro")).isDir());
    else
        QCOMPARE(readFile(oldPath), oldFile);
    if (onDisk) // nothing half written left beside it
        QCOMPARE(QDir(run.app.folder).entryList(QDir::Files),
                 (QStringList{QString::fromLatin1(run.sheet().layout->fileName),
                              QString::fromLatin1(run.sheet().fileName)}));
}

void TestFrmExport::emptyArchive_data() {
    bothWindows();
}

void TestFrmExport::emptyArchive() {
    // No archive yet: it is created empty, the grid is empty and the file
    // holds the header row only.
    QFETCH(Archive, archive);
    ExportRun run(archive);
    run.open([&](ExportWindow &w) {
        QCOMPARE(w.model()->rowCount(), 0);
        QTest::mouseClick(w.cmdEsporta, Qt::LeftButton);
    });
    QVERIFY(QFile::exists(run.archivePath()));
    QCOMPARE(QFileInfo(run.archivePath()).size(), 0);
    const QByteArray file = readFile(run.targetPath());
    QCOMPARE(file, run.writerBytes());
    QVERIFY(file.endsWith("</td></tr></table></body></html>"));
    QCOMPARE(file.count("<tr>"), 1);
}

QTEST_MAIN(TestFrmExport)
#include "tst_frmexport.moc"
