#pragma once

#include "core/records/PrintSelection.h"
#include "core/stats/Report.h"

namespace db {
class Connection;
}

// The chosen trading dates of 工作單 laid out for 買賣超明細表: per date a
// heading line with the date and its weekday, the two lists side by side in
// 序 order, and a line with the count of each list.
struct EntryPrintout {
    QVector<ReportRow> lines;
    int dates = 0;
    QString firstDate;
    QString lastDate;
};

EntryPrintout EntryPrintRows(db::Connection& connection, const PrintSelection& selection);

PaginatedReport EntryListReport(EntryPrintout printout);
