#include "app/TfrmAvvio.h"
#include "app/TfrmGuida.h"
#include "clients/ClientsGuide.h"
#include "clients/TfrmClienti.h"
#include "dialogs/TfrmAllegaCartella.h"
#include "database/TfrmDatabase.h"
#include "kit/ProvinceBox.h"
#include "storage/ClientRecord.h"
#include "support/AppFixture.h"
#include "support/FullDisk.h"
#include "support/Typing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>
#include <memory>

namespace {

const QString kAccessError = QStringLiteral(
    "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere "
    "i privilegi di scrittura nella cartella di installazione del programma.");
const QString kEmptyArchive = QStringLiteral("L'archivio non contiene nessuna scheda.");
const QString kNameMissing = QStringLiteral(
    "Attenzione: per salvare la scheda è necessario indicare il nome del Cliente.");
const QString kCardUpdated =
    QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
const QString kCardInserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");
const QString kDuplicateNewCard = QStringLiteral(
    "Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che questa "
    "è stata inserita in archivio.");
const QString kDuplicated = QStringLiteral(
    "E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\rAl termine "
    "premere Salva per inserire la scheda in archivio.");

constexpr qint64 kSize = 3372;
constexpr int kRicontatta = 1863; // offset of the recontact flag in a record
const QByteArray kYes("\x02S\xEC", 3);
const QByteArray kNo("\x02No", 3);
using Kind = Desktop::Kind;

// Client n of a fixture archive (1-based): named after its position, with a
// note and an attachment, to be recontacted when n is odd.
ClientRecord fixtureClient(int n) {
    using namespace ClientField;
    ClientRecord record;
    record.setText(Cliente, QStringLiteral("Cliente %1").arg(n));
    record.setText(ComuneRes, QStringLiteral("Comune %1").arg(n));
    record.setText(Note, QStringLiteral("Nota %1").arg(n));
    record.setYesNo(Ricontatta, n % 2 == 1);
    record.setText(File01, QStringLiteral("allegato%1.pdf").arg(n));
    record.setText(Desc01, QStringLiteral("Descrizione %1").arg(n));
    return record;
}

QByteArray fixtureArchive(int count) {
    QByteArray bytes;
    for (int n = 1; n <= count; ++n)
        bytes += fixtureClient(n).bytes();
    return bytes;
}

// A short text field's bytes as stored: length byte, then the text.
QByteArray stored(const QByteArray &text) {
    return char(text.size()) + text;
}

// The bytes of field `f` of `record`, length byte included, `text` bytes long.
QByteArray field(const QByteArray &record, int f, int text) {
    return record.mid(clientLayout.fields[f].offset, 1 + text);
}

QByteArray recordAt(const QByteArray &archive, qint64 index) {
    return archive.mid(index * kSize, kSize);
}

} // namespace

class TestFrmClienti : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void boxesAndLabels();
    void showingAlwaysStartsANewCard();
    void navigation_data();
    void navigation();
    void showCardAndTheFlag();
    void saveAppends_data();
    void saveAppends();
    void saveOverwritesOnlyItsRecord();
    void nameIsRequired_data();
    void nameIsRequired();
    void failuresShowTheAccessError_data();
    void failuresShowTheAccessError();
    void fullDiskIsNeverASuccess();
    void duplicateTheLastCard();
    void typingRules_data();
    void typingRules();
    void enterChainAndTabOrder();
    void checkWindows_data();
    void checkWindows();
    void mailButton_data();
    void mailButton();
    void attachmentsComeBackHereOnly();
    void statusLineAndButtons();
    void guide();

  private:
    TfrmClienti *w() const { return m_app->windows->frmClienti; }
    FakeDesktop &desktop() const { return m_app->desktop; }
    QString archive() const { return m_app->path(QStringLiteral("Clienti.pro")); }
    QLineEdit *box(int f) const { return w()->txtField[f]; }
    void present(bool active = false);
    void showStored(int n);

    std::unique_ptr<AppFixture> m_app;
};

void TestFrmClienti::init() {
    m_app = std::make_unique<AppFixture>();
}

void TestFrmClienti::cleanup() {
    m_app.reset();
}

void TestFrmClienti::present(bool active) {
    w()->present();
    QVERIFY(QTest::qWaitForWindowExposed(w()));
    if (active)
        QVERIFY(QTest::qWaitForWindowActive(w()));
}

// Shows fixture client n as the search window would.
void TestFrmClienti::showStored(int n) {
    w()->ShowCard(fixtureClient(n), n);
}

