#include "core/entry/InstitutionalTrades.h"

#include "core/stock/CsvReader.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

constexpr qint64 kLargestFile = 32 * 1024 * 1024;

QString Squeezed(const QString& cell)
{
    return QString(cell).remove(QRegularExpression(QStringLiteral("\\s")));
}

// "115年12月08日 三大法人買賣超日報" or "資料日期:115/12/08".
QString TitleDate(const QStringList& record)
{
    static const QRegularExpression pattern(
        QStringLiteral("(\\d{2,3})\\s*(?:年|/)\\s*(\\d{1,2})\\s*(?:月|/)\\s*(\\d{1,2})"));
    for (const QString& cell : record) {
        const QRegularExpressionMatch m = pattern.match(cell);
        if (m.hasMatch())
            return QStringLiteral("%1%2%3")
                .arg(m.captured(1).toInt(), 3, 10, QLatin1Char('0'))
                .arg(m.captured(2).toInt(), 2, 10, QLatin1Char('0'))
                .arg(m.captured(3).toInt(), 2, 10, QLatin1Char('0'));
    }
    return {};
}

// Which columns feed each basis; a basis adds up its columns.
struct Columns {
    int code = -1;
    int name = -1;
    QVector<int> basis[4];
    bool found() const { return code >= 0 && name >= 0 && !basis[0].isEmpty(); }
};

Columns HeadingColumns(const QStringList& record)
{
    Columns c;
    int dealerTotal = -1;
    QVector<int> dealerParts;
    int foreignTotal = -1;
    QVector<int> foreignParts;
    for (int i = 0; i < record.size(); ++i) {
        const QString h = Squeezed(record.at(i));
        if (c.code < 0 && h.contains(QStringLiteral("代號")))
            c.code = i;
        else if (c.name < 0 && h.contains(QStringLiteral("名稱")))
            c.name = i;
        if (!h.contains(QStringLiteral("買賣超")))
            continue;
        if (h.contains(QStringLiteral("三大法人")))
            c.basis[int(TradeBasis::AllThree)] << i;
        else if (h.contains(QStringLiteral("外")) && (h.contains(QStringLiteral("不含")) || h.contains(QStringLiteral("自營商"))))
            foreignParts << i;
        else if (h.contains(QStringLiteral("外")))
            foreignTotal = i;
        else if (h.contains(QStringLiteral("投信")))
            c.basis[int(TradeBasis::InvestmentTrust)] << i;
        else if (h.contains(QStringLiteral("自營商")) && (h.contains(QStringLiteral("自行買賣")) || h.contains(QStringLiteral("避險"))))
            dealerParts << i;
        else if (h.contains(QStringLiteral("自營商")))
            dealerTotal = i;
    }
    // A total, where the file has one, rather than its parts again.
    c.basis[int(TradeBasis::Foreign)] = foreignTotal >= 0 ? QVector<int>{foreignTotal} : foreignParts;
    c.basis[int(TradeBasis::Dealers)] = dealerTotal >= 0 ? QVector<int>{dealerTotal} : dealerParts;
    if (c.basis[0].isEmpty() && !c.basis[1].isEmpty() && !c.basis[2].isEmpty() && !c.basis[3].isEmpty())
        c.basis[0] = c.basis[1] + c.basis[2] + c.basis[3];
    return c;
}

// "1,234,567", "-12,000"; "-" or empty is nothing.
qint64 Shares(const QString& field)
{
    QString digits = CsvCell(field);
    digits.remove(QLatin1Char(','));
    bool ok = false;
    const qint64 value = digits.toLongLong(&ok);
    return ok ? value : 0;
}

} // namespace

InstitutionalDay InstitutionalDayFromRecords(const QVector<QStringList>& records, QString* error)
{
    InstitutionalDay day;
    Columns columns;
    for (const QStringList& record : records) {
        if (!columns.found()) {
            if (day.date.isEmpty())
                day.date = TitleDate(record);
            columns = HeadingColumns(record);
            continue;
        }
        const QString code = CsvCell(record.value(columns.code)).toUpper();
        if (!IsStockCode(code))
            continue;
        InstitutionalRow row{code, CsvCell(record.value(columns.name)), {0, 0, 0, 0}};
        for (int b = 0; b < 4; ++b)
            for (int column : columns.basis[b])
                row.net[b] += Shares(record.value(column));
        day.rows << row;
    }
    if (!columns.found())
        *error = QStringLiteral("不是三大法人買賣超的檔案（找不到證券代號、名稱與買賣超股數的欄位）。");
    else if (day.date.isEmpty())
        *error = QStringLiteral("檔案的標題中找不到資料日期。");
    else if (day.rows.isEmpty())
        *error = QStringLiteral("檔案中沒有任何股票的資料。");
    return error->isEmpty() ? day : InstitutionalDay();
}

InstitutionalDay ReadInstitutionalFiles(const QStringList& paths, QString* error)
{
    InstitutionalDay merged;
    for (const QString& path : paths) {
        QString problem;
        const QVector<QStringList> records =
            ReadCsvFile(path, kLargestFile, QStringLiteral("檔案太大，不是三大法人買賣超的檔案。"), &problem);
        const InstitutionalDay day = problem.isEmpty() ? InstitutionalDayFromRecords(records, &problem) : InstitutionalDay();
        if (problem.isEmpty() && !merged.date.isEmpty() && day.date != merged.date)
            problem = QStringLiteral("資料日期 %1 與其他檔案的 %2 不同。").arg(day.date, merged.date);
        if (!problem.isEmpty()) {
            *error = QStringLiteral("%1：%2").arg(QFileInfo(path).fileName(), problem);
            return {};
        }
        merged.date = day.date;
        merged.rows += day.rows;
    }
    return merged;
}

RankedLists RankInstitutional(const QVector<InstitutionalRow>& rows, TradeBasis basis, int length)
{
    RankedLists lists;
    for (const InstitutionalRow& row : rows) {
        const qint64 net = row.net[int(basis)];
        if (net != 0)
            (net > 0 ? lists.buys : lists.sells).push_back({row.code, row.name, net});
    }
    const auto byAmount = [](const RankedStock& a, const RankedStock& b) {
        const qint64 x = std::abs(a.net);
        const qint64 y = std::abs(b.net);
        return x != y ? x > y : a.code < b.code;
    };
    for (QVector<RankedStock>* list : {&lists.buys, &lists.sells}) {
        std::sort(list->begin(), list->end(), byAmount);
        if (list->size() > length)
            list->resize(std::max(0, length));
    }
    return lists;
}
