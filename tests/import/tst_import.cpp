#include "import/ImportPlan.h"
#include "import/TableReader.h"
#include "output/SpreadsheetExport.h"
#include "storage/ClientRecord.h"
#include "storage/DatabaseRecord.h"
#include "storage/IniFile.h"
#include "storage/RecordFile.h"
#include "storage/StorageError.h"
#include "support/Files.h"
#include "support/FullDisk.h"

#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QtTest>

using Rows = QList<QStringList>;

class TestImport : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void csvTables_data();
    void csvTables();
    void largeCsvAcrossChunks();
    void htmlTable();
    void htmlOmittedEndTags_data();
    void htmlOmittedEndTags();
    void htmlReferencesInLinearTime();
    void tableLimits();
    void encodingVerdictFollowsTheFile();
    void binarySpreadsheetRefused();
    void mapping_data();
    void mapping();
    void exportReadsBack_data();
    void exportReadsBack();
    void failedAppendLeavesFileAsItWas_data();
    void failedAppendLeavesFileAsItWas();
    void cancelLeavesFileAsItWas();

  private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {

Rows readAll(const QString &file, char *separator = nullptr,
             import::TableEncoding *encoding = nullptr) {
    const auto reader = import::openTable(file);
    if (separator)
        *separator = reader->separator();
    if (encoding)
        *encoding = reader->encoding();
    Rows rows;
    QStringList cells;
    while (reader->next(cells))
        rows << cells;
    return rows;
}

// The text of every field of a record file, record by record.
Rows archiveTexts(const RecordLayout &layout, const QString &file) {
    RecordScanner scanner(layout, file);
    Rows out;
    Record record(layout);
    while (const char *bytes = scanner.next()) {
        std::memcpy(record.data(), bytes, size_t(layout.size));
        QStringList texts;
        for (int f = 0; f < int(layout.fields.size()); ++f)
            texts << record.text(f);
        out << texts;
    }
    return out;
}

} // namespace

void TestImport::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestImport::csvTables_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<char>("separator");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<Rows>("rows");
    QTest::newRow("comma, LF") << QByteArray("a,b\nc,d\n") << ',' << true
                               << Rows{{"a", "b"}, {"c", "d"}};
    QTest::newRow("semicolon, CRLF, no final break")
        << QByteArray("a;b,c\r\nd;e") << ';' << true << Rows{{"a", "b,c"}, {"d", "e"}};
    QTest::newRow("quotes: doubled, separator and line breaks inside")
        << QByteArray("\"x;y\";\"say \"\"hi\"\"\"\r\n\"line 1\r\nline 2\nline 3\";\"\"\r\n") << ';'
        << true
        << Rows{{"x;y", "say \"hi\""}, {"line 1\r\nline 2\nline 3", ""}};
    QTest::newRow("separator counted outside quotes only")
        << QByteArray("\"a;b;c\",d\n") << ',' << true << Rows{{"a;b;c", "d"}};
    QTest::newRow("empty lines and empty cells")
        << QByteArray("a,,b\n\n\r\n,,\nc\n") << ',' << true
        << Rows{{"a", "", "b"}, {"", "", ""}, {"c"}};
    QTest::newRow("old Mac CR line ends") << QByteArray("a;b\rc;d\r") << ';' << true
                                          << Rows{{"a", "b"}, {"c", "d"}};
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF\"Citt\xC3\xA0\";\xE2\x82\xAC\n")
                                    << ';' << true << Rows{{u"Città"_qs, u"€"_qs}};
    QTest::newRow("UTF-8 without BOM") << QByteArray("N\xC3\xB6rd,\xC5\x81\xC3\xB3" "d\xC5\xBA\n")
                                       << ',' << true << Rows{{u"Nörd"_qs, u"Łódź"_qs}};
    QTest::newRow("Windows-1252") << QByteArray("Citt\xE0;\x80 5;\x93q\x94\n") << ';' << false
                                  << Rows{{u"Città"_qs, u"€ 5"_qs, u"“q”"_qs}};
    QTest::newRow("quote left open at the end")
        << QByteArray("a,\"b\nc") << ',' << true << Rows{{"a", "b\nc"}};
}

