#include "core/stock/StockPrint.h"

#include "core/data/Connection.h"

namespace {
const QStringList kColumns = {QStringLiteral("股號"), QStringLiteral("名稱"), QStringLiteral("本益比"),
                              QStringLiteral("殖利率"), QStringLiteral("股價淨值比")};
}

QVector<ReportRow> StockPrintRows(db::Connection& connection, const PrintSelection& selection)
{
    QVector<ReportRow> lines;
    ForEachSelected(connection, QStringLiteral("SELECT 股號, 名稱, 本益比, 殖利率, 股價淨值比 FROM 股號資料"),
                    QStringLiteral("股號"), QStringLiteral("股號"), selection, [&lines](const db::Row& row) {
                        ReportRow line;
                        for (int c = 0; c < kColumns.size(); ++c)
                            line.insert(kColumns.at(c), row.value(c).toString().trimmed());
                        lines << line;
                    });
    return lines;
}

QString CompanyName(db::Connection& connection)
{
    return connection.query(QStringLiteral("SELECT 公司名稱 FROM 公司基本資料 LIMIT 1")).text(0, 0).trimmed();
}

PaginatedReport StockListReport(QVector<ReportRow> rows, const QString& company)
{
    Report report(StockListReportLayout(), std::move(rows));
    SetStandardHeading(report, QString(), QString(), QString());
    report.setHeading(ReportSource::kCompany, company);
    return report.paginate();
}
