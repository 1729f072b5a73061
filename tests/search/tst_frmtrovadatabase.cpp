#include "ListRun.h"
#include "database/TfrmDatabase.h"
#include "search/TfrmTrovaDatabase.h"
#include "storage/IniFile.h"
#include "support/AppFixture.h"

#include <QFontInfo>
#include <QRegularExpression>

namespace {

using namespace DatabaseField;
using Typed = QList<std::pair<QString, QString>>;

// The filter boxes, in their Enter order, and the fields they search.
const BoxFields kBoxes = {{"txtCampo01", Campo01}, {"txtCampo02", Campo02},
                          {"txtCampo03", Campo03}, {"txtCampo04", Campo04},
                          {"txtCampo05", Campo05}, {"txtCampo06", Campo06},
                          {"txtCliente", Cliente}, {"txtComuneRes", ComuneRes},
                          {"txtCodFisc", CodFisc}, {"txtPartitaIva", PartitaIva}};

DatabaseRecord card(std::initializer_list<std::pair<int, QString>> fields) {
    return recordWith<DatabaseRecord>(fields);
}

} // namespace

class TestFrmTrovaDatabase : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void eachBoxSearchesItsField_data();
    void eachBoxSearchesItsField();
    void filledBoxesCombine_data();
    void filledBoxesCombine();
    void waitLabelShowsBeforeTheScan();
    void titlesAndLook();
    void summaryPrintsTheListAsShown();
    void enterChainsAndFocusFrames();
    void inListFind_data();
    void inListFind();
    void searchesCanBeChanged();
    void doubleClickLoadsTheChosenCard_data();
    void doubleClickLoadsTheChosenCard();
    void doubleClickWithNothingSelected();
    void searchFailureKeepsTheFilterPage();
    void lookupFailureClosesSilently();

  private:
    TfrmDatabase *workspace() const { return m_app->windows->frmDatabase; }
    const AppFolder &folder() const { return m_app->windows->folder; }
    // Opens the record search from the workspace's find button and runs `steps` in it.
    void openSearch(const std::function<void(TfrmTrovaDatabase &)> &steps) {
        runFrom<TfrmTrovaDatabase>(m_app->desktop, workspace()->cmdTrova, steps);
    }

    std::unique_ptr<AppFixture> m_app;
};

void TestFrmTrovaDatabase::init() {
    m_app = std::make_unique<AppFixture>();
    workspace()->present();
    QVERIFY(QTest::qWaitForWindowExposed(workspace()));
}

void TestFrmTrovaDatabase::cleanup() {
    m_app.reset();
}

void TestFrmTrovaDatabase::eachBoxSearchesItsField_data() {
    addBoxRows(kBoxes);
}

void TestFrmTrovaDatabase::eachBoxSearchesItsField() {
    QFETCH(QString, box);
    verifyBoxSearchesItsField<TfrmTrovaDatabase>(m_app->desktop, workspace()->cmdTrova, folder(),
                                                 kBoxes, box, &search::cardLine);
}

void TestFrmTrovaDatabase::filledBoxesCombine_data() {
    QTest::addColumn<Typed>("typed");
    QTest::addColumn<QList<qint64>>("listed"); // in list order
    QTest::addColumn<QString>("filled");
    QTest::newRow("no box filled lists every card") << Typed{} << QList<qint64>{2, 1, 3} << "0";
    QTest::newRow("every filled box must occur")
        << Typed{{"txtCampo01", "libro"}, {"txtComuneRes", "roma"}} << QList<qint64>{1} << "2";
    // Typed text is compared as typed: a leading blank stays.
    QTest::newRow("a leading blank is part of the text")
        << Typed{{"txtCliente", " rossi"}} << QList<qint64>{2} << "1";
    QTest::newRow("a box of blanks is no filter and never a match")
        << Typed{{"txtCampo02", "  "}, {"txtCampo01", "assente"}} << QList<qint64>{} << "1";
}

