#include "ListRun.h"
#include "database/TfrmDatabase.h"
#include "search/TfrmSegnalati.h"
#include "support/AppFixture.h"

#include <QCheckBox>

namespace {

using namespace DatabaseField;

DatabaseRecord card(std::initializer_list<std::pair<int, QString>> fields) {
    return recordWith<DatabaseRecord>(fields);
}

} // namespace

class TestFrmSegnalati : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void listsTheCardsFlaggedSi();
    void noFlaggedCardAndAMissingArchive();
    void doubleClickLoadsTheFlaggedCard();
    void fillingFailureIsSilent();

  private:
    TfrmDatabase *workspace() const { return m_app->windows->frmDatabase; }
    const AppFolder &folder() const { return m_app->windows->folder; }
    void openList(const std::function<void(TfrmSegnalati &)> &steps) {
        runFrom<TfrmSegnalati>(m_app->desktop, workspace()->cmdSegnalati, steps);
    }

    std::unique_ptr<AppFixture> m_app;
};

void TestFrmSegnalati::init() {
    m_app = std::make_unique<AppFixture>();
    workspace()->present();
    QVERIFY(QTest::qWaitForWindowExposed(workspace()));
}

void TestFrmSegnalati::cleanup() {
    m_app.reset();
}

// Only "Sì" exactly: not "No", not empty, not the same letters in other case.
// A flagged card with every other field empty shows as blanks and labels.
void TestFrmSegnalati::listsTheCardsFlaggedSi() {
    appendRecords(folder(), QList<DatabaseRecord>{card({{Campo01, "Alfa"}, {Segnala, "Sì"}}),
                                                  card({{Campo01, "Beta"}, {Segnala, "No"}}),
                                                  card({{Campo01, "Gamma"}}),
                                                  card({{Campo01, "Delta"}, {Segnala, "sì"}}),
                                                  card({{Segnala, "Sì"}})});
    const QString blankLine = QString(108, u' ') + QStringLiteral("  Tel. ") + QString(15, u' ') +
                              QStringLiteral("  C.F. ") + QString(16, u' ');
    openList([&](TfrmSegnalati &w) {
        QCOMPARE(w.windowTitle(), QStringLiteral(" Riepilogo record segnalati"));
        QCOMPARE(w.contentsRect().size(), QSize(862, 560));
        QVERIFY(!w.findChild<QLabel *>(QStringLiteral("lblTrovate")));
        QCOMPARE(shownPositions(w), (QList<qint64>{5, 1}));
        QCOMPARE(shownLines(w).first(), blankLine);
        QVERIFY(shownLines(w).last().startsWith(QStringLiteral("Alfa ")));
        QVERIFY(w.txtTrova->hasFocus());
        QTest::keyClick(w.txtTrova, Qt::Key_Return);
        QVERIFY(w.btnTrova->hasFocus());
        QCOMPARE(findInList(w, QStringLiteral("alfa")), 1);
        verifySummaryPrint(m_app->desktop, w, QStringLiteral("Riepilogo record segnalati"));
        w.close();
    });
    QVERIFY(m_app->desktop.messages.isEmpty());
}

void TestFrmSegnalati::noFlaggedCardAndAMissingArchive() {
    verifyMissingArchiveListsNothing<TfrmSegnalati>(m_app->desktop, workspace()->cmdSegnalati,
                                                    m_app->path(QStringLiteral("Database.pro")));
}

// An unflagged card stored later gives the same line as a flagged one: the
// flagged card, the one listed, is the one the double-click shows.
void TestFrmSegnalati::doubleClickLoadsTheFlaggedCard() {
    const DatabaseRecord flagged =
        card({{Campo01, "Alfa"}, {Campo04, "segnalata"}, {Cliente, "Ada"}, {Segnala, "Sì"}});
    const DatabaseRecord twin = card({{Campo01, "Alfa"}, {Campo04, "altra"}, {Cliente, "Ada"}});
    appendRecords(folder(), QList<DatabaseRecord>{card({{Campo01, "Beta"}}), flagged, twin});
    QCOMPARE(search::cardLine(flagged), search::cardLine(twin));
    openList([&](TfrmSegnalati &w) {
        QCOMPARE(shownPositions(w), QList<qint64>{2});
        doubleClickLine(w, 0);
        QVERIFY(!w.isVisible());
    });
    QCOMPARE(workspace()->lblPosizione->text(), QStringLiteral("2"));
    QCOMPARE(workspace()->txtCampo[3]->text(), QStringLiteral("segnalata"));
    QVERIFY(workspace()->chkSegnala->isChecked());
}

void TestFrmSegnalati::fillingFailureIsSilent() {
    verifyFillingFailureIsSilent<TfrmSegnalati>(m_app->desktop, workspace()->cmdSegnalati,
                                                m_app->path(QStringLiteral("Database.pro")));
}

QTEST_MAIN(TestFrmSegnalati)
#include "tst_frmsegnalati.moc"
