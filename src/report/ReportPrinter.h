// Printing prepared reports.
#pragma once

#include "report/Report.h"

#include <functional>

class QPrinter;
class QWidget;

namespace report {

// Told after each page printed: `done` of `total` pages; false stops the
// print.
using PageStep = std::function<bool(int done, int total)>;

// Shows the print dialog (printer, page range, copies) with the default
// printer chosen and prints the pages when the user confirms. Returns false,
// printing nothing, when the user cancels the dialog; raises ReportError when
// the printer cannot be used.
bool printReport(QWidget *parent, const PreparedReport &report, const PageStep &step);

// Prints the pages the printer's settings ask for (range and copies). A
// print that `step` stops is aborted and returns false.
bool printPages(QPrinter &printer, const PreparedReport &report, const PageStep &step);

} // namespace report
