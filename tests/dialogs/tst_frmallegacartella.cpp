#include "app/Forms.h"
#include "kit/WindowKit.h"
#include "dialogs/TfrmAllegaCartella.h"
#include "database/TfrmDatabase.h"
#include "storage/DatabaseRecord.h"
#include "support/FakeDesktop.h"
#include "support/Files.h"
#include "support/FullDisk.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <optional>

namespace {

// A caller of the window: the attachments value it hands over and takes back.
struct Caller {
    Attachments value;
    QString &at(const char *name) {
        // "lblFile01" … "lblDesc03": the workspace labels the value stands for.
        const QLatin1String n(name);
        const int slot = n.back().toLatin1() - '1';
        return n.startsWith(QLatin1String("lblFile")) ? value.files[slot]
                                                      : value.descriptions[slot];
    }
    QStringList texts() const {
        QStringList all;
        for (int i = 0; i < Attachments::kSlots; ++i)
            all << value.files[i] << value.descriptions[i];
        return all;
    }
    void edit(TfrmAllegaCartella::Archive archive) {
        if (const auto edited = TfrmAllegaCartella::edit(nullptr, archive, value))
            value = *edited;
    }
};

const QString kOverwrite =
    QStringLiteral("Attenzione: nella cartella dei documenti allegati è presente un file con lo "
                   "stesso nome.\r\n\r\nSi vuole sovrascrivere il file esistente?");

TfrmAllegaCartella &attachments(QDialog &dialog) {
    auto *window = qobject_cast<TfrmAllegaCartella *>(&dialog);
    Q_ASSERT(window);
    return *window;
}

} // namespace

class TestFrmAllegaCartella : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void browseCopiesTheFile();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void cancelledChooserChangesNothing();
    void focusGoesToUsableControls();
    void applyWritesBackCancelDoesNot_data();
    void applyWritesBackCancelDoesNot();
    void databaseModeWritesIntoTheDatabaseWorkspace();
    void failedCopyIsReported_data();
    void failedCopyIsReported();
    void failedOverwriteKeepsTheOldFile();
    void fullDiskKeepsTheOldFile();
    void namesAreNeverJoinedToTheFolder_data();
    void namesAreNeverJoinedToTheFolder();
    void pickedFromTheFolderItself();
    void namesTheCardCanHold_data();
    void namesTheCardCanHold();

  private:
    // The application folder has a name outside ASCII, as a user's copy may have.
    QString appFolder() const {
        return m_appFolder.isEmpty() ? m_app->filePath(QStringLiteral("Schede Città")) : m_appFolder;
    }
    QString folder() const { return appFolder() + QStringLiteral("/Documenti_Allegati"); }
    // A file outside the application folder, as the user would pick it.
    QString source(const QString &name, const QByteArray &bytes) {
        const QString path = m_outside->filePath(name);
        // A file that cannot be written leaves the path empty: the chooser then
        // counts as cancelled and the test's own checks fail.
        return writeFile(path, bytes) ? path : QString();
    }

    std::unique_ptr<QTemporaryDir> m_app;
    QString m_appFolder; // when set, the application folder lies there
    std::unique_ptr<QTemporaryDir> m_outside;
    std::unique_ptr<Forms> m_forms;
    std::unique_ptr<FakeDesktop> m_desktop;
};

void TestFrmAllegaCartella::init() {
    m_app = std::make_unique<QTemporaryDir>();
    m_outside = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir().mkpath(appFolder()));
    m_forms = std::make_unique<Forms>(AppFolder(appFolder()));
    m_desktop = std::make_unique<FakeDesktop>();
}

void TestFrmAllegaCartella::cleanup() {
    m_appFolder.clear();
    m_desktop.reset();
    m_forms.reset();
    m_outside.reset();
    m_app.reset();
}

