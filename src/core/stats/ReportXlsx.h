#pragma once

#include "core/stats/Report.h"

#include <QString>

// The report as an Excel workbook: the heading lines, the column headings in
// bold, one row per detail line, the total line last. Codes, names and dates
// are text cells (a code keeps its leading zero), counts and ratios numbers;
// columns are as wide as their content. Written beside `path` and renamed
// over it; false with the reason in `error`.
bool WriteReportXlsx(const PaginatedReport& report, const QString& path, QString* error);