void TestFrmClienti::boxesAndLabels() {
    struct Row {
        const char *box;
        const char *label;
        const char *caption;
        int width;
        int maxLength;
    };
    // In the order of the record's fields.
    const Row rows[] = {
        {"txtCliente", "lblCampo01", "Cognome e nome o ragione sociale:", 281, 50},
        {"txtDataNasc", "lblCampo27", "Data di nascita:", 113, 30},
        {"txtComuneNasc", "lblCampo29", "Comune di nascita:", 177, 50},
        {"txtProvNasc", "lblCampo28", "Prov.", 54, 2},
        {"txtSesso", "lblCampo02", "Sesso:", 57, 1},
        {"txtRecapito", "lblCampo03", "Recapito preferenziale:", 217, 50},
        {"txtIndirizzoRes", "lblCampo04", "Residente in Via / Piazza e numero civico:", 297, 50},
        {"txtProvRes", "lblCampo07", "Prov.", 54, 2},
        {"txtComuneRes", "lblCampo06", "Comune di residenza:", 209, 50},
        {"txtCapRes", "lblCampo05", "CAP:", 65, 5},
        {"txtEstremi", "lblCampo08", "Modalità di pagamento:", 361, 250},
        {"txtTelCasa", "lblCampo09", "Tel. casa:", 212, 30},
        {"txtTelUff", "lblCampo10", "Tel. ufficio:", 212, 30},
        {"txtTelCel", "lblCampo11", "Tel. cellulare:", 212, 30},
        {"txtFax", "lblCampo12", "Fax:", 212, 30},
        {"txtEmail", "lblCampo13", "E-mail:", 351, 50},
        {"txtCodFisc", "lblCampo14", "Codice fiscale:", 212, 16},
        {"txtCarta", "lblCampo15", "Carta di credito n.", 249, 30},
        {"txtScadeCarta", "lblCampo16", "Scadenza:", 105, 30},
        {"txtPartitaIva", "lblCampo17", "Partita IVA:", 212, 11},
        {"txtIban", "lblCampo18", "IBAN:", 361, 27},
        {"txtDocumento", "lblCampo19", "Estremi documento:", 212, 120},
        {"txtOccupazione", "lblCampo20", "Occupazione:", 212, 50},
        {"txtCivile", "lblCampo21", "Stato civile:", 210, 50},
        {"txtTitoli", "lblCampo22", "Titoli e qualifiche:", 212, 120},
        {"txtProdotti", "lblCampo23", "Prodotti o servizi di interesse:", 212, 120},
        {"txtZona", "lblCampo26", "Zona di appartenenza:", 210, 50},
        {"txtQuestioni", "lblCampo24", "Questioni in sospeso:", 488, 250},
        {"txtNote", "lblCampo25", "Note:", 647, 250},
    };
    QCOMPARE(int(std::size(rows)), TfrmClienti::kBoxes);
    for (int f = 0; f < TfrmClienti::kBoxes; ++f) {
        const Row &row = rows[f];
        const QString name = QLatin1String(row.box);
        QWidget *control = w()->findChild<QWidget *>(name);
        QVERIFY2(control, row.box);
        QCOMPARE(control->size(), QSize(row.width, 22));
        auto *combo = qobject_cast<QComboBox *>(control);
        QLineEdit *line = combo ? combo->lineEdit() : qobject_cast<QLineEdit *>(control);
        QCOMPARE(line, box(f)); // the box of the record's field f
        QCOMPARE(line->maxLength(), row.maxLength);
        const auto *label = w()->findChild<QLabel *>(QLatin1String(row.label));
        QVERIFY2(label, row.label);
        QCOMPARE(label->text(), QString::fromUtf8(row.caption));
        QCOMPARE(label->geometry().bottom() < control->y(), true);
        QVERIFY2(w()->findChild<QFrame *>(QStringLiteral("eff") + name.mid(3)), row.box);
    }
    QVERIFY(qobject_cast<ProvinceBox *>(w()->txtProvNasc));
    QCOMPARE(w()->txtProvRes->count(), 112);

    QStringList names = {"cmdNuovo",     "cmdDuplica",  "cmdFile",      "cmdSalva",
                         "cmdTrova",     "cmdAnteprima", "cmdStampa",   "cmdPDF",
                         "cmdRicontatta", "cmdEsporta", "cmdImporta",   "cmdGuida",     "cmdEsci",
                         "btnEmail",     "btnCodFisc",  "btnCarta",     "btnPartitaIva",
                         "btnIban",      "cmdPrimo",    "cmdIndietro",  "lblPosizione",
                         "cmdAvanti",    "cmdUltimo",   "chkRicontatta", "panInfo",
                         "panContainer", "shpContainer", "panControlli", "imgDecoro",
                         "shpInfo",      "shpFrecce",   "shpEmail",     "icoEmail"};
    for (int i = 1; i <= 5; ++i)
        names << QStringLiteral("shpSezione0%1").arg(i) << QStringLiteral("bkgSezione0%1").arg(i);
    for (int i = 1; i <= 3; ++i)
        names << QStringLiteral("lblFile0%1").arg(i) << QStringLiteral("lblDesc0%1").arg(i);
    for (const QString &name : names)
        QVERIFY2(w()->findChildren<QWidget *>(name).size() == 1, qPrintable(name));
    for (const QLabel *hidden : w()->lblFile)
        QVERIFY(hidden->isHidden());
    for (const QLabel *hidden : w()->lblDesc)
        QVERIFY(hidden->isHidden());

    // The command buttons show their captions, one under the other.
    const QStringList captions = {"Nuovo",     "Duplica",  "Allega file", "Salva",
                                  "Elimina / Cestino", "Trova", "Anteprima", "Stampa", "Crea PDF",
                                  "Da ricontattare", "Esporta archivio", "Importa / vCard", "Guida",
                                  "Esci"};
    const QList<QPushButton *> commands = {
        w()->cmdNuovo,   w()->cmdDuplica, w()->cmdFile,       w()->cmdSalva, w()->cmdElimina,
        w()->cmdTrova,   w()->cmdAnteprima, w()->cmdStampa,   w()->cmdPDF,
        w()->cmdRicontatta, w()->cmdEsporta, w()->cmdImporta, w()->cmdGuida,   w()->cmdEsci};
    for (int i = 0; i < commands.size(); ++i) {
        QCOMPARE(commands[i]->text(), captions[i]);
        QCOMPARE(commands[i]->size(), QSize(148, 31));
        QCOMPARE(commands[i]->mapTo(w()->panContainer, QPoint()), QPoint(814, 30 + 34 * i));
        QCOMPARE(commands[i]->cursor().shape(), Qt::PointingHandCursor);
    }
    QCOMPARE(w()->chkRicontatta->text(), QStringLiteral("Da ricontattare"));
    QCOMPARE(w()->panContainer->size(), QSize(995, 692));
    QCOMPARE(w()->windowTitle(), QStringLiteral(" Cartavera - Anagrafica Clienti"));
}