void TestFrmAllegaCartella::browseCopiesTheFile() {
    static constexpr char kPdf[] = "%PDF-1.4\n\0\x01\xff contratto";
    const QByteArray bytes(kPdf, sizeof kPdf - 1); // the inner NUL included
    m_desktop->fileNames << source(QStringLiteral("contratto.pdf"), bytes);
    Caller caller;
    QStringList names;
    bool openEnabledAtFirst = true;
    bool openEnabledAfter = false;
    m_desktop->onModal = [&](QDialog &dialog) {
        TfrmAllegaCartella &w = attachments(dialog);
        openEnabledAtFirst = w.btnApri01->isEnabled();
        QTest::mouseClick(w.btnSfoglia01, Qt::LeftButton);
        names = {w.txtFile01->text(), w.txtFile02->text(), w.txtFile03->text()};
        openEnabledAfter = w.btnApri01->isEnabled();
        QTest::mouseClick(w.btnApri01, Qt::LeftButton);
        QTest::mouseClick(w.btnApplica, Qt::LeftButton);
    };
    caller.edit(TfrmAllegaCartella::Archive::Clients);

    QCOMPARE(m_desktop->fileRequests.size(), 1);
    QCOMPARE(m_desktop->fileRequests[0].title, QStringLiteral("Selezionare il file da allegare:"));
    QCOMPARE(m_desktop->fileRequests[0].filter, QStringLiteral("Tutti i file (*.*)"));
    QVERIFY(m_desktop->messages.isEmpty());
    QCOMPARE(readFile(folder() + QStringLiteral("/contratto.pdf")), bytes);
    QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("contratto.pdf")});
    QCOMPARE(names, (QStringList{QStringLiteral("contratto.pdf"), QString(), QString()}));
    QVERIFY(!openEnabledAtFirst);
    QVERIFY(openEnabledAfter);
    QCOMPARE(m_desktop->opened,
             QList<QUrl>{QUrl::fromLocalFile(folder() + QStringLiteral("/contratto.pdf"))});
    QCOMPARE(caller.at("lblFile01"), QStringLiteral("contratto.pdf"));
}

void TestFrmAllegaCartella::overwriteQuestion_data() {
    QTest::addColumn<Desktop::Answer>("answer");
    QTest::addColumn<QByteArray>("kept");
    QTest::newRow("yes overwrites") << Desktop::Answer::Yes << QByteArray("second");
    QTest::newRow("no keeps the first") << Desktop::Answer::No << QByteArray("first");
}

void TestFrmAllegaCartella::overwriteQuestion() {
    QFETCH(Desktop::Answer, answer);
    QFETCH(QByteArray, kept);
    QVERIFY(QDir().mkpath(folder()));
    QVERIFY(writeFile(folder() + QStringLiteral("/contratto.pdf"), "first"));
    m_desktop->fileNames << source(QStringLiteral("contratto.pdf"), "second");
    m_desktop->answers << answer;
    Caller caller;
    caller.at("lblFile02") = (QStringLiteral("altro.pdf"));
    QString slot2;
    m_desktop->onModal = [&](QDialog &dialog) {
        TfrmAllegaCartella &w = attachments(dialog);
        QTest::mouseClick(w.btnSfoglia02, Qt::LeftButton);
        slot2 = w.txtFile02->text();
    };
    caller.edit(TfrmAllegaCartella::Archive::Database);

    QCOMPARE(m_desktop->messages.size(), 1);
    QCOMPARE(m_desktop->messages[0].kind, Desktop::Kind::Risky);
    QCOMPARE(m_desktop->messages[0].text, kOverwrite);
    QCOMPARE(readFile(folder() + QStringLiteral("/contratto.pdf")), kept);
    // Either way the slot refers to the file that is now in the folder.
    QCOMPARE(slot2, QStringLiteral("contratto.pdf"));
    QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void TestFrmAllegaCartella::cancelledChooserChangesNothing() {
    Caller caller;
    caller.at("lblFile01") = (QStringLiteral("vecchio.pdf"));
    QString slot1;
    bool openEnabled = false;
    m_desktop->onModal = [&](QDialog &dialog) {
        TfrmAllegaCartella &w = attachments(dialog);
        QTest::mouseClick(w.btnSfoglia01, Qt::LeftButton);
        slot1 = w.txtFile01->text();
        openEnabled = w.btnApri01->isEnabled();
    };
    caller.edit(TfrmAllegaCartella::Archive::Database);

    QCOMPARE(m_desktop->fileRequests.size(), 1);
    QVERIFY(m_desktop->messages.isEmpty());
    QCOMPARE(slot1, QStringLiteral("vecchio.pdf"));
    QVERIFY(openEnabled);
    QVERIFY(!QFileInfo::exists(folder()));
}

// The first focus and Tab go to the controls the user can work with, never to
// the read-only name boxes.
void TestFrmAllegaCartella::focusGoesToUsableControls() {
    Caller caller;
    caller.at("lblFile01") = QStringLiteral("contratto.pdf");
    QStringList visited;
    m_desktop->onModal = [&](QDialog &dialog) {
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        for (int i = 0; i < 5; ++i) {
            QWidget *focus = QApplication::focusWidget();
            visited << (focus ? focus->objectName() : QString());
            QTest::keyClick(focus ? focus : &dialog, Qt::Key_Tab);
        }
    };
    caller.edit(TfrmAllegaCartella::Archive::Database);
    QCOMPARE(visited,
             (QStringList{"btnSfoglia01", "btnApri01", "txtDesc01", "btnSfoglia02", "txtDesc02"}));
}

void TestFrmAllegaCartella::applyWritesBackCancelDoesNot_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("expected");
    const QStringList before = {QStringLiteral(" a.pdf "),
                                QStringLiteral("  prima\t"),
                                QStringLiteral("b.doc"),
                                QStringLiteral("seconda"),
                                QString(),
                                QString()};
    QTest::newRow("applica") << QStringLiteral("btnApplica")
                             << QStringList{QStringLiteral("a.pdf"),
                                            QStringLiteral("nuova"),
                                            QString(),
                                            QStringLiteral("seconda"),
                                            QString(),
                                            QStringLiteral("terza")};
    QTest::newRow("annulla") << QStringLiteral("btnAnnulla") << before;
}

