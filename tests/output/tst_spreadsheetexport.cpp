#include "output/SpreadsheetExport.h"
#include "storage/ClientRecord.h"
#include "storage/DatabaseRecord.h"
#include "storage/StorageError.h"
#include "support/FullDisk.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestSpreadsheetExport : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void databaseFileBytes();
    void clientCells();
    void gridAndRecordGiveSameBytes();
    void cellsStayText_data();
    void cellsStayText();
    void emptyArchiveHasHeaderOnly();
    void failureLeavesOldFileIntact();
    void fullDisk();

  private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    static QByteArray read(const QString &p) {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeRecords(const QString &file, const QList<QByteArray> &records) {
        QFile f(path(file));
        QVERIFY(f.open(QIODevice::WriteOnly));
        for (const QByteArray &r : records)
            f.write(r);
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {

QByteArray head(const char *sheetName) {
    return QByteArray(
               "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
               "xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
               "xmlns=\"http://www.w3.org/TR/REC-html40\"><head><meta http-equiv=\"Content-Type\" "
               "content=\"text/html; charset=windows-1252\"><!--[if gte mso 9]><xml>"
               "<x:ExcelWorkbook><x:ExcelWorksheets><x:ExcelWorksheet><x:Name>") +
           sheetName +
           "</x:Name><x:WorksheetOptions><x:Selected/><x:Panes><x:Pane><x:Number>1</x:Number>"
           "<x:ActiveRow>3</x:ActiveRow></x:Pane></x:Panes><x:ProtectContents>False"
           "</x:ProtectContents><x:ProtectObjects>False</x:ProtectObjects><x:ProtectScenarios>"
           "False</x:ProtectScenarios></x:WorksheetOptions></x:ExcelWorksheet>"
           "</x:ExcelWorksheets></x:ExcelWorkbook></xml><![endif]--></head><body>"
           "<table x:str><tr>";
}

QByteArray headerCell(const QByteArray &title, int width) {
    return "<td style=\"text-align: left; font-weight: bold;\" width=" + QByteArray::number(width) +
           ">" + title + "</td>";
}

QByteArray databaseHeader() {
    QByteArray out = head("Riepilogo Schede Database");
    for (int i = 1; i <= 14; ++i)
        out += headerCell("Campo " + QByteArray::number(i), 250);
    const std::pair<const char *, int> rest[] = {{"Cognome e nome", 250},
                                                 {"Via e numero civico", 250},
                                                 {"Comune di residenza", 250},
                                                 {"Prov", 150},
                                                 {"Recapito preferenziale", 250},
                                                 {"E-mail", 250},
                                                 {"Codice fiscale", 250},
                                                 {"Partita IVA", 250},
                                                 {"Segnalato", 150}};
    for (const auto &[title, width] : rest)
        out += headerCell(title, width);
    return out + "</tr>";
}

QByteArray row(const QList<QByteArray> &cells) {
    QByteArray out = "<tr>";
    for (const QByteArray &c : cells)
        out += "<td style=\"text-align: left;\" sdnum=\"1040;0;@\">" + c + "</td>";
    return out + "</tr>";
}

const QByteArray kTail = "</table></body></html>";

} // namespace

void TestSpreadsheetExport::init() {
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestSpreadsheetExport::databaseFileBytes() {
    namespace F = DatabaseField;
    DatabaseRecord a;
    a.setText(F::Campo01, u"Barolo <b>riserva</b> & co.");
    a.setText(F::Campo14, u"Però");
    a.setText(F::Cliente, u"Rossi Mario");
    a.setText(F::ProvRes, u"CN");
    a.setText(F::File01, u"non esportato.pdf");
    a.setYesNo(F::Segnala, true);
    DatabaseRecord b;
    b.setText(F::Campo01, u"Chianti");
    b.setYesNo(F::Segnala, false);
    b.setText(F::Campo02, u"   ");
    writeRecords(QStringLiteral("Database.pro"), {a.bytes(), b.bytes()});

    const qint64 rows =
        spreadsheet::exportArchive(spreadsheet::databaseSheet, path(QStringLiteral("Database.pro")),
                                   path(QStringLiteral("Database.xls")));
    QCOMPARE(rows, 2);

    QList<QByteArray> first(23);
    first[0] = "Barolo &lt;b&gt;riserva&lt;/b&gt; &amp; co.";
    first[13] = "Per\xF2";
    first[14] = "Rossi Mario";
    first[17] = "CN";
    first[22] = "S\xEC";
    QList<QByteArray> second(23);
    second[0] = "Chianti";
    second[22] = "No";
    const QByteArray expected = databaseHeader() + row(first) + row(second) + kTail;
    const QByteArray actual = read(path(QStringLiteral("Database.xls")));
    QCOMPARE(actual, expected);
    QVERIFY(!actual.contains('\n') && !actual.contains('\r'));
}

void TestSpreadsheetExport::clientCells() {
    namespace F = ClientField;
    ClientRecord c;
    c.setText(F::Cliente, u"Bianchi Anna");
    c.setText(F::ProvNasc, u"NA");
    c.setText(F::ComuneRes, u"Forlì");
    c.setText(F::ProvRes, u"FC");
    c.setText(F::Estremi, u"Bonifico");
    c.setText(F::Note, u"ultima");
    c.setText(F::Sesso, u"F");
    c.setYesNo(F::Ricontatta, true);
    const QStringList cells = spreadsheet::cellsOf(spreadsheet::clientSheet, c);
    QCOMPARE(cells.size(), 25);
    QCOMPARE(cells[0], QStringLiteral("Bianchi Anna"));
    QCOMPARE(cells[2], QStringLiteral("NA")); // no town of birth: no leading blank
    QCOMPARE(cells[5], QStringLiteral("Forlì FC"));
    QCOMPARE(cells[6], QStringLiteral("Bonifico"));
    QCOMPARE(cells[24], QStringLiteral("ultima"));
    QVERIFY(!cells.contains(QStringLiteral("F"))); // sex and flag are not exported
    QVERIFY(!cells.contains(QStringLiteral("Sì")));

    spreadsheet::Writer w(path(QStringLiteral("Clienti.xls")), spreadsheet::clientSheet);
    w.commit();
    const QByteArray file = read(path(QStringLiteral("Clienti.xls")));
    QVERIFY(file.contains("<x:Name>Riepilogo Clienti</x:Name>"));
    QVERIFY(file.contains(headerCell("Comune di nascita", 250)));
    QVERIFY(file.contains(headerCell("Modalit\xE0 di pagamento", 250)));
    QVERIFY(file.endsWith(headerCell("Note", 300) + "</tr>" + kTail));
}

// The export window feeds the writer the grid's texts, the companion the
// record bytes: an unedited grid gives the same file.
void TestSpreadsheetExport::gridAndRecordGiveSameBytes() {
    ClientRecord c;
    for (int f = 0; f < ClientField::Count; ++f)
        c.setText(f, QStringLiteral(" %1 à€<&> ").arg(f));
    c.data()[clientLayout.fields[ClientField::Carta].offset + 3] = char(0x81); // an undefined byte
    spreadsheet::Writer grid(path(QStringLiteral("grid.xls")), spreadsheet::clientSheet);
    grid.addRow(spreadsheet::cellsOf(spreadsheet::clientSheet, c));
    grid.commit();
    spreadsheet::Writer records(path(QStringLiteral("records.xls")), spreadsheet::clientSheet);
    records.addRecord(c.data());
    records.commit();
    QCOMPARE(read(path(QStringLiteral("grid.xls"))), read(path(QStringLiteral("records.xls"))));
    QVERIFY(read(path(QStringLiteral("grid.xls"))).contains(" \xE0\x80&lt;&amp;&gt;</td>"));
}

// Texts a spreadsheet would turn into numbers or formulas reach the file as
// they are, in cells marked as text.
void TestSpreadsheetExport::cellsStayText_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("leading zeros") << "00743110157";
    QTest::newRow("postal code") << "01100";
    QTest::newRow("formula") << "=SOMMA(A1:A9)";
    QTest::newRow("exponent") << "1e5";
    QTest::newRow("card number") << "4111111111111111111";
}

void TestSpreadsheetExport::cellsStayText() {
    QFETCH(QString, text);
    const QString target = path(QStringLiteral("Clienti.xls"));
    spreadsheet::Writer w(target, spreadsheet::clientSheet);
    w.addRow({text});
    w.commit();
    QList<QByteArray> cells(25);
    cells[0] = text.toLatin1();
    QVERIFY(read(target).endsWith(row(cells) + kTail));
}

void TestSpreadsheetExport::emptyArchiveHasHeaderOnly() {
    const qint64 rows =
        spreadsheet::exportArchive(spreadsheet::databaseSheet, path(QStringLiteral("Database.pro")),
                                   path(QStringLiteral("Database.xls")));
    QCOMPARE(rows, 0);
    QCOMPARE(read(path(QStringLiteral("Database.xls"))), databaseHeader() + kTail);
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("Database.pro")))); // not created
}