void TestImport::csvTables() {
    QFETCH(QByteArray, bytes);
    QFETCH(char, separator);
    QFETCH(bool, utf8);
    QFETCH(Rows, rows);
    QVERIFY(writeFile(path("t.csv"), bytes));
    char sep = 0;
    import::TableEncoding encoding{};
    QCOMPARE(readAll(path("t.csv"), &sep, &encoding), rows);
    QCOMPARE(sep, separator);
    QCOMPARE(encoding == import::TableEncoding::Utf8, utf8);
}

// A file of several read chunks: quoted cells and two-byte characters
// straddle the chunk ends; a single Windows-1252 byte near the end makes the
// whole file Windows-1252.
void TestImport::largeCsvAcrossChunks() {
    QByteArray body;
    for (int i = 0; i < 40000; ++i)
        body += "\"Citt\xC3\xA0 " + QByteArray::number(i) + "\r\nriga\";x\xC3\xA8y\r\n";
    QVERIFY(writeFile(path("big.csv"), body));
    Rows rows = readAll(path("big.csv"));
    QCOMPARE(rows.size(), 40000);
    QCOMPARE(rows.last(), (QStringList{u"Città 39999\r\nriga"_qs, u"xèy"_qs}));

    QVERIFY(writeFile(path("big.csv"), body + "\xE0;z\r\n"));
    import::TableEncoding encoding{};
    rows = readAll(path("big.csv"), nullptr, &encoding);
    QCOMPARE(encoding, import::TableEncoding::Windows1252);
    QCOMPARE(rows.size(), 40001);
    QCOMPARE(rows.last(), (QStringList{u"à"_qs, u"z"_qs}));
}

// An HTML table as another program may write it: upper-case tags, header
// cells, a ">" inside a quoted attribute, line breaks, character references,
// a commented-out row, UTF-8 named by the page.
void TestImport::htmlTable() {
    QVERIFY(writeFile(path("t.xls"),
                      "<HTML><HEAD><META content=\"text/html; charset=UTF-8\"></HEAD><BODY>\n"
                      "<!-- <tr><td>not a row</td></tr> -->\n<TABLE border=1>\n"
                      "<TR><TH>Campo 1</TH><TH title=\"a>b\">Campo 2</TH></TR>\n"
                      "<TR><TD>caff\xC3\xA8 &amp; t&#232;<br/>riga 2</TD>"
                      "<TD><b>&lt;x&gt;</b>&nbsp;&quot;&#x41;&unknown;</TD></TR>\n"
                      "</TABLE></BODY></HTML>"));
    const Rows rows = readAll(path("t.xls"));
    QCOMPARE(rows, (Rows{{"Campo 1", "Campo 2"},
                         {u"caffè & tè\r\nriga 2"_qs, u"<x>\u00A0\"A&unknown;"_qs}}));
}

void TestImport::htmlOmittedEndTags_data() {
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<Rows>("rows");
    QTest::newRow("no end tag of any row or cell")
        << QByteArray("<table><tr><td>Campo 1<td>Campo 2<tr><td>a1<td>a2<tr><td>b1<td>b2</table>")
        << Rows{{"Campo 1", "Campo 2"}, {"a1", "a2"}, {"b1", "b2"}};
    QTest::newRow("one row's end tag missing")
        << QByteArray("<table><tr><td>a1</td><td>a2</td><tr><td>b1</td></tr>"
                      "<tr><td>c1</td></tr></table>")
        << Rows{{"a1", "a2"}, {"b1"}, {"c1"}};
    QTest::newRow("cells' end tags missing, rows' present")
        << QByteArray("<table><tr><th>x<th>y</tr><tr><td>1<td>2</tr></table>")
        << Rows{{"x", "y"}, {"1", "2"}};
    QTest::newRow("the last row ended by the end of the file")
        << QByteArray("<table><tr><td>a<tr><td>b") << Rows{{"a"}, {"b"}};
}

void TestImport::htmlOmittedEndTags() {
    QFETCH(QByteArray, table);
    QFETCH(Rows, rows);
    QVERIFY(writeFile(path("t.xls"), table));
    QCOMPARE(readAll(path("t.xls")), rows);
}