void TestFrmClienti::showingAlwaysStartsANewCard() {
    // The start screen's "Clienti" opens the workspace.
    m_app->windows->frmAvvio->present();
    QVERIFY(m_app->windows->frmAvvio->cmdClienti->isEnabled());
    m_app->windows->frmAvvio->cmdClienti->click();
    QCOMPARE(m_app->visibleWindows(), QStringList{QStringLiteral("frmClienti")});
    QVERIFY(QTest::qWaitForWindowActive(w()));
    QTRY_VERIFY(w()->txtCliente->hasFocus());
    QCOMPARE(w()->lblPosizione->text(), QString());
    QVERIFY(!m_app->exists(QStringLiteral("Clienti.pro"))); // showing does not touch it

    // A visit that shows a client, then "Esci" back to the start screen.
    showStored(3);
    w()->txtProvRes->setCurrentIndex(5);
    w()->panInfo->setText(QStringLiteral("ultimo testo"));
    QVERIFY(w()->chkRicontatta->isChecked());
    QTest::mouseClick(w()->cmdEsci, Qt::LeftButton); // the province changed: "No" discards it
    QCOMPARE(desktop().messages.size(), 1);
    QCOMPARE(desktop().messages[0].kind, Kind::SaveChanges);
    desktop().messages.clear();
    QCOMPARE(m_app->visibleWindows(), QStringList{QStringLiteral("frmAvvio")});

    // Back again: an empty new card; only the status line is as it was left.
    w()->present();
    for (QLineEdit *line : w()->txtField)
        QVERIFY2(line->text().isEmpty(), qPrintable(line->objectName()));
    QVERIFY(!w()->chkRicontatta->isChecked());
    QCOMPARE(w()->attachments(), Attachments());
    QCOMPARE(w()->txtProvRes->currentIndex(), -1);
    QCOMPARE(w()->lblPosizione->text(), QString());
    QCOMPARE(w()->panInfo->text(), QStringLiteral("ultimo testo"));
    QTRY_VERIFY(w()->txtCliente->hasFocus());

    // "Nuovo" clears the same way, without a question.
    showStored(1);
    w()->txtField[ClientField::Zona]->setFocus();
    QTest::mouseClick(w()->cmdNuovo, Qt::LeftButton);
    for (QLineEdit *line : w()->txtField)
        QVERIFY2(line->text().isEmpty(), qPrintable(line->objectName()));
    QVERIFY(!w()->chkRicontatta->isChecked());
    QCOMPARE(w()->attachments(), Attachments());
    QCOMPARE(w()->lblPosizione->text(), QString());
    QTRY_VERIFY(w()->txtCliente->hasFocus());
    QVERIFY(desktop().messages.isEmpty());
    QVERIFY(!m_app->exists(QStringLiteral("Clienti.pro")));
}

void TestFrmClienti::navigation_data() {
    // Where each arrow leads is the card archive's (tst_cardarchive); these
    // rows check that each button runs its arrow on this archive.
    QTest::addColumn<int>("cards"); // -1: no Clienti.pro at all
    QTest::addColumn<int>("shown"); // 0: a new card
    QTest::addColumn<QString>("arrow");
    QTest::addColumn<int>("expected"); // 0: still a new card
    QTest::addColumn<bool>("emptyMessage");

    QTest::newRow("no file: first creates it empty") << -1 << 0 << "cmdPrimo" << 0 << true;
    QTest::newRow("first") << 3 << 2 << "cmdPrimo" << 1 << false;
    QTest::newRow("next") << 3 << 1 << "cmdAvanti" << 2 << false;
    QTest::newRow("previous") << 3 << 3 << "cmdIndietro" << 2 << false;
}

void TestFrmClienti::navigation() {
    QFETCH(int, cards);
    QFETCH(int, shown);
    QFETCH(QString, arrow);
    QFETCH(int, expected);
    QFETCH(bool, emptyMessage);

    if (cards >= 0)
        QVERIFY(m_app->write(QStringLiteral("Clienti.pro"), fixtureArchive(cards)));
    present();
    if (shown > 0)
        showStored(shown);
    // Typing is discarded after the question, answered "No" (the fake's
    // default), when the arrow has a card to show.
    box(ClientField::Zona)->setText(QStringLiteral("non salvato"));

    QTest::mouseClick(w()->findChild<QToolButton *>(arrow), Qt::LeftButton);

    QCOMPARE(m_app->read(QStringLiteral("Clienti.pro")), fixtureArchive(qMax(cards, 0)));
    QCOMPARE(w()->lblPosizione->text(), expected ? QString::number(expected) : QString());
    if (expected) {
        QCOMPARE(w()->txtCliente->text(), QStringLiteral("Cliente %1").arg(expected));
        QCOMPARE(box(ClientField::Note)->text(), QStringLiteral("Nota %1").arg(expected));
        QCOMPARE(w()->lblFile[0]->text(), QStringLiteral("allegato%1.pdf").arg(expected));
        QCOMPARE(w()->chkRicontatta->isChecked(), expected % 2 == 1);
        if (expected != shown) // a card read again replaces what was typed
            QCOMPARE(box(ClientField::Zona)->text(), QString());
    }
    if (emptyMessage) {
        QCOMPARE(desktop().messages.size(), 1);
        QCOMPARE(desktop().messages[0].kind, Kind::Information);
        QCOMPARE(desktop().messages[0].text, kEmptyArchive);
    } else {
        QCOMPARE(desktop().messages.size(), 1);
        QCOMPARE(desktop().messages[0].kind, Kind::SaveChanges);
    }
}