void TestFrmAllegaCartella::applyWritesBackCancelDoesNot() {
    QFETCH(QString, button);
    QFETCH(QStringList, expected);
    Caller caller;
    caller.at("lblFile01") = (QStringLiteral(" a.pdf "));
    caller.at("lblDesc01") = (QStringLiteral("  prima\t"));
    caller.at("lblFile02") = (QStringLiteral("b.doc"));
    caller.at("lblDesc02") = (QStringLiteral("seconda"));
    QStringList shown;
    m_desktop->onModal = [&](QDialog &dialog) {
        TfrmAllegaCartella &w = attachments(dialog);
        shown = {w.txtFile01->text(), w.txtDesc01->text(), w.txtFile02->text(), w.txtDesc02->text(),
                 w.txtFile03->text(), w.txtDesc03->text(), w.lblMemory->text()};
        w.txtDesc01->clear();
        QTest::keyClicks(w.txtDesc01, QStringLiteral("nuova"));
        QTest::mouseClick(w.imgCancella02, Qt::LeftButton);
        QVERIFY(!w.btnApri02->isEnabled());
        QTest::keyClicks(w.txtDesc03, QStringLiteral(" terza "));
        QTest::keyClick(w.txtDesc03, Qt::Key_Return); // presses no button
        QVERIFY(w.isVisible());
        QVERIFY(m_desktop->fileRequests.isEmpty());
        QTest::mouseClick(w.findChild<QPushButton *>(button), Qt::LeftButton);
        QVERIFY(!w.isVisible());
    };
    caller.edit(TfrmAllegaCartella::Archive::Clients);

    QCOMPARE(shown, (QStringList{QStringLiteral("a.pdf"), QStringLiteral("prima"),
                                 QStringLiteral("b.doc"), QStringLiteral("seconda"), QString(),
                                 QString(), QStringLiteral("clienti")}));
    QCOMPARE(caller.texts(), expected);
}

