#include "clients/TfrmClienti.h"
#include "database/TfrmDatabase.h"
#include "import/TfrmImporta.h"
#include "import/VCard.h"
#include "import/VCardWindows.h"
#include "support/AppFixture.h"
#include "kit/WindowKit.h"
#include "storage/DatabaseRecord.h"
#include "storage/RecordFile.h"
#include "support/FakeDesktop.h"
#include "support/Files.h"
#include "support/FullDisk.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using Kind = Desktop::Kind;
using Answer = Desktop::Answer;

class TestFrmImporta : public QObject {
    Q_OBJECT
  private slots:
    void mapPreviewAndImport();
    void refusedConfirmationAndBinaryFile();
    void theSameFileTwice();
    void fullDiskLeavesArchive();
    void cancelledImportLeavesArchive();
    void reachedFromBothWorkspaces();
    void clientMenuWritesAndReadsVCards();
    void vCardCountsWhatItLeavesOut();
    void vCardExportTellsReadFromWrite_data();
    void vCardExportTellsReadFromWrite();
};

namespace {

const QByteArray kCsv = "Cognome e nome;Prov;Sconosciuta;Campo 1\r\n"
                        "Rossi Mario;ROMA;x;uno\r\n"
                        "\"Bianchi; Anna\";MI;y;due\r\n"
                        "Verdi Ugo;TO;z;\r\n"; // no first field: not stored

TfrmImporta &windowOf(QDialog &dialog) {
    return static_cast<TfrmImporta &>(dialog);
}

} // namespace

void TestFrmImporta::mapPreviewAndImport() {
    QTemporaryDir dir;
    const AppFolder folder(dir.path());
    QVERIFY(writeFile(dir.filePath("clienti.csv"), kCsv));
    FakeDesktop desktop;
    desktop.fileNames << dir.filePath("clienti.csv");
    desktop.answers << Answer::Yes;
    desktop.onModal = [&](QDialog &dialog) {
        TfrmImporta &w = windowOf(dialog);
        QVERIFY(w.chkIntestazione->isChecked());
        QCOMPARE(w.cboCampo.size(), size_t(4));
        QCOMPARE(w.cboCampo[0]->currentText(), QStringLiteral("Cognome e nome"));
        QCOMPARE(w.cboCampo[1]->currentText(), QStringLiteral("Prov"));
        QCOMPARE(w.cboCampo[2]->currentText(), QStringLiteral("(non importare)"));
        QCOMPARE(w.cboCampo[3]->currentText(), QStringLiteral("Campo 1"));
        QCOMPARE(w.grdAnteprima->rowCount(), 2);
        QCOMPARE(w.grdAnteprima->item(0, 2)->text(), QStringLiteral("RO"));
        QCOMPARE(w.grdAnteprima->item(1, 1)->text(), QStringLiteral("Bianchi; Anna"));
        QVERIFY(w.lblConteggio->text().contains(u"troncati: 1"));
        QVERIFY2(w.lblConteggio->text().contains(u"senza il primo campo, tralasciate: 1 (riga 4)"),
                 qPrintable(w.lblConteggio->text()));
        // The province column left out: the preview and the count follow.
        w.cboCampo[1]->setFocus();
        QTest::keyClick(w.cboCampo[1], Qt::Key_Home);
        QCOMPARE(w.grdAnteprima->columnCount(), 2);
        QVERIFY(!w.lblConteggio->text().contains(u"troncati"));
        QTest::mouseClick(w.cmdImporta, Qt::LeftButton);
    };
    QCOMPARE(import::importFromWindow(nullptr, folder, spreadsheet::databaseSheet), 2);
    QCOMPARE(desktop.modalDialogs, QStringList{QStringLiteral("TfrmImporta")});
    QCOMPARE(desktop.messages.size(), 2);
    QCOMPARE(desktop.messages[0].kind, Kind::Confirmation);
    QVERIFY(desktop.messages[0].text.contains(u"Aggiungere 2 schede"));
    QCOMPARE(desktop.messages[1].kind, Kind::Information);

    DatabaseFile file;
    file.openForReading(folder);
    QCOMPARE(file.size(), 2);
    DatabaseRecord r;
    file.seek(1);
    file.read(r);
    QCOMPARE(r.text(DatabaseField::Cliente), QStringLiteral("Bianchi; Anna"));
    QCOMPARE(r.text(DatabaseField::ProvRes), QString());
    QCOMPARE(r.yesNo(DatabaseField::Segnala), false);
}