void TestFrmClienti::showCardAndTheFlag() {
    using namespace ClientField;
    present();
    ClientRecord record;
    for (int f = 0; f < Count; ++f)
        record.setText(f, QStringLiteral(" %1 ").arg(QLatin1String(clientLayout.fields[f].name)));
    record.setText(ProvNasc, QStringLiteral("mi"));
    record.setYesNo(Ricontatta, true);
    // Blanks and control characters stored around a text are not shown.
    record.data()[clientLayout.fields[Zona].offset] = 8;
    memcpy(record.data() + clientLayout.fields[Zona].offset + 1, "\tZona \x01\r", 8);
    w()->ShowCard(record, 42);

    for (int f = 0; f < TfrmClienti::kBoxes; ++f) {
        // Cut to the field's capacity, as stored.
        const FieldSlot &layoutField = clientLayout.fields[f];
        if (f != ProvNasc)
            QCOMPARE(box(f)->text(), QLatin1String(layoutField.name).left(layoutField.capacity));
    }
    QCOMPARE(w()->txtProvNasc->currentText(), QStringLiteral("mi"));
    QCOMPARE(w()->txtProvNasc->currentIndex(), -1);
    QCOMPARE(w()->lblFile[2]->text(), QStringLiteral("File03"));
    QCOMPARE(w()->lblDesc[1]->text(), QStringLiteral("Desc02"));
    QCOMPARE(w()->lblPosizione->text(), QStringLiteral("42"));
    QVERIFY(w()->chkRicontatta->isChecked());

    // A flag that is neither "Sì" nor "No" leaves the box as it was.
    for (const char *other : {"", "SI", "sì"}) {
        record.setText(Ricontatta, QString::fromUtf8(other));
        w()->ShowCard(record, 43);
        QVERIFY2(w()->chkRicontatta->isChecked(), other);
    }
    record.setYesNo(Ricontatta, false);
    w()->ShowCard(record, 44);
    QVERIFY(!w()->chkRicontatta->isChecked());
    record.setText(Ricontatta, QString());
    w()->ShowCard(record, 45);
    QVERIFY(!w()->chkRicontatta->isChecked());
}

void TestFrmClienti::saveAppends_data() {
    QTest::addColumn<int>("cards"); // -1: no Clienti.pro yet
    QTest::addColumn<int>("tail");  // bytes of a torn record after the last whole one
    QTest::newRow("no archive yet") << -1 << 0;
    QTest::newRow("two clients") << 2 << 0;
    QTest::newRow("two clients and a torn record") << 2 << 1000;
}

void TestFrmClienti::saveAppends() {
    QFETCH(int, cards);
    QFETCH(int, tail);
    const int count = qMax(cards, 0);
    if (cards >= 0)
        QVERIFY(m_app->write(QStringLiteral("Clienti.pro"),
                             fixtureArchive(cards) + QByteArray(tail, 'Z')));

    using namespace ClientField;
    present();
    QTest::keyClicks(w()->txtCliente, QStringLiteral("  Anna Rossi  "));
    typeText(box(ComuneNasc), QStringLiteral("Łódź"));
    QTest::keyClicks(w()->txtSesso, QStringLiteral("f"));
    QTest::keyClicks(w()->txtProvRes, QStringLiteral("rm"));
    box(Estremi)->setText(QStringLiteral("Bonifico bancario a 30 giorni"));
    box(Note)->setText(QString(250, u'n')); // the box holds no more than the field
    QTest::mouseClick(w()->chkRicontatta, Qt::LeftButton);
    // As the attachments window leaves them: names and descriptions of any length.
    w()->lblFile[0]->setText(QStringLiteral("contratto.pdf"));
    w()->lblDesc[0]->setText(QString(300, u'd'));
    QTest::mouseClick(w()->cmdSalva, Qt::LeftButton);

    QCOMPARE(desktop().messages.size(), 1);
    QCOMPARE(desktop().messages[0].kind, Kind::Information);
    QCOMPARE(desktop().messages[0].text, kCardInserted);
    QCOMPARE(w()->lblPosizione->text(), QString::number(count + 1));
    // The box keeps what was typed; the record holds it trimmed.
    QCOMPARE(w()->txtCliente->text(), QStringLiteral("  Anna Rossi  "));

    const QByteArray after = m_app->read(QStringLiteral("Clienti.pro"));
    QCOMPARE(after.size(), (count + 1) * kSize);
    QCOMPARE(after.left(count * kSize), fixtureArchive(count));
    const QByteArray record = recordAt(after, count);
    QCOMPARE(record.left(11), stored("Anna Rossi"));
    QCOMPARE(field(record, ComuneNasc, 4), stored("?\xF3" "d?"));
    QCOMPARE(field(record, Sesso, 1), stored("F"));
    QCOMPARE(field(record, ProvRes, 2), stored("RM"));
    QCOMPARE(field(record, Estremi, 29), stored("Bonifico bancario a 30 giorni"));
    QCOMPARE(field(record, DataNasc, 0), QByteArray(1, '\0'));
    QCOMPARE(record.mid(1612, 251), char(250) + QByteArray(250, 'n'));
    QCOMPARE(record.mid(kRicontatta, 3), kYes);
    QCOMPARE(field(record, File01, 13), stored("contratto.pdf"));
    QCOMPARE(field(record, Desc01, 250), char(250) + QByteArray(250, 'd'));
    QCOMPARE(field(record, File02, 0), QByteArray(1, '\0'));

    // A second "Salva" stores the same card again, not a new one.
    QTest::mouseClick(w()->chkRicontatta, Qt::LeftButton);
    QTest::mouseClick(w()->cmdSalva, Qt::LeftButton);
    QCOMPARE(desktop().lastMessage(), kCardUpdated);
    const QByteArray again = m_app->read(QStringLiteral("Clienti.pro"));
    QCOMPARE(again.size(), (count + 1) * kSize);
    QCOMPARE(recordAt(again, count).mid(kRicontatta, 3), kNo);
    QCOMPARE(w()->lblPosizione->text(), QString::number(count + 1));
}