void TestFrmTrovaDatabase::filledBoxesCombine() {
    QFETCH(Typed, typed);
    QFETCH(QList<qint64>, listed);
    QFETCH(QString, filled);
    appendRecords(folder(),
                  QList<DatabaseRecord>{
                      card({{Campo01, "Libro antico"},
                            {Campo02, "con  spazi"},
                            {Cliente, "Rossi Anna"},
                            {ComuneRes, "Roma"}}),
                      card({{Campo01, "Disco"}, {Cliente, "Anna Rossi"}, {ComuneRes, "Roma"}}),
                      card({{Campo01, "Libro nuovo"}, {ComuneRes, "Milano"}})});
    openSearch([&](TfrmTrovaDatabase &w) {
        searchFor(w, typed);
        QCOMPARE(w.lblConta->text(), filled);
        // No card found: the filter page stays and says so.
        QCOMPARE(w.panAvvio->isVisible(), listed.isEmpty());
        if (!listed.isEmpty()) {
            QCOMPARE(shownPositions(w), listed);
            QCOMPARE(w.lblTrovate->text(),
                     QStringLiteral("Il presente riepilogo contiene %1 schede.").arg(listed.size()));
        }
        w.close();
    });
}

// The wait label is on screen, painted, while the mouse button is still down
// on "Cerca": the pass over the archive (which creates a missing archive) has
// not begun. Releasing the button runs it.
void TestFrmTrovaDatabase::waitLabelShowsBeforeTheScan() {
    QVERIFY(!m_app->exists(QStringLiteral("Database.pro")));
    openSearch([&](TfrmTrovaDatabase &w) {
        QVERIFY(!w.lblAttendere->isVisible());
        QCOMPARE(w.lblAttendere->text(), QStringLiteral("Ricerca schede in corso. Attendere..."));
        int paints = 0;
        struct PaintCounter : QObject {
            int &count;
            explicit PaintCounter(int &c) : count(c) {}
            bool eventFilter(QObject *, QEvent *event) override {
                count += event->type() == QEvent::Paint;
                return false;
            }
        } counter(paints);
        w.lblAttendere->installEventFilter(&counter);

        QTest::mousePress(w.btnCerca, Qt::LeftButton);
        QVERIFY(w.lblAttendere->isVisible());
        QVERIFY(paints > 0);
        QVERIFY(!m_app->exists(QStringLiteral("Database.pro")));
        QVERIFY(w.panAvvio->isVisible());

        QTest::mouseRelease(w.btnCerca, Qt::LeftButton);
        w.lblAttendere->removeEventFilter(&counter);
        QVERIFY(m_app->exists(QStringLiteral("Database.pro")));
        QCOMPARE(m_app->read(QStringLiteral("Database.pro")), QByteArray());
        // The archive is empty: nothing found, the filter page stays.
        QVERIFY(w.panAvvio->isVisible());
        QVERIFY(w.lblAttendere->isHidden());
        w.close();
    });
}

void TestFrmTrovaDatabase::titlesAndLook() {
    IniFile settings(m_app->path(QStringLiteral("Archivio.ini")));
    settings.write(QStringLiteral("Nome Campi"), QStringLiteral("Campo 01"),
                   QStringLiteral("Titolo"));
    settings.write(QStringLiteral("Nome Campi"), QStringLiteral("Campo 06"),
                   QStringLiteral("Autore"));
    appendRecords(folder(), QList<DatabaseRecord>{card({{Campo01, "Il nome della rosa"}})});
    QStringList titles;
    openSearch([&](TfrmTrovaDatabase &w) {
        titles << w.titCampo[0]->text() << w.titCampo[1]->text() << w.titCampo[5]->text();
        QCOMPARE(w.windowTitle(), QStringLiteral(" Trova schede in archivio"));
        QCOMPARE(w.contentsRect().size(), QSize(862, 560));
        QCOMPARE(w.lblMemory->text(), QStringLiteral("database"));
        searchFor(w, {});
        const QFontInfo line(w.lstRecords->font());
        QVERIFY2(line.fixedPitch(), qPrintable(line.family()));
        QCOMPARE(line.pointSize(), 11);
        QVERIFY(w.lstRecords->uniformItemSizes());
        QTRY_VERIFY(scrollsOverWholeLines(w));
        w.close();
    });
    // Read again at the next showing.
    settings.write(QStringLiteral("Nome Campi"), QStringLiteral("Campo 01"),
                   QStringLiteral("Opera"));
    openSearch([&](TfrmTrovaDatabase &w) {
        titles << w.titCampo[0]->text();
        w.close();
    });
    QCOMPARE(titles, (QStringList{"Titolo", "", "Autore", "Opera"}));
}

