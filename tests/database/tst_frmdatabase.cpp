#include "database/DatabaseGuide.h"
#include "kit/ProvinceBox.h"
#include "SyntheticArchive.h"
#include "app/Forms.h"
#include "app/TfrmAvvio.h"
#include "app/TfrmGuida.h"
#include "kit/ProgramLook.h"
#include "kit/WindowKit.h"
#include "database/PhotoView.h"
#include "database/TfrmDatabase.h"
#include "database/TfrmZoom.h"
#include "storage/RecordFile.h"
#include "storage/TextRules.h"
#include "support/Contrast.h"
#include "support/FakeDesktop.h"
#include "support/Files.h"
#include "support/Typing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

const QString kAccessError = QStringLiteral(
    "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere "
    "i privilegi di scrittura nella cartella di installazione del programma.");
const QString kEmptyArchive = QStringLiteral("L'archivio non contiene nessuna scheda.");
const QString kFirstFieldMissing = QStringLiteral(
    "Attenzione: per salvare la scheda è necessario compilare il primo campo del database.");
const QString kClientMissing = QStringLiteral(
    "Attenzione: per salvare la scheda è necessario indicare il nome del Cliente associato.");
const QString kCardUpdated =
    QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
const QString kCardInserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");
const QString kDuplicated = QStringLiteral(
    "E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\rAl termine "
    "premere Salva per inserire la scheda in archivio.");
const QString kDuplicateNewCard = QStringLiteral(
    "Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che questa "
    "è stata inserita in archivio.");
const QString kFolderNewCard =
    QStringLiteral("Attenzione: l'abbinamento di una cartella ad un record può avvenire soltanto "
                   "dopo che la scheda è stata inserita in archivio.");

constexpr qint64 kSize = DatabaseRecord::kSize;
using Kind = Desktop::Kind;

QImage filled(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The bytes of record `index` of the file, read straight from disk.
QByteArray recordBytes(const QString &path, qint64 index) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(index * kSize))
        return {};
    return file.read(kSize);
}

QByteArray field(const QByteArray &record, int f) {
    const FieldSlot &layoutField = databaseLayout.fields[f];
    return record.mid(layoutField.offset, layoutField.capacity + 1);
}

// A short text field's bytes: length byte then text, as stored.
QByteArray stored(const QByteArray &text) {
    return char(text.size()) + text;
}

} // namespace

class TestFrmDatabase : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void showingOpensOnAnEmptyNewCard();
    void navigation_data();
    void navigation();
    void showCardFillsEveryControl();
    void saveAppends_data();
    void saveAppends();
    void saveOverwritesTheShownCard();
    void mandatoryFields_data();
    void mandatoryFields();
    void failuresShowTheAccessError_data();
    void failuresShowTheAccessError();
    void duplicateAndSaveAsNewCard();
    void photoWrittenOnSave_data();
    void photoWrittenOnSave();
    void photoOfTheShownCard_data();
    void photoOfTheShownCard();
    void photoWriteFailureIsReported();
    void zoomShowsThePictureOnScreen();
    void typingRules_data();
    void typingRules();
    void vatNumberEditingKeys();
    void provinceList();
    void enterChainAndTabOrder();
    void checkButtons_data();
    void checkButtons();
    void mailButton_data();
    void mailButton();
    void attachmentsAndCardFolder();
    void statusLineAndWorkingButtons();
    void flagReadsAtAGlance();
    void guide();

  private:
    TfrmDatabase *w() const { return m_forms->frmDatabase; }
    QString file(const QString &name) const { return m_forms->folder.file(name); }
    QString archive() const { return m_forms->folder.databaseFile(); }
    void present(bool active = false);
    void showStored(qint64 position);
    void fillNewCard();

    QTemporaryDir *m_dir = nullptr;
    FakeDesktop *m_desktop = nullptr;
    Forms *m_forms = nullptr;
};

void TestFrmDatabase::init() {
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    m_desktop = new FakeDesktop;
    // A folder name outside ASCII, as a user's copy of the folder may have.
    const QString folder = m_dir->filePath(QStringLiteral("Schede Città"));
    QVERIFY(QDir().mkpath(folder));
    m_forms = new Forms(AppFolder(folder));
}

void TestFrmDatabase::cleanup() {
    delete m_forms;
    delete m_desktop;
    delete m_dir;
}

void TestFrmDatabase::present(bool active) {
    w()->present();
    QVERIFY(QTest::qWaitForWindowExposed(w()));
    if (active)
        QVERIFY(QTest::qWaitForWindowActive(w()));
}

// Shows the stored card at `position` as the search window would.
void TestFrmDatabase::showStored(qint64 position) {
    DatabaseFile records;
    records.openOrCreate(m_forms->folder);
    records.seek(position - 1);
    DatabaseRecord record;
    records.read(record);
    records.close();
    w()->ShowCard(record, position);
}

void TestFrmDatabase::fillNewCard() {
    QTest::keyClicks(w()->txtCampo[0], QStringLiteral("Il nome della rosa"));
    QTest::keyClicks(w()->txtCliente, QStringLiteral("Anna Rossi"));
}