// Importing a file again finds its rows already in the archive: the summary
// says how many, and the user leaves them out (the default) or adds them.
void TestFrmImporta::theSameFileTwice() {
    QTemporaryDir dir;
    const AppFolder folder(dir.path());
    QVERIFY(writeFile(dir.filePath("clienti.csv"), kCsv));
    FakeDesktop desktop;
    desktop.onModal = [&](QDialog &dialog) {
        QTest::mouseClick(windowOf(dialog).cmdImporta, Qt::LeftButton);
    };
    const auto importOnce = [&](QList<Answer> answers) {
        desktop.fileNames << dir.filePath("clienti.csv");
        desktop.answers.append(answers);
        desktop.messages.clear();
        return import::importFromWindow(nullptr, folder, spreadsheet::databaseSheet);
    };
    QCOMPARE(importOnce({Answer::Yes}), 2);
    QVERIFY(!desktop.messages[0].text.contains(u"uguali"));
    const QByteArray once = readFile(folder.databaseFile());

    // Again, with a blank more in a value: the same cards. Left out.
    QVERIFY(writeFile(dir.filePath("clienti.csv"), QByteArray(kCsv).replace("Rossi Mario", " Rossi Mario ")));
    QCOMPARE(importOnce({Answer::Yes}), 0);
    QVERIFY(desktop.messages[0].text.contains(u"2 righe del file sono uguali"));
    QVERIFY(desktop.messages.last().text.contains(u"nessuna scheda da aggiungere"));
    QCOMPARE(readFile(folder.databaseFile()), once);

    // Added all the same when the user says so.
    QCOMPARE(importOnce({Answer::No, Answer::Yes}), 2);
    QVERIFY(desktop.messages[1].text.contains(u"Aggiungere 2 schede"));
    QCOMPARE(readFile(folder.databaseFile()), once + once);
}

