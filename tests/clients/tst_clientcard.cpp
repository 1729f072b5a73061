// The client card as the workspace previews, prints and saves it as PDF: the
// card in the controls, row by row, through the real buttons.
#include "clients/TfrmClienti.h"
#include "report/PdfExport.h"
#include "report/Templates.h"
#include "storage/ClientRecord.h"
#include "support/AppFixture.h"
#include "support/FullDisk.h"
#include "support/Pdf.h"
#include "support/Typing.h"

#include <QLineEdit>
#include <QtTest>
#include <memory>

namespace {

using Kind = Desktop::Kind;
using Answer = Desktop::Answer;
using Boxes = QMap<int, QString>; // box texts by field
using Rows = QStringList;         // the 24 printed values

const QString kPdfDone = QStringLiteral(
    "L'esportazione della scheda in PDF è terminata con successo.\r\n\r\nSi vuole aprire il file?");
const QStringList kTitles = {"Cognome e nome:",
                             "Data di nascita:",
                             "Comune di nascita:",
                             "Sesso:",
                             "Recapito preferenziale:",
                             "Indirizzo di residenza:",
                             "Comune di residenza:",
                             "Modalità pagamento:",
                             "Tel. casa:",
                             "Tel. ufficio:",
                             "Tel. cellulare:",
                             "Fax:",
                             "E-mail:",
                             "Codice fiscale:",
                             "Partita IVA:",
                             "Carta di credito:",
                             "IBAN:",
                             "Estremi documento:",
                             "Occupazione:",
                             "Titoli e qualifiche:",
                             "Prodotti e servizi:",
                             "Zona di appartenenza:",
                             "Questioni in sospeso:",
                             "Note:"};

// A client with every box filled as a user may type it: blanks, a tab and
// square brackets. Trimming drops characters up to U+0020 only, so the
// no-break spaces of the note stay.
Boxes everyBox() {
    using namespace ClientField;
    return {{Cliente, "  Rossi Anna\t"},
            {DataNasc, " 01/02/1980 "},
            {ComuneNasc, " Città di Castello "},
            {ProvNasc, "PG"},
            {Sesso, "F"},
            {Recapito, "Ufficio "},
            {IndirizzoRes, " Via Roma 1"},
            {ProvRes, "MI"},
            {ComuneRes, "Milano "},
            {CapRes, "20100"},
            {Estremi, "Bonifico [30 gg]"},
            {TelCasa, "02 1234567"},
            {TelUff, "02 7654321"},
            {TelCel, "333 1234567"},
            {Fax, "02 1111111"},
            {Email, "anna@esempio.it"},
            {CodFisc, "RSSNNA80B41C745X"},
            {Carta, "4111111111111111"},
            {ScadeCarta, " 12/27 "},
            {PartitaIva, "12345678901"},
            {Iban, "IT60X0542811101000000123456"},
            {Documento, "C.I. AB123456"},
            {Occupazione, "Architetto"},
            {Civile, "Coniugata"},
            {Titoli, "Laurea"},
            {Prodotti, "Consulenza"},
            {Zona, "Nord"},
            {Questioni, "Preventivo [DATE] da inviare"},
            {Note, QStringLiteral(" \u00A0nota\u00A0 ")}};
}

Rows everyRow() {
    return {"Rossi Anna",
            "01/02/1980",
            "Città di Castello PG",
            "F",
            "Ufficio",
            "Via Roma 1",
            "Milano MI",
            "Bonifico [30 gg]",
            "02 1234567",
            "02 7654321",
            "333 1234567",
            "02 1111111",
            "anna@esempio.it",
            "RSSNNA80B41C745X",
            "12345678901",
            "N. 4111111111111111  -  Scadenza: 12/27",
            "IT60X0542811101000000123456",
            "C.I. AB123456",
            "Architetto",
            "Laurea",
            "Consulenza",
            "Nord",
            "Preventivo [DATE] da inviare",
            QStringLiteral("\u00A0nota\u00A0")};
}

// The rows of a card with only `name` and what `more` says.
Rows rowsOf(const QString &name, const QMap<int, QString> &more = {}) {
    Rows rows(24);
    rows[0] = name;
    rows[2] = rows[6] = QStringLiteral(" ");
    rows[15] = QStringLiteral("N.   -  Scadenza: ");
    for (auto it = more.begin(); it != more.end(); ++it)
        rows[it.key() - 1] = it.value();
    return rows;
}

// The item points into `prepared`: its first page is read in place, not copied.
const report::Placed *placed(const report::PreparedReport &prepared, const QString &name) {
    if (prepared.pages.isEmpty())
        return nullptr;
    for (const report::Placed &item : prepared.pages.first().items)
        if (item.object.name == name)
            return &item;
    return nullptr;
}

QString printed(const report::PreparedReport &prepared, const QString &name) {
    const report::Placed *item = placed(prepared, name);
    return item ? item->object.text() : QStringLiteral("<%1 missing>").arg(name);
}

Rows printedRows(const report::PreparedReport &prepared, const char *prefix) {
    Rows rows;
    for (int n = 1; n <= 24; ++n)
        rows << printed(prepared, report::pairName(prefix, n));
    return rows;
}

// Every object of the first page: name, box and text, for comparing two reports.
QStringList layoutOf(const report::PreparedReport &prepared) {
    QStringList items;
    for (const report::Placed &item : prepared.pages.value(0).items) {
        const QRectF b = item.box;
        items << QStringLiteral("%1 %2,%3 %4x%5 %6")
                     .arg(item.object.name)
                     .arg(b.x())
                     .arg(b.y())
                     .arg(b.width())
                     .arg(b.height())
                     .arg(item.object.text());
    }
    return items;
}

} // namespace

