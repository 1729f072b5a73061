#include "ReportPreview.h"

#include <QAction>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

namespace report {

ReportPreview::ReportPreview(const PreparedReport &report, std::function<void()> print,
                             QWidget *parent)
    : QDialog(parent), m_report(report), m_printer(std::make_unique<QPrinter>()) {
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(QStringLiteral("Anteprima di stampa - ") + report.name);
    m_printer->setPageLayout(report.layout);
    m_view = new QPrintPreviewWidget(m_printer.get(), this);
    m_view->setObjectName(QStringLiteral("pagine"));
    connect(m_view, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) {
        QPainter painter(printer);
        for (qsizetype i = 0; i < m_report.pages.size(); ++i) {
            if (i > 0)
                printer->newPage();
            renderPage(painter, m_report, i);
        }
    });

    auto *tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("comandi"));
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tools->addAction(QStringLiteral("Stampa"), this, [print] { print(); })
        ->setObjectName(QStringLiteral("stampa"));
    tools->addSeparator();
    tools->addAction(QStringLiteral("Ingrandisci"), m_view, [this] { m_view->zoomIn(); })
        ->setObjectName(QStringLiteral("ingrandisci"));
    tools->addAction(QStringLiteral("Riduci"), m_view, [this] { m_view->zoomOut(); })
        ->setObjectName(QStringLiteral("riduci"));
    tools->addAction(QStringLiteral("100 %"), m_view, [this] {
        m_view->setZoomMode(QPrintPreviewWidget::CustomZoom);
        m_view->setZoomFactor(1.0);
    });
    tools->addSeparator();
    QAction *fullScreen = tools->addAction(QStringLiteral("Schermo intero"));
    fullScreen->setObjectName(QStringLiteral("schermoIntero"));
    fullScreen->setCheckable(true);
    connect(fullScreen, &QAction::toggled, this,
            [this](bool on) { on ? showFullScreen() : showNormal(); });
    tools->addSeparator();
    tools->addAction(QStringLiteral("Chiudi"), this, &QDialog::accept)
        ->setObjectName(QStringLiteral("chiudi"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(m_view);

    m_view->setZoomMode(QPrintPreviewWidget::CustomZoom);
    m_view->setZoomFactor(1.0);
    const QRect screen = this->screen()->availableGeometry();
    resize(std::min(screen.width(), 1000), screen.height() * 9 / 10);
}

ReportPreview::~ReportPreview() = default;

} // namespace report