void TestFrmImporta::refusedConfirmationAndBinaryFile() {
    QTemporaryDir dir;
    const AppFolder folder(dir.path());
    QVERIFY(writeFile(dir.filePath("clienti.csv"), kCsv));
    QVERIFY(writeFile(dir.filePath("Foglio.xls"), QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1xx", 10)));
    FakeDesktop desktop;
    desktop.fileNames << dir.filePath("clienti.csv") << dir.filePath("Foglio.xls");
    desktop.answers << Answer::No;
    bool windowLived = false;
    desktop.onModal = [&](QDialog &dialog) {
        TfrmImporta &w = windowOf(dialog);
        QTest::mouseClick(w.cmdImporta, Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        // The file gone while the window shows: a change of mapping says so.
        QVERIFY(QFile::remove(dir.filePath("clienti.csv")));
        w.cboCampo[0]->setFocus();
        QTest::keyClick(w.cboCampo[0], Qt::Key_Home);
        QCOMPARE(desktop.messages.last().kind, Kind::Error);
        QTest::mouseClick(w.cmdAnnulla, Qt::LeftButton);
        windowLived = true; // the failure stayed inside the window
    };
    QCOMPARE(import::importFromWindow(nullptr, folder, spreadsheet::clientSheet), 0);
    QVERIFY(windowLived);
    QVERIFY(!QFile::exists(folder.clientFile()));

    QCOMPARE(import::importFromWindow(nullptr, folder, spreadsheet::clientSheet), 0);
    QCOMPARE(desktop.modalDialogs.size(), 1);
    QCOMPARE(desktop.messages.last().kind, Kind::Error);
    QVERIFY(desktop.messages.last().text.contains(u"CSV"));
}

void TestFrmImporta::fullDiskLeavesArchive() {
    FullDisk disk("128k");
    REQUIRE_MOUNTED(disk);
    QTemporaryDir dir;
    QByteArray csv = "Campo 1\n";
    for (int i = 0; i < 200; ++i)
        csv += "riga " + QByteArray::number(i) + "\n";
    QVERIFY(writeFile(dir.filePath("t.csv"), csv));
    const AppFolder folder(disk.path());
    const QByteArray before = DatabaseRecord().bytes();
    QVERIFY(writeFile(folder.databaseFile(), before));
    QVERIFY(disk.fill());
    FakeDesktop desktop;
    desktop.fileNames << dir.filePath("t.csv");
    desktop.answers << Answer::Yes;
    desktop.onModal = [&](QDialog &dialog) {
        QTest::mouseClick(windowOf(dialog).cmdImporta, Qt::LeftButton);
        QVERIFY(dialog.isVisible());
    };
    QCOMPARE(import::importFromWindow(nullptr, folder, spreadsheet::databaseSheet), 0);
    QCOMPARE(desktop.messages.last().kind, Kind::Error);
    QVERIFY(desktop.messages.last().text.contains(u"rimasto com'era"));
    QCOMPARE(readFile(folder.databaseFile()), before);
}

// The database toolbar's button and the client workspace's menu open the
// import on their own archive.
// "Annulla" in the progress window: the rows appended so far are taken back.
void TestFrmImporta::cancelledImportLeavesArchive() {
    QTemporaryDir dir;
    const AppFolder folder(dir.path());
    const QByteArray card(3310, 'c');
    QVERIFY(writeFile(folder.databaseFile(), card));
    QByteArray csv = "Titolo\r\n";
    for (int i = 0; i < 1000; ++i)
        csv += "Scheda " + QByteArray::number(i) + "\r\n";
    QVERIFY(writeFile(dir.filePath("schede.csv"), csv));
    FakeDesktop desktop;
    desktop.fileNames << dir.filePath("schede.csv");
    desktop.answers << Answer::Yes;
    desktop.cancelIn = QStringLiteral("Importazione");
    desktop.onModal = [&](QDialog &dialog) {
        QTest::mouseClick(windowOf(dialog).cmdImporta, Qt::LeftButton);
    };
    QCOMPARE(import::importFromWindow(nullptr, folder, spreadsheet::databaseSheet), 0);
    QStringList titles;
    for (const FakeDesktop::Progress &p : desktop.progressWindows) {
        titles << p.title;
        QVERIFY(!p.open);
    }
    QCOMPARE(titles, (QStringList{"Controllo del file", "Lettura del file",
                                  "Controllo dei doppioni", "Importazione"}));
    QCOMPARE(desktop.lastMessage(),
             QStringLiteral("Importazione annullata: l'archivio è rimasto com'era."));
    QCOMPARE(readFile(folder.databaseFile()), card);

    // "Annulla" while the file is first read (its encoding told, then its
    // rows counted) gives the import up before the window shows.
    for (const char *title : {"Controllo del file", "Lettura del file"}) {
        QVERIFY(writeFile(dir.filePath("schede.csv"), csv)); // not the file read before
        desktop.fileNames << dir.filePath("schede.csv");
        desktop.modalDialogs.clear();
        desktop.cancelIn = QString::fromUtf8(title);
        QCOMPARE(import::importFromWindow(nullptr, folder, spreadsheet::databaseSheet), 0);
        QCOMPARE(desktop.modalDialogs, QStringList());
        QCOMPARE(desktop.lastMessage(),
                 QStringLiteral("Importazione annullata: l'archivio è rimasto com'era."));
        QCOMPARE(readFile(folder.databaseFile()), card);
    }
}

void TestFrmImporta::reachedFromBothWorkspaces() {
    AppFixture app;
    QVERIFY(app.write("d.csv", "Campo 1;Campo 2\nuno;due\n"));
    QVERIFY(app.write("c.csv", "Cognome e nome Cliente;Tel. casa\nVerdi Giuseppe;0521 1\n"));
    app.desktop.fileNames << app.path("d.csv") << app.path("c.csv");
    app.desktop.onModal = [](QDialog &dialog) {
        QTest::mouseClick(windowOf(dialog).cmdImporta, Qt::LeftButton);
    };
    QTest::mouseClick(app.windows->frmDatabase->cmdImporta, Qt::LeftButton);
    QCOMPARE(app.read("Database.pro").size(), DatabaseRecord::kSize);
    QMenu *menu = app.windows->frmClienti->cmdImporta->menu();
    QVERIFY(menu);
    QCOMPARE(menu->actions().size(), 4);
    menu->actions()[0]->trigger();
    QCOMPARE(app.read("Clienti.pro").size(), ClientRecord::kSize);
    QCOMPARE(app.desktop.modalDialogs.size(), 2);
}

void TestFrmImporta::clientMenuWritesAndReadsVCards() {
    AppFixture app;
    TfrmClienti *w = app.windows->frmClienti;
    const QList<QAction *> entries = w->cmdImporta->menu()->actions();
    ClientRecord stored;
    stored.setText(ClientField::Cliente, QStringLiteral("Neri Lucía"));
    stored.setText(ClientField::Email, QStringLiteral("lucia@example.it"));
    stored.setYesNo(ClientField::Ricontatta, false);
    QVERIFY(app.write("Clienti.pro", stored.bytes() + stored.bytes()));

    // The client shown, with nothing named: a warning and no chooser.
    entries[2]->trigger();
    QCOMPARE(app.desktop.messages.last().kind, Kind::Warning);
    QVERIFY(app.desktop.fileRequests.isEmpty());
    w->txtCliente->setText(QStringLiteral("Bruni Zoë"));
    app.desktop.fileNames << app.path("uno.vcf");
    entries[2]->trigger();
    QVERIFY(app.desktop.fileRequests.last().folder.endsWith(u"Bruni Zoë.vcf"));
    QVERIFY(app.read("uno.vcf").contains("FN:Bruni Zo\xC3\xAB\r\n"));

    // The whole registry, then read back into it.
    app.desktop.fileNames << app.path("tutti.vcf");
    entries[3]->trigger();
    QCOMPARE(app.desktop.lastMessage(), QStringLiteral("Clienti esportati in vCard: 2."));
    // Through the mapping window: every column proposed for its own field;
    // the two cards repeat the registry's, and "No" adds them all the same.
    app.desktop.messages.clear();
    app.desktop.fileNames << app.path("tutti.vcf");
    app.desktop.answers << Answer::No << Answer::Yes;
    app.desktop.onModal = [](QDialog &dialog) {
        TfrmImporta &w = windowOf(dialog);
        QVERIFY(w.chkIntestazione->isHidden());
        QCOMPARE(w.cboCampo.size(), size_t(ClientField::Count));
        for (size_t c = 0; c < w.cboCampo.size(); ++c)
            QVERIFY2(w.cboCampo[c]->currentIndex() > 0, qPrintable(QString::number(c)));
        QCOMPARE(w.cboCampo[0]->currentText(), QStringLiteral("Cognome e nome Cliente"));
        QCOMPARE(w.grdAnteprima->item(1, 0)->text(), QStringLiteral("Neri Lucía"));
        QCOMPARE(w.lblConteggio->text(), QStringLiteral("Schede da aggiungere: 2."));
        QTest::mouseClick(w.cmdImporta, Qt::LeftButton);
    };
    entries[1]->trigger();
    QVERIFY(app.desktop.messages[0].text.startsWith(u"2 biglietti del file sono uguali"));
    QVERIFY(app.desktop.messages[1].text.startsWith(u"Aggiungere 2 schede"));
    QCOMPARE(app.read("Clienti.pro"), stored.bytes().repeated(4));
    app.desktop.onModal = {};
    app.desktop.messages.clear();

    // Refused, and a file that is no vCard: the registry stays.
    app.desktop.fileNames << app.path("tutti.vcf") << app.path("Clienti.pro");
    app.desktop.onModal = [](QDialog &dialog) { dialog.reject(); };
    entries[1]->trigger();
    entries[1]->trigger();
    QCOMPARE(app.desktop.lastMessage(),
             QStringLiteral("Il file scelto non contiene biglietti vCard."));
    QCOMPARE(app.read("Clienti.pro"), stored.bytes().repeated(4));
}

// An address book's cards in the mapping window: an empty card and a
// nameless one left out and numbered, a second e-mail counted, TITLE and ORG
// made the occupation, a column left out by the user; and a vCard chosen in
// the database's import, which is refused.
void TestFrmImporta::vCardCountsWhatItLeavesOut() {
    AppFixture app;
    QVERIFY(app.write("rubrica.vcf",
                      "BEGIN:VCARD\nVERSION:3.0\nEND:VCARD\n"
                      "BEGIN:VCARD\nTEL:06 1\nEND:VCARD\n"
                      "BEGIN:VCARD\nFN:Galli Rita\nEMAIL:rita@example.it\nEMAIL:r@example.it\n"
                      "TITLE:Responsabile acquisti\nORG:Ditta Srl\nNOTE:da non importare\n"
                      "ADR;TYPE=HOME:;;Via Po 2;Reggio Emilia;RE;42121;\nEND:VCARD\n"));
    app.desktop.fileNames << app.path("rubrica.vcf");
    app.desktop.answers << Answer::Yes;
    QString summary;
    app.desktop.onModal = [&](QDialog &dialog) {
        TfrmImporta &w = windowOf(dialog);
        QCOMPARE(w.windowTitle(), QStringLiteral("Importa vCard nell'anagrafica clienti"));
        w.cboCampo[ClientField::Note]->setFocus();
        QTest::keyClick(w.cboCampo[ClientField::Note], Qt::Key_Home);
        summary = w.lblConteggio->text();
        QCOMPARE(w.grdAnteprima->rowCount(), 1);
        // The preview shows the fields the card fills, not all of the card's.
        QStringList shown;
        for (int c = 0; c < w.grdAnteprima->columnCount(); ++c)
            shown << w.grdAnteprima->horizontalHeaderItem(c)->text() + u'=' +
                         w.grdAnteprima->item(0, c)->text();
        QCOMPARE(shown, (QStringList{
                            "Cognome e nome Cliente=Galli Rita", "Indirizzo di residenza=Via Po 2",
                            "Comune di residenza=Reggio Emilia", "E-mail=rita@example.it",
                            "Occupazione=Responsabile acquisti, Ditta Srl",
                            "Provincia di residenza=RE", "CAP=42121", "Da ricontattare=No"}));
        QTest::mouseClick(w.cmdImporta, Qt::LeftButton);
    };
    QMenu *menu = app.windows->frmClienti->cmdImporta->menu();
    menu->actions()[1]->trigger();
    QCOMPARE(summary, QStringLiteral(
                          "Schede da aggiungere: 1. Biglietti vuoti tralasciati: 1. Biglietti "
                          "senza il nome del cliente, tralasciati: 1 (biglietto 2). Valori senza "
                          "un campo che li accolga (un secondo indirizzo e-mail, un telefono in "
                          "più...), tralasciati: 1."));
    QVERIFY(app.desktop.messages[0].text.contains(u"1 valori (un secondo indirizzo e-mail"));
    ClientRecord expected;
    expected.setText(ClientField::Cliente, QStringLiteral("Galli Rita"));
    expected.setText(ClientField::Email, QStringLiteral("rita@example.it"));
    expected.setText(ClientField::Occupazione, QStringLiteral("Responsabile acquisti, Ditta Srl"));
    expected.setText(ClientField::IndirizzoRes, QStringLiteral("Via Po 2"));
    expected.setText(ClientField::ComuneRes, QStringLiteral("Reggio Emilia"));
    expected.setText(ClientField::ProvRes, QStringLiteral("RE"));
    expected.setText(ClientField::CapRes, QStringLiteral("42121"));
    expected.setYesNo(ClientField::Ricontatta, false);
    QCOMPARE(app.read("Clienti.pro"), expected.bytes());

    app.desktop.fileNames << app.path("rubrica.vcf");
    QTest::mouseClick(app.windows->frmDatabase->cmdImporta, Qt::LeftButton);
    QCOMPARE(app.desktop.messages.last().kind, Kind::Error);
    QVERIFY(app.desktop.lastMessage().contains(u"si importano nell'Anagrafica Clienti"));
    QCOMPARE(app.read("Database.pro"), QByteArray());
}

void TestFrmImporta::vCardExportTellsReadFromWrite_data() {
    QTest::addColumn<bool>("archiveReadable");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("message");
    QTest::newRow("archive unreadable") << false << "clienti.vcf" << "leggere l'archivio";
    QTest::newRow("target unwritable") << true << "manca/clienti.vcf" << "scrivere il file vCard";
}

void TestFrmImporta::vCardExportTellsReadFromWrite() {
    QFETCH(bool, archiveReadable);
    QFETCH(QString, target);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const AppFolder folder(dir.path());
    if (archiveReadable)
        QVERIFY(writeFile(folder.clientFile(), ClientRecord().bytes()));
    else
        QVERIFY(QDir().mkpath(folder.clientFile()));
    FakeDesktop desktop;
    desktop.fileNames << dir.filePath(target);
    QCOMPARE(import::exportRegistryToVCard(nullptr, folder), -1);
    QCOMPARE(desktop.messages.last().kind, Kind::Error);
    QVERIFY2(desktop.lastMessage().contains(message), qPrintable(desktop.lastMessage()));
}

QTEST_MAIN(TestFrmImporta)
#include "tst_frmimporta.moc"