class TestClientCard : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void rows_data();
    void rows();
    void unsavedEditsArePrinted();
    void previewAndPrintShowTheSameCard();
    void printFailureIsShown();
    void pdfHoldsTheCard();
    void twoExportsLeaveTheSecondClient();
    void failedExportAsksNothing_data();
    void failedExportAsksNothing();

  private:
    TfrmClienti *w() const { return m_app->windows->frmClienti; }
    FakeDesktop &desktop() const { return m_app->desktop; }
    QString pdfPath() const { return m_app->path(QStringLiteral("Cliente.pdf")); }
    void present();
    void type(const Boxes &boxes);

    std::unique_ptr<AppFixture> m_app;
};

void TestClientCard::initTestCase() {
    report::setClock([] { return QDateTime(QDate(2024, 3, 5), QTime(9, 7, 3)); });
}

void TestClientCard::init() {
    m_app = std::make_unique<AppFixture>();
}

void TestClientCard::cleanup() {
    m_app.reset();
}

void TestClientCard::present() {
    w()->present();
    QVERIFY(QTest::qWaitForWindowExposed(w()));
}

void TestClientCard::type(const Boxes &boxes) {
    for (auto it = boxes.begin(); it != boxes.end(); ++it)
        w()->txtField[it.key()]->setText(it.value());
}

void TestClientCard::rows_data() {
    using namespace ClientField;
    QTest::addColumn<Boxes>("boxes");
    QTest::addColumn<Rows>("rows");
    QTest::newRow("every box filled") << everyBox() << everyRow();
    QTest::newRow("name only") << Boxes{{Cliente, "Bianchi Srl"}} << rowsOf("Bianchi Srl");
    QTest::newRow("nothing typed: no name is asked for") << Boxes{} << rowsOf("");
    QTest::newRow("town and province")
        << Boxes{{Cliente, "Verdi"}, {ComuneNasc, "Roma"}, {ProvNasc, "RM"}, {ProvRes, "RM"}}
        << rowsOf("Verdi", {{3, "Roma RM"}, {7, " RM"}});
    QTest::newRow("card without expiry") << Boxes{{Cliente, "Neri"}, {Carta, " 4111 "}}
                                         << rowsOf("Neri", {{16, "N. 4111  -  Scadenza: "}});
}

// A card never stored, printed from the controls: titles, values and the
// footer with the moment of printing.
void TestClientCard::rows() {
    QFETCH(Boxes, boxes);
    QFETCH(Rows, rows);
    present();
    type(boxes);
    QTest::mouseClick(w()->cmdAnteprima, Qt::LeftButton);
    QCOMPARE(desktop().messages.size(), 0);
    QCOMPARE(desktop().previews.size(), 1);
    const report::PreparedReport &card = desktop().previews[0];
    QCOMPARE(card.pages.size(), 1);
    QCOMPARE(card.layout.orientation(), QPageLayout::Portrait);
    QCOMPARE(printedRows(card, "titCampo"), kTitles);
    QCOMPARE(printedRows(card, "txtCampo"), rows);
    QCOMPARE(printed(card, QStringLiteral("txtTitolo")),
             QStringLiteral("SCHEDA ANAGRAFICA CLIENTE"));
    QCOMPARE(printed(card, QStringLiteral("txtCalce")),
             QStringLiteral("Stampa eseguita in data 05/03/2024 alle ore 09:07:03"));
    const report::Placed *logo = placed(card, QStringLiteral("imgLogo"));
    QVERIFY(logo && !logo->object.picture.isNull());
    QCOMPARE(w()->lblPosizione->text(), QString()); // printing stores nothing
}