// The summary of 40 lines: the lines in list order, whatever the filters,
// and the memo and band heights that follow from their number.
void TestFrmTrovaDatabase::summaryPrintsTheListAsShown() {
    QList<DatabaseRecord> cards;
    for (int i = 40; i >= 1; --i)
        cards << card({{Campo01, QStringLiteral("Scheda %1").arg(i, 2, 10, QLatin1Char('0'))},
                       {Campo02, QStringLiteral("[voce]")}});
    appendRecords(folder(), cards);
    openSearch([&](TfrmTrovaDatabase &w) {
        searchFor(w, {{QStringLiteral("txtCampo02"), QStringLiteral("voce")}});
        QCOMPARE(w.hits().size(), 40);
        QVERIFY(shownLines(w).first().startsWith(QStringLiteral("Scheda 01")));
        verifySummaryPrint(m_app->desktop, w, QStringLiteral("Riepilogo Schede"));
        QCOMPARE(report::toUnits(w.frxReport.memo(QStringLiteral("txtRiepilogo")).box.height()), 512.88);
        QCOMPARE(report::toUnits(w.frxReport.band(QStringLiteral("MasterData")).height), 522.88);
        w.close();
    });
    QVERIFY(m_app->desktop.messages.isEmpty());
}

void TestFrmTrovaDatabase::enterChainsAndFocusFrames() {
    appendRecords(folder(), QList<DatabaseRecord>{card({{Campo01, "Libro"}})});
    QStringList chain;
    for (const auto &[box, field] : kBoxes)
        chain << box;
    chain << chain.first(); // round to the first again
    openSearch([&](TfrmTrovaDatabase &w) {
        for (const QString &name : chain) {
            QWidget *focused = QApplication::focusWidget();
            QVERIFY(focused);
            QCOMPARE(focused->objectName(), name);
            const QString frame = QStringLiteral("eff") + name.mid(3);
            for (QFrame *f :
                 w.panAvvio->findChildren<QFrame *>(QRegularExpression(QStringLiteral("^eff"))))
                QVERIFY2(f->isVisible() == (f->objectName() == frame), qPrintable(f->objectName()));
            QTest::keyClick(focused, Qt::Key_Return);
        }
        searchFor(w, {});
        // Enter in the find box moves to "Trova" without pressing it.
        QVERIFY(w.txtTrova->hasFocus());
        QTest::keyClick(w.txtTrova, Qt::Key_Return);
        QVERIFY(w.btnTrova->hasFocus());
        QVERIFY(m_app->desktop.messages.isEmpty());
        w.close();
    });
}

void TestFrmTrovaDatabase::inListFind_data() {
    QTest::addColumn<QStringList>("clicks"); // the find text at each click on "Trova"
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<int>("saidNotFound"); // the times "not in the list" was said
    QTest::newRow("the same text again moves on, round the end")
        << QStringList{"rossi", "ROSSI", "rossi"} << QList<int>{0, 2, 0} << 0;
    QTest::newRow("a new text starts from the top")
        << QStringList{"rossi", "rossi", "verdi"} << QList<int>{0, 2, 1} << 0;
    QTest::newRow("the only line holding it stays selected")
        << QStringList{"verdi", "verdi"} << QList<int>{1, 1} << 0;
    QTest::newRow("a text no line holds says so, the selection stays")
        << QStringList{"omega", "rossi", "omega", "omega"} << QList<int>{-1, 0, 0, 0} << 3;
}

