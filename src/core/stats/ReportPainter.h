#pragma once

#include "core/stats/Report.h"

class QPainter;
class QPagedPaintDevice;

// Draws one laid-out page onto any device (printer, PDF writer, preview),
// converting twips at the device's own resolution. The painter's origin is
// the paper's top-left corner.
void PaintReportPage(QPainter& painter, const ReportPage& page);

// Draws every page, starting a new device page between them.
void PaintReport(QPainter& painter, QPagedPaintDevice& device, const PaginatedReport& report);

// Writes the report as a PDF with embedded fonts; false with the reason in `error`.
bool WriteReportPdf(const PaginatedReport& report, const QString& path, QString* error);