// A stored client edited and not saved prints as the controls show it.
void TestClientCard::unsavedEditsArePrinted() {
    ClientRecord stored;
    stored.setText(ClientField::Cliente, QStringLiteral("Gialli Marco"));
    stored.setText(ClientField::Note, QStringLiteral("nota salvata"));
    QVERIFY(m_app->write(QStringLiteral("Clienti.pro"), stored.bytes()));
    present();
    QTest::mouseClick(w()->cmdPrimo, Qt::LeftButton);
    QCOMPARE(w()->lblPosizione->text(), QStringLiteral("1"));
    w()->txtNote->selectAll();
    typeText(w()->txtNote, QStringLiteral("nota nuova"));

    QTest::mouseClick(w()->cmdAnteprima, Qt::LeftButton);
    QCOMPARE(desktop().previews.size(), 1);
    QCOMPARE(printed(desktop().previews[0], QStringLiteral("txtCampo01")),
             QStringLiteral("Gialli Marco"));
    QCOMPARE(printed(desktop().previews[0], QStringLiteral("txtCampo24")),
             QStringLiteral("nota nuova"));
}

void TestClientCard::previewAndPrintShowTheSameCard() {
    present();
    type(everyBox());
    QTest::mouseClick(w()->cmdAnteprima, Qt::LeftButton);
    QTest::mouseClick(w()->cmdStampa, Qt::LeftButton);
    QCOMPARE(desktop().previews.size(), 1);
    QCOMPARE(desktop().prints.size(), 1);
    QCOMPARE(layoutOf(desktop().prints[0]), layoutOf(desktop().previews[0]));
    QCOMPARE(printedRows(desktop().prints[0], "txtCampo"), everyRow());

    // A cancelled print dialog prints nothing and says nothing.
    desktop().printAnswer = false;
    QTest::mouseClick(w()->cmdStampa, Qt::LeftButton);
    QCOMPARE(desktop().prints.size(), 1);
    QCOMPARE(desktop().messages.size(), 0);
    QVERIFY(!m_app->exists(QStringLiteral("Cliente.pdf")));
}

void TestClientCard::printFailureIsShown() {
    present();
    desktop().printError = QStringLiteral("Nessuna stampante disponibile.");
    QTest::mouseClick(w()->cmdStampa, Qt::LeftButton);
    QCOMPARE(desktop().messages.size(), 1);
    QCOMPARE(desktop().messages[0].kind, Kind::Error);
    QCOMPARE(desktop().messages[0].text, desktop().printError);
    QVERIFY(desktop().prints.isEmpty());
}

// The PDF, read back by another program: its information and every row.
void TestClientCard::pdfHoldsTheCard() {
    present();
    type(everyBox());
    QTest::mouseClick(w()->cmdPDF, Qt::LeftButton);
    QCOMPARE(desktop().messages.size(), 1);
    QCOMPARE(desktop().messages[0].kind, Kind::Confirmation);
    QCOMPARE(desktop().messages[0].text, kPdfDone);
    QCOMPARE(desktop().opened, QList<QUrl>{QUrl::fromLocalFile(pdfPath())});

    QString errors;
    QCOMPARE(pdfInfoField(pdfPath(), QStringLiteral("Title"), &errors),
             QStringLiteral("Scheda informativa"));
    QCOMPARE(errors, QString());
    QCOMPARE(pdfInfoField(pdfPath(), QStringLiteral("Subject")),
             QStringLiteral("Scheda informativa"));
    QCOMPARE(pdfInfoField(pdfPath(), QStringLiteral("Author")), QStringLiteral("Velmora Software"));
    QCOMPARE(pdfInfoField(pdfPath(), QStringLiteral("Creator")),
             QStringLiteral("Velmora Software"));
    QCOMPARE(pdfInfoField(pdfPath(), QStringLiteral("Pages")), QStringLiteral("1"));

    // Each row on a line of its own: title, then value (blanks as the layout
    // puts them, compared simplified).
    const QStringList lines = pdfText(pdfPath()).split(QLatin1Char('\n'));
    const Rows values = everyRow();
    for (int k = 0; k < 24; ++k) {
        const QString row = (kTitles[k] + u' ' + values[k]).simplified();
        const bool found = std::any_of(lines.begin(), lines.end(), [&](const QString &line) {
            return line.simplified() == row;
        });
        QVERIFY2(found, qPrintable(row));
    }
    const QString all = lines.join(u' ');
    QVERIFY(all.contains(QStringLiteral("SCHEDA ANAGRAFICA CLIENTE")));
    QVERIFY(all.contains(QStringLiteral("Stampa eseguita in data 05/03/2024 alle ore 09:07:03")));
}