void TestFrmClienti::saveOverwritesOnlyItsRecord() {
    QVERIFY(m_app->write(QStringLiteral("Clienti.pro"), fixtureArchive(5)));
    const QByteArray before = fixtureArchive(5);
    present();
    QTest::mouseClick(w()->cmdPrimo, Qt::LeftButton);
    QTest::mouseClick(w()->cmdAvanti, Qt::LeftButton);
    QCOMPARE(w()->lblPosizione->text(), QStringLiteral("2"));
    QVERIFY(!w()->chkRicontatta->isChecked());
    box(ClientField::Zona)->setText(QStringLiteral("Nord-Est"));
    QTest::mouseClick(w()->chkRicontatta, Qt::LeftButton);
    QTest::mouseClick(w()->cmdSalva, Qt::LeftButton);

    QCOMPARE(desktop().messages.size(), 1);
    QCOMPARE(desktop().messages[0].kind, Kind::Information);
    QCOMPARE(desktop().messages[0].text, kCardUpdated);
    QCOMPARE(w()->lblPosizione->text(), QStringLiteral("2"));
    const QByteArray after = m_app->read(QStringLiteral("Clienti.pro"));
    QCOMPARE(after.size(), 5 * kSize);
    QCOMPARE(after.left(kSize), before.left(kSize));
    QCOMPARE(after.mid(2 * kSize), before.mid(2 * kSize));
    ClientRecord expected = fixtureClient(2);
    expected.setText(ClientField::Zona, QStringLiteral("Nord-Est"));
    expected.setYesNo(ClientField::Ricontatta, true);
    QCOMPARE(recordAt(after, 1), expected.bytes());
}

void TestFrmClienti::nameIsRequired_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("position");
    QTest::newRow("new card, empty name") << ""
                                          << "";
    QTest::newRow("new card, blanks only") << "   \t"
                                           << "";
    QTest::newRow("stored card, name erased") << ""
                                              << "1";
}

void TestFrmClienti::nameIsRequired() {
    QFETCH(QString, name);
    QFETCH(QString, position);
    present(true);
    w()->txtCliente->setText(name);
    w()->lblPosizione->setText(position);
    box(ClientField::Note)->setText(QStringLiteral("qualcosa"));
    box(ClientField::Note)->setFocus();
    QTest::mouseClick(w()->cmdSalva, Qt::LeftButton);
    QCOMPARE(desktop().messages.size(), 1);
    QCOMPARE(desktop().messages[0].kind, Kind::Warning);
    QCOMPARE(desktop().messages[0].text, kNameMissing);
    QTRY_VERIFY(w()->txtCliente->hasFocus());
    QVERIFY(!m_app->exists(QStringLiteral("Clienti.pro")));
    QCOMPARE(w()->lblPosizione->text(), position);
}

void TestFrmClienti::failuresShowTheAccessError_data() {
    // Every step of the card archive on a failing archive is tested in
    // tst_cardarchive; these rows check the workspace keeps its card.
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("positionAfter");
    QTest::newRow("save a new card") << "cmdSalva" << 0 << "";
    QTest::newRow("next") << "cmdAvanti" << 0 << "";
    // The card has already become a new card when the archive fails.
    QTest::newRow("duplicate") << "cmdDuplica" << 3 << "";
}

void TestFrmClienti::failuresShowTheAccessError() {
    QFETCH(QString, button);
    QFETCH(int, shown);
    QFETCH(QString, positionAfter);
    QVERIFY(QDir().mkpath(archive())); // Clienti.pro is a folder
    present();
    if (shown)
        showStored(shown);
    else
        w()->txtCliente->setText(QStringLiteral("Anna Rossi"));

    QTest::mouseClick(w()->findChild<QAbstractButton *>(button), Qt::LeftButton);

    QCOMPARE(desktop().messages.size(), 1);
    QCOMPARE(desktop().messages[0].kind, Kind::Error);
    QCOMPARE(desktop().messages[0].text, kAccessError);
    QCOMPARE(w()->lblPosizione->text(), positionAfter);
    // The card stays in the controls, so the user can try again.
    QCOMPARE(w()->txtCliente->text(),
             shown ? QStringLiteral("Cliente %1").arg(shown) : QStringLiteral("Anna Rossi"));
    QVERIFY(QFileInfo(archive()).isDir());
}