void TestFrmTrovaDatabase::inListFind() {
    QFETCH(QStringList, clicks);
    QFETCH(QList<int>, selected);
    QFETCH(int, saidNotFound);
    appendRecords(folder(), QList<DatabaseRecord>{card({{Campo01, "B"}, {Cliente, "Luca Verdi"}}),
                                                  card({{Campo01, "C"}, {Cliente, "Rossi Ada"}}),
                                                  card({{Campo01, "A"}, {Cliente, "Anna Rossi"}})});
    QList<int> rows;
    openSearch([&](TfrmTrovaDatabase &w) {
        searchFor(w, {});
        QCOMPARE(shownPositions(w), (QList<qint64>{3, 1, 2}));
        for (const QString &text : clicks)
            rows << findInList(w, text);
        w.close();
    });
    QCOMPARE(rows, selected);
    QCOMPARE(m_app->desktop.messages.size(), saidNotFound);
    for (const FakeDesktop::Message &m : m_app->desktop.messages)
        QCOMPARE(m.text, QStringLiteral("Il testo cercato non si trova nell'elenco."));
}

// A search with no hit says so and stays on the filters as typed; after a
// search, "Modifica ricerca" goes back to the filters as typed, and a changed
// filter searches again.
void TestFrmTrovaDatabase::searchesCanBeChanged() {
    appendRecords(folder(), QList<DatabaseRecord>{card({{Campo01, "Libro"}}),
                                                   card({{Campo01, "Disco"}})});
    openSearch([&](TfrmTrovaDatabase &w) {
        auto *box = w.findChild<QLineEdit *>(QStringLiteral("txtCampo01"));
        searchFor(w, {{"txtCampo01", "quadro"}});
        QVERIFY(w.panAvvio->isVisible());
        QVERIFY(!w.panContainer->isVisible());
        QVERIFY(!w.lblAttendere->isVisible());
        verifyOnePlainMessage(m_app->desktop,
                              QStringLiteral("Nessuna scheda corrisponde ai criteri indicati."));
        QCOMPARE(box->text(), QStringLiteral("quadro"));

        box->clear();
        searchFor(w, {{"txtCampo01", "libro"}});
        QCOMPARE(shownPositions(w), QList<qint64>{1});
        QTest::mouseClick(w.btnModifica, Qt::LeftButton);
        QVERIFY(w.panAvvio->isVisible());
        QVERIFY(!w.panContainer->isVisible());
        QCOMPARE(box->text(), QStringLiteral("libro"));

        // Ctrl+Enter in a filter runs the search; its tooltip says so.
        QVERIFY(w.btnCerca->toolTip().endsWith(QStringLiteral("(Ctrl+Invio)")));
        QVERIFY(QTest::qWaitForWindowActive(&w));
        box->clear();
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("disco"));
        QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(w.panContainer->isVisible());
        QCOMPARE(shownPositions(w), QList<qint64>{2});
        w.close();
    });
    QCOMPARE(m_app->desktop.messages.size(), 1);
}

void TestFrmTrovaDatabase::doubleClickLoadsTheChosenCard_data() {
    QTest::addColumn<int>("row");
    QTest::newRow("the first of two equal lines") << 0;
    QTest::newRow("the second of two equal lines") << 1;
}

