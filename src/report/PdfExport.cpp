#include "PdfExport.h"

#include "storage/StorageError.h"
#include "storage/WholeFile.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>

namespace report {

namespace {

QByteArray pdfString(const QString &text) {
    QByteArray bytes = text.toLatin1();
    bytes.replace('\\', "\\\\").replace('(', "\\(").replace(')', "\\)");
    return '(' + bytes + ')';
}

// Qt's writer puts only the title and the creator into the document
// information. The author and the subject are added the way PDF itself allows
// a finished file to be amended: a new information dictionary, a cross
// reference section for it and a trailer pointing back to the first one are
// appended, and every byte written before stays as it was.
void amendInformation(QByteArray &pdf, const PdfInfo &info) {
    static const QRegularExpression trailer(
        QStringLiteral(R"(trailer\s*<<(.*?)>>\s*startxref\s*(\d+)\s*%%EOF\s*$)"),
        QRegularExpression::DotMatchesEverythingOption);
    const qsizetype from = pdf.lastIndexOf("trailer");
    const QString tail = from < 0 ? QString() : QString::fromLatin1(pdf.mid(from));
    const QRegularExpressionMatch found = trailer.match(tail);
    static const QRegularExpression size(QStringLiteral(R"(/Size\s+(\d+))"));
    static const QRegularExpression root(QStringLiteral(R"(/Root\s+(\d+\s+\d+\s+R))"));
    const QRegularExpressionMatch sizeFound = size.match(found.captured(1));
    const QRegularExpressionMatch rootFound = root.match(found.captured(1));
    if (!found.hasMatch() || !sizeFound.hasMatch() || !rootFound.hasMatch())
        throw ReportError(QStringLiteral("Il documento PDF prodotto non è leggibile."));

    const int object = sizeFound.captured(1).toInt();
    if (!pdf.endsWith('\n'))
        pdf += '\n';
    const qsizetype offset = pdf.size();
    const QDateTime at = now();
    pdf += QByteArray::number(object) + " 0 obj\n<<\n/Title " + pdfString(info.title) +
           "\n/Subject " + pdfString(info.subject) + "\n/Author " + pdfString(info.author) +
           "\n/Creator " + pdfString(info.creator) + "\n/Producer " +
           pdfString(QStringLiteral("Qt ") + QString::fromLatin1(qVersion())) +
           "\n/CreationDate " +
           pdfString(QStringLiteral("D:") + at.toString(QStringLiteral("yyyyMMddHHmmss"))) +
           "\n>>\nendobj\n";
    const qsizetype xref = pdf.size();
    pdf += "xref\n" + QByteArray::number(object) + " 1\n" +
           QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<<\n/Size " + QByteArray::number(object + 1) + "\n/Info " +
           QByteArray::number(object) + " 0 R\n/Root " + rootFound.captured(1).toLatin1() +
           "\n/Prev " + found.captured(2).toLatin1() + "\n>>\nstartxref\n" +
           QByteArray::number(xref) + "\n%%EOF\n";
}

} // namespace

QByteArray pdfBytes(const PreparedReport &report, const PdfInfo &info) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(report.layout);
        writer.setResolution(1200);
        writer.setTitle(info.title);
        writer.setCreator(info.creator);
        QPainter painter;
        if (!painter.begin(&writer))
            throw ReportError(QStringLiteral("Impossibile preparare il documento PDF."));
        for (qsizetype i = 0; i < report.pages.size(); ++i) {
            if (i > 0 && !writer.newPage())
                throw ReportError(QStringLiteral("Impossibile preparare il documento PDF."));
            renderPage(painter, report, i);
        }
        if (!painter.end())
            throw ReportError(QStringLiteral("Impossibile preparare il documento PDF."));
    }
    QByteArray pdf = buffer.data();
    amendInformation(pdf, info);
    return pdf;
}

void exportPdf(const PreparedReport &report, const QString &path, const PdfInfo &info) {
    const QByteArray pdf = pdfBytes(report, info);
    try {
        writeWholeFile(path, pdf);
    } catch (const StorageError &) {
        throw ReportError(QStringLiteral("Impossibile scrivere il file %1.\n\nIl file potrebbe "
                                         "essere aperto in un altro programma o la cartella "
                                         "non essere scrivibile.")
                              .arg(QDir::toNativeSeparators(path)));
    }
}

} // namespace report
