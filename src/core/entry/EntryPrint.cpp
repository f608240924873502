#include "core/entry/EntryPrint.h"

#include "core/data/Connection.h"
#include "core/text/RocDate.h"

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

// Ten years of lists repeat a few thousand codes, names and sequence numbers
// hundreds of thousands of times: each distinct one is held once and shared.
class TextPool {
public:
    const QString& text(QByteArrayView utf8)
    {
        const QByteArray probe = QByteArray::fromRawData(utf8.data(), utf8.size());
        auto found = m_texts.constFind(probe);
        if (found == m_texts.constEnd())
            found = m_texts.insert(utf8.toByteArray(), QString::fromUtf8(utf8));
        return *found;
    }
    // Shown as the list screen shows it: 1, not 1.0.
    QString sequence(const QVariant& value)
    {
        const int type = value.typeId();
        if (type != QMetaType::Double && type != QMetaType::LongLong)
            return value.toString();
        const double number = value.toDouble();
        auto found = m_numbers.constFind(number);
        if (found == m_numbers.constEnd())
            found = m_numbers.insert(number, value.toString());
        return *found;
    }

private:
    QHash<QByteArray, QString> m_texts;
    QHash<double, QString> m_numbers;
};

} // namespace

EntryPrintout EntryPrintRows(db::Connection& connection, const PrintSelection& selection)
{
    EntryPrintout out;
    QVector<ListLine> buys;
    QVector<ListLine> sells;
    QByteArray date;
    QString weekday;
    TextPool texts;
    const auto flush = [&] {
        if (!date.isEmpty())
            AddDate(out, QString::fromUtf8(date), weekday, buys, sells);
        buys.clear();
        sells.clear();
    };
    ForEachSelected(connection, QStringLiteral("SELECT 買賣日期, 買賣星期, 類別, 序, 股號, 名稱 FROM 工作單"),
                    QStringLiteral("買賣日期"), QStringLiteral("買賣日期, 序"), selection, [&](const db::Row& row) {
                        if (row.utf8(0) != QByteArrayView(date)) {
                            flush();
                            date = row.utf8(0).toByteArray();
                            weekday = QString::fromUtf8(row.utf8(1));
                        }
                        (row.utf8(2) == QByteArrayView("買超") ? buys : sells)
                            .push_back({texts.sequence(row.value(3)), texts.text(row.utf8(4)), texts.text(row.utf8(5))});
                    });
    flush();
    return out;
}

PaginatedReport EntryListReport(EntryPrintout printout)
{
    Report report(EntryListReportLayout(), std::move(printout.lines));
    SetStandardHeading(report, printout.firstDate, printout.lastDate, QString());
    report.setHeading(ReportSource::kDateCount, QString::number(printout.dates));
    return report.paginate();
}
