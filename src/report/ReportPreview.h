// The preview window of prepared reports: the pages at 100 %, and only the
// commands to print, zoom, fill the screen and close.
#pragma once

#include "report/Report.h"

#include <QDialog>
#include <functional>
#include <memory>

class QPrinter;
class QPrintPreviewWidget;

namespace report {

class ReportPreview : public QDialog {
    Q_OBJECT
  public:
    // `print` runs when the user asks to print from the preview.
    ReportPreview(const PreparedReport &report, std::function<void()> print,
                  QWidget *parent = nullptr);
    ~ReportPreview() override;

    QPrintPreviewWidget *view() const { return m_view; }

  private:
    const PreparedReport &m_report;
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget *m_view;
};

} // namespace report