void TestFrmAllegaCartella::databaseModeWritesIntoTheDatabaseWorkspace() {
    TfrmDatabase *database = m_forms->frmDatabase;
    Attachments before;
    before.files[2] = QStringLiteral("  scheda.txt ");
    database->setAttachments(before);
    QString shown;
    QString memory;
    m_desktop->onModal = [&](QDialog &dialog) {
        TfrmAllegaCartella &w = attachments(dialog);
        shown = w.txtFile03->text();
        memory = w.lblMemory->text();
        QTest::keyClicks(w.txtDesc03, QStringLiteral("Nota"));
        QTest::mouseClick(w.btnApplica, Qt::LeftButton);
    };
    QTest::mouseClick(database->cmdFile, Qt::LeftButton);

    QCOMPARE(shown, QStringLiteral("scheda.txt"));
    QCOMPARE(memory, QStringLiteral("database"));
    QCOMPARE(database->lblFile[2]->text(), QStringLiteral("scheda.txt"));
    QCOMPARE(database->lblDesc[2]->text(), QStringLiteral("Nota"));

    // Cancelled, the workspace keeps what it had.
    m_desktop->onModal = [&](QDialog &dialog) {
        TfrmAllegaCartella &w = attachments(dialog);
        w.txtDesc03->setText(QStringLiteral("Altro"));
        QTest::mouseClick(w.btnAnnulla, Qt::LeftButton);
    };
    QTest::mouseClick(database->cmdFile, Qt::LeftButton);
    QCOMPARE(database->lblDesc[2]->text(), QStringLiteral("Nota"));
}

void TestFrmAllegaCartella::failedCopyIsReported_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    const QString folderError = QStringLiteral(
        "Attenzione: non è stato possibile creare la cartella dei documenti allegati.\r\n\r\n"
        "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del "
        "programma.");
    const QString copyError = QStringLiteral(
        "Attenzione: non è stato possibile copiare il file nella cartella dei documenti "
        "allegati.\r\n\r\nAccertarsi che il file sia leggibile e di possedere i privilegi di "
        "scrittura nella cartella di installazione del programma.");
    QTest::newRow("folder name taken by a file")
        << QStringLiteral("folder is a file") << folderError;
    QTest::newRow("target name taken by a folder")
        << QStringLiteral("target is a folder") << copyError;
    QTest::newRow("chosen file gone") << QStringLiteral("source missing") << copyError;
}

void TestFrmAllegaCartella::failedCopyIsReported() {
    QFETCH(QString, fault);
    QFETCH(QString, message);
    QString chosen = source(QStringLiteral("fattura.pdf"), "fattura");
    if (fault == QLatin1String("folder is a file"))
        QVERIFY(writeFile(folder(), "not a folder"));
    else if (fault == QLatin1String("target is a folder"))
        QVERIFY(QDir().mkpath(folder() + QStringLiteral("/fattura.pdf")));
    else
        QVERIFY(QFile::remove(chosen));
    m_desktop->fileNames << chosen;
    Caller caller;
    caller.at("lblFile01") = (QStringLiteral("vecchio.pdf"));
    QString slot1;
    m_desktop->onModal = [&](QDialog &dialog) {
        TfrmAllegaCartella &w = attachments(dialog);
        QTest::mouseClick(w.btnSfoglia01, Qt::LeftButton);
        slot1 = w.txtFile01->text();
        QTest::mouseClick(w.btnApplica, Qt::LeftButton);
    };
    caller.edit(TfrmAllegaCartella::Archive::Database);

    QCOMPARE(m_desktop->messages.size(), 1);
    QCOMPARE(m_desktop->messages[0].kind, Desktop::Kind::Error);
    QCOMPARE(m_desktop->messages[0].text, message);
    // The slot never names a file that did not reach the folder.
    QCOMPARE(slot1, QStringLiteral("vecchio.pdf"));
    QCOMPARE(caller.at("lblFile01"), QStringLiteral("vecchio.pdf"));
    QVERIFY(!QFileInfo(folder() + QStringLiteral("/fattura.pdf")).isFile());
}

