#include "ListRun.h"
#include "clients/TfrmClienti.h"
#include "database/PhotoView.h"
#include "database/TfrmDatabase.h"
#include "kit/ProvinceBox.h"
#include "search/TfrmTrovaClienti.h"
#include "support/AppFixture.h"

#include <QCheckBox>

namespace {

using namespace ClientField;

// The filter boxes, in their Enter order, and the fields they search.
const BoxFields kBoxes = {{"txtCliente", Cliente},       {"txtComuneRes", ComuneRes},
                          {"txtPartitaIva", PartitaIva}, {"txtCodFisc", CodFisc},
                          {"txtDocumento", Documento},   {"txtOccupazione", Occupazione},
                          {"txtProdotti", Prodotti},     {"txtZona", Zona},
                          {"txtQuestioni", Questioni},   {"txtNote", Note}};

ClientRecord client(std::initializer_list<std::pair<int, QString>> fields) {
    return recordWith<ClientRecord>(fields);
}

// A client with every field filled, each with its own text.
ClientRecord fullClient() {
    ClientRecord record;
    for (int f = Cliente; f < Ricontatta; ++f)
        record.setText(
            f, QStringLiteral("%1 %2").arg(QLatin1String(clientLayout.fields[f].name)).arg(f));
    record.setText(ProvRes, QStringLiteral("MI"));
    record.setText(ProvNasc, QStringLiteral("TO"));
    record.setYesNo(Ricontatta, true);
    return record;
}

} // namespace

class TestFrmTrovaClienti : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void eachBoxSearchesItsField_data();
    void eachBoxSearchesItsField();
    void clientsModeLoadsTheChosenClient_data();
    void clientsModeLoadsTheChosenClient();
    void databaseModeCopiesTheContactBlockOnly();
    void enterChainAndWideBoxes();
    void longNotesScrollToTheirEnd();
    void searchFailureKeepsTheFilterPage();

  private:
    TfrmClienti *clients() const { return m_app->windows->frmClienti; }
    TfrmDatabase *database() const { return m_app->windows->frmDatabase; }
    const AppFolder &folder() const { return m_app->windows->folder; }
    void openFromClients(const std::function<void(TfrmTrovaClienti &)> &steps) {
        runFrom<TfrmTrovaClienti>(m_app->desktop, clients()->cmdTrova, steps);
    }

    std::unique_ptr<AppFixture> m_app;
};

void TestFrmTrovaClienti::init() {
    m_app = std::make_unique<AppFixture>();
}

void TestFrmTrovaClienti::cleanup() {
    m_app.reset();
}

void TestFrmTrovaClienti::eachBoxSearchesItsField_data() {
    addBoxRows(kBoxes);
}

void TestFrmTrovaClienti::eachBoxSearchesItsField() {
    QFETCH(QString, box);
    verifyBoxSearchesItsField<TfrmTrovaClienti>(m_app->desktop, clients()->cmdTrova, folder(),
                                                kBoxes, box, &search::clientLine);
}

void TestFrmTrovaClienti::clientsModeLoadsTheChosenClient_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("byEnter");
    QTest::newRow("the first of two equal lines") << 0 << false;
    QTest::newRow("the second of two equal lines") << 1 << false;
    QTest::newRow("the second, chosen with Enter") << 1 << true;
}

// Two clients give the same line: the one on the line double-clicked (or
// selected and Enter pressed) is the one the client workspace shows, with
// every field, its flag and position.
void TestFrmTrovaClienti::clientsModeLoadsTheChosenClient() {
    QFETCH(int, row);
    QFETCH(bool, byEnter);
    ClientRecord first = fullClient();
    ClientRecord second = fullClient();
    second.setText(DataNasc, QStringLiteral("01/02/1960"));
    second.setText(Iban, QStringLiteral("IT60X0542811101000000123456"));
    second.setYesNo(Ricontatta, false);
    second.setText(File01, QStringLiteral("contratto.pdf"));
    appendRecords(folder(), QList<ClientRecord>{client({{Cliente, "Altro"}}), first, second});
    QCOMPARE(search::clientLine(first), search::clientLine(second));
    clients()->present();
    QVERIFY(QTest::qWaitForWindowExposed(clients()));

    qint64 chosen = 0;
    openFromClients([&](TfrmTrovaClienti &w) {
        QCOMPARE(w.lblMemory->text(), QStringLiteral("clienti"));
        QCOMPARE(w.windowTitle(), QStringLiteral(" Trova Clienti in archivio"));
        QCOMPARE(w.contentsRect().size(), QSize(862, 560));
        searchFor(w, {{"txtCliente", "cliente"}});
        QCOMPARE(w.hits().size(), 2);
        chosen = w.hits()[row].position;
        if (byEnter) {
            w.lstRecords->setFocus();
            w.lstRecords->setCurrentIndex(w.lstRecords->model()->index(row, 0));
            QTest::keyClick(w.lstRecords, Qt::Key_Return);
        } else {
            doubleClickLine(w, row);
        }
        QVERIFY(!w.isVisible());
    });
    const ClientRecord &expected = chosen == 2 ? first : second;
    QCOMPARE(clients()->lblPosizione->text(), QString::number(chosen));
    for (int f = Cliente; f < Ricontatta; ++f)
        QCOMPARE(clients()->txtField[f]->text(), expected.text(f));
    QCOMPARE(clients()->chkRicontatta->isChecked(), *expected.yesNo(Ricontatta));
    QCOMPARE(clients()->lblFile[0]->text(), expected.text(File01));
    QVERIFY(m_app->desktop.messages.isEmpty());
}

