#include "ReportPrinter.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace report {

bool printReport(QWidget *parent, const PreparedReport &report, const PageStep &step) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(report.layout);
    printer.setDocName(report.name);
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, int(report.pages.size()));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return printPages(printer, report, step);
}

bool printPages(QPrinter &printer, const PreparedReport &report, const PageStep &step) {
    const int last = int(report.pages.size());
    int from = 1;
    int to = last;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = std::clamp(printer.fromPage(), 1, last);
        to = std::clamp(printer.toPage() > 0 ? printer.toPage() : last, from, last);
    }
    // A printer that cannot make copies itself gets each page as many times.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());

    QPainter painter;
    if (!painter.begin(&printer))
        throw ReportError(QStringLiteral("Impossibile stampare sulla stampante \"%1\".")
                              .arg(printer.outputFileName().isEmpty() ? printer.printerName()
                                                                      : printer.outputFileName()));
    const int total = (to - from + 1) * copies;
    int done = 0;
    for (int copy = 0; copy < copies; ++copy) {
        for (int page = from; page <= to; ++page) {
            if (done > 0 && !printer.newPage())
                throw ReportError(QStringLiteral("La stampa si è interrotta per un errore."));
            renderPage(painter, report, page - 1);
            if (!step(++done, total)) {
                printer.abort();
                return false;
            }
        }
    }
    if (!painter.end())
        throw ReportError(QStringLiteral("La stampa si è interrotta per un errore."));
    return true;
}

} // namespace report
