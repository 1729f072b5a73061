// The export windows driven as a user drives them: opened from their
// workspace's export button over a small archive, for the export window tests.
#pragma once

#include "app/TfrmGuida.h"
#include "clients/TfrmClienti.h"
#include "database/TfrmDatabase.h"
#include "output/ExportGridModel.h"
#include "output/ExportWindow.h"
#include "output/SpreadsheetExport.h"
#include "storage/RecordFile.h"
#include "support/AppFixture.h"
#include "support/Typing.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QtTest>
#include <functional>

inline const QString kAskExport = QStringLiteral(
    "L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di "
    "schede presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?");
inline const QString kAskOpen = QStringLiteral(
    "Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file "
    "di Excel?");
inline const QString kExportFailed = QStringLiteral(
    "Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi che il file di "
    "Excel non sia già aperto.");

enum class Archive { Database, Clients };

// Card `i` (from 1) of a small archive: names that tell the rows apart, an
// accented letter, markup, a flag set on odd cards, a town of birth left empty.
inline Record sampleRecord(Archive archive, int i) {
    const QString n = QString::number(i);
    if (archive == Archive::Database) {
        namespace F = DatabaseField;
        DatabaseRecord r;
        r.setText(F::Campo01, QStringLiteral("Scheda ") + n);
        r.setText(F::Campo02, QStringLiteral("<b>Città</b> & dintorni"));
        r.setText(F::Campo14, QStringLiteral("ultimo ") + n);
        r.setText(F::Cliente, QStringLiteral("Rossi Mario ") + n);
        r.setText(F::ComuneRes, QStringLiteral("Napoli"));
        r.setText(F::ProvRes, QStringLiteral("NA"));
        r.setText(F::CodFisc, QStringLiteral("RSSMRA80A01F839W"));
        r.setText(F::File01, QStringLiteral("allegato.pdf")); // never exported
        r.setYesNo(F::Segnala, i % 2 == 1);
        return r;
    }
    namespace F = ClientField;
    ClientRecord r;
    r.setText(F::Cliente, QStringLiteral("Bianchi Anna ") + n);
    r.setText(F::ProvNasc, QStringLiteral("NA")); // the town of birth stays empty
    r.setText(F::ComuneRes, QStringLiteral("Salò"));
    r.setText(F::ProvRes, QStringLiteral("BS"));
    r.setText(F::Note, QStringLiteral("Nota ") + n + QStringLiteral(" <i>urgente</i>"));
    r.setText(F::Sesso, QStringLiteral("F")); // never exported
    return r;
}

// One export window, opened from its workspace's export button on a
// temporary application folder.
struct ExportRun {
    Archive archive;
    AppFixture app;

    explicit ExportRun(Archive a, const QString &subfolder = AppFixture::defaultSubfolder())
        : archive(a), app(subfolder) {}

    const spreadsheet::Sheet &sheet() const {
        return archive == Archive::Database ? spreadsheet::databaseSheet : spreadsheet::clientSheet;
    }
    QString archivePath() const { return app.path(QString::fromLatin1(sheet().layout->fileName)); }
    QString targetPath() const { return app.path(QString::fromLatin1(sheet().fileName)); }
    QWidget *workspace() const {
        return archive == Archive::Database ? static_cast<QWidget *>(app.windows->frmDatabase)
                                            : static_cast<QWidget *>(app.windows->frmClienti);
    }
    QAbstractButton *exportButton() const {
        return archive == Archive::Database
                   ? static_cast<QAbstractButton *>(app.windows->frmDatabase->cmdEsporta)
                   : static_cast<QAbstractButton *>(app.windows->frmClienti->cmdEsporta);
    }

    // Appends `count` sample records through the storage types.
    void writeArchive(int count) {
        RecordFile file;
        file.openOrCreate(*sheet().layout, archivePath());
        file.seek(file.size());
        for (int i = 1; i <= count; ++i)
            file.write(sampleRecord(archive, i));
        file.close();
    }

    // What the writer gives for the archive as it is on disk.
    QByteArray writerBytes() const {
        const QString reference = app.dir.filePath(QStringLiteral("reference.xls"));
        spreadsheet::exportArchive(sheet(), archivePath(), reference);
        return readFile(reference);
    }

    // Clicks the workspace's export button and runs `during` while the
    // window is shown; the titles of the guides it opens are kept.
    QStringList guides;
    void open(const std::function<void(ExportWindow &)> &during) {
        bool ran = false;
        app.desktop.onModal = [&](QDialog &dialog) {
            if (auto *guide = qobject_cast<TfrmGuida *>(&dialog)) {
                guides << guide->lblTitolo->text();
                return;
            }
            auto *window = qobject_cast<ExportWindow *>(&dialog);
            QVERIFY(window);
            ran = true;
            during(*window);
        };
        exportButton()->click();
        QVERIFY(ran);
    }
};

// The grid's columns as the user sees them: headers, widths in pixels and
// which columns refuse typing.
inline void verifyColumns(ExportWindow &w, const QStringList &headers, const QList<int> &widths,
                          const QList<int> &readOnly) {
    QAbstractItemModel *model = w.grdRecords->model();
    QCOMPARE(model->columnCount(), headers.size());
    QStringList seen;
    QList<int> seenWidths;
    QList<int> seenReadOnly;
    for (int c = 0; c < model->columnCount(); ++c) {
        seen << model->headerData(c, Qt::Horizontal).toString();
        seenWidths << w.grdRecords->columnWidth(c);
        if (!(model->index(0, c).flags() & Qt::ItemIsEditable))
            seenReadOnly << c;
    }
    QCOMPARE(seen, headers);
    QCOMPARE(seenWidths, widths);
    QCOMPARE(seenReadOnly, readOnly);
}

// The status line over each button and over the grid; the guide button opens
// the window's guide.
inline void verifyStatusLineAndGuide(ExportRun &run, ExportWindow &w, const QString &guideTitle) {
    QCOMPARE(w.panInfo->text(), QStringLiteral("Esportazione archivio in Microsoft Excel."));
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const std::pair<QWidget *, QString> hints[] = {
        {w.cmdEsporta, QStringLiteral("Esporta l'archivio in formato Microsoft Excel.")},
        {w.grdRecords->viewport(), QString()},
        {w.cmdGuida, QStringLiteral("Visualizza la pagina della guida sensibile al contesto.")},
        {w.panInfo, QString()},
        {w.cmdEsci, QStringLiteral("Esci da questo ambiente di lavoro.")},
    };
    for (const auto &[control, text] : hints) {
        QTest::mouseMove(control);
        QTRY_COMPARE(w.panInfo->text(), text);
    }
    QTest::mouseClick(w.cmdGuida, Qt::LeftButton);
    QCOMPARE(run.guides, QStringList{guideTitle});
    QTest::mouseClick(w.cmdEsci, Qt::LeftButton);
    QVERIFY(!w.isVisible());
}
