#include "gui/stats/ReportOutput.h"

#include "core/stats/ReportPainter.h"
#include "gui/stats/ReportPreview.h"
#include "gui/uikit/PrinterChoice.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

namespace {
ReportOutputHandler& Handler()
{
    static ReportOutputHandler handler;
    return handler;
}
}

void PrepareReportPrinter(QPrinter& printer, const PaginatedReport& report)
{
    printer.setFullPage(true);
    printer.setDocName(report.caption());
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
}

QString PrintWithDialog(const PaginatedReport& report, QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    PrepareReportPrinter(printer, report);
    if (!ChoosePrinter(printer, QStringLiteral("列印 %1").arg(report.caption()), parent))
        return {};
    QPainter painter;
    if (!painter.begin(&printer))
        return QStringLiteral("無法開始列印到「%1」。").arg(printer.printerName());
    PaintReport(painter, printer, report);
    if (!painter.end())
        return QStringLiteral("列印到「%1」時發生錯誤。").arg(printer.printerName());
    return {};
}

QString OutputReport(const PaginatedReport& report, ReportDestination destination, QWidget* parent)
{
    if (Handler())
        return Handler()(report, destination);
    if (destination == ReportDestination::Printer)
        return PrintWithDialog(report, parent);
    ReportPreview preview(report, parent);
    preview.exec();
    return {};
}

void SetReportOutputHandler(ReportOutputHandler handler)
{
    Handler() = std::move(handler);
}
