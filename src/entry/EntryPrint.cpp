#include "entry/EntryPrint.h"

#include "data/Connection.h"
#include "uikit/RocDate.h"

namespace {

struct ListLine {
    QString sequence;
    QString code;
    QString name;
};

void AddDate(EntryPrintout& out, const QString& date, const QString& weekday, const QVector<ListLine>& buys,
             const QVector<ListLine>& sells)
{
    out.lines.push_back({{QStringLiteral("日期"), RocDateDisplay(date) + QStringLiteral("（") + weekday + QStringLiteral("）")},
                         {ReportSource::kKeepWithNext, QStringLiteral("1")}});
    for (int i = 0; i < std::max(buys.size(), sells.size()); ++i) {
        ReportRow line;
        if (i < buys.size())
            line = {{QStringLiteral("買超序"), buys[i].sequence},
                    {QStringLiteral("買超股號"), buys[i].code},
                    {QStringLiteral("買超名稱"), buys[i].name}};
        if (i < sells.size()) {
            line.insert(QStringLiteral("賣超序"), sells[i].sequence);
            line.insert(QStringLiteral("賣超股號"), sells[i].code);
            line.insert(QStringLiteral("賣超名稱"), sells[i].name);
        }
        out.lines.push_back(std::move(line));
    }
    out.lines.push_back({{QStringLiteral("筆數"), QStringLiteral("買超 %1 筆　　賣超 %2 筆").arg(buys.size()).arg(sells.size())}});
    out.lines.push_back({});
    if (out.dates++ == 0)
        out.firstDate = date;
    out.lastDate = date;
}

} // namespace

EntryPrintout EntryPrintRows(db::Connection& connection, const PrintSelection& selection)
{
    const db::ResultSet rows =
        ReadSelection(connection, QStringLiteral("SELECT 買賣日期, 買賣星期, 類別, 序, 股號, 名稱 FROM 工作單"),
                      QStringLiteral("買賣日期"), QStringLiteral("買賣日期, 序"), selection);
    EntryPrintout out;
    QVector<ListLine> buys;
    QVector<ListLine> sells;
    for (int r = 0; r < rows.rowCount(); ++r) {
        const QString date = rows.text(r, 0);
        (rows.text(r, 2) == QStringLiteral("買超") ? buys : sells)
            .push_back({rows.text(r, 3), rows.text(r, 4), rows.text(r, 5)});
        if (r + 1 == rows.rowCount() || rows.text(r + 1, 0) != date) {
            AddDate(out, date, rows.text(r, 1), buys, sells);
            buys.clear();
            sells.clear();
        }
    }
    return out;
}

PaginatedReport EntryListReport(EntryPrintout printout)
{
    Report report(EntryListReportLayout(), std::move(printout.lines));
    SetStandardHeading(report, printout.firstDate, printout.lastDate, QString());
    report.setHeading(ReportSource::kDateCount, QString::number(printout.dates));
    return report.paginate();
}
