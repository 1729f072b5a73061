#include "app/TfrmAvvio.h"
#include "app/TfrmGuida.h"
#include "settings/SettingsGuide.h"
#include "settings/TfrmImpostaAvvio.h"
#include "settings/TfrmImpostaCampi.h"
#include "settings/TfrmMenuImpostazioni.h"
#include "storage/IniFile.h"
#include "support/AppFixture.h"

#include <QPlainTextEdit>
#include <QtTest>

Q_DECLARE_METATYPE(Desktop::Answer)

class TestFrmMenuImpostazioni : public QObject {
    Q_OBJECT
  private slots:
    void choiceDecidesTheNextWindow_data();
    void choiceDecidesTheNextWindow();
    void choiceIsForgottenAfterClosing();
    void guide();
    void statusLine();
    void backupAndRestore_data();
    void backupAndRestore();
    void cancelledRunsLeaveNothing();
};

void TestFrmMenuImpostazioni::choiceDecidesTheNextWindow_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("next");
    QTest::newRow("start-screen settings") << "btnImpostaAvvio"
                                           << "frmImpostaAvvio";
    QTest::newRow("field titles") << "btnImpostaCampi"
                                  << "frmImpostaCampi";
    QTest::newRow("exit icon") << "imgEsci"
                               << "frmAvvio";
    QTest::newRow("close box") << "close"
                               << "frmAvvio";
}

void TestFrmMenuImpostazioni::choiceDecidesTheNextWindow() {
    QFETCH(QString, way);
    QFETCH(QString, next);
    AppFixture app;
    TfrmMenuImpostazioni *menu = app.windows->frmMenuImpostazioni;
    app.windows->frmAvvio->present();
    app.windows->frmAvvio->cmdImpostazioni->click();
    QCOMPARE(app.visibleWindows(), QStringList{"frmMenuImpostazioni"});
    QCOMPARE(menu->lblMemory->text(), QStringLiteral("avvio"));
    QVERIFY(menu->lblMemory->isHidden());

    FlowRecorder flow;
    if (way == "btnImpostaAvvio")
        menu->btnImpostaAvvio->click();
    else if (way == "btnImpostaCampi")
        menu->btnImpostaCampi->click();
    else if (way == "imgEsci")
        QTest::mouseClick(menu->imgEsci, Qt::LeftButton);
    else
        menu->close();
    QCOMPARE(app.visibleWindows(), QStringList{next});
    QCOMPARE(flow.events, (QStringList{"show " + next, "hide frmMenuImpostazioni"}));
    QCOMPARE(menu->lblMemory->text(), QStringLiteral("avvio"));
    QVERIFY(!app.windows->terminated);
}

void TestFrmMenuImpostazioni::choiceIsForgottenAfterClosing() {
    AppFixture app;
    TfrmMenuImpostazioni *menu = app.windows->frmMenuImpostazioni;
    app.windows->frmAvvio->present();
    app.windows->frmAvvio->cmdImpostazioni->click();
    menu->btnImpostaCampi->click();
    // The settings windows go back to the start screen, not to the menu.
    app.windows->frmImpostaCampi->btnAnnulla->click();
    QCOMPARE(app.visibleWindows(), QStringList{"frmAvvio"});
    app.windows->frmAvvio->cmdImpostazioni->click();
    menu->imgEsciClick();
    QCOMPARE(app.visibleWindows(), QStringList{"frmAvvio"});
}

void TestFrmMenuImpostazioni::guide() {
    AppFixture app;
    TfrmMenuImpostazioni *menu = app.windows->frmMenuImpostazioni;
    menu->present();
    QString title, text;
    QWidget *owner = nullptr;
    app.desktop.onModal = [&](QDialog &d) {
        auto &guide = static_cast<TfrmGuida &>(d);
        owner = guide.parentWidget();
        title = guide.lblTitolo->text();
        text = guide.txtGuida->toPlainText();
    };
    QTest::mouseClick(menu->imgGuida, Qt::LeftButton);
    QCOMPARE(app.desktop.modalDialogs, QStringList{"TfrmGuida"});
    QCOMPARE(owner, menu);
    const GuideTopic topic = settingsGuide();
    QCOMPARE(title, QStringLiteral("Impostazioni schermata di avvio e campi di testo."));
    QCOMPARE(topic.paragraphs.size(), 5);
    QCOMPARE(text.split(QStringLiteral("\n\n")), topic.paragraphs);
    QCOMPARE(app.visibleWindows(), QStringList{"frmMenuImpostazioni"});
}