void TestFrmDatabase::showingOpensOnAnEmptyNewCard() {
    // Every box of a text field holds at most what its record field does.
    using namespace DatabaseField;
    for (int f = Campo01; f <= PartitaIva; ++f) {
        const FieldSlot &layoutField = databaseLayout.fields[f];
        const QString name = QStringLiteral("txt") + QLatin1String(layoutField.name);
        if (f == ProvRes) {
            QVERIFY(w()->findChild<QComboBox *>(name));
            QCOMPARE(w()->txtProvRes->lineEdit()->maxLength(), 2);
            continue;
        }
        const auto *box = w()->findChild<QLineEdit *>(name);
        QVERIFY2(box, qPrintable(name));
        QCOMPARE(box->maxLength(), layoutField.capacity);
    }
    // Other windows reach the controls by name: the names are part of the window.
    QStringList names = {
        "cmdNuovo",    "cmdDuplica",   "cmdSalva",        "cmdTrova",     "cmdFile",
        "cmdCartella", "cmdAnteprima", "cmdStampa",       "cmdSegnalati", "cmdPrimo",
        "cmdIndietro", "lblPosizione", "cmdAvanti",       "cmdUltimo",    "cmdImporta",   "cmdEsporta",
        "cmdGuida",    "cmdEsci",      "titNomeArchivio", "chkSegnala",   "imgFoto",
        "imgBianco",   "btnCancFoto",  "btnSfoglia",      "btnZoom",      "impCliente",
        "sndMail",     "btnCodFisc",   "btnPartitaIva",   "panInfo",      "panContainer"};
    for (const char *box : {"Cliente", "IndirizzoRes", "ComuneRes", "ProvRes", "Email", "Recapito",
                            "CodFisc", "PartitaIva"})
        names << QStringLiteral("eff") + QLatin1String(box);
    for (int i = 1; i <= 14; ++i) {
        const QString n = QStringLiteral("%1").arg(i, 2, 10, QChar(u'0'));
        names << QStringLiteral("titCampo") + n << QStringLiteral("effCampo") + n;
    }
    for (int i = 1; i <= 3; ++i)
        names << QStringLiteral("lblFile0%1").arg(i) << QStringLiteral("lblDesc0%1").arg(i);
    for (const QString &name : names)
        QVERIFY2(w()->findChildren<QWidget *>(name).size() == 1, qPrintable(name));
    for (const QString &name :
         {QStringLiteral("lblFile01"), QStringLiteral("lblDesc03"), QStringLiteral("imgBianco")})
        QVERIFY2(w()->findChild<QWidget *>(name)->isHidden(), qPrintable(name));
    const QStringList captions = {
        "Cognome e nome:", "Via e numero civico:",    "Comune di residenza:", "Prov.",
        "E-mail:",         "Recapito preferenziale:", "Codice fiscale:",      "Partita IVA:"};
    for (int i = 0; i < captions.size(); ++i) {
        const auto *label = w()->findChild<QLabel *>(QStringLiteral("lblField0%1").arg(i + 1));
        QVERIFY(label);
        QCOMPARE(label->text(), captions[i]);
    }
    QCOMPARE(w()->titCampo[6]->text(), QStringLiteral("Campo 7:")); // until the first showing
    QCOMPARE(w()->chkSegnala->text(), QStringLiteral("Segnala"));
    QCOMPARE(w()->btnSfoglia->text(), QStringLiteral("Carica foto"));
    QCOMPARE(w()->windowTitle(), QStringLiteral(" Cartavera - Gestione Database"));

    QFile ini(file(QStringLiteral("Archivio.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Database]\r\nNome Archivio=Biblioteca di casa\r\n"
              "[Nome campi]\r\nCampo 01=Titolo\r\nCampo 14=Note\r\n");
    ini.close();
    w()->txtCampo[0]->setText(QStringLiteral("typed before showing"));
    w()->lblPosizione->setText(QStringLiteral("5"));
    present(true);
    QCOMPARE(w()->titNomeArchivio->text(), QStringLiteral("Biblioteca di casa"));
    QCOMPARE(w()->titCampo[0]->text(), QStringLiteral("Titolo"));
    QCOMPARE(w()->titCampo[1]->text(), QString());
    QCOMPARE(w()->titCampo[13]->text(), QStringLiteral("Note"));
    QCOMPARE(w()->txtCampo[0]->text(), QString());
    QCOMPARE(w()->lblPosizione->text(), QString());
    QTRY_VERIFY(w()->txtCampo[0]->hasFocus());
    QCOMPARE(w()->imgBianco->picture().size(), QSize(230, 307));
    QVERIFY(!w()->imgBianco->isVisible());
    QCOMPARE(w()->imgFoto->picture(), w()->imgBianco->picture());
    QVERIFY(!QFile::exists(archive())); // showing does not touch the archive

    // Closing hands over to the start screen; coming back reads the titles
    // again and shows an empty card.
    QTest::keyClicks(w()->txtCampo[2], QStringLiteral("dimenticato"));
    QTest::mouseClick(w()->cmdEsci, Qt::LeftButton); // asked; "No" discards the text
    QCOMPARE(m_desktop->messages.size(), 1);
    QCOMPARE(m_desktop->messages[0].kind, Kind::SaveChanges);
    m_desktop->messages.clear();
    QVERIFY(!w()->isVisible());
    QVERIFY(m_forms->frmAvvio->isVisible());
    QVERIFY(ini.remove());
    w()->present();
    QCOMPARE(w()->titNomeArchivio->text(), QString());
    QCOMPARE(w()->titCampo[0]->text(), QString());
    QCOMPARE(w()->txtCampo[2]->text(), QString());
    QVERIFY(m_desktop->messages.isEmpty());
}

void TestFrmDatabase::navigation_data() {
    // Where each arrow leads is the card archive's (tst_cardarchive); these
    // rows check that each button runs its arrow on this archive.
    QTest::addColumn<int>("cards"); // -1: no Database.pro at all
    QTest::addColumn<int>("shown"); // 0: a new card
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("expected"); // 0: still a new card
    QTest::addColumn<bool>("emptyMessage");

    QTest::newRow("no file: first creates it") << -1 << 0 << "cmdPrimo" << 0 << true;
    QTest::newRow("first") << 3 << 2 << "cmdPrimo" << 1 << false;
    QTest::newRow("last") << 3 << 0 << "cmdUltimo" << 3 << false;
    QTest::newRow("next") << 3 << 1 << "cmdAvanti" << 2 << false;
    QTest::newRow("previous") << 3 << 3 << "cmdIndietro" << 2 << false;
}

void TestFrmDatabase::navigation() {
    QFETCH(int, cards);
    QFETCH(int, shown);
    QFETCH(QString, button);
    QFETCH(int, expected);
    QFETCH(bool, emptyMessage);

    if (cards >= 0)
        QVERIFY(synthetic::writeDatabase(archive(), cards));
    present();
    if (shown > 0)
        showStored(shown);
    // Typing is discarded after the question, answered "No" (the fake's
    // default), when the arrow has a card to show.
    w()->txtCampo[1]->setText(QStringLiteral("non salvato"));

    QTest::mouseClick(w()->findChild<QToolButton *>(button), Qt::LeftButton);

    QVERIFY(QFile::exists(archive()));
    QCOMPARE(QFileInfo(archive()).size(), qMax(cards, 0) * kSize);
    QCOMPARE(w()->lblPosizione->text(), expected ? QString::number(expected) : QString());
    if (expected) {
        const DatabaseRecord card = synthetic::databaseCard(uint64_t(expected - 1));
        QCOMPARE(w()->txtCampo[0]->text(), card.text(DatabaseField::Campo01));
        if (expected != shown)
            QCOMPARE(w()->txtCampo[1]->text(), card.text(DatabaseField::Campo02));
    }
    if (emptyMessage) {
        QCOMPARE(m_desktop->messages.size(), 1);
        QCOMPARE(m_desktop->messages[0].kind, Kind::Information);
        QCOMPARE(m_desktop->messages[0].text, kEmptyArchive);
    } else {
        QCOMPARE(m_desktop->messages.size(), 1);
        QCOMPARE(m_desktop->messages[0].kind, Kind::SaveChanges);
    }
}

void TestFrmDatabase::showCardFillsEveryControl() {
    using namespace DatabaseField;
    present();
    DatabaseRecord record;
    for (int f = 0; f < Count; ++f)
        record.setText(f, QStringLiteral(" %1 ").arg(QLatin1String(databaseLayout.fields[f].name)));
    record.setText(ProvRes, QStringLiteral("rm"));
    record.setYesNo(Segnala, true);
    w()->ShowCard(record, 42);

    for (QObject *control : w()->findChildren<QWidget *>()) {
        const QString name = control->objectName();
        const int f = databaseLayout.indexOf(QStringView(name).mid(3));
        if (!name.startsWith(u"txt") && !name.startsWith(u"lbl"))
            continue;
        if (f < 0 || f == Segnala || f == ProvRes)
            continue;
        if (auto *box = qobject_cast<QLineEdit *>(control)) {
            QCOMPARE(box->text(), QString::fromLatin1(databaseLayout.fields[f].name));
            QCOMPARE(box->cursorPosition(), 0); // a long text shows from its beginning
        } else if (auto *label = qobject_cast<QLabel *>(control))
            QCOMPARE(label->text(), QString::fromLatin1(databaseLayout.fields[f].name));
    }
    QCOMPARE(w()->lblFile[2]->text(), QStringLiteral("File03"));
    QCOMPARE(w()->lblDesc[0]->text(), QStringLiteral("Desc01"));
    QCOMPARE(w()->txtProvRes->currentText(), QStringLiteral("rm"));
    QCOMPARE(w()->lblPosizione->text(), QStringLiteral("42"));
    QVERIFY(w()->chkSegnala->isChecked());

    // A flag that is neither "Sì" nor "No" leaves the box as it was.
    record.setText(Segnala, QString());
    w()->ShowCard(record, 43);
    QVERIFY(w()->chkSegnala->isChecked());
    record.setYesNo(Segnala, false);
    w()->ShowCard(record, 44);
    QVERIFY(!w()->chkSegnala->isChecked());

    // "Nuovo" empties every control of the card, the hidden attachment
    // references included, so nothing of card 45 is carried into the next one.
    record.setYesNo(Segnala, true);
    w()->ShowCard(record, 45);
    w()->txtProvRes->setCurrentIndex(3);
    w()->imgFoto->setPicture(QImage(QSize(20, 20), QImage::Format_RGB32));
    w()->txtCampo[8]->setFocus();
    QTest::mouseClick(w()->cmdNuovo, Qt::LeftButton); // the province changed: asked, "No"
    QCOMPARE(m_desktop->messages.takeLast().kind, Kind::SaveChanges);
    for (QWidget *control : w()->findChildren<QWidget *>()) {
        const QString name = control->objectName();
        if (name.startsWith(u"txtCampo") || databaseLayout.indexOf(QStringView(name).mid(3)) >= 0 ||
            name == QLatin1String("lblPosizione")) {
            if (auto *box = qobject_cast<QLineEdit *>(control))
                QVERIFY2(box->text().isEmpty(), qPrintable(name));
            else if (auto *label = qobject_cast<QLabel *>(control))
                QVERIFY2(label->text().isEmpty(), qPrintable(name));
        }
    }
    QVERIFY(!w()->chkSegnala->isChecked());
    QCOMPARE(w()->txtProvRes->currentIndex(), -1);
    QCOMPARE(w()->txtProvRes->currentText(), QString());
    QCOMPARE(w()->imgFoto->picture(), w()->imgBianco->picture());
    QTRY_VERIFY(w()->txtCampo[0]->hasFocus());
    QVERIFY(!QFile::exists(archive()));
    QVERIFY(m_desktop->messages.isEmpty());
}

void TestFrmDatabase::saveAppends_data() {
    QTest::addColumn<qint64>("cards"); // -1: no Database.pro yet
    QTest::addColumn<int>("tail");     // bytes of a torn record after the last whole one
    QTest::newRow("no archive yet") << qint64(-1) << 0;
    QTest::newRow("two cards") << qint64(2) << 0;
    QTest::newRow("two cards and a torn record") << qint64(2) << 100;
    // Past 2^31 bytes: the append offset must not overflow.
    QTest::newRow("a million cards") << qint64(1000000) << 0;
}

void TestFrmDatabase::saveAppends() {
    QFETCH(qint64, cards);
    QFETCH(int, tail);
    if (cards > 1000) {
        QFile big(archive()); // sparse: only its length matters here
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.resize(cards * kSize));
    } else if (cards >= 0) {
        QVERIFY(synthetic::writeDatabase(archive(), cards));
        QFile torn(archive());
        QVERIFY(torn.open(QIODevice::Append));
        torn.write(QByteArray(tail, 'Z'));
    }
    const qint64 count = qMax<qint64>(cards, 0);
    const QByteArray before =
        cards <= 1000 ? readFile(archive()).left(count * kSize) : QByteArray();

    present();
    QTest::keyClicks(w()->txtCampo[0], QStringLiteral("  Il nome della rosa  "));
    typeText(w()->txtCampo[1], QStringLiteral("Łódź"));
    QTest::keyClicks(w()->txtCliente, QStringLiteral("Anna Rossi"));
    QTest::keyClicks(w()->txtProvRes, QStringLiteral("rm"));
    QTest::mouseClick(w()->chkSegnala, Qt::LeftButton);
    // As the attachments window leaves them: names and descriptions of any length.
    w()->lblFile[0]->setText(QStringLiteral("contratto.pdf"));
    w()->lblDesc[0]->setText(QString(300, u'd'));
    QTest::mouseClick(w()->cmdSalva, Qt::LeftButton);

    QCOMPARE(QFileInfo(archive()).size(), (count + 1) * kSize);
    QCOMPARE(w()->lblPosizione->text(), QString::number(count + 1));
    QCOMPARE(m_desktop->messages.size(), 1);
    QCOMPARE(m_desktop->messages[0].kind, Kind::Information);
    QCOMPARE(m_desktop->messages[0].text, kCardInserted);
    QVERIFY(QFile::exists(file(QStringLiteral("%1.jpg").arg(count + 1))));

    using namespace DatabaseField;
    const QByteArray record = recordBytes(archive(), count);
    QCOMPARE(record.size(), kSize);
    QCOMPARE(field(record, Campo01).left(19), stored("Il nome della rosa"));
    QCOMPARE(field(record, Campo02).left(5), stored("?\xF3"
                                                    "d?"));
    QCOMPARE(field(record, Campo03).left(1), QByteArray(1, '\0'));
    QCOMPARE(field(record, Cliente).left(11), stored("Anna Rossi"));
    QCOMPARE(field(record, ProvRes), stored("RM"));
    QCOMPARE(record.mid(1801, 3), QByteArray("\x02S\xEC", 3));
    QCOMPARE(field(record, File01).left(14), stored("contratto.pdf"));
    QCOMPARE(field(record, Desc01), char(250) + QByteArray(250, 'd'));
    if (cards <= 1000)
        QCOMPARE(readFile(archive()).left(count * kSize), before);
}

void TestFrmDatabase::saveOverwritesTheShownCard() {
    using namespace DatabaseField;
    QVERIFY(synthetic::writeDatabase(archive(), 5));
    const QByteArray before = readFile(archive());
    present();
    showStored(2);
    const bool flagged = w()->chkSegnala->isChecked();
    w()->txtCampo[2]->selectAll();
    QTest::keyClicks(w()->txtCampo[2], QStringLiteral("Nuovo testo"));
    QTest::mouseClick(w()->chkSegnala, Qt::LeftButton);
    QTest::mouseClick(w()->cmdSalva, Qt::LeftButton);

    const QByteArray after = readFile(archive());
    QCOMPARE(after.size(), 5 * kSize);
    QCOMPARE(after.left(kSize), before.left(kSize));
    QCOMPARE(after.mid(2 * kSize), before.mid(2 * kSize));
    const QByteArray record = after.mid(kSize, kSize);
    QCOMPARE(field(record, Campo03).left(12), stored("Nuovo testo"));
    QCOMPARE(field(record, Campo01), field(before.mid(kSize, kSize), Campo01));
    QCOMPARE(field(record, Segnala), flagged ? QByteArray("\x02No") : QByteArray("\x02S\xEC", 3));
    QCOMPARE(w()->lblPosizione->text(), QStringLiteral("2"));
    QCOMPARE(m_desktop->lastMessage(), kCardUpdated);

    // A new card saved twice is one record: the second save updates it.
    QTest::mouseClick(w()->cmdNuovo, Qt::LeftButton);
    fillNewCard();
    QTest::mouseClick(w()->cmdSalva, Qt::LeftButton);
    QCOMPARE(m_desktop->lastMessage(), kCardInserted);
    QTest::keyClicks(w()->txtCampo[1], QStringLiteral("aggiunto"));
    QTest::mouseClick(w()->cmdSalva, Qt::LeftButton);
    QCOMPARE(m_desktop->lastMessage(), kCardUpdated);
    QCOMPARE(QFileInfo(archive()).size(), 6 * kSize);
    QCOMPARE(w()->lblPosizione->text(), QStringLiteral("6"));
    QCOMPARE(field(recordBytes(archive(), 5), Campo02).left(9), stored("aggiunto"));
}

void TestFrmDatabase::mandatoryFields_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("client");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("both blank: first field only") << ""
                                                  << "" << kFirstFieldMissing << "txtCampo01";
    QTest::newRow("first field of blanks") << "   "
                                           << "Anna" << kFirstFieldMissing << "txtCampo01";
    QTest::newRow("contact name blank") << "Titolo"
                                        << " \t" << kClientMissing << "txtCliente";
}