void TestSpreadsheetExport::failureLeavesOldFileIntact() {
    const QString target = path(QStringLiteral("Database.xls"));
    {
        QFile f(target);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("vecchio");
    }
    // The archive cannot be read: nothing is written over the old file.
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("Database.pro")));
    QVERIFY_THROWS_EXCEPTION(
        StorageError, spreadsheet::exportArchive(spreadsheet::databaseSheet,
                                                 path(QStringLiteral("Database.pro")), target));
    // A writer abandoned halfway leaves no half file behind.
    {
        spreadsheet::Writer w(target, spreadsheet::databaseSheet);
        w.addRow({QStringLiteral("a")});
    }
    QCOMPARE(read(target), QByteArray("vecchio"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files),
             QStringList{QStringLiteral("Database.xls")});
    // A target that cannot be created is an error, not a success.
    QVERIFY_THROWS_EXCEPTION(StorageError, spreadsheet::Writer(target + QStringLiteral("/x.xls"),
                                                               spreadsheet::databaseSheet));
}

// Ten cards exported onto a full disk: the export raises and the earlier
// export stays byte for byte.
void TestSpreadsheetExport::fullDisk() {
    FullDisk disk;
    REQUIRE_MOUNTED(disk);
    DatabaseRecord card;
    card.setText(DatabaseField::Campo01, QStringLiteral("Barolo"));
    card.setText(DatabaseField::Cliente, QStringLiteral("Rossi Mario"));
    writeRecords(QStringLiteral("Database.pro"), QList<QByteArray>(10, card.bytes()));
    const QString target = disk.filePath(QStringLiteral("Database.xls"));
    QCOMPARE(spreadsheet::exportArchive(spreadsheet::databaseSheet,
                                        path(QStringLiteral("Database.pro")), target),
             10);
    const QByteArray old = read(target);
    QVERIFY(old.size() > 4096);
    QVERIFY(disk.fill());
    QVERIFY_THROWS_EXCEPTION(
        StorageError, spreadsheet::exportArchive(spreadsheet::databaseSheet,
                                                 path(QStringLiteral("Database.pro")), target));
    QCOMPARE(read(target), old);
}

QTEST_APPLESS_MAIN(TestSpreadsheetExport)
#include "tst_spreadsheetexport.moc"