// The import button of the database workspace: the client's contact data go
// into the eight boxes of the card's contact block, and nothing else changes:
// not the card's other fields, flag, attachments, position or photo, not the
// archives, not the client workspace.
void TestFrmTrovaClienti::databaseModeCopiesTheContactBlockOnly() {
    DatabaseRecord stored;
    for (int f = DatabaseField::Campo01; f < DatabaseField::Count; ++f)
        stored.setText(f, QStringLiteral("scheda %1").arg(f));
    stored.setText(DatabaseField::ProvRes, QStringLiteral("RM"));
    stored.setYesNo(DatabaseField::Segnala, true);
    appendRecords(folder(), QList<DatabaseRecord>{stored});
    const ClientRecord picked = fullClient();
    appendRecords(folder(), QList<ClientRecord>{client({{Cliente, "Altro"}}), picked});
    const QByteArray databaseBytes = m_app->read(QStringLiteral("Database.pro"));
    const QByteArray clientBytes = m_app->read(QStringLiteral("Clienti.pro"));

    database()->present();
    QVERIFY(QTest::qWaitForWindowExposed(database()));
    QTest::mouseClick(database()->cmdPrimo, Qt::LeftButton);
    QCOMPARE(database()->lblPosizione->text(), QStringLiteral("1"));
    const QImage photo = database()->imgFoto->picture();
    const DatabaseRecord before = database()->cardRecord();

    runFrom<TfrmTrovaClienti>(m_app->desktop, database()->impCliente, [&](TfrmTrovaClienti &w) {
        QCOMPARE(w.lblMemory->text(), QStringLiteral("database"));
        searchFor(w, {{"txtOccupazione", "occupazione"}});
        QCOMPARE(shownPositions(w), QList<qint64>{2});
        doubleClickLine(w, 0);
        QVERIFY(!w.isVisible());
    });

    namespace D = DatabaseField;
    const std::pair<int, int> copied[] = {
        {D::Cliente, Cliente},     {D::IndirizzoRes, IndirizzoRes},
        {D::ComuneRes, ComuneRes}, {D::ProvRes, ProvRes},
        {D::Email, Email},         {D::Recapito, Recapito},
        {D::CodFisc, CodFisc},     {D::PartitaIva, PartitaIva}};
    const DatabaseRecord after = database()->cardRecord();
    for (int f = D::Campo01; f < D::Count; ++f) {
        const auto pair = std::find_if(std::begin(copied), std::end(copied),
                                       [f](const auto &c) { return c.first == f; });
        const QString want = pair != std::end(copied) ? picked.text(pair->second) : before.text(f);
        QVERIFY2(after.text(f) == want, databaseLayout.fields[f].name);
    }
    QCOMPARE(database()->txtProvRes->currentText(), QStringLiteral("MI"));
    QCOMPARE(database()->lblPosizione->text(), QStringLiteral("1"));
    QCOMPARE(database()->imgFoto->picture(), photo);
    QCOMPARE(m_app->read(QStringLiteral("Database.pro")), databaseBytes);
    QCOMPARE(m_app->read(QStringLiteral("Clienti.pro")), clientBytes);
    QCOMPARE(clients()->lblPosizione->text(), QString());
    QCOMPARE(clients()->txtCliente->text(), QString());
    QVERIFY(m_app->desktop.messages.isEmpty());
}

void TestFrmTrovaClienti::enterChainAndWideBoxes() {
    QStringList chain;
    for (const auto &[box, field] : kBoxes)
        chain << box;
    chain << chain.first(); // round to the first again
    clients()->present();
    openFromClients([&](TfrmTrovaClienti &w) {
        for (const QString &name : chain) {
            QWidget *focused = QApplication::focusWidget();
            QVERIFY(focused);
            QCOMPARE(focused->objectName(), name);
            QVERIFY(w.findChild<QFrame *>(QStringLiteral("eff") + name.mid(3))->isVisible());
            QTest::keyClick(focused, Qt::Key_Return);
        }
        QVERIFY(w.txtQuestioni->width() > 1.8 * w.txtCliente->width());
        QCOMPARE(w.txtNote->width(), w.txtQuestioni->width());
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("lblCampo07"))->text(),
                 QStringLiteral("Prodotti e servizi di interesse:"));
        w.close();
    });
}

void TestFrmTrovaClienti::longNotesScrollToTheirEnd() {
    const QString notes =
        QStringLiteral("Preferisce essere chiamato di sera. ").repeated(6).left(240) +
        QStringLiteral("FINE NOTE.");
    appendRecords(folder(), QList<ClientRecord>{client({{Cliente, "Bruno"}, {Note, "breve"}}),
                                                client({{Cliente, "Anna"}, {Note, notes}})});
    openFromClients([&](TfrmTrovaClienti &w) {
        searchFor(w, {});
        QCOMPARE(shownLines(w).first().size(), 115 + notes.size());
        QVERIFY(shownLines(w).first().endsWith(QStringLiteral("FINE NOTE.")));
        QTRY_VERIFY(scrollsOverWholeLines(w));
        verifySummaryPrint(m_app->desktop, w, QStringLiteral("Riepilogo Clienti"));
        w.close();
    });
}

void TestFrmTrovaClienti::searchFailureKeepsTheFilterPage() {
    QVERIFY(QDir().mkdir(m_app->path(QStringLiteral("Clienti.pro"))));
    openFromClients([&](TfrmTrovaClienti &w) {
        searchFor(w, {});
        QVERIFY(w.panAvvio->isVisible());
        QVERIFY(w.lblAttendere->isVisible());
        w.close();
    });
    verifyOnePlainMessage(m_app->desktop, kAccessError);
}

QTEST_MAIN(TestFrmTrovaClienti)
#include "tst_frmtrovaclienti.moc"