// Every client goes to the one Cliente.pdf; answering No keeps the file and
// opens nothing.
void TestClientCard::twoExportsLeaveTheSecondClient() {
    present();
    w()->txtCliente->setText(QStringLiteral("Primo Cliente"));
    desktop().answers << Answer::No << Answer::Yes;
    QTest::mouseClick(w()->cmdPDF, Qt::LeftButton);
    QVERIFY(desktop().opened.isEmpty());
    QVERIFY(pdfText(pdfPath()).contains(QStringLiteral("Primo Cliente")));

    w()->txtCliente->setText(QStringLiteral("Secondo Cliente"));
    QTest::mouseClick(w()->cmdPDF, Qt::LeftButton);
    QCOMPARE(desktop().messages.size(), 2);
    QCOMPARE(desktop().messages[1].text, kPdfDone);
    QCOMPARE(desktop().opened.size(), 1);
    const QString text = pdfText(pdfPath());
    QVERIFY(text.contains(QStringLiteral("Secondo Cliente")));
    QVERIFY(!text.contains(QStringLiteral("Primo Cliente")));
    QCOMPARE(QDir(m_app->folder).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("Cliente.pdf")});
}

void TestClientCard::failedExportAsksNothing_data() {
    QTest::addColumn<QString>("fault"); // "folder", "full", "read-only"
    QTest::newRow("a folder in the file's place") << "folder";
    QTest::newRow("a full disk") << "full";
    QTest::newRow("a read-only disk") << "read-only";
}

// A PDF that cannot be written: the error's own text, no question, nothing
// opened, and what stood at the target stays as it was.
void TestClientCard::failedExportAsksNothing() {
    QFETCH(QString, fault);
    const bool onDisk = fault != QLatin1String("folder");
    std::unique_ptr<FullDisk> disk;
    if (onDisk) {
        m_app.reset();
        disk = std::make_unique<FullDisk>();
        REQUIRE_MOUNTED(*disk);
        m_app = std::make_unique<AppFixture>(disk->filePath(QStringLiteral("Schede Città")));
        QVERIFY(m_app->write(QStringLiteral("Cliente.pdf"), "%PDF vecchio"));
        QVERIFY(fault == QLatin1String("full") ? disk->fill() : disk->makeReadOnly());
    } else {
        QVERIFY(QDir().mkpath(pdfPath() + QStringLiteral("/dentro")));
    }
    QString expected;
    try {
        report::exportPdf(report::cardTemplate().prepare(), pdfPath(), {});
    } catch (const report::ReportError &error) {
        expected = error.message();
    }
    QVERIFY(!expected.isEmpty());

    present();
    w()->txtCliente->setText(QStringLiteral("Rossi Anna"));
    QTest::mouseClick(w()->cmdPDF, Qt::LeftButton);
    QCOMPARE(desktop().messages.size(), 1);
    QCOMPARE(desktop().messages[0].kind, Kind::Error);
    QCOMPARE(desktop().messages[0].text, expected);
    QVERIFY(desktop().opened.isEmpty());
    if (onDisk)
        QCOMPARE(m_app->read(QStringLiteral("Cliente.pdf")), QByteArray("%PDF vecchio"));
    else
        QVERIFY(QFileInfo(pdfPath() + QStringLiteral("/dentro")).isDir());
    m_app.reset(); // before the disk goes
}

QTEST_MAIN(TestClientCard)
#include "tst_clientcard.moc"
