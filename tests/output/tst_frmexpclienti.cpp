// The client export window: its grid over the clients (two columns join a
// town and its province), the status line, the guide, and the workspace's
// button that opens it.
#include "ExportRun.h"
#include "output/TfrmExpClienti.h"

class TestFrmExpClienti : public QObject {
    Q_OBJECT
  private slots:
    void gridShowsTheClients();
    void statusLineGuideAndExit();
};

void TestFrmExpClienti::gridShowsTheClients() {
    ExportRun run(Archive::Clients);
    run.writeArchive(2);
    run.open([&](ExportWindow &w) {
        QVERIFY(qobject_cast<TfrmExpClienti *>(&w));
        QCOMPARE(w.parentWidget(), run.workspace());
        QCOMPARE(w.windowTitle(), QStringLiteral(" Esporta archivio Clienti in Microsoft Excel"));
        const QStringList headers = {
            "N.",
            "Cognome e nome Cliente",
            "Data di nascita",
            "Comune / Stato estero di nascita",
            "Recapito preferenziale",
            "Indirizzo di residenza",
            "Comune di residenza",
            "Modalità di pagamento",
            "Tel. casa",
            "Tel. ufficio",
            "Tel. cellulare",
            "Fax",
            "E-mail",
            "Codice fiscale",
            "Partita IVA",
            "Carta di credito n.",
            "Scadenza",
            "IBAN",
            "Estremi documento",
            "Occupazione",
            "Stato civile",
            "Titoli e qualifiche",
            "Prodotti e servizi di interesse",
            "Zona di appartenenza",
            "Questioni in sospeso",
            "Note",
        };
        verifyColumns(w, headers, {60,  250, 120, 250, 200, 250, 250, 250, 200, 200, 200, 200, 250,
                                   150, 150, 250, 160, 250, 280, 250, 250, 280, 300, 250, 300, 350},
                      {0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 15, 20, 22, 23});

        const QAbstractItemModel *m = w.grdRecords->model();
        QCOMPARE(m->rowCount(), 2);
        QCOMPARE(m->index(1, 0).data().toString(), QStringLiteral("2"));
        QCOMPARE(m->index(1, 1).data().toString(), QStringLiteral("Bianchi Anna 2"));
        // An empty town of birth: the province alone, without a blank before it.
        QCOMPARE(m->index(1, 3).data().toString(), QStringLiteral("NA"));
        QCOMPARE(m->index(1, 6).data().toString(), QStringLiteral("Salò BS"));
        QCOMPARE(m->index(1, 25).data().toString(), QStringLiteral("Nota 2 <i>urgente</i>"));
    });
}

void TestFrmExpClienti::statusLineGuideAndExit() {
    ExportRun run(Archive::Clients);
    run.open([&](ExportWindow &w) {
        verifyStatusLineAndGuide(
            run, w, QStringLiteral("Esportazione archivio Clienti in Microsoft Excel."));
    });
    QCOMPARE(run.app.desktop.modalDialogs,
             (QStringList{QStringLiteral("TfrmExpClienti"), QStringLiteral("TfrmGuida")}));
}

QTEST_MAIN(TestFrmExpClienti)
#include "tst_frmexpclienti.moc"