// A record that does not fit on the disk is never reported as stored, and
// the clients already in the archive stay as they were.
void TestFrmClienti::fullDiskIsNeverASuccess() {
    m_app.reset();
    FullDisk disk;
    REQUIRE_MOUNTED(disk);
    m_app = std::make_unique<AppFixture>(disk.filePath(QStringLiteral("Schede Città")));
    QVERIFY(m_app->write(QStringLiteral("Clienti.pro"), fixtureArchive(2)));
    QVERIFY(disk.fill());

    present();
    w()->txtCliente->setText(QStringLiteral("Anna Rossi"));
    QTest::mouseClick(w()->cmdSalva, Qt::LeftButton);
    QCOMPARE(desktop().messages.size(), 1);
    QCOMPARE(desktop().messages[0].kind, Kind::Error);
    QCOMPARE(desktop().messages[0].text, kAccessError);
    QCOMPARE(w()->lblPosizione->text(), QString());
    const QByteArray after = m_app->read(QStringLiteral("Clienti.pro"));
    QCOMPARE(after.left(2 * kSize), fixtureArchive(2));
    QCOMPARE(after.size() / kSize, 2); // no whole record was added

    // Room again: the same card goes in as client 3.
    QVERIFY(disk.release(16 * 1024));
    QTest::mouseClick(w()->cmdSalva, Qt::LeftButton);
    QCOMPARE(desktop().lastMessage(), kCardInserted);
    QCOMPARE(w()->lblPosizione->text(), QStringLiteral("3"));
    QCOMPARE(QFileInfo(archive()).size(), 3 * kSize);
    m_app.reset();
}

void TestFrmClienti::duplicateTheLastCard() {
    QVERIFY(m_app->write(QStringLiteral("Clienti.pro"), fixtureArchive(4)));
    present(true);

    // A card not yet stored cannot be duplicated.
    w()->txtCliente->setText(QStringLiteral("bozza"));
    QTest::mouseClick(w()->cmdDuplica, Qt::LeftButton);
    QCOMPARE(desktop().messages.size(), 1);
    QCOMPARE(desktop().messages[0].kind, Kind::Warning);
    QCOMPARE(desktop().messages[0].text, kDuplicateNewCard);
    QCOMPARE(w()->txtCliente->text(), QStringLiteral("bozza"));

    QTest::mouseClick(w()->cmdUltimo, Qt::LeftButton); // the draft: asked, "No" drops it
    QCOMPARE(desktop().messages.takeLast().kind, Kind::SaveChanges);
    QCOMPARE(w()->lblPosizione->text(), QStringLiteral("4"));
    box(ClientField::Zona)->setFocus();
    QTest::mouseClick(w()->cmdDuplica, Qt::LeftButton);
    QCOMPARE(desktop().messages.size(), 2);
    QCOMPARE(desktop().messages[1].kind, Kind::Information);
    QCOMPARE(desktop().messages[1].text, kDuplicated);
    QCOMPARE(w()->lblPosizione->text(), QString());
    QCOMPARE(w()->attachments(), Attachments());
    QCOMPARE(w()->txtCliente->text(), QStringLiteral("Cliente 4"));
    QTRY_VERIFY(w()->txtCliente->hasFocus());
    QCOMPARE(m_app->read(QStringLiteral("Clienti.pro")), fixtureArchive(4)); // nothing written

    QTest::mouseClick(w()->cmdSalva, Qt::LeftButton);
    QCOMPARE(desktop().lastMessage(), kCardInserted);
    QCOMPARE(w()->lblPosizione->text(), QStringLiteral("5"));
    const QByteArray after = m_app->read(QStringLiteral("Clienti.pro"));
    QCOMPARE(after.left(4 * kSize), fixtureArchive(4));
    // Client 5 is client 4 with every text and the flag, but no attachments.
    ClientRecord copy = fixtureClient(4);
    for (int f = ClientField::File01; f <= ClientField::Desc03; ++f)
        copy.setText(f, QString());
    QCOMPARE(recordAt(after, 4), copy.bytes());
}

void TestFrmClienti::typingRules_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::newRow("sex in capitals") << "txtSesso"
                                     << "m"
                                     << "M";
    QTest::newRow("postal code in capitals, accents kept") << "txtCapRes"
                                                           << "i0è1a"
                                                           << "I0è1A";
    QTest::newRow("fiscal code trimmed in capitals") << "txtCodFisc"
                                                     << " rssmra80a01h501u"
                                                     << "RSSMRA80A01H501U";
    QTest::newRow("IBAN trimmed in capitals, 27 at most")
        << "txtIban"
        << "it60 x0542811101000000123456 9"
        << "IT60X0542811101000000123456";
    QTest::newRow("e-mail trimmed, case kept") << "txtEmail"
                                               << "  Anna.Rossi@Esempio.it  "
                                               << "Anna.Rossi@Esempio.it";
    QTest::newRow("card number takes digits only") << "txtCarta"
                                                   << "ab1"
                                                   << "1";
    QTest::newRow("card number without separators") << "txtCarta"
                                                    << "4111-1111 1111/1111"
                                                    << "4111111111111111";
    QTest::newRow("VAT number of eleven digits at most") << "txtPartitaIva"
                                                         << "12ab345678901234"
                                                         << "12345678901";
    QTest::newRow("birth province in capitals") << "txtProvNasc"
                                                << " mi"
                                                << "MI";
    QTest::newRow("residence province in capitals") << "txtProvRes"
                                                    << "rm"
                                                    << "RM";
    QTest::newRow("name as typed") << "txtCliente"
                                   << " anna rossi "
                                   << " anna rossi ";
}

void TestFrmClienti::typingRules() {
    QFETCH(QString, box);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    present();
    QWidget *target = w()->findChild<QWidget *>(box);
    QVERIFY(target);
    typeText(target, keys);
    if (auto *combo = qobject_cast<QComboBox *>(target))
        QCOMPARE(combo->currentText(), shown);
    else
        QCOMPARE(qobject_cast<QLineEdit *>(target)->text(), shown);
}

