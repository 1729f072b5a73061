// The report engine: the templates' objects, pages prepared from them, what
// a page looks like when drawn, and PDF files read back by poppler.
#include "report/PdfExport.h"
#include "report/Templates.h"
#include "support/Files.h"
#include "support/FullDisk.h"
#include "support/Pdf.h"

#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace report;

namespace {

// A page drawn at 10 pixels a millimetre, its origin at the printable area.
QImage drawn(const PreparedReport &prepared, qsizetype page = 0) {
    const QSizeF area = prepared.layout.paintRect(QPageLayout::Millimeter).size();
    QImage image((area * 10).toSize(), QImage::Format_RGB32);
    image.setDotsPerMeterX(10000);
    image.setDotsPerMeterY(10000);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderPage(painter, prepared, page);
    return image;
}

bool isWhite(QRgb pixel) {
    return qRed(pixel) > 245 && qGreen(pixel) > 245 && qBlue(pixel) > 245;
}

bool isRed(QRgb pixel) {
    return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
}

// The placed object of that name on a page, or nullptr.
const Placed *placed(const Page &page, const QString &name) {
    for (const Placed &item : page.items)
        if (item.object.name == name)
            return &item;
    return nullptr;
}

Template summaryOf(int lines) {
    Template summary = summaryTemplate();
    Object &memo = summary.memo(QStringLiteral("txtRiepilogo"));
    memo.clearLines();
    for (int i = 1; i <= lines; ++i)
        memo.addLine(QStringLiteral("riga %1 ").arg(i, 6, 10, QLatin1Char('0')));
    memo.setHeight(fromUnits(memo.lineCount() * kSummaryLinePitch));
    summary.band(QStringLiteral("MasterData"))
        .setHeight(fromUnits(toUnits(memo.box.height()) + 10));
    return summary;
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        setClock([] { return QDateTime(QDate(2024, 3, 5), QTime(9, 7, 3)); });
    }

    void templateObjects_data() {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRectF>("box");
        QTest::addColumn<QString>("text");
        QTest::newRow("card title") << "card" << "txtTitolo" << QRectF(23, 3, 165, 9)
                                    << "Titolo Scheda";
        QTest::newRow("card first title") << "card" << "titCampo01" << QRectF(3, 24, 52, 6)
                                          << "Campo 1";
        QTest::newRow("card last value") << "card" << "txtCampo24" << QRectF(60, 254, 128, 6)
                                         << "Campo 24";
        QTest::newRow("card footer") << "card" << "txtCalce" << QRectF(3, 269, 185, 6)
                                     << "Termine scheda";
        QTest::newRow("card emblem") << "card" << "frxPictureView1" << QRectF(3, 3, 17, 13) << "";
        QTest::newRow("client emblem") << "client" << "imgLogo" << QRectF(3, 3, 17, 13) << "";
        QTest::newRow("photo frame") << "photo" << "Shape1" << QRectF(3, 20, 61, 81) << "";
        QTest::newRow("photo") << "photo" << "imgFoto" << QRectF(4, 21, 59, 79) << "";
        QTest::newRow("photo 6th title") << "photo" << "titCampo06" << QRectF(69, 85, 119, 4.2)
                                         << "Campo 6";
        QTest::newRow("photo 6th value") << "photo" << "txtCampo06" << QRectF(69, 89.8, 119, 5.5)
                                         << "Campo 6";
        QTest::newRow("photo 7th value") << "photo" << "txtCampo07" << QRectF(60, 105, 128, 6)
                                         << "Campo 7";
        QTest::newRow("photo 22nd title") << "photo" << "titCampo22" << QRectF(3, 255, 52, 6)
                                          << "Campo 22";
        QTest::newRow("summary title") << "summary" << "txtTitolo" << QRectF(2, 1, 273, 5)
                                       << "Riepilogo";
        QTest::newRow("summary body") << "summary" << "txtRiepilogo" << QRectF(3, 0, 273, 27)
                                      << "";
        QTest::newRow("summary footer") << "summary" << "txtPagina" << QRectF(3, 2, 272, 5)
                                        << "Stampa eseguita in data [DATE]";
    }
    void templateObjects() {
        QFETCH(QString, which);
        QFETCH(QString, name);
        QFETCH(QRectF, box);
        QFETCH(QString, text);
        const Template t = which == "card"     ? cardTemplate()
                           : which == "client" ? cardTemplate(QStringLiteral("imgLogo"))
                           : which == "photo"  ? cardWithPhotoTemplate()
                                               : summaryTemplate();
        const Object *object = t.find(name);
        QVERIFY(object);
        QCOMPARE(object->box, box);
        QCOMPARE(object->text(), text);
    }