void TestFrmDatabase::mandatoryFields() {
    QFETCH(QString, first);
    QFETCH(QString, client);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    present(true);
    w()->txtCampo[0]->setText(first);
    w()->txtCliente->setText(client);
    w()->txtCampo[4]->setFocus();
    QTest::mouseClick(w()->cmdSalva, Qt::LeftButton);
    QCOMPARE(m_desktop->messages.size(), 1);
    QCOMPARE(m_desktop->messages[0].kind, Kind::Warning);
    QCOMPARE(m_desktop->messages[0].text, message);
    QTRY_COMPARE(QApplication::focusWidget()->objectName(), focus);
    QVERIFY(!QFile::exists(archive()));
    QCOMPARE(w()->lblPosizione->text(), QString());
}

void TestFrmDatabase::failuresShowTheAccessError_data() {
    // Every step of the card archive on a failing archive is tested in
    // tst_cardarchive; these rows check the workspace keeps its card.
    QTest::addColumn<QString>("broken"); // "folder": Database.pro is a folder; "full": a full disk
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("positionAfter");
    QTest::newRow("save stored card, archive unreadable") << "folder"
                                                          << "cmdSalva" << 3 << "3";
    QTest::newRow("save new card, disk full") << "full"
                                              << "cmdSalva" << 0 << "";
    QTest::newRow("next") << "folder"
                          << "cmdAvanti" << 0 << "";
    QTest::newRow("duplicate") << "folder"
                               << "cmdDuplica" << 3 << "";
}

