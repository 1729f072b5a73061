// PDF output of prepared reports.
#pragma once

#include "report/Report.h"

namespace report {

// The document information written into the file.
struct PdfInfo {
    QString title;
    QString subject;
    QString author;
    QString creator;
};

// Writes the pages of `report` to the PDF file `path`, replacing any file of
// that name without asking. The file is written aside and renamed over the
// target only when complete: on any failure the old file stays as it was and
// ReportError is raised with the text the user is shown.
void exportPdf(const PreparedReport &report, const QString &path, const PdfInfo &info);

// The bytes of that PDF file.
QByteArray pdfBytes(const PreparedReport &report, const PdfInfo &info);

} // namespace report