    void templatesAsLaidDown() {
        Template card = cardTemplate();
        QCOMPARE(card.name(), QStringLiteral("Scheda informativa"));
        QCOMPARE(card.pageLayout().orientation(), QPageLayout::Portrait);
        QCOMPARE(card.pageLayout().margins(QPageLayout::Millimeter), QMarginsF(10, 10, 10, 10));
        QVERIFY(!cardWithPhotoTemplate().find(QStringLiteral("titCampo23")));
        QVERIFY(!cardWithPhotoTemplate().find(QStringLiteral("txtCampo24")));
        QVERIFY(!cardTemplate(QStringLiteral("imgLogo")).find(QStringLiteral("frxPictureView1")));
        QCOMPARE(card.find(QStringLiteral("frxPictureView1"))->picture.size(), QSize(82, 68));

        Template summary = summaryTemplate();
        QCOMPARE(summary.name(), QStringLiteral("Riepilogo dati"));
        QCOMPARE(summary.pageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(summary.band(QStringLiteral("ReportTitle")).height, 8.0);
        QCOMPARE(summary.band(QStringLiteral("MasterData")).height, 28.0);
        QCOMPARE(summary.band(QStringLiteral("Footer")).height, 8.0);

        // A name the template does not hold is an error, not a crash.
        QVERIFY_THROWS_EXCEPTION(ReportError, card.memo(QStringLiteral("txtCampo25")));
        QVERIFY_THROWS_EXCEPTION(ReportError, card.picture(QStringLiteral("txtTitolo")));
        QVERIFY_THROWS_EXCEPTION(ReportError, summary.band(QStringLiteral("Page")));
    }

    // The summary's lines go on over as many pages as they need, in order,
    // each once; the title opens the first page and the footer follows the
    // last line.
    void summaryPages_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("pages");
        QTest::newRow("empty") << 0 << 1;
        QTest::newRow("40 lines") << 40 << 1;
        QTest::newRow("first page full, footer on the next") << 53 << 2;
        QTest::newRow("200 lines") << 200 << 4;
        QTest::newRow("100,000 lines") << 100'000 << 1786;
    }
    void summaryPages() {
        QFETCH(int, lines);
        QFETCH(int, pages);
        const PreparedReport prepared = summaryOf(lines).prepare();
        QCOMPARE(prepared.pages.size(), pages);
        const double pageHeight = 190.0;

        QVERIFY(placed(prepared.pages.first(), QStringLiteral("txtTitolo")));
        qsizetype next = 0;
        double lastBottom = 0;
        for (qsizetype p = 0; p < prepared.pages.size(); ++p) {
            for (const Placed &item : prepared.pages.at(p).items) {
                QVERIFY(item.box.bottom() <= pageHeight + 1e-6);
                if (item.object.name == QLatin1String("txtTitolo"))
                    QCOMPARE(p, 0);
                if (item.object.name != QLatin1String("txtRiepilogo"))
                    continue;
                QCOMPARE(item.firstLine, next);
                next += item.lineCount;
                QCOMPARE(item.box.height(), item.lineCount * fromUnits(kSummaryLinePitch));
                lastBottom = item.box.bottom();
            }
        }
        QCOMPARE(next, qsizetype(lines));

        const Placed *footer = placed(prepared.pages.last(), QStringLiteral("txtPagina"));
        QVERIFY(footer);
        QCOMPARE(footer->object.text(), QStringLiteral("Stampa eseguita in data 05/03/2024"));
        if (pages == 1 || placed(prepared.pages.last(), QStringLiteral("txtRiepilogo")))
            QVERIFY(footer->box.top() >= lastBottom + fromUnits(10) + 2 - 1e-6);
        else
            QCOMPARE(footer->box.top(), 2.0); // alone at the top of its page
    }

    void memoHeightsInUnits() {
        const Template forty = summaryOf(40);
        QCOMPARE(toUnits(forty.find(QStringLiteral("txtRiepilogo"))->box.height()), 512.88);
        Template copy = forty;
        QCOMPARE(toUnits(copy.band(QStringLiteral("MasterData")).height), 522.88);
        const Template empty = summaryOf(0);
        QCOMPARE(toUnits(empty.find(QStringLiteral("txtRiepilogo"))->box.height()), 0.0);
    }

