// Printing prepared reports.
#pragma once

#include "report/Report.h"

class QPrinter;
class QWidget;

namespace report {

// Shows the print dialog (printer, page range, copies) with the default
// printer chosen and prints the pages when the user confirms. Returns false,
// printing nothing, when the user cancels the dialog; raises ReportError when
// the printer cannot be used.
bool printReport(QWidget *parent, const PreparedReport &report);

// Prints the pages the printer's settings ask for (range and copies). A long
// print shows its progress and can be stopped, which returns false.
bool printPages(QPrinter &printer, const PreparedReport &report, QWidget *parent);

} // namespace report