void TestFrmAllegaCartella::failedOverwriteKeepsTheOldFile() {
    // A source that opens but fails on reading: the copy breaks off half way.
    if (!QFile(QStringLiteral("/proc/self/mem")).open(QIODevice::ReadOnly))
        QSKIP("no unreadable file to copy from on this system");
    QVERIFY(QDir().mkpath(folder()));
    QVERIFY(writeFile(folder() + QStringLiteral("/mem"), "the good copy"));
    m_desktop->fileNames << QStringLiteral("/proc/self/mem");
    m_desktop->answers << Desktop::Answer::Yes;
    m_desktop->onModal = [&](QDialog &dialog) {
        QTest::mouseClick(attachments(dialog).btnSfoglia01, Qt::LeftButton);
    };
    Caller caller;
    caller.edit(TfrmAllegaCartella::Archive::Database);

    QCOMPARE(m_desktop->messages.size(), 2);
    QCOMPARE(m_desktop->messages[1].kind, Desktop::Kind::Error);
    QCOMPARE(readFile(folder() + QStringLiteral("/mem")), QByteArray("the good copy"));
    QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList{"mem"});
}

void TestFrmAllegaCartella::fullDiskKeepsTheOldFile() {
    // The application folder on a full disk: a small file that does not fit
    // is reported and the file of that name already attached stays whole.
    FullDisk disk;
    REQUIRE_MOUNTED(disk);
    m_forms.reset();
    m_appFolder = disk.filePath(QStringLiteral("Cartavera"));
    QVERIFY(QDir().mkpath(folder()));
    m_forms = std::make_unique<Forms>(AppFolder(appFolder()));
    QVERIFY(writeFile(folder() + QStringLiteral("/listino.xls"), "listino di marzo"));
    m_desktop->fileNames << source(QStringLiteral("listino.xls"), "listino di aprile");
    m_desktop->answers << Desktop::Answer::Yes;
    QVERIFY(disk.fill());
    QString slot1;
    m_desktop->onModal = [&](QDialog &dialog) {
        TfrmAllegaCartella &w = attachments(dialog);
        QTest::mouseClick(w.btnSfoglia01, Qt::LeftButton);
        slot1 = w.txtFile01->text();
    };
    Caller caller;
    caller.edit(TfrmAllegaCartella::Archive::Database);

    QCOMPARE(m_desktop->messages.size(), 2); // the overwrite question, then the error
    QCOMPARE(m_desktop->messages[1].kind, Desktop::Kind::Error);
    QCOMPARE(slot1, QString());
    QCOMPARE(readFile(folder() + QStringLiteral("/listino.xls")), QByteArray("listino di marzo"));
    QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("listino.xls")});
}

void TestFrmAllegaCartella::namesAreNeverJoinedToTheFolder_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("opens");
    QTest::newRow("bare name") << QStringLiteral("contratto.pdf") << true;
    QTest::newRow("dots inside a name") << QStringLiteral("v1..2.pdf") << true;
    QTest::newRow("parent folder") << QStringLiteral("../Database.pro") << false;
    QTest::newRow("dot dot alone") << QStringLiteral("..") << false;
    QTest::newRow("subfolder") << QStringLiteral("Scheda_1/nota.txt") << false;
    QTest::newRow("absolute") << QStringLiteral("/etc/passwd") << false;
    QTest::newRow("windows path") << QStringLiteral("C:\\Docs\\contratto.pdf") << false;
}

void TestFrmAllegaCartella::namesAreNeverJoinedToTheFolder() {
    QFETCH(QString, stored);
    QFETCH(bool, opens);
    Caller caller;
    caller.at("lblFile02") = (stored);
    m_desktop->onModal = [&](QDialog &dialog) {
        QTest::mouseClick(attachments(dialog).btnApri02, Qt::LeftButton);
    };
    caller.edit(TfrmAllegaCartella::Archive::Database);

    if (opens) {
        QCOMPARE(m_desktop->opened, QList<QUrl>{QUrl::fromLocalFile(folder() + u'/' + stored)});
        QVERIFY(m_desktop->messages.isEmpty());
    } else {
        QVERIFY(m_desktop->opened.isEmpty());
        QCOMPARE(m_desktop->messages.size(), 1);
        QCOMPARE(m_desktop->messages[0].kind, Desktop::Kind::Warning);
        QVERIFY(m_desktop->messages[0].text.startsWith(
            QStringLiteral("Attenzione: il nome del file allegato non è valido.")));
    }
}

