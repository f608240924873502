#pragma once

#include "core/stats/Report.h"

#include <functional>

class QPrinter;
class QWidget;

enum class ReportDestination { Printer, Preview };

// Prints a report (the printer-selection dialog first) or shows it in the
// modal preview window and returns when that closes. An empty result means
// done or cancelled; otherwise it is the reason printing failed.
QString OutputReport(const PaginatedReport& report, ReportDestination destination, QWidget* parent);

// Applies A4 portrait, the full page and the report's name to a printer.
void PrepareReportPrinter(QPrinter& printer, const PaginatedReport& report);

// Prints through the printer-selection dialog; used by the preview window too.
QString PrintWithDialog(const PaginatedReport& report, QWidget* parent);

// Tests receive the laid-out report instead of a printer or a preview window.
using ReportOutputHandler = std::function<QString(const PaginatedReport&, ReportDestination)>;
void SetReportOutputHandler(ReportOutputHandler handler);