void TestFrmDatabase::failuresShowTheAccessError() {
    QFETCH(QString, broken);
    QFETCH(QString, button);
    QFETCH(int, shown);
    QFETCH(QString, positionAfter);
    if (broken == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(archive()));
    else
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), archive()));
    present();
    if (shown)
        w()->ShowCard(synthetic::databaseCard(uint64_t(shown - 1)), shown);
    else
        fillNewCard();

    QTest::mouseClick(w()->findChild<QToolButton *>(button), Qt::LeftButton);

    QCOMPARE(m_desktop->messages.size(), 1);
    QCOMPARE(m_desktop->messages[0].kind, Kind::Error);
    QCOMPARE(m_desktop->messages[0].text, kAccessError);
    QCOMPARE(w()->lblPosizione->text(), positionAfter);
    QVERIFY(QDir(m_dir->path()).entryList({QStringLiteral("*.jpg")}).isEmpty());
}

void TestFrmDatabase::duplicateAndSaveAsNewCard() {
    using namespace DatabaseField;
    QVERIFY(synthetic::writeDatabase(archive(), 7));
    {
        DatabaseRecord card = synthetic::databaseCard(3);
        card.setText(File01, QStringLiteral("contratto.pdf"));
        card.setText(Desc01, QStringLiteral("Contratto firmato"));
        DatabaseFile records;
        records.openOrCreate(m_forms->folder);
        records.seek(3);
        records.write(card);
    }
    QVERIFY(filled(QSize(100, 50), Qt::red).save(file(QStringLiteral("4.jpg")), "JPG"));
    const QByteArray card4 = recordBytes(archive(), 3);
    const QByteArray photo4 = readFile(file(QStringLiteral("4.jpg")));

    present(true);
    QTest::mouseClick(w()->cmdUltimo, Qt::LeftButton);
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(w()->cmdIndietro, Qt::LeftButton);
    QCOMPARE(w()->lblPosizione->text(), QStringLiteral("4"));
    QCOMPARE(w()->lblFile[0]->text(), QStringLiteral("contratto.pdf"));
    QCOMPARE(w()->imgFoto->picture().size(), QSize(100, 50));

    w()->txtCampo[8]->setFocus();
    QTest::mouseClick(w()->cmdDuplica, Qt::LeftButton);
    QCOMPARE(m_desktop->messages.size(), 1);
    QCOMPARE(m_desktop->messages[0].kind, Kind::Information);
    QCOMPARE(m_desktop->messages[0].text, kDuplicated);
    QCOMPARE(w()->lblPosizione->text(), QString());
    QCOMPARE(w()->lblFile[0]->text(), QString());
    QCOMPARE(w()->lblDesc[0]->text(), QString());
    QCOMPARE(w()->imgFoto->picture(), w()->imgBianco->picture());
    QCOMPARE(w()->txtCampo[0]->text(), synthetic::databaseCard(3).text(Campo01));
    QTRY_VERIFY(w()->txtCampo[0]->hasFocus());

    QTest::mouseClick(w()->cmdSalva, Qt::LeftButton);
    QCOMPARE(m_desktop->lastMessage(), kCardInserted);
    QCOMPARE(w()->lblPosizione->text(), QStringLiteral("8"));
    QCOMPARE(QFileInfo(archive()).size(), 8 * kSize);
    const QByteArray card8 = recordBytes(archive(), 7);
    for (int f = 0; f < Count; ++f) {
        if (f >= File01)
            QCOMPARE(field(card8, f).at(0), '\0');
        else
            QCOMPARE(field(card8, f), field(card4, f));
    }
    QCOMPARE(recordBytes(archive(), 3), card4);
    QCOMPARE(readFile(file(QStringLiteral("4.jpg"))), photo4);
    QCOMPARE(QImageReader(file(QStringLiteral("8.jpg"))).size(), QSize(230, 307));

    // A card not yet stored cannot be duplicated.
    QTest::mouseClick(w()->cmdNuovo, Qt::LeftButton);
    QTest::keyClicks(w()->txtCampo[0], QStringLiteral("bozza"));
    QTest::mouseClick(w()->cmdDuplica, Qt::LeftButton);
    QCOMPARE(m_desktop->messages.last().kind, Kind::Warning);
    QCOMPARE(m_desktop->lastMessage(), kDuplicateNewCard);
    QCOMPARE(w()->txtCampo[0]->text(), QStringLiteral("bozza"));
}