void TestFrmAllegaCartella::pickedFromTheFolderItself() {
    // A file chosen from the attachments folder is already in place: nothing
    // to ask and nothing to copy. A name that only a non-Windows file system
    // allows (a backslash) is refused before anything is copied.
    QVERIFY(QDir().mkpath(folder()));
    QVERIFY(writeFile(folder() + QStringLiteral("/listino.xls"), "listino"));
    m_desktop->fileNames << folder() + QStringLiteral("/listino.xls")
                         << source(QStringLiteral("a\\b.pdf"), "x");
    QStringList names;
    m_desktop->onModal = [&](QDialog &dialog) {
        TfrmAllegaCartella &w = attachments(dialog);
        QTest::mouseClick(w.btnSfoglia01, Qt::LeftButton);
        QTest::mouseClick(w.btnSfoglia02, Qt::LeftButton);
        names = {w.txtFile01->text(), w.txtFile02->text()};
    };
    Caller caller;
    caller.edit(TfrmAllegaCartella::Archive::Database);

    QCOMPARE(names, (QStringList{QStringLiteral("listino.xls"), QString()}));
    QCOMPARE(m_desktop->messages.size(), 1);
    QCOMPARE(m_desktop->messages[0].kind, Desktop::Kind::Warning);
    QCOMPARE(readFile(folder() + QStringLiteral("/listino.xls")), QByteArray("listino"));
    QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("listino.xls")});
}

void TestFrmAllegaCartella::namesTheCardCanHold_data() {
    QTest::addColumn<QString>("chosen");   // the file's name where the user picks it
    QTest::addColumn<QString>("attached"); // empty when the name is refused
    QTest::newRow("accents of the code page")
        << QStringLiteral("perché è già.pdf") << QStringLiteral("perché è già.pdf");
    QTest::newRow("euro sign") << QStringLiteral("fattura 10€.pdf")
                               << QStringLiteral("fattura 10€.pdf");
    QTest::newRow("blanks around, copied as the card keeps it")
        << QStringLiteral("  nota.txt ") << QStringLiteral("nota.txt");
    QTest::newRow("250 characters") << QString(246, u'a') + QStringLiteral(".pdf")
                                    << QString(246, u'a') + QStringLiteral(".pdf");
    QTest::newRow("251 characters") << QString(247, u'a') + QStringLiteral(".pdf") << QString();
    QTest::newRow("outside the code page") << QStringLiteral("Отчёт.pdf") << QString();
}

void TestFrmAllegaCartella::namesTheCardCanHold() {
    // A card stores an attachment's name trimmed, as Windows-1252 text of at
    // most 250 bytes: the file in the folder must carry that very name.
    QFETCH(QString, chosen);
    QFETCH(QString, attached);
    m_desktop->fileNames << source(chosen, "allegato");
    Caller caller;
    caller.at("lblFile01") = (QStringLiteral("vecchio.pdf"));
    m_desktop->onModal = [&](QDialog &dialog) {
        TfrmAllegaCartella &w = attachments(dialog);
        QTest::mouseClick(w.btnSfoglia01, Qt::LeftButton);
        QTest::mouseClick(w.btnApplica, Qt::LeftButton);
    };
    caller.edit(TfrmAllegaCartella::Archive::Database);

    const QString stored = caller.at("lblFile01");
    if (attached.isEmpty()) {
        QCOMPARE(m_desktop->messages.size(), 1);
        QCOMPARE(m_desktop->messages[0].kind, Desktop::Kind::Warning);
        QVERIFY(m_desktop->messages[0].text.startsWith(QStringLiteral(
            "Attenzione: il nome del file scelto non può essere memorizzato nella scheda.")));
        QCOMPARE(stored, QStringLiteral("vecchio.pdf"));
        QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList());
        return;
    }
    QVERIFY(m_desktop->messages.isEmpty());
    QCOMPARE(stored, attached);
    QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList{attached});
    QCOMPARE(readFile(folder() + u'/' + attached), QByteArray("allegato"));
    DatabaseRecord card;
    card.setText(DatabaseField::File01, stored);
    QCOMPARE(card.text(DatabaseField::File01), attached);
}

QTEST_MAIN(TestFrmAllegaCartella)
#include "tst_frmallegacartella.moc"
