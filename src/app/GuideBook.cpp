#include "GuideBook.h"

#include "KeyboardGuide.h"
#include "StartGuide.h"
#include "backup/BackupGuide.h"
#include "import/ImportGuide.h"
#include "kit/WindowKit.h"
#include "storage/StorageError.h"
#include "storage/WholeFile.h"
#include "clients/ClientsGuide.h"
#include "database/DatabaseGuide.h"
#include "dialogs/BinGuide.h"
#include "output/ExportGuide.h"
#include "settings/SettingsGuide.h"

#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgRenderer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#ifndef CARTAVERA_VERSION
#define CARTAVERA_VERSION "1.0"
#endif

QList<GuideTopic> guideBookTopics() {
    // One line per window with a guide button, then the chapters of the
    // work that has no window of its own.
    return {
        startGuide(),
        databaseGuide(),
        clientsGuide(),
        databaseExportGuide(),
        clientsExportGuide(),
        settingsGuide(),
        importGuide(),
        vcardGuide(),
        binGuide(),
        backupGuide(),
        keyboardGuide(),
    };
}

namespace {

const QString kFamily = QStringLiteral("Liberation Sans");
const QColor kBlue(0x1f, 0x4e, 0x8c);
const QColor kCrimson(0xdc, 0x14, 0x3c);
const QColor kInk(0x22, 0x31, 0x3f);
const QColor kGrey(0x5b, 0x6b, 0x7c);

QFont pdfFont(qreal points, bool bold = false, bool italic = false) {
    QFont font(kFamily);
    font.setFamilies({kFamily, QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

// The chapters as one document; each chapter starts on a new page.
void buildChapters(QTextDocument &doc, const QList<GuideTopic> &topics,
                   QList<QTextBlock> &headings) {
    QTextCursor cursor(&doc);
    for (qsizetype i = 0; i < topics.size(); ++i) {
        QTextBlockFormat heading;
        heading.setBottomMargin(18);
        if (i > 0)
            heading.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCharFormat number;
        number.setFont(pdfFont(11, true));
        number.setForeground(kGrey);
        if (i > 0)
            cursor.insertBlock(heading);
        else
            cursor.setBlockFormat(heading);
        headings << cursor.block();
        cursor.insertText(QStringLiteral("Capitolo %1").arg(i + 1), number);
        cursor.insertText(QString(QChar::LineSeparator));
        QTextCharFormat title;
        title.setFont(pdfFont(20, true));
        title.setForeground(kCrimson);
        cursor.insertText(topics[i].title, title);

        QTextBlockFormat paragraph;
        paragraph.setBottomMargin(10);
        paragraph.setAlignment(Qt::AlignJustify);
        paragraph.setLineHeight(125, QTextBlockFormat::ProportionalHeight);
        QTextCharFormat body;
        body.setFont(pdfFont(11));
        body.setForeground(kInk);
        for (const QString &text : topics[i].paragraphs) {
            cursor.insertBlock(paragraph);
            cursor.insertText(text, body);
        }
    }
}

void drawTitlePage(QPainter &p, const QRectF &page, const QList<GuideTopic> &topics,
                   const QList<int> &chapterPages) {
    const qreal unit = page.width() / 180.0; // one unit per millimetre of text width
    QRectF band(page.left(), page.top(), page.width(), 42 * unit);
    QSvgRenderer(QStringLiteral(":/pictures/logo.svg")).render(&p, band);

    qreal y = band.bottom() + 22 * unit;
    p.setPen(kBlue);
    p.setFont(pdfFont(26, true));
    p.drawText(QRectF(page.left(), y, page.width(), 14 * unit), Qt::AlignCenter,
               QStringLiteral("Guida all'utilizzo del software"));
    y += 14 * unit;
    p.setPen(kGrey);
    p.setFont(pdfFont(11));
    p.drawText(QRectF(page.left(), y, page.width(), 8 * unit), Qt::AlignCenter,
               QStringLiteral("Versione %1").arg(QLatin1String(CARTAVERA_VERSION)));
    y += 16 * unit;

    // The maker's picture, drawn as an image so that it looks as on screen.
    const QRectF mark(page.center().x() - 55 * unit, y, 110 * unit, 67 * unit);
    p.drawImage(mark, renderPicture(QStringLiteral(":/pictures/marchio.svg"), QSize(1250, 760)));
    y = mark.bottom() + 18 * unit;

    p.setPen(kBlue);
    p.setFont(pdfFont(13, true));
    const QRectF contents(page.left() + 20 * unit, y, page.width() - 40 * unit, 9 * unit);
    p.drawText(contents, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Indice"));
    y += 11 * unit;
    p.setFont(pdfFont(11));
    const QFontMetricsF metrics(p.font(), p.device());
    for (qsizetype i = 0; i < topics.size(); ++i) {
        const QRectF line(contents.left(), y, contents.width(), 8 * unit);
        const QString entry = QStringLiteral("%1.  %2").arg(i + 1).arg(topics[i].title);
        const QString pageNumber = QString::number(chapterPages.value(i));
        p.setPen(kInk);
        p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, entry);
        p.drawText(line, Qt::AlignRight | Qt::AlignVCenter, pageNumber);
        // Dotted leader between title and page number.
        const qreal from = line.left() + metrics.horizontalAdvance(entry) + 3 * unit;
        const qreal to = line.right() - metrics.horizontalAdvance(pageNumber) - 3 * unit;
        QPen dots(kGrey, 0.5 * unit, Qt::CustomDashLine, Qt::RoundCap);
        dots.setDashPattern({0.01, 3});
        p.setPen(dots);
        if (to > from)
            p.drawLine(QPointF(from, line.center().y() + 1.5 * unit),
                       QPointF(to, line.center().y() + 1.5 * unit));
        y += 8 * unit;
    }

    p.setPen(kGrey);
    p.setFont(pdfFont(9));
    p.drawText(QRectF(page.left(), page.bottom() - 10 * unit, page.width(), 10 * unit),
               Qt::AlignCenter, QStringLiteral("www.cartavera.it  \u00b7  info@cartavera.it"));
}

void drawPageFrame(QPainter &p, const QRectF &page, qreal headerHeight, int number) {
    const qreal unit = page.width() / 180.0;
    p.setPen(kGrey);
    p.setFont(pdfFont(9));
    const QRectF header(page.left(), page.top(), page.width(), headerHeight - 4 * unit);
    p.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Cartavera"));
    p.drawText(header, Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Guida all'utilizzo del software"));
    p.setPen(QPen(kBlue, 0.4 * unit));
    p.drawLine(QPointF(page.left(), header.bottom()), QPointF(page.right(), header.bottom()));
    p.setPen(kGrey);
    p.drawText(QRectF(page.left(), page.bottom() - 8 * unit, page.width(), 8 * unit),
               Qt::AlignCenter, QStringLiteral("%1").arg(number));
}

} // namespace

namespace {
// Paints the whole guide as PDF into `device`; false when painting failed.
bool paintGuideBook(QIODevice *device, const QList<GuideTopic> &topics);
} // namespace

bool writeGuideBook(const QString &path, const QList<GuideTopic> &topics) {
    // Written aside and put in place only once whole on disk: a failure never
    // leaves a half guide where a good one stood.
    try {
        WholeFile file(path);
        if (!paintGuideBook(file.device(), topics))
            file.fail();
        file.commit();
    } catch (const StorageError &) {
        return false;
    }
    return true;
}

namespace {

bool paintGuideBook(QIODevice *device, const QList<GuideTopic> &topics) {
    QPdfWriter writer(device);
    writer.setTitle(QStringLiteral("Cartavera - Guida all'utilizzo del software"));
    writer.setCreator(QStringLiteral("Cartavera"));
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));

    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const QRectF page(QPointF(0, 0), QSizeF(writer.width(), writer.height()));
    const qreal unit = page.width() / 180.0;
    const qreal headerHeight = 14 * unit;
    const qreal footerHeight = 12 * unit;
    const QSizeF bodySize(page.width(), page.height() - headerHeight - footerHeight);

    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&writer);
    doc.setDefaultFont(pdfFont(11));
    doc.setDocumentMargin(0);
    QList<QTextBlock> headings;
    buildChapters(doc, topics, headings);
    doc.setPageSize(bodySize);

    // Page 1 is the title page; the chapters start on page 2.
    QList<int> chapterPages;
    for (const QTextBlock &block : headings) {
        const qreal top = doc.documentLayout()->blockBoundingRect(block).top();
        chapterPages << 2 + int(top / bodySize.height());
    }
    drawTitlePage(painter, page, topics, chapterPages);

    for (int i = 0; i < doc.pageCount(); ++i) {
        writer.newPage();
        drawPageFrame(painter, page, headerHeight, i + 2);
        painter.save();
        painter.translate(0, headerHeight - i * bodySize.height());
        const QRectF visible(0, i * bodySize.height(), bodySize.width(), bodySize.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = visible;
        context.palette.setColor(QPalette::Text, kInk);
        painter.setClipRect(visible);
        doc.documentLayout()->draw(&painter, context);
        painter.restore();
    }
    return painter.end();
}

} // namespace