void TestFrmMenuImpostazioni::statusLine() {
    AppFixture app;
    TfrmMenuImpostazioni *menu = app.windows->frmMenuImpostazioni;
    menu->present();
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QCOMPARE(menu->lblIstruzioni->text(),
             QStringLiteral("Premere il pulsante relativo al tipo di impostazioni da effettuare."));
    const QList<std::pair<QWidget *, QString>> hints = {
        {menu->btnImpostaAvvio,
         "Imposta il nome dell'archivio, il sottotitolo e l'immagine della schermata di avvio."},
        {menu->btnImpostaCampi, "Imposta i titoli dei quattordici campi di testo delle schede."},
        {menu->imgEsci, "Torna alla schermata di avvio."},
        {menu->imgGuida, "Guida alle impostazioni dell'archivio."},
    };
    for (const auto &[control, text] : hints) {
        QTest::mouseMove(control);
        QTRY_COMPARE(menu->panInfo->text(), text);
        QTest::mouseMove(menu->lblIstruzioni);
        QTRY_COMPARE(menu->panInfo->text(), QString());
    }
}

void TestFrmMenuImpostazioni::backupAndRestore_data() {
    QTest::addColumn<QString>("archive");
    QTest::addColumn<Desktop::Answer>("answer");
    QTest::addColumn<bool>("restored");
    QTest::newRow("restore confirmed") << "good" << Desktop::Answer::Yes << true;
    QTest::newRow("restore declined") << "good" << Desktop::Answer::No << false;
    QTest::newRow("damaged copy") << "damaged" << Desktop::Answer::Yes << false;
    QTest::newRow("no copy chosen") << "" << Desktop::Answer::Yes << false;
}

// "Copia di sicurezza" and "Ripristina copia di sicurezza", driven through
// the menu with the folder and file choosers answered.
void TestFrmMenuImpostazioni::backupAndRestore() {
    QFETCH(QString, archive);
    QFETCH(Desktop::Answer, answer);
    QFETCH(bool, restored);
    AppFixture app;
    TfrmMenuImpostazioni *menu = app.windows->frmMenuImpostazioni;
    const QString copies = app.dir.filePath(QStringLiteral("Copie città"));
    QDir().mkpath(copies);
    QDir(app.folder).mkpath(QStringLiteral("Scheda_1"));
    QVERIFY(app.write("Database.pro", QByteArray(3310, 'a')));
    QVERIFY(app.write(QStringLiteral("Scheda_1/perché.txt"), "prima"));
    menu->present();

    app.desktop.fileNames << copies;
    menu->btnCopia->click();
    QCOMPARE(app.desktop.fileRequests.last().filter, QStringLiteral("<cartella>"));
    QCOMPARE(app.desktop.messages.size(), 1);
    QCOMPARE(app.desktop.messages.last().kind, Desktop::Kind::Information);
    QVERIFY(app.desktop.lastMessage().startsWith("Copia di sicurezza completata e verificata."));
    const QStringList made = QDir(copies).entryList({"Cartavera-*.zip"});
    QCOMPARE(made.size(), 1);
    QCOMPARE(IniFile(app.path("Archivio.ini")).read("Copie di sicurezza", "Cartella"), copies);

    // The data change after the copy.
    QVERIFY(app.write("Database.pro", QByteArray(6620, 'b')));
    QVERIFY(app.write(QStringLiteral("Scheda_1/perché.txt"), "dopo"));
    QString zip = QDir(copies).filePath(made.first());
    if (archive == "damaged") {
        QByteArray bytes = readFile(zip);
        bytes.chop(bytes.size() / 2);
        zip = app.dir.filePath("guasta.zip");
        QVERIFY(writeFile(zip, bytes));
    }
    const auto before = folderSnapshot(app.folder);
    if (!archive.isEmpty())
        app.desktop.fileNames << zip;
    app.desktop.answers << answer;
    app.desktop.messages.clear();
    menu->btnRipristina->click();
    QCOMPARE(app.desktop.fileRequests.last().filter, QStringLiteral("Copia di sicurezza (*.zip)"));
    QCOMPARE(app.desktop.fileRequests.last().folder, copies);
    if (restored) {
        QCOMPARE(app.desktop.messages.size(), 2);
        QCOMPARE(app.desktop.messages[0].kind, Desktop::Kind::Risky);
        QVERIFY(app.desktop.messages[0].text.contains("saranno sostituiti"));
        QVERIFY(
            app.desktop.lastMessage().startsWith("Ripristino completato: 3 file ripristinati."));
        QCOMPARE(app.read("Database.pro"), QByteArray(3310, 'a'));
        QCOMPARE(app.read(QStringLiteral("Scheda_1/perché.txt")), QByteArray("prima"));
        // The data as they were before are in a copy of their own.
        QCOMPARE(QDir(copies).entryList({"Cartavera-*.zip"}).size(), 2);
    } else {
        QCOMPARE(folderSnapshot(app.folder), before);
        QCOMPARE(QDir(copies).entryList({"Cartavera-*.zip"}).size(), 1);
        if (archive == "damaged") {
            QCOMPARE(app.desktop.messages.size(), 1);
            QCOMPARE(app.desktop.messages.last().kind, Desktop::Kind::Error);
            QVERIFY(app.desktop.lastMessage().startsWith(
                "Impossibile ripristinare la copia di sicurezza"));
        }
    }
    QCOMPARE(app.visibleWindows(), QStringList{"frmMenuImpostazioni"});
}

