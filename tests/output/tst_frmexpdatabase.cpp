// The database export window: its grid over the cards, the status line, the
// guide, and the workspace's button that opens it.
#include "ExportRun.h"
#include "output/TfrmExpDatabase.h"

class TestFrmExpDatabase : public QObject {
    Q_OBJECT
  private slots:
    void gridShowsTheCards();
    void statusLineGuideAndExit();
};

void TestFrmExpDatabase::gridShowsTheCards() {
    ExportRun run(Archive::Database);
    run.writeArchive(3);
    run.open([&](ExportWindow &w) {
        QVERIFY(qobject_cast<TfrmExpDatabase *>(&w));
        QCOMPARE(w.parentWidget(), run.workspace());
        QCOMPARE(w.windowTitle(), QStringLiteral(" Esporta database in Microsoft Excel"));
        QStringList headers{QStringLiteral("N.")};
        QList<int> widths{60};
        for (int i = 1; i <= 14; ++i) {
            headers << QStringLiteral("Campo %1").arg(i);
            widths << 250;
        }
        headers << QStringLiteral("Cognome e nome") << QStringLiteral("Via e numero civico")
                << QStringLiteral("Comune di residenza") << QStringLiteral("Prov.")
                << QStringLiteral("Recapito preferenziale") << QStringLiteral("E-mail")
                << QStringLiteral("Codice fiscale") << QStringLiteral("Partita IVA")
                << QStringLiteral("Segnalato");
        widths << 250 << 250 << 250 << 120 << 200 << 250 << 150 << 150 << 120;
        verifyColumns(w, headers, widths, {0, 15, 16, 19, 20, 21});

        QCOMPARE(w.grdRecords->verticalHeader()->defaultSectionSize(), 21);
        QVERIFY(w.grdRecords->alternatingRowColors());
        const QAbstractItemModel *m = w.grdRecords->model();
        QCOMPARE(m->rowCount(), 3);
        const QStringList expected[] = {
            {"2", "Scheda 2", "<b>Città</b> & dintorni", "ultimo 2", "Rossi Mario 2", "Napoli",
             "NA", "RSSMRA80A01F839W", "No"},
            {"3", "Scheda 3", "<b>Città</b> & dintorni", "ultimo 3", "Rossi Mario 3", "Napoli",
             "NA", "RSSMRA80A01F839W", "Sì"},
        };
        const int columns[] = {0, 1, 2, 14, 15, 17, 18, 21, 23};
        for (int r = 1; r <= 2; ++r)
            for (int i = 0; i < 9; ++i)
                QCOMPARE(m->index(r, columns[i]).data().toString(), expected[r - 1][i]);
        QCOMPARE(m->index(0, 16).data().toString(), QString()); // no address stored
    });
}

void TestFrmExpDatabase::statusLineGuideAndExit() {
    ExportRun run(Archive::Database);
    run.open([&](ExportWindow &w) {
        verifyStatusLineAndGuide(run, w,
                                 QStringLiteral("Esportazione database in Microsoft Excel."));
    });
    QCOMPARE(run.app.desktop.modalDialogs,
             (QStringList{QStringLiteral("TfrmExpDatabase"), QStringLiteral("TfrmGuida")}));
}

QTEST_MAIN(TestFrmExpDatabase)
#include "tst_frmexpdatabase.moc"