void TestFrmDatabase::photoWrittenOnSave_data() {
    QTest::addColumn<QStringList>("chosen"); // one per press of "Carica foto"; "" cancels
    QTest::addColumn<bool>("erase");
    QTest::addColumn<QSize>("written");
    QTest::addColumn<bool>("defaultPhoto");
    const QSize standard(230, 307);
    QTest::newRow("bitmap stored as JPEG at its own size")
        << QStringList{"pic.bmp"} << false << QSize(640, 480) << false;
    QTest::newRow("cancelled chooser keeps the picture")
        << QStringList{"pic.jpg", ""} << false << QSize(300, 200) << false;
    QTest::newRow("not a picture: default photo")
        << QStringList{"finto.jpg"} << false << standard << true;
    QTest::newRow("eraser: default photo") << QStringList{"pic.bmp"} << true << standard << true;
    QTest::newRow("no photo: default photo") << QStringList{} << false << standard << true;
}

void TestFrmDatabase::photoWrittenOnSave() {
    QFETCH(QStringList, chosen);
    QFETCH(bool, erase);
    QFETCH(QSize, written);
    QFETCH(bool, defaultPhoto);
    QVERIFY(QDir().mkpath(file(QStringLiteral("foto"))));
    QVERIFY(filled(QSize(640, 480), Qt::blue).save(file(QStringLiteral("foto/pic.bmp")), "BMP"));
    QVERIFY(filled(QSize(300, 200), Qt::green).save(file(QStringLiteral("foto/pic.jpg")), "JPG"));
    QFile fake(file(QStringLiteral("foto/finto.jpg")));
    QVERIFY(fake.open(QIODevice::WriteOnly));
    fake.write("non sono una foto");
    fake.close();

    present();
    fillNewCard();
    for (const QString &name : chosen) {
        m_desktop->fileNames.enqueue(name.isEmpty() ? name : file(QStringLiteral("foto/") + name));
        QTest::mouseClick(w()->btnSfoglia, Qt::LeftButton);
    }
    if (erase)
        QTest::mouseClick(w()->btnCancFoto, Qt::LeftButton);
    if (defaultPhoto)
        QCOMPARE(w()->imgFoto->picture(), w()->imgBianco->picture());
    QTest::mouseClick(w()->cmdSalva, Qt::LeftButton);

    QCOMPARE(m_desktop->messages.size(), 1);
    QCOMPARE(m_desktop->lastMessage(), kCardInserted);
    QImageReader reader(file(QStringLiteral("1.jpg")));
    reader.setDecideFormatFromContent(true);
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    QCOMPARE(reader.size(), written);
    QCOMPARE(m_desktop->fileRequests.size(), chosen.size());
    if (!chosen.isEmpty()) {
        QCOMPARE(m_desktop->fileRequests[0].title,
                 QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap."));
        QVERIFY(m_desktop->fileRequests[0].filter.contains(QStringLiteral("*.jpeg")));
        QVERIFY(m_desktop->fileRequests[0].filter.contains(QStringLiteral("*.bmp")));
    }
}

void TestFrmDatabase::photoOfTheShownCard_data() {
    QTest::addColumn<QByteArray>("content"); // of 2.jpg; empty: no file
    QTest::addColumn<QSize>("shown");
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    filled(QSize(50, 80), Qt::red).save(&buffer, "JPG");
    QTest::newRow("its photo file") << jpeg << QSize(50, 80);
    QTest::newRow("no photo file") << QByteArray() << QSize(230, 307);
    QTest::newRow("not a picture") << QByteArray("testo") << QSize(230, 307);
}

void TestFrmDatabase::photoOfTheShownCard() {
    QFETCH(QByteArray, content);
    QFETCH(QSize, shown);
    QVERIFY(synthetic::writeDatabase(archive(), 2));
    if (!content.isEmpty()) {
        QFile photo(file(QStringLiteral("2.jpg")));
        QVERIFY(photo.open(QIODevice::WriteOnly));
        photo.write(content);
    }
    present();
    w()->imgFoto->setPicture(filled(QSize(10, 10), Qt::black)); // from an earlier card
    QTest::mouseClick(w()->cmdUltimo, Qt::LeftButton);
    QCOMPARE(w()->imgFoto->picture().size(), shown);
    if (shown == QSize(230, 307))
        QCOMPARE(w()->imgFoto->picture(), w()->imgBianco->picture());
    QVERIFY(m_desktop->messages.isEmpty());
}

// When the photo file cannot be written the card is still stored, and the
// user is told that its photo is not.
void TestFrmDatabase::photoWriteFailureIsReported() {
    QVERIFY(synthetic::writeDatabase(archive(), 2));
    QVERIFY(QDir().mkpath(file(QStringLiteral("3.jpg"))));
    QVERIFY(filled(QSize(64, 48), Qt::blue).save(file(QStringLiteral("pic.bmp")), "BMP"));
    present();
    fillNewCard();
    m_desktop->fileNames.enqueue(file(QStringLiteral("pic.bmp")));
    QTest::mouseClick(w()->btnSfoglia, Qt::LeftButton);
    QTest::mouseClick(w()->cmdSalva, Qt::LeftButton);

    QCOMPARE(QFileInfo(archive()).size(), 3 * kSize);
    QCOMPARE(field(recordBytes(archive(), 2), DatabaseField::Campo01).left(19),
             stored("Il nome della rosa"));
    QCOMPARE(w()->lblPosizione->text(), QStringLiteral("3"));
    QCOMPARE(m_desktop->messages.size(), 1);
    QCOMPARE(m_desktop->messages[0].kind, Kind::Warning);
    QCOMPARE(m_desktop->messages[0].text,
             QStringLiteral("Attenzione: i dati della scheda sono stati salvati in archivio, ma "
                            "non è stato possibile salvare la foto.\n\r\n\rAccertarsi di possedere "
                            "i privilegi di scrittura nella cartella di installazione del "
                            "programma."));
    // The picture stays on screen, so a later save can still store it.
    QCOMPARE(w()->imgFoto->picture().size(), QSize(64, 48));

    QVERIFY(QDir(file(QStringLiteral("3.jpg"))).removeRecursively());
    QTest::mouseClick(w()->cmdSalva, Qt::LeftButton);
    QCOMPARE(m_desktop->lastMessage(), kCardUpdated);
    QCOMPARE(QFileInfo(archive()).size(), 3 * kSize);
    QCOMPARE(QImageReader(file(QStringLiteral("3.jpg"))).size(), QSize(64, 48));
}

void TestFrmDatabase::zoomShowsThePictureOnScreen() {
    const QImage picture = filled(QSize(120, 90), Qt::magenta);
    QVERIFY(picture.save(file(QStringLiteral("pic.bmp")), "BMP"));
    present();
    m_desktop->fileNames.enqueue(file(QStringLiteral("pic.bmp")));
    QTest::mouseClick(w()->btnSfoglia, Qt::LeftButton);
    QImage zoomed;
    QWidget *owner = nullptr;
    m_desktop->onModal = [&](QDialog &dialog) {
        auto &zoom = dynamic_cast<TfrmZoom &>(dialog);
        zoomed = zoom.imgFoto->picture();
        owner = zoom.parentWidget();
    };
    QTest::mouseClick(w()->btnZoom, Qt::LeftButton);
    QCOMPARE(m_desktop->modalDialogs, QStringList{QStringLiteral("TfrmZoom")});
    QCOMPARE(owner, w());
    QCOMPARE(zoomed.size(), picture.size());
    QCOMPARE(QColor(zoomed.pixel(5, 5)), QColor(Qt::magenta));
}

void TestFrmDatabase::typingRules_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");
    QTest::newRow("province in capitals") << "txtProvRes"
                                          << "rm"
                                          << "RM";
    QTest::newRow("province keeps accented letters") << "txtProvRes"
                                                     << "èr"
                                                     << "èR";
    QTest::newRow("province drops blanks") << "txtProvRes"
                                           << " r"
                                           << "R";
    QTest::newRow("fiscal code in capitals") << "txtCodFisc"
                                             << " rssmra80a01h501u"
                                             << "RSSMRA80A01H501U";
    QTest::newRow("fiscal code keeps accented letters") << "txtCodFisc"
                                                        << "àb1"
                                                        << "àB1";
    QTest::newRow("e-mail loses outer blanks") << "txtEmail"
                                               << "  anna@esempio.it  "
                                               << "anna@esempio.it";
    QTest::newRow("VAT number takes digits only") << "txtPartitaIva"
                                                  << "12ab-34 5,6"
                                                  << "123456";
    QTest::newRow("VAT number of eleven digits at most") << "txtPartitaIva"
                                                         << "123456789012345"
                                                         << "12345678901";
}