void TestFrmClienti::enterChainAndTabOrder() {
    present(true);
    QStringList chain;
    for (int f = 0; f < TfrmClienti::kBoxes; ++f)
        chain << QStringLiteral("txt") + QLatin1String(clientLayout.fields[f].name);
    chain << "txtCliente";
    const auto frames = w()->findChildren<QFrame *>(QRegularExpression(QStringLiteral("^eff")));
    QCOMPARE(frames.size(), TfrmClienti::kBoxes);
    w()->txtCliente->setFocus();
    for (const QString &name : chain) {
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), name);
        // Only the frame of the box with the focus shows.
        const auto *frame = w()->findChild<QFrame *>(QStringLiteral("eff") + name.mid(3));
        QVERIFY2(frame && frame->isVisible(), qPrintable(name));
        QCOMPARE(std::count_if(frames.begin(), frames.end(),
                               [](const QFrame *f) { return f->isVisible(); }),
                 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    QCOMPARE(w()->txtField[ClientField::Questioni]->text(), QString()); // Enter types nothing

    // Tab stops at the flag, which Enter skips; after the notes it runs
    // through the commands, the check buttons and the arrows, then wraps.
    const QList<QPair<QWidget *, QString>> tabs = {{w()->txtQuestioni, "chkRicontatta"},
                                                   {w()->chkRicontatta, "txtNote"},
                                                   {w()->txtNote, "cmdNuovo"},
                                                   {w()->cmdEsci, "btnEmail"},
                                                   {w()->btnIban, "cmdPrimo"},
                                                   {w()->cmdUltimo, "txtCliente"},
                                                   {box(ClientField::Estremi), "txtTelCasa"}};
    for (const auto &[from, next] : tabs) {
        from->setFocus();
        QTRY_VERIFY(from->hasFocus());
        QTest::keyClick(from, Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), next);
    }
    QVERIFY(desktop().messages.isEmpty());
}

void TestFrmClienti::checkWindows_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("content"); // of the box beside the button
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("dialogBox");
    QTest::addColumn<QString>("handed");
    QTest::newRow("fiscal code") << "btnCodFisc"
                                 << "RSSMRA80A01H501U"
                                 << "TfrmCodFisc"
                                 << "txtCodFisc"
                                 << "RSSMRA80A01H501U";
    QTest::newRow("empty fiscal code") << "btnCodFisc"
                                       << ""
                                       << "TfrmCodFisc"
                                       << "txtCodFisc"
                                       << "";
    QTest::newRow("fiscal code of eleven digits: VAT check") << "btnCodFisc"
                                                            << "12345678903"
                                                            << "TfrmPartitaIva"
                                                            << "txtPartitaIva"
                                                            << "12345678903";
    QTest::newRow("three digits and blanks: VAT check") << "btnCodFisc"
                                                        << "  123 "
                                                        << "TfrmPartitaIva"
                                                        << "txtPartitaIva"
                                                        << "123";
    QTest::newRow("sixteen digits: checked whole") << "btnCodFisc"
                                                   << "1234567890123456"
                                                   << "TfrmPartitaIva"
                                                   << "txtPartitaIva"
                                                   << "1234567890123456";
    QTest::newRow("VAT number") << "btnPartitaIva"
                                << "01234567897"
                                << "TfrmPartitaIva"
                                << "txtPartitaIva"
                                << "01234567897";
    QTest::newRow("card number") << "btnCarta"
                                 << "4111111111111111 "
                                 << "TfrmCarta"
                                 << "txtNumero"
                                 << "4111111111111111";
    QTest::newRow("IBAN") << "btnIban"
                          << "IT60X0542811101000000123456"
                          << "TfrmIban"
                          << "txtIban"
                          << "IT60X0542811101000000123456";
}

void TestFrmClienti::checkWindows() {
    QFETCH(QString, button);
    QFETCH(QString, content);
    QFETCH(QString, dialog);
    QFETCH(QString, dialogBox);
    QFETCH(QString, handed);
    present();
    auto *besides = w()->findChild<QLineEdit *>(QStringLiteral("txt") + button.mid(3));
    QVERIFY(besides);
    besides->setText(content);
    QString seen;
    QWidget *owner = nullptr;
    desktop().onModal = [&](QDialog &d) {
        owner = d.parentWidget();
        if (auto *b = d.findChild<QLineEdit *>(dialogBox))
            seen = b->text();
    };
    QTest::mouseClick(w()->findChild<QAbstractButton *>(button), Qt::LeftButton);
    QCOMPARE(desktop().modalDialogs, QStringList{dialog});
    QCOMPARE(owner, w());
    QCOMPARE(seen, handed);
    QCOMPARE(besides->text(), content); // the workspace's box is left as it was
    QVERIFY(!m_app->exists(QStringLiteral("Clienti.pro")));
}

void TestFrmClienti::mailButton_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("url");
    QTest::newRow("blanks around") << "  anna.rossi@esempio.it "
                                   << "mailto:anna.rossi@esempio.it";
    QTest::newRow("empty: no recipient") << ""
                                         << "mailto:";
}

void TestFrmClienti::mailButton() {
    QFETCH(QString, address);
    QFETCH(QString, url);
    present();
    w()->txtEmail->setText(address);
    QTest::mouseClick(w()->btnEmail, Qt::LeftButton);
    QCOMPARE(desktop().opened.size(), 1);
    QCOMPARE(desktop().opened[0].toString(), url);
    QVERIFY(desktop().modalDialogs.isEmpty());
}

