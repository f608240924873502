#pragma once

#include "core/stats/Report.h"

#include <QStringList>

#include <functional>

// The report's lines as a spreadsheet takes them: the heading lines of the
// first page (the column headings last), one line per detail line with a
// cell per detail field (a blank field blank, values as printed; a group's
// heading alone in the first cell of its own line), then the total line.
enum class ReportLinePart { Heading, Detail, Total };
void ForEachReportLine(const PaginatedReport& report,
                       const std::function<void(ReportLinePart part, const QStringList& cells)>& visit);