// Two cards give the same line (they differ only in fields the line does not
// show, and Campo03 beyond what the line shows): the card on the line the
// user double-clicks is the one the workspace shows.
void TestFrmTrovaDatabase::doubleClickLoadsTheChosenCard() {
    QFETCH(int, row);
    const QString longTitle = QStringLiteral("Una raccolta di racconti brevi del Novecento");
    const QList<DatabaseRecord> twins = {card({{Campo01, "Racconti"},
                                               {Campo03, longTitle + " I"},
                                               {Campo04, "primo"},
                                               {Cliente, "Ada"}}),
                                         card({{Campo01, "Racconti"},
                                               {Campo03, longTitle + " II"},
                                               {Campo04, "secondo"},
                                               {Cliente, "Ada"}})};
    appendRecords(folder(), QList<DatabaseRecord>{card({{Campo01, "Altro"}})} + twins);
    QCOMPARE(search::cardLine(twins[0]), search::cardLine(twins[1]));

    qint64 chosen = 0;
    openSearch([&](TfrmTrovaDatabase &w) {
        searchFor(w, {{"txtCampo01", "racconti"}});
        QCOMPARE(w.hits().size(), 2);
        chosen = w.hits()[row].position;
        doubleClickLine(w, row);
        QVERIFY(!w.isVisible());
    });
    const DatabaseRecord &expected = twins[chosen - 2];
    QCOMPARE(workspace()->lblPosizione->text(), QString::number(chosen));
    QCOMPARE(workspace()->txtCampo[3]->text(), expected.text(Campo04));
    QCOMPARE(workspace()->txtCampo[2]->text(), expected.text(Campo03)); // whole, not as cut
    QVERIFY(m_app->desktop.messages.isEmpty());
}

void TestFrmTrovaDatabase::doubleClickWithNothingSelected() {
    appendRecords(folder(), QList<DatabaseRecord>{card({{Campo01, "Libro"}, {Cliente, "Ada"}})});
    workspace()->txtCampo[0]->setText(QStringLiteral("Scheda nuova"));
    openSearch([&](TfrmTrovaDatabase &w) {
        searchFor(w, {});
        QCOMPARE(w.hits().size(), 1);
        doubleClickLine(w, -1);
        QVERIFY(!w.isVisible());
    });
    QCOMPARE(workspace()->txtCampo[0]->text(), QStringLiteral("Scheda nuova"));
    QCOMPARE(workspace()->lblPosizione->text(), QString());
    QVERIFY(m_app->desktop.messages.isEmpty());
}

void TestFrmTrovaDatabase::searchFailureKeepsTheFilterPage() {
    QVERIFY(QDir().mkdir(m_app->path(QStringLiteral("Database.pro"))));
    openSearch([&](TfrmTrovaDatabase &w) {
        searchFor(w, {{"txtCampo01", "libro"}});
        QVERIFY(w.isVisible());
        QVERIFY(w.panAvvio->isVisible());
        QVERIFY(!w.panContainer->isVisible());
        QVERIFY(w.lblAttendere->isVisible());
        w.close();
    });
    verifyOnePlainMessage(m_app->desktop, kAccessError);
}

void TestFrmTrovaDatabase::lookupFailureClosesSilently() {
    appendRecords(folder(), QList<DatabaseRecord>{card({{Campo01, "Libro"}, {Cliente, "Ada"}})});
    openSearch([&](TfrmTrovaDatabase &w) {
        searchFor(w, {});
        // The archive goes away between the search and the double-click.
        QVERIFY(QFile::remove(m_app->path(QStringLiteral("Database.pro"))));
        QVERIFY(QDir().mkdir(m_app->path(QStringLiteral("Database.pro"))));
        doubleClickLine(w, 0);
        QVERIFY(!w.isVisible());
    });
    QCOMPARE(workspace()->lblPosizione->text(), QString());
    QCOMPARE(workspace()->txtCampo[0]->text(), QString());
    QVERIFY(m_app->desktop.messages.isEmpty());
}

QTEST_MAIN(TestFrmTrovaDatabase)
#include "tst_frmtrovadatabase.moc"