    // A value longer than its box is cut at the box's right edge; text in
    // square brackets is kept as typed.
    void valuesCutAtTheBox() {
        Template card = cardTemplate();
        card.memo(QStringLiteral("txtCampo01")).setText(QString(200, QLatin1Char('W')));
        const QImage page = drawn(card.prepare());
        // The box spans 60–188 mm across and 24–30 mm down.
        bool reachesEdge = false;
        for (int y = 240; y < 300; ++y) {
            for (int x = 1860; x < 1878; ++x)
                reachesEdge = reachesEdge || !isWhite(page.pixel(x, y));
            for (int x = 1882; x < page.width(); ++x)
                QVERIFY2(isWhite(page.pixel(x, y)), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
        QVERIFY(reachesEdge);
    }

    void photoFitsItsFrame_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("inside");  // pixels the photo covers
        QTest::addColumn<QPoint>("outside"); // pixels of the frame left empty
        // imgFoto: 40–630 px across, 210–1000 px down.
        QTest::newRow("wider than tall") << QSize(200, 100) << QPoint(620, 500) << QPoint(300, 520);
        QTest::newRow("taller than wide") << QSize(100, 200) << QPoint(430, 990) << QPoint(450, 300);
    }
    void photoFitsItsFrame() {
        QFETCH(QSize, size);
        QFETCH(QPoint, inside);
        QFETCH(QPoint, outside);
        QImage photo(size, QImage::Format_RGB32);
        photo.fill(Qt::red);
        Template card = cardWithPhotoTemplate();
        card.picture(QStringLiteral("imgFoto")).setPicture(photo);
        const QImage page = drawn(card.prepare());
        QVERIFY(isRed(page.pixel(45, 215))); // anchored top-left
        QVERIFY(isRed(page.pixel(inside)));
        QVERIFY(isWhite(page.pixel(outside)));
    }

    void pdfReadBack() {
        QTemporaryDir dir;
        Template card = cardTemplate(QStringLiteral("imgLogo"));
        card.memo(QStringLiteral("txtCampo01")).setText(QStringLiteral("Rossi [Mario] & figli"));
        const QString path = dir.filePath(QStringLiteral("Cliente.pdf"));
        const PdfInfo info{QStringLiteral("Scheda informativa"), QStringLiteral("Soggetto"),
                           QStringLiteral("Autore"), QStringLiteral("Creatore")};
        exportPdf(card.prepare(), path, info);

        QString errors;
        QCOMPARE(pdfInfoField(path, QStringLiteral("Title"), &errors), info.title);
        QCOMPARE(errors, QString()); // the amended file reads without complaint
        QCOMPARE(pdfInfoField(path, QStringLiteral("Subject")), info.subject);
        QCOMPARE(pdfInfoField(path, QStringLiteral("Author")), info.author);
        QCOMPARE(pdfInfoField(path, QStringLiteral("Creator")), info.creator);
        QCOMPARE(pdfInfoField(path, QStringLiteral("Pages")), QStringLiteral("1"));
        QVERIFY(pdfInfoField(path, QStringLiteral("Page size")).startsWith(
            QStringLiteral("595 x 842 pts (A4)"))); // portrait
        QVERIFY(pdfText(path).contains(QStringLiteral("Rossi [Mario] & figli")));
    }

    // A PDF that cannot be written leaves the old file as it was and says so.
    void pdfFailureKeepsTheOldFile() {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(QStringLiteral("cartella")), "un file"));
        QVERIFY_THROWS_EXCEPTION(
            ReportError,
            exportPdf(cardTemplate().prepare(), dir.filePath(QStringLiteral("cartella/x.pdf")), {}));

        FullDisk disk("128k");
        REQUIRE_MOUNTED(disk);
        const QString path = disk.filePath(QStringLiteral("Cliente.pdf"));
        QVERIFY(writeFile(path, "%PDF vecchio"));
        QVERIFY(disk.fill());
        try {
            exportPdf(cardTemplate().prepare(), path, {});
            QFAIL("a full disk was not reported");
        } catch (const ReportError &error) {
            QVERIFY(error.message().contains(QStringLiteral("Cliente.pdf")));
        }
        QCOMPARE(readFile(path), QByteArray("%PDF vecchio"));
    }
};

int main(int argc, char **argv) {
    QGuiApplication app(argc, argv);
    TestReport test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_report.moc"
