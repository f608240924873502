#pragma once

#include "core/stats/Report.h"

#include <QByteArray>

// The report as spreadsheet programs read it (RFC 4180, UTF-8 with a byte
// order mark): the caption, the heading lines of the first page with the
// column headings, one record per detail line with a cell per detail field
// (blank cells blank, values as printed), and the total line.
QByteArray ReportCsv(const PaginatedReport& report);

// Written beside `path` and renamed over it; false with the reason in `error`.
bool WriteReportCsv(const PaginatedReport& report, const QString& path, QString* error);

// caption plus the heading's dates: 買超統計表 1000103-1000125.csv
QString ReportCsvFileName(const PaginatedReport& report);