void TestFrmDatabase::typingRules() {
    QFETCH(QString, box);
    QFETCH(QString, keys);
    QFETCH(QString, expected);
    present();
    QWidget *target = w()->findChild<QWidget *>(box);
    QVERIFY(target);
    typeText(target, keys);
    if (auto *combo = qobject_cast<QComboBox *>(target))
        QCOMPARE(combo->currentText(), expected);
    else
        QCOMPARE(qobject_cast<QLineEdit *>(target)->text(), expected);
}

void TestFrmDatabase::vatNumberEditingKeys() {
    present(true);
    QLineEdit *box = w()->txtPartitaIva;
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("1234"));
    QTest::keyClick(box, Qt::Key_Left);
    QTest::keyClick(box, Qt::Key_Left);
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), QStringLiteral("134"));
    QTest::keyClick(box, Qt::Key_Delete);
    QCOMPARE(box->text(), QStringLiteral("14"));
    QTest::keyClick(box, Qt::Key_Home); // not an editing key here: discarded
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClicks(box, QStringLiteral("9"));
    QCOMPARE(box->text(), QStringLiteral("194"));
    QTest::keyClick(box, Qt::Key_Right);
    QTest::keyClicks(box, QStringLiteral("0"));
    QCOMPARE(box->text(), QStringLiteral("1940"));
    QTest::keyClick(box, Qt::Key_Return);
    QTRY_VERIFY(w()->txtCampo[0]->hasFocus());
    QCOMPARE(box->text(), QStringLiteral("1940"));
}