void TestImport::htmlReferencesInLinearTime() {
    // A cell of "&" with no ";" anywhere (cells are cut at 64 KiB): ten
    // times the cell must take far less than a hundred times as long.
    const auto timed = [this](int size) -> qint64 {
        if (!writeFile(path("amp.xls"), "<table><tr><td>" + QByteArray(size, '&') + "</table>"))
            return -1;
        QElapsedTimer clock;
        clock.start();
        const Rows rows = readAll(path("amp.xls"));
        const qint64 ns = clock.nsecsElapsed();
        return rows.value(0).value(0).size() == size ? ns : -1;
    };
    // The best of three runs, so that a pause of the machine counts for nothing.
    const auto best = [&](int size) { return std::min({timed(size), timed(size), timed(size)}); };
    const qint64 small = best(6'000);
    const qint64 large = best(60'000);
    QVERIFY(small > 0 && large > 0); // written and read whole
    QVERIFY2(large < 30 * small, qPrintable(QStringLiteral("%1 ns against %2 ns").arg(large).arg(small)));
}

void TestImport::tableLimits() {
    // The reader's refusal of a file, or nothing when it reads it.
    const auto refusal = [&](const QString &name) {
        try {
            readAll(path(name));
        } catch (const import::FormatError &e) {
            return e.message();
        }
        return QString();
    };
    // 1,000 columns are read; one more is refused with the limit named, in a
    // CSV and in a table alike.
    QVERIFY(writeFile(path("wide.csv"), QByteArray(999, ';') + "\n"));
    QCOMPARE(readAll(path("wide.csv")).value(0).size(), 1000);
    for (const auto &[name, bytes] :
         {std::pair(QStringLiteral("wider.csv"), QByteArray(1000, ';') + "\n"),
          std::pair(QStringLiteral("wider.xls"), "<table><tr>" + QByteArray("<td>x").repeated(1001))}) {
        QVERIFY(writeFile(path(name), bytes));
        QVERIFY2(refusal(name).contains(u"più di 1000 colonne"), qPrintable(name));
    }
    // A cell keeps its first 64 KiB, quoted or not, in a table too.
    const QByteArray huge(200'000, 'a');
    QVERIFY(writeFile(path("long.csv"), "x;y;z\n" + huge + ";\"" + huge + "\";b\n"));
    QCOMPARE(readAll(path("long.csv")).value(1),
             (QStringList{QString(64 * 1024, u'a'), QString(64 * 1024, u'a'), "b"}));
    QVERIFY(writeFile(path("long.xls"), "<table><tr><td>" + huge + "<br>" + huge + "<td>b</table>"));
    QCOMPARE(readAll(path("long.xls")), (Rows{{QString(64 * 1024, u'a'), "b"}}));

    // A row of more than 64 MB is refused, the limit named: found by the
    // encoding's scan in a UTF-8 CSV, by the reader otherwise.
    const QByteArray endless(import::kMostRowBytes + 2 * 1024 * 1024, 'a');
    for (const auto &[name, bytes] :
         {std::pair(QStringLiteral("endless.csv"), "x;y\n" + endless + "\n"),
          std::pair(QStringLiteral("endless-1252.csv"), "x;\xE8\n" + endless + "\n"),
          std::pair(QStringLiteral("endless.xls"), "<table><tr><td>" + endless + "</table>"),
          std::pair(QStringLiteral("endless.vcf"), "BEGIN:VCARD\nNOTE:" + endless + "\nEND:VCARD\n")}) {
        QVERIFY(writeFile(path(name), bytes));
        QVERIFY2(refusal(name).contains(u"una riga di più di 64 MB"), qPrintable(name));
    }
}

// The encoding is found once for a file opened again and again, and found
// anew once the file has changed.
void TestImport::encodingVerdictFollowsTheFile() {
    import::TableEncoding encoding{};
    QVERIFY(writeFile(path("t.csv"), "Campo 1;Campo 2\ncaff\xC3\xA8;x\n"));
    QCOMPARE(readAll(path("t.csv"), nullptr, &encoding), (Rows{{"Campo 1", "Campo 2"}, {u"caffè"_qs, "x"}}));
    QCOMPARE(encoding, import::TableEncoding::Utf8);
    QCOMPARE(readAll(path("t.csv"), nullptr, &encoding).size(), 2);
    QCOMPARE(encoding, import::TableEncoding::Utf8);
    // Rewritten in place with the same size: a new change time all the same.
    QVERIFY(writeFile(path("t.csv"), "Campo 1;Campo 2\ncaff\xE8;xy\n"));
    QCOMPARE(readAll(path("t.csv"), nullptr, &encoding), (Rows{{"Campo 1", "Campo 2"}, {u"caffè"_qs, "xy"}}));
    QCOMPARE(encoding, import::TableEncoding::Windows1252);
}

void TestImport::binarySpreadsheetRefused() {
    for (const QByteArray &magic : {QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1rest", 12),
                                    QByteArray("PK\x03\x04rest")}) {
        QVERIFY(writeFile(path("Foglio.xls"), magic));
        try {
            import::openTable(path("Foglio.xls"));
            QFAIL("a binary spreadsheet was read");
        } catch (const import::FormatError &e) {
            QVERIFY(e.message().contains(u"CSV"));
        }
    }
    QVERIFY_THROWS_EXCEPTION(StorageError, import::openTable(path("missing.csv")));
}

void TestImport::mapping_data() {
    QTest::addColumn<bool>("clients");
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<bool>("header");
    QTest::addColumn<Rows>("stored"); // field texts of the cards, only the fields listed
    QTest::addColumn<QList<int>>("fields");
    QTest::addColumn<qint64>("cut");
    QTest::addColumn<qint64>("replaced");
    namespace D = DatabaseField;
    namespace C = ClientField;
    // Archivio.ini names Campo 03 "Colore preferito".
    QTest::newRow("titles: export's, user's, any case and blanks; unknown column left out")
        << false
        << QByteArray("  cognome E NOME ;COLOREPREFERITO;Ignota;campo 1;prov.\n"
                      "Rossi Mario;blu;zzz;uno;RM\n")
        << true << Rows{{"Rossi Mario", "blu", "uno", "RM"}}
        << QList<int>{D::Cliente, D::Campo03, D::Campo01, D::ProvRes} << 0LL << 0LL;
    QTest::newRow("no header: the export's column order")
        << false << QByteArray("uno,due\n") << false << Rows{{"uno", "due", ""}}
        << QList<int>{D::Campo01, D::Campo02, D::Campo03} << 0LL << 0LL;
    QTest::newRow("flags: every spelling of yes, anything else no")
        << false
        << QByteArray("Segnalato;Campo 1\nS\xC3\xAC;a\nsi;b\nSI;c\ns\xC3\xAC;d\n1;e\nTRUE;f\n"
                      "x;g\nno;h\n;i\nyes;j\n")
        << true
        << Rows{{u"Sì"_qs}, {u"Sì"_qs}, {u"Sì"_qs}, {u"Sì"_qs}, {u"Sì"_qs}, {u"Sì"_qs},
                {u"Sì"_qs}, {"No"}, {"No"}, {"No"}}
        << QList<int>{D::Segnala} << 0LL << 0LL;
    QTest::newRow("over-long and foreign text: cut and '?', counted per value; blank row skipped")
        << false
        << QByteArray("Prov;Codice fiscale;Campo 1\nROMA;RSSMRA80A01H501UXX;\xE2\x82\xAC\xE2\x86\x92?\n"
                      " ; ; \nMI;ok;\xC5\x81\n")
        << true << Rows{{"RO", "RSSMRA80A01H501U", u"€??"_qs}, {"MI", "ok", "?"}}
        << QList<int>{D::ProvRes, D::CodFisc, D::Campo01} << 2LL << 2LL;
    QTest::newRow("clients: common titles of other programs")
        << true
        << QByteArray("Cognome e nome;Cellulare;Email;P.IVA;Provincia;Via;Comune\n"
                      "Bianchi Ugo;333 1;u@b.it;01234567890;TO;Via Po 1;Torino\n")
        << true
        << Rows{{"Bianchi Ugo", "333 1", "u@b.it", "01234567890", "TO", "Via Po 1", ""}}
        << QList<int>{C::Cliente, C::TelCel, C::Email, C::PartitaIva, C::ProvRes,
                      C::IndirizzoRes, C::ComuneRes}
        << 0LL << 0LL;
    QTest::newRow("clients: joined town and province split; extra fields")
        << true
        << QByteArray("Comune di residenza;Comune di nascita;CAP;Da ricontattare;Sesso;Cliente\n"
                      "San Vito Lo Capo TP;Vo;00100;x;F;a\nReggio Emilia RE;Bolzano BZ;;;M;b\n")
        << true
        << Rows{{"San Vito Lo Capo", "TP", "Vo", "", "00100", u"Sì"_qs, "F"},
                {"Reggio Emilia", "RE", "Bolzano", "BZ", "", "No", "M"}}
        << QList<int>{C::ComuneRes, C::ProvRes, C::ComuneNasc, C::ProvNasc, C::CapRes,
                      C::Ricontatta, C::Sesso}
        << 0LL << 0LL;
    QTest::newRow("clients: a province column of its own keeps the town whole")
        << true << QByteArray("Comune di residenza;Provincia;Cliente\nMilano MI;;a\nVo PD;PD;b\n")
        << true << Rows{{"Milano MI", ""}, {"Vo PD", "PD"}} << QList<int>{C::ComuneRes, C::ProvRes}
        << 0LL << 0LL;
}

void TestImport::mapping() {
    QFETCH(bool, clients);
    QFETCH(QByteArray, csv);
    QFETCH(bool, header);
    QFETCH(Rows, stored);
    QFETCH(QList<int>, fields);
    QFETCH(qint64, cut);
    QFETCH(qint64, replaced);
    IniFile(path("Archivio.ini"))
        .write(QStringLiteral("Nome Campi"), QStringLiteral("Campo 03"),
               QStringLiteral("Colore preferito"));
    QVERIFY(writeFile(path("t.csv"), csv));
    const AppFolder folder(m_dir->path());
    const auto &sheet = clients ? spreadsheet::clientSheet : spreadsheet::databaseSheet;
    import::Plan plan(sheet, folder);
    plan.setFirstRow(import::firstRowOf(path("t.csv")));
    QCOMPARE(plan.hasHeader(), header);

    import::Counts survey;
    QVERIFY(import::survey(path("t.csv"), plan, survey));
    import::Counts counts;
    QVERIFY(import::append(path("t.csv"), plan, folder, counts));
    QCOMPARE(counts.rows, qint64(stored.size()));
    QCOMPARE(counts.cutValues, cut);
    QCOMPARE(counts.replacedValues, replaced);
    QCOMPARE(survey.rows, counts.rows);
    QCOMPARE(survey.cutValues, counts.cutValues);

    const Rows all = archiveTexts(*sheet.layout, folder.file(QString::fromLatin1(sheet.layout->fileName)));
    Rows got;
    for (const QStringList &card : all) {
        QStringList picked;
        for (int f : fields)
            picked << card[f];
        got << picked;
    }
    QCOMPARE(got, stored);
}

void TestImport::exportReadsBack_data() {
    QTest::addColumn<bool>("clients");
    QTest::newRow("database") << false;
    QTest::newRow("clients") << true;
}

// Cards written to the spreadsheet export by the export's own writer come back
// byte for byte: every exported field, accents, "&<>", line breaks and the
// province split off the town.
void TestImport::exportReadsBack() {
    QFETCH(bool, clients);
    const auto &sheet = clients ? spreadsheet::clientSheet : spreadsheet::databaseSheet;
    const RecordLayout &layout = *sheet.layout;
    QList<Record> cards;
    for (int n = 0; n < 3; ++n) {
        Record r(layout);
        for (const spreadsheet::Column &c : sheet.columns) {
            const int cap = layout.fields[c.field].capacity;
            QString value = QStringLiteral("%1 è <&> \"q\" n%2").arg(c.fileTitle).arg(n).left(cap);
            if (cap >= 200)
                value = QStringLiteral("prima riga\r\nseconda & <terza> %1").arg(n);
            r.setText(c.field, value);
            if (c.secondField >= 0)
                r.setText(c.secondField, n == 1 ? QString() : QStringLiteral("AB"));
        }
        if (!clients)
            r.setYesNo(DatabaseField::Segnala, n % 2 == 0);
        else
            r.setYesNo(ClientField::Ricontatta, false);
        cards << r;
    }
    const QString xls = path(QString::fromLatin1(sheet.fileName));
    spreadsheet::Writer writer(xls, sheet);
    for (const Record &r : cards)
        writer.addRecord(r.data());
    writer.commit();

    const AppFolder folder(m_dir->path());
    import::Plan plan(sheet, folder);
    plan.setFirstRow(import::firstRowOf(xls));
    QVERIFY(plan.hasHeader());
    for (int c = 0; c < plan.columnCount(); ++c)
        QCOMPARE(plan.targetOf(c), c);
    import::Counts counts;
    QVERIFY(import::append(xls, plan, folder, counts));
    QCOMPARE(counts.rows, 3);
    QCOMPARE(counts.cutValues, 0);
    const QString stored = folder.file(QString::fromLatin1(layout.fileName));
    const Rows got = archiveTexts(layout, stored);
    QCOMPARE(got.size(), cards.size());
    for (qsizetype i = 0; i < cards.size(); ++i)
        for (int f = 0; f < int(layout.fields.size()); ++f)
            QCOMPARE(got[i][f], cards[i].text(f));
    QByteArray expected;
    for (const Record &r : cards)
        expected += r.bytes();
    QCOMPARE(readFile(stored), expected);
}

void TestImport::failedAppendLeavesFileAsItWas_data() {
    QTest::addColumn<qint64>("freeBytes");
    QTest::addColumn<int>("partialTail");
    QTest::newRow("nothing fits, whole archive") << 0LL << 0;
    QTest::newRow("a few cards fit, trailing partial card") << 40000LL << 1000;
}

// The disk fills during the import: the error reaches the caller and the
// record file is byte for byte what it was, a damaged trailing part included.
void TestImport::failedAppendLeavesFileAsItWas() {
    QFETCH(qint64, freeBytes);
    QFETCH(int, partialTail);
    FullDisk disk("256k");
    REQUIRE_MOUNTED(disk);
    QByteArray before;
    DatabaseRecord r;
    for (int i = 0; i < 3; ++i) {
        r.setText(DatabaseField::Campo01, QStringLiteral("scheda %1").arg(i));
        before += r.bytes();
    }
    before += QByteArray(partialTail, 'z');
    const AppFolder folder(disk.path());
    QVERIFY(writeFile(folder.databaseFile(), before));
    QByteArray csv = "Campo 1\n";
    for (int i = 0; i < 500; ++i)
        csv += "riga " + QByteArray::number(i) + "\n";
    QVERIFY(writeFile(path("t.csv"), csv));
    QVERIFY(disk.fill());
    if (freeBytes > 0)
        QVERIFY(disk.release(freeBytes));

    import::Plan plan(spreadsheet::databaseSheet, folder);
    plan.setFirstRow(import::firstRowOf(path("t.csv")));
    import::Counts counts;
    QVERIFY_THROWS_EXCEPTION(StorageError, import::append(path("t.csv"), plan, folder, counts));
    QCOMPARE(readFile(folder.databaseFile()), before);
}

// Stopping part-way, on an existing archive and on one the import created.
void TestImport::cancelLeavesFileAsItWas() {
    QByteArray csv = "Campo 1\n";
    for (int i = 0; i < 5000; ++i)
        csv += "riga " + QByteArray::number(i) + "\n";
    QVERIFY(writeFile(path("t.csv"), csv));
    const AppFolder folder(m_dir->path());
    import::Plan plan(spreadsheet::databaseSheet, folder);
    plan.setFirstRow(import::firstRowOf(path("t.csv")));
    int calls = 0;
    const auto stopSoon = [&](qint64, qint64) { return ++calls < 3; };
    import::Counts counts;
    QVERIFY(!import::append(path("t.csv"), plan, folder, counts, stopSoon));
    QVERIFY(!QFile::exists(folder.databaseFile()));

    const QByteArray before = DatabaseRecord().bytes() + "tail";
    QVERIFY(writeFile(folder.databaseFile(), before));
    calls = 0;
    QVERIFY(!import::append(path("t.csv"), plan, folder, counts, stopSoon));
    QCOMPARE(readFile(folder.databaseFile()), before);
    QVERIFY(import::append(path("t.csv"), plan, folder, counts));
    QCOMPARE(QFileInfo(folder.databaseFile()).size(), qint64(DatabaseRecord::kSize) * 5001);
}

QTEST_GUILESS_MAIN(TestImport)
#include "tst_import.moc"