// "Annulla" in the progress window of each run: the backup writes no copy,
// the restore's check and the restore itself change nothing.
void TestFrmMenuImpostazioni::cancelledRunsLeaveNothing() {
    AppFixture app;
    TfrmMenuImpostazioni *menu = app.windows->frmMenuImpostazioni;
    const QString copies = app.dir.filePath(QStringLiteral("Copie"));
    QDir().mkpath(copies);
    QVERIFY(app.write("Database.pro", QByteArray(3310, 'a')));
    menu->present();
    const auto copiesMade = [&] {
        return QDir(copies).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    };

    app.desktop.cancelIn = QStringLiteral("Copia di sicurezza");
    app.desktop.fileNames << copies;
    menu->btnCopia->click();
    QCOMPARE(app.desktop.progressWindows.size(), 1);
    QCOMPARE(app.desktop.progressWindows[0].labels,
             QStringList{"Scrittura della copia di sicurezza..."});
    QVERIFY(!app.desktop.progressWindows[0].open);
    QCOMPARE(app.desktop.lastMessage(),
             QStringLiteral("Copia di sicurezza annullata: nessuna copia è stata scritta."));
    QCOMPARE(copiesMade(), QStringList());

    app.desktop.cancelIn.clear();
    app.desktop.fileNames << copies;
    menu->btnCopia->click();
    QCOMPARE(copiesMade().size(), 1);
    const QString zip = QDir(copies).filePath(copiesMade().first());
    QVERIFY(app.write("Database.pro", QByteArray(6620, 'b')));
    const auto before = folderSnapshot(app.folder);
    for (const char *window : {"Controllo della copia di sicurezza", "Ripristino"}) {
        app.desktop.cancelIn = QString::fromUtf8(window);
        app.desktop.fileNames << zip;
        app.desktop.answers << Desktop::Answer::Yes;
        menu->btnRipristina->click();
        QCOMPARE(app.desktop.progressWindows.last().title, app.desktop.cancelIn);
        QCOMPARE(app.desktop.lastMessage(),
                 QStringLiteral("Ripristino annullato: nessun dato è stato cambiato."));
        QCOMPARE(folderSnapshot(app.folder), before);
        QCOMPARE(copiesMade().size(), 1);
    }
}

QTEST_MAIN(TestFrmMenuImpostazioni)
#include "tst_frmmenuimpostazioni.moc"