void TestFrmDatabase::provinceList() {
    const QStringList &codes = ProvinceBox::codes();
    QCOMPARE(codes.size(), 112);
    QCOMPARE(codes.first(), QStringLiteral("AG"));
    QCOMPARE(codes.last(), QStringLiteral("VV"));
    QCOMPARE(QSet<QString>(codes.begin(), codes.end()).size(), 112);
    QVERIFY(std::is_sorted(codes.begin(), codes.end()));

    present(true);
    QComboBox *box = w()->txtProvRes;
    QCOMPARE(box->count(), 112);
    QCOMPARE(box->itemText(0), QStringLiteral("AG"));
    QCOMPARE(box->currentIndex(), -1);
    box->setCurrentIndex(int(codes.indexOf(QStringLiteral("RM"))));
    QCOMPARE(box->currentText(), QStringLiteral("RM"));
    // Coming back into the box clears the list selection and keeps the text.
    w()->txtCampo[0]->setFocus();
    QTRY_VERIFY(w()->txtCampo[0]->hasFocus());
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    QCOMPARE(box->currentIndex(), -1);
    QCOMPARE(box->currentText(), QStringLiteral("RM"));

    // Leaving the box puts a text written into it (as an import does) in capitals.
    box->setEditText(QStringLiteral("mi"));
    w()->txtEmail->setFocus();
    QTRY_VERIFY(w()->txtEmail->hasFocus());
    QCOMPARE(box->currentText(), QStringLiteral("MI"));
    // The e-mail box loses its outer blanks on leaving too.
    w()->txtEmail->setText(QStringLiteral(" anna@esempio.it "));
    w()->txtRecapito->setFocus();
    QTRY_VERIFY(w()->txtRecapito->hasFocus());
    QCOMPARE(w()->txtEmail->text(), QStringLiteral("anna@esempio.it"));
}

void TestFrmDatabase::enterChainAndTabOrder() {
    present(true);
    QStringList chain;
    for (int i = 1; i <= 14; ++i)
        chain << QStringLiteral("txtCampo%1").arg(i, 2, 10, QChar(u'0'));
    chain << "txtCliente"
          << "txtIndirizzoRes"
          << "txtComuneRes"
          << "txtProvRes"
          << "txtEmail"
          << "txtRecapito"
          << "txtCodFisc"
          << "txtPartitaIva"
          << "txtCampo01";
    w()->txtCampo[0]->setFocus();
    for (const QString &name : chain) {
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), name);
        const auto *frame = w()->findChild<QFrame *>(QStringLiteral("eff") + name.mid(3));
        QVERIFY2(frame && frame->isVisible(), qPrintable(name));
        const auto frames = w()->findChildren<QFrame *>(QRegularExpression(QStringLiteral("^eff")));
        QCOMPARE(
            std::count_if(frames.begin(), frames.end(), [](QFrame *f) { return f->isVisible(); }),
            1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

    const QList<QPair<QWidget *, QString>> tabs = {{w()->txtCampo[13], "chkSegnala"},
                                                   {w()->chkSegnala, "txtCliente"},
                                                   {w()->txtPartitaIva, "btnSfoglia"},
                                                   {w()->btnPartitaIva, "cmdNuovo"},
                                                   {w()->cmdEsci, "txtCampo01"}};
    for (const auto &[from, next] : tabs) {
        from->setFocus();
        QTRY_VERIFY(from->hasFocus());
        QTest::keyClick(from, Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), next);
    }
}

void TestFrmDatabase::checkButtons_data() {
    QTest::addColumn<QString>("typedCode");
    QTest::addColumn<QString>("vat");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("handed");
    QTest::newRow("fiscal code") << "rssmra80a01h501u"
                                 << ""
                                 << "btnCodFisc"
                                 << "TfrmCodFisc"
                                 << "txtCodFisc"
                                 << "RSSMRA80A01H501U";
    QTest::newRow("fiscal code of digits: VAT check") << "12345678903"
                                                      << ""
                                                      << "btnCodFisc"
                                                      << "TfrmPartitaIva"
                                                      << "txtPartitaIva"
                                                      << "12345678903";
    QTest::newRow("empty fiscal code") << ""
                                       << ""
                                       << "btnCodFisc"
                                       << "TfrmCodFisc"
                                       << "txtCodFisc"
                                       << "";
    QTest::newRow("VAT number") << ""
                                << "01234567897"
                                << "btnPartitaIva"
                                << "TfrmPartitaIva"
                                << "txtPartitaIva"
                                << "01234567897";
}

void TestFrmDatabase::checkButtons() {
    QFETCH(QString, typedCode);
    QFETCH(QString, vat);
    QFETCH(QString, button);
    QFETCH(QString, dialog);
    QFETCH(QString, box);
    QFETCH(QString, handed);
    present();
    typeText(w()->txtCodFisc, typedCode);
    w()->txtPartitaIva->setText(vat);
    QString seen;
    QWidget *owner = nullptr;
    m_desktop->onModal = [&](QDialog &d) {
        owner = d.parentWidget();
        if (auto *b = d.findChild<QLineEdit *>(box))
            seen = b->text();
    };
    QTest::mouseClick(w()->findChild<QToolButton *>(button), Qt::LeftButton);
    QCOMPARE(m_desktop->modalDialogs, QStringList{dialog});
    QCOMPARE(owner, w());
    QCOMPARE(seen, handed);
    QCOMPARE(w()->txtCodFisc->text(), text::toUpperAscii(typedCode));
    QCOMPARE(w()->txtPartitaIva->text(), vat);
}

void TestFrmDatabase::mailButton_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("url");
    QTest::newRow("blanks around") << "  anna.rossi@esempio.it "
                                   << "mailto:anna.rossi@esempio.it";
    QTest::newRow("empty: no recipient") << ""
                                         << "mailto:";
}

void TestFrmDatabase::mailButton() {
    QFETCH(QString, address);
    QFETCH(QString, url);
    present();
    w()->txtEmail->setText(address);
    QTest::mouseClick(w()->sndMail, Qt::LeftButton);
    QCOMPARE(m_desktop->opened.size(), 1);
    QCOMPARE(m_desktop->opened[0].toString(), url);
}

void TestFrmDatabase::attachmentsAndCardFolder() {
    present();
    QTest::mouseClick(w()->cmdCartella, Qt::LeftButton);
    QCOMPARE(m_desktop->messages.size(), 1);
    QCOMPARE(m_desktop->messages[0].kind, Kind::Warning);
    QCOMPARE(m_desktop->messages[0].text, kFolderNewCard);
    QVERIFY(m_desktop->modalDialogs.isEmpty());

    DatabaseRecord card = synthetic::databaseCard(11);
    card.setText(DatabaseField::File01, QStringLiteral("contratto.pdf"));
    w()->ShowCard(card, 12);
    QStringList memory, firstFile;
    m_desktop->onModal = [&](QDialog &d) {
        memory << d.findChild<QLabel *>(QStringLiteral("lblMemory"))->text();
        if (auto *box = d.findChild<QLineEdit *>(QStringLiteral("txtFile01")))
            firstFile << box->text();
    };
    QTest::mouseClick(w()->cmdCartella, Qt::LeftButton);
    QTest::mouseClick(w()->cmdFile, Qt::LeftButton);
    QCOMPARE(m_desktop->modalDialogs,
             (QStringList{QStringLiteral("TfrmCartella"), QStringLiteral("TfrmAllegaCartella")}));
    QCOMPARE(memory, (QStringList{QStringLiteral("12"), QStringLiteral("database")}));
    QCOMPARE(firstFile, QStringList{QStringLiteral("contratto.pdf")});
    QCOMPARE(m_desktop->messages.size(), 1);
}