void TestFrmClienti::attachmentsComeBackHereOnly() {
    present();
    TfrmDatabase *database = m_app->windows->frmDatabase;
    database->setAttachments({{"scheda.pdf"}, {"della scheda"}});
    showStored(2);
    w()->lblDesc[1]->setText(QStringLiteral(" seconda "));

    // "Annulla" changes nothing.
    QStringList seen;
    desktop().onModal = [&](QDialog &d) {
        auto &window = dynamic_cast<TfrmAllegaCartella &>(d);
        seen << window.lblMemory->text() << window.txtFile01->text() << window.txtDesc02->text();
        window.txtDesc03->setText(QStringLiteral("non applicata"));
        window.btnAnnulla->click();
    };
    QTest::mouseClick(w()->cmdFile, Qt::LeftButton);
    QCOMPARE(seen, (QStringList{"clienti", "allegato2.pdf", "seconda"}));
    QCOMPARE(w()->lblDesc[2]->text(), QString());
    QCOMPARE(w()->lblDesc[1]->text(), QStringLiteral(" seconda "));

    // "Applica e chiudi" writes the six texts, trimmed, into this workspace.
    desktop().onModal = [&](QDialog &d) {
        auto &window = dynamic_cast<TfrmAllegaCartella &>(d);
        window.txtDesc03->setText(QStringLiteral("  Visura camerale  "));
        window.btnApplica->click();
    };
    QTest::mouseClick(w()->cmdFile, Qt::LeftButton);
    QCOMPARE(desktop().modalDialogs.size(), 2);
    QCOMPARE(w()->lblFile[0]->text(), QStringLiteral("allegato2.pdf"));
    QCOMPARE(w()->lblDesc[1]->text(), QStringLiteral("seconda"));
    QCOMPARE(w()->lblDesc[2]->text(), QStringLiteral("Visura camerale"));
    QCOMPARE(database->attachments(), (Attachments{{"scheda.pdf"}, {"della scheda"}}));
    QVERIFY(!m_app->exists(QStringLiteral("Clienti.pro"))); // stored only by "Salva"
    QVERIFY(desktop().messages.isEmpty());
}

void TestFrmClienti::statusLineAndButtons() {
    const QList<QWidget *> working = {
        w()->cmdNuovo,      w()->cmdDuplica,    w()->cmdFile,      w()->cmdSalva,
        w()->cmdTrova,      w()->cmdAnteprima,  w()->cmdStampa,    w()->cmdPDF,
        w()->cmdRicontatta, w()->cmdGuida,      w()->cmdEsci,      w()->btnEmail,
        w()->btnCodFisc,    w()->btnCarta,      w()->btnPartitaIva, w()->btnIban,
        w()->cmdPrimo,      w()->cmdEsporta};
    for (QWidget *button : working)
        QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));

    QCOMPARE(w()->panInfo->text(), QStringLiteral("Pronto per archiviare una nuova scheda..."));
    present();
    // The test screen is smaller than the window's panel: the window at its
    // own size, so that every control can be reached.
    w()->showNormal();
    w()->setGeometry(0, 0, 1016, 713);
    QTRY_VERIFY(w()->rect().contains(w()->panContainer->geometry()));
    const QList<QPair<QString, QString>> hints = {
        {"cmdSalva", "Salva la scheda corrente in archivio."},
        {"shpSezione03", ""},
        {"btnIban", "Controlla l'IBAN."},
        {"chkRicontatta", "Annota che il Cliente è da ricontattare per questioni in sospeso."},
        {"shpInfo", ""},
        {"cmdUltimo", "Visualizza l'ultima scheda in archivio."},
        {"bkgSezione01", ""},
        {"btnEmail", "Invia una e-mail all'indirizzo indicato."},
        {"panControlli", ""},
        {"cmdFile", "Allega file alla scheda corrente."},
        {"cmdTrova", "Trova una scheda in archivio."},
        {"cmdAnteprima", "Visualizza l'anteprima di stampa."},
        {"cmdStampa", "Stampa la scheda corrente."},
        {"cmdPDF", "Esporta la scheda in formato PDF."},
        {"cmdRicontatta", "Visualizza il riepilogo dei Clienti da ricontattare."},
        {"imgDecoro", ""},
    };
    for (const auto &[name, text] : hints) {
        QWidget *control = w()->findChild<QWidget *>(name);
        QVERIFY2(control, qPrintable(name));
        QTest::mouseMove(control, QPoint(2, 2));
        QTRY_COMPARE(w()->panInfo->text(), text);
    }
    // Boxes and their labels leave the status line alone.
    QTest::mouseMove(w()->btnCodFisc);
    QTRY_COMPARE(w()->panInfo->text(), QStringLiteral("Controlla il codice fiscale."));
    QTest::mouseMove(w()->txtCodFisc);
    QTest::mouseMove(w()->findChild<QWidget *>(QStringLiteral("lblCampo14")));
    QTest::mouseMove(w()->txtCarta);
    QCoreApplication::processEvents();
    QCOMPARE(w()->panInfo->text(), QStringLiteral("Controlla il codice fiscale."));
}

void TestFrmClienti::guide() {
    const GuideTopic topic = clientsGuide();
    QCOMPARE(topic.title, QStringLiteral("Anagrafica Clienti."));
    QCOMPARE(topic.paragraphs.size(), 10);
    present();
    QString title, shown;
    QWidget *owner = nullptr;
    desktop().onModal = [&](QDialog &d) {
        auto &guide = dynamic_cast<TfrmGuida &>(d);
        owner = guide.parentWidget();
        title = guide.lblTitolo->text();
        shown = guide.txtGuida->toPlainText();
    };
    QTest::mouseClick(w()->cmdGuida, Qt::LeftButton);
    QCOMPARE(owner, w());
    QCOMPARE(title, topic.title);
    QCOMPARE(shown, topic.paragraphs.join(QStringLiteral("\n\n")));
}

QTEST_MAIN(TestFrmClienti)
#include "tst_frmclienti.moc"
