#include "ListRun.h"
#include "clients/TfrmClienti.h"
#include "search/TfrmRicontatta.h"
#include "support/AppFixture.h"

#include <QCheckBox>

namespace {

using namespace ClientField;

ClientRecord client(std::initializer_list<std::pair<int, QString>> fields) {
    return recordWith<ClientRecord>(fields);
}

} // namespace

class TestFrmRicontatta : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void listsTheClientsToRecontact();
    void noClientAndAMissingArchive();
    void doubleClickLoadsTheChosenClient_data();
    void doubleClickLoadsTheChosenClient();
    void fillingFailureIsSilent();

  private:
    TfrmClienti *workspace() const { return m_app->windows->frmClienti; }
    const AppFolder &folder() const { return m_app->windows->folder; }
    void openList(const std::function<void(TfrmRicontatta &)> &steps) {
        runFrom<TfrmRicontatta>(m_app->desktop, workspace()->cmdRicontatta, steps);
    }

    std::unique_ptr<AppFixture> m_app;
};

void TestFrmRicontatta::init() {
    m_app = std::make_unique<AppFixture>();
    workspace()->present();
    QVERIFY(QTest::qWaitForWindowExposed(workspace()));
}

void TestFrmRicontatta::cleanup() {
    m_app.reset();
}

// The flagged clients, each line ending with its pending questions in full
// (not its notes), the list scrolling to the end of the longest.
void TestFrmRicontatta::listsTheClientsToRecontact() {
    const QString questions = QStringLiteral("Attende il preventivo per il rinnovo del contratto; ")
                                  .repeated(4)
                                  .trimmed();
    const QList<ClientRecord> records = {
        client({{Cliente, "Bruno"}, {Questioni, questions}, {Note, "nota"}, {Ricontatta, "Sì"}}),
        client({{Cliente, "Carla"}, {Questioni, "nessuna"}, {Ricontatta, "No"}}),
        client({{Cliente, "Anna"}, {Questioni, "breve"}, {Note, "nota"}, {Ricontatta, "Sì"}}),
        client({{Cliente, "Dario"}, {Ricontatta, "SÌ"}})};
    appendRecords(folder(), records);
    openList([&](TfrmRicontatta &w) {
        QCOMPARE(w.windowTitle(), QStringLiteral(" Riepilogo Clienti da ricontattare"));
        QCOMPARE(w.contentsRect().size(), QSize(862, 560));
        QCOMPARE(shownPositions(w), (QList<qint64>{3, 1}));
        QCOMPARE(shownLines(w), (QStringList{search::recontactLine(records[2]),
                                             search::recontactLine(records[0])}));
        QVERIFY(shownLines(w).last().endsWith(questions));
        QVERIFY(w.txtTrova->hasFocus());
        QTRY_VERIFY(scrollsOverWholeLines(w));
        verifySummaryPrint(m_app->desktop, w,
                           QStringLiteral("Riepilogo Clienti da ricontattare"));
        w.close();
    });
}

void TestFrmRicontatta::noClientAndAMissingArchive() {
    verifyMissingArchiveListsNothing<TfrmRicontatta>(m_app->desktop, workspace()->cmdRicontatta,
                                                     m_app->path(QStringLiteral("Clienti.pro")));
}

void TestFrmRicontatta::doubleClickLoadsTheChosenClient_data() {
    QTest::addColumn<int>("row");
    QTest::newRow("the first of two equal lines") << 0;
    QTest::newRow("the second of two equal lines") << 1;
}

void TestFrmRicontatta::doubleClickLoadsTheChosenClient() {
    QFETCH(int, row);
    const QList<ClientRecord> twins = {client({{Cliente, "Anna"},
                                               {TelCasa, "011 111"},
                                               {Questioni, "preventivo"},
                                               {Ricontatta, "Sì"}}),
                                       client({{Cliente, "Anna"},
                                               {TelCasa, "011 222"},
                                               {Questioni, "preventivo"},
                                               {Ricontatta, "Sì"}})};
    appendRecords(folder(), twins);
    QCOMPARE(search::recontactLine(twins[0]), search::recontactLine(twins[1]));
    qint64 chosen = 0;
    openList([&](TfrmRicontatta &w) {
        QCOMPARE(w.hits().size(), 2);
        chosen = w.hits()[row].position;
        doubleClickLine(w, row);
        QVERIFY(!w.isVisible());
    });
    QCOMPARE(workspace()->lblPosizione->text(), QString::number(chosen));
    QCOMPARE(workspace()->txtField[TelCasa]->text(), twins[chosen - 1].text(TelCasa));
    QVERIFY(workspace()->chkRicontatta->isChecked());
}

void TestFrmRicontatta::fillingFailureIsSilent() {
    verifyFillingFailureIsSilent<TfrmRicontatta>(m_app->desktop, workspace()->cmdRicontatta,
                                                 m_app->path(QStringLiteral("Clienti.pro")));
}

QTEST_MAIN(TestFrmRicontatta)
#include "tst_frmricontatta.moc"