void TestFrmDatabase::statusLineAndWorkingButtons() {
    for (QWidget *working :
         {static_cast<QWidget *>(w()->cmdNuovo), static_cast<QWidget *>(w()->cmdSalva),
          static_cast<QWidget *>(w()->cmdStampa), static_cast<QWidget *>(w()->cmdAnteprima),
          static_cast<QWidget *>(w()->cmdTrova), static_cast<QWidget *>(w()->cmdSegnalati),
          static_cast<QWidget *>(w()->cmdFile), static_cast<QWidget *>(w()->cmdCartella),
          static_cast<QWidget *>(w()->impCliente), static_cast<QWidget *>(w()->sndMail),
          static_cast<QWidget *>(w()->btnCodFisc), static_cast<QWidget *>(w()->cmdEsporta)})
        QVERIFY2(working->isEnabled(), qPrintable(working->objectName()));

    QCOMPARE(w()->panInfo->text(), QStringLiteral("Pronto per archiviare una nuova scheda..."));
    present();
    QTest::mouseMove(w()->cmdSalva);
    QTRY_COMPARE(w()->panInfo->text(), QStringLiteral("Salva la scheda corrente in archivio."));
    QTest::mouseMove(w()->cmdStampa);
    QTRY_COMPARE(w()->panInfo->text(), QStringLiteral("Stampa la scheda corrente."));
    QTest::mouseMove(w()->cmdTrova);
    QTRY_COMPARE(w()->panInfo->text(), QStringLiteral("Trova una scheda in archivio."));
    QTest::mouseMove(w()->cmdSegnalati);
    QTRY_COMPARE(w()->panInfo->text(),
                 QStringLiteral("Visualizza il riepilogo dei record segnalati."));
    QTest::mouseMove(w()->impCliente);
    QTRY_COMPARE(w()->panInfo->text(),
                 QStringLiteral("Importa i dati dall'archivio anagrafico dei Clienti."));
    QTest::mouseMove(w()->btnZoom);
    QTRY_COMPARE(w()->panInfo->text(), QStringLiteral("Visualizza la foto a tutto schermo."));
    QTest::mouseMove(w()->findChild<QWidget *>(QStringLiteral("shpScheda")), QPoint(4, 4));
    QTRY_COMPARE(w()->panInfo->text(), QString());
    QTest::mouseMove(w()->btnCancFoto);
    QTRY_COMPARE(w()->panInfo->text(), QStringLiteral("Cancella la foto."));
    QTest::mouseMove(w()->imgFoto);
    QTRY_COMPARE(w()->panInfo->text(), QString());

    // Every picture of the workspace tells its meaning in a tooltip as well.
    QCOMPARE(w()->cmdSalva->toolTip(),
             QStringLiteral("Salva la scheda corrente in archivio. (Ctrl+S)"));
    for (const QWidget *picture : w()->findChildren<PictureButton *>())
        QVERIFY2(!picture->toolTip().isEmpty(), qPrintable(picture->objectName()));
}

// "Segnala" on its blue band, with the program's look: a white box that shows
// on the band, a dark tick when ticked, a yellow outline when it has the focus.
void TestFrmDatabase::flagReadsAtAGlance() {
    applyProgramLook();
    present(true);
    QCheckBox *flag = w()->chkSegnala;
    QStyleOptionButton option;
    option.initFrom(flag);
    option.text = flag->text();
    const QRect box = flag->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, flag);
    QVERIFY(box.width() >= 12 && box.height() >= 12);
    auto darkInBox = [&](const QImage &shown) {
        int dark = 0;
        for (int y = box.top() + 3; y <= box.bottom() - 3; ++y)
            for (int x = box.left() + 3; x <= box.right() - 3; ++x)
                dark += contrast(shown.pixelColor(x, y), Qt::white) >= 4.5;
        return dark;
    };

    // Seen on the band (the offscreen screen may be narrower than the window).
    auto *band = w()->findChild<QWidget *>(QStringLiteral("shpTitolo"));
    auto onBand = [&] { return onScreen(flag, band); };
    w()->txtCampo[0]->setFocus();
    QTRY_VERIFY(w()->txtCampo[0]->hasFocus());
    flag->setChecked(false);
    const QImage unticked = onBand();
    const QColor behind = unticked.pixelColor(0, flag->height() / 2);
    QVERIFY2(contrast(unticked.pixelColor(box.center()), behind) >= 3,
             qPrintable(unticked.pixelColor(box.center()).name() + " on " + behind.name()));
    flag->setChecked(true);
    const QImage ticked = onBand();
    QVERIFY2(darkInBox(ticked) >= darkInBox(unticked) + 15,
             qPrintable(QStringLiteral("%1 / %2").arg(darkInBox(ticked)).arg(darkInBox(unticked))));

    flag->setFocus();
    QTRY_VERIFY(flag->hasFocus());
    const QColor outline = onBand().pixelColor(0, flag->height() / 2);
    QVERIFY2(contrast(outline, behind) >= 3, qPrintable(outline.name() + " on " + behind.name()));
    qApp->setStyleSheet(QString());
}

void TestFrmDatabase::guide() {
    const GuideTopic topic = databaseGuide();
    QCOMPARE(topic.title, QStringLiteral("Gestione Database."));
    QCOMPARE(topic.paragraphs.size(), 14);
    present();
    QString title, shown;
    m_desktop->onModal = [&](QDialog &d) {
        auto &guide = dynamic_cast<TfrmGuida &>(d);
        title = guide.lblTitolo->text();
        shown = guide.txtGuida->toPlainText();
    };
    QTest::mouseClick(w()->cmdGuida, Qt::LeftButton);
    QCOMPARE(title, topic.title);
    QCOMPARE(shown, topic.paragraphs.join(QStringLiteral("\n\n")));
}

QTEST_MAIN(TestFrmDatabase)
#include "tst_frmdatabase.moc"
