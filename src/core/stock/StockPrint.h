#pragma once

#include "core/records/PrintSelection.h"
#include "core/stats/Report.h"

namespace db {
class Connection;
}

// The stocks the print panel chose, in code order, as report lines.
QVector<ReportRow> StockPrintRows(db::Connection& connection, const PrintSelection& selection);

// 公司名稱 of the first row of 公司基本資料, trimmed; empty when there is none.
QString CompanyName(db::Connection& connection);

// 股號資料表: the company name above the title when there is one.
PaginatedReport StockListReport(QVector<ReportRow> rows, const QString& company);
