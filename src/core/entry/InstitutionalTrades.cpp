#include "core/entry/InstitutionalTrades.h"

#include "core/entry/InstitutionalColumns.h"
#include "core/stock/CsvReader.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace {

// A day's file of every security is a few megabytes.
constexpr qint64 kLargestFile = 16 * 1024 * 1024;
// The heading comes after a title line or two: a file without one this early is no such file.
constexpr int kHeadingWithin = 30;

// "115年12月08日 三大法人買賣超日報" or "資料日期:115/12/08".
QString TitleDate(const CsvRecord& record)
{
    static const QRegularExpression pattern(
        QStringLiteral("(\\d{2,3})\\s*(?:年|/)\\s*(\\d{1,2})\\s*(?:月|/)\\s*(\\d{1,2})"));
    for (size_t i = 0; i < std::min<size_t>(record.size(), 4); ++i) {
        const QStringView cell = record.at(i);
        const QRegularExpressionMatch m = pattern.match(cell);
        if (m.hasMatch())
            return QStringLiteral("%1%2%3")
                .arg(m.captured(1).toInt(), 3, 10, QLatin1Char('0'))
                .arg(m.captured(2).toInt(), 2, 10, QLatin1Char('0'))
                .arg(m.captured(3).toInt(), 2, 10, QLatin1Char('0'));
    }
    return {};
}

// "1,234,567", "-12,000"; "-" or empty is nothing. Read in place: a day's
// file has tens of thousands of these.
qint64 Shares(QStringView field)
{
    const QStringView text = CsvCell(field);
    qint64 value = 0;
    bool negative = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c >= u'0' && c <= u'9')
            value = value * 10 + (c.unicode() - u'0');
        else if (c == u'-' && i == 0)
            negative = true;
        else if (c != u',' && !(c == u'+' && i == 0))
            return 0;
    }
    return negative ? -value : value;
}

// One entry per code, nets added, in the order the codes first appear. Codes
// compare as the database does, without case.
void MergeSameCodes(QVector<InstitutionalRow>& rows)
{
    QHash<QString, int> at;
    at.reserve(rows.size());
    QVector<InstitutionalRow> merged;
    merged.reserve(rows.size());
    for (InstitutionalRow& row : rows) {
        const QString key = row.code.toUpper();
        const auto found = at.constFind(key);
        if (found == at.constEnd()) {
            at.insert(key, static_cast<int>(merged.size()));
            merged.push_back(std::move(row));
            continue;
        }
        for (int b = 0; b < 4; ++b) {
            merged[*found].net[b] += row.net[b];
            merged[*found].known[b] = merged[*found].known[b] && row.known[b];
        }
    }
    rows = std::move(merged);
}

// The field's stock code in upper case (2330, 2881A), or nothing.
QString StockCodeOf(QStringView field)
{
    const QStringView code = CsvCell(field);
    qsizetype i = 0;
    while (i < code.size() && code.at(i) >= u'0' && code.at(i) <= u'9')
        ++i;
    if (i == 0)
        return {};
    bool lower = false;
    for (qsizetype j = i; j < code.size(); ++j) {
        const char16_t c = code.at(j).unicode();
        if (c >= u'a' && c <= u'z')
            lower = true;
        else if (c < u'A' || c > u'Z')
            return {};
    }
    return lower ? code.toString().toUpper() : code.toString();
}

// A row after the data that is no stock: TPEx's closing "共N筆", TWSE's notes.
void NoteFileEnd(const CsvRecord& record, InstitutionalDay& day)
{
    static const QRegularExpression count(QStringLiteral("^共([\\d,]+)筆$"));
    const QString first = record.empty() ? QString() : Squeezed(CsvCell(record.front()));
    const QRegularExpressionMatch m = count.match(first);
    if (m.hasMatch())
        day.statedRows = m.captured(1).remove(QLatin1Char(',')).toInt();
    else if (first.startsWith(QStringLiteral("說明")) || first.startsWith(QStringLiteral("備註")))
        day.notesAfter = true;
}

} // namespace

QString RowCountProblem(const InstitutionalDay& day)
{
    return QStringLiteral("檔案最後說共 %1 筆，卻有 %2 筆資料，檔案不完整。").arg(day.statedRows).arg(day.rowsRead);
}

QString BasisName(TradeBasis basis)
{
    switch (basis) {
    case TradeBasis::AllThree:
        return QStringLiteral("三大法人合計");
    case TradeBasis::Foreign:
        return QStringLiteral("外資");
    case TradeBasis::InvestmentTrust:
        return QStringLiteral("投信");
    case TradeBasis::Dealers:
        return QStringLiteral("自營商");
    }
    return {};
}

InstitutionalDay InstitutionalDayFromText(QStringView text, QString* error)
{
    InstitutionalDay day;
    InstitutionalColumns columns;
    int records = 0;
    QHash<QString, int> seen;
    // A data row takes some forty characters at the least.
    const qsizetype rowsAtMost = std::min<qsizetype>(text.size() / 40 + 16, 2'000'000);
    seen.reserve(rowsAtMost);
    day.rows.reserve(rowsAtMost);
    ForEachCsvRecord(text, [&](const CsvRecord& record) {
        if (!columns.found()) {
            if (++records > kHeadingWithin)
                return false;
            if (day.date.isEmpty())
                day.date = TitleDate(record);
            columns = HeadingColumns(record);
            return true;
        }
        const int size = static_cast<int>(record.size());
        const QString code = size > columns.code ? StockCodeOf(record.at(columns.code)) : QString();
        if (code.isEmpty()) {
            NoteFileEnd(record, day);
            return true;
        }
        if (size <= columns.last) {
            *error = QStringLiteral("股號 %1 的資料列不完整（只有 %2 欄），檔案內容有誤。").arg(code).arg(size);
            return false;
        }
        ++day.rowsRead;
        const auto shares = [&record](int column) { return Shares(record.at(column)); };
        for (int column : columns.counts) {
            if (shares(column) < 0) {
                *error = QStringLiteral("股號 %1 的買進或賣出股數是負數，檔案內容有誤。").arg(code);
                return false;
            }
        }
        for (const auto& [total, parts] : columns.groups) {
            qint64 sum = 0;
            for (int part : parts)
                sum += shares(part);
            if (sum != shares(total)) {
                *error = QStringLiteral("股號 %1 的各項買賣超股數加起來不等於合計，檔案內容有誤。").arg(code);
                return false;
            }
        }
        qint64 net[4] = {0, 0, 0, 0};
        for (int b = 0; b < 4; ++b)
            for (int column : columns.basis[b])
                net[b] += shares(column);
        // A code met before takes these nets too: one stock, one entry.
        int& place = seen[code];   // the row's number plus one; 0 for a new code
        if (place == 0) {
            place = static_cast<int>(day.rows.size()) + 1;
            day.rows.push_back({code, CsvCell(record.at(columns.name)).toString(), {net[0], net[1], net[2], net[3]}});
        } else {
            for (int b = 0; b < 4; ++b)
                day.rows[place - 1].net[b] += net[b];
        }
        return true;
    });
    if (!error->isEmpty())
        return {};
    if (!columns.found())
        *error = QStringLiteral("不是三大法人買賣超的檔案（找不到證券代號、名稱與買賣超股數的欄位）。");
    else if (day.date.isEmpty())
        *error = QStringLiteral("檔案的標題中找不到資料日期。");
    if (!error->isEmpty())
        return {};
    for (int b = 0; b < 4; ++b) {
        if (!columns.basis[b].isEmpty())
            continue;
        day.lacking[b] << QString();
        for (InstitutionalRow& row : day.rows)
            row.known[b] = false;
    }
    return day;
}

InstitutionalDay ReadInstitutionalFiles(const QStringList& paths, QString* error)
{
    InstitutionalDay merged;
    for (const QString& path : paths) {
        QString problem;
        const QString text = ReadCsvText(path, kLargestFile, QStringLiteral("檔案太大，不是一天的三大法人買賣超檔案。"), &problem);
        InstitutionalDay day = problem.isEmpty() ? InstitutionalDayFromText(text, &problem) : InstitutionalDay();
        if (problem.isEmpty() && day.rows.isEmpty())
            problem = QStringLiteral("檔案中沒有任何股票的資料。");
        else if (problem.isEmpty() && day.statedRows >= 0 && day.statedRows != day.rowsRead)
            problem = RowCountProblem(day);
        if (problem.isEmpty() && !merged.date.isEmpty() && day.date != merged.date)
            problem = QStringLiteral("資料日期 %1 與其他檔案的 %2 不同。").arg(day.date, merged.date);
        if (!problem.isEmpty()) {
            *error = QStringLiteral("%1：%2").arg(QFileInfo(path).fileName(), problem);
            return {};
        }
        merged.date = day.date;
        merged.rows += day.rows;
        for (int b = 0; b < 4; ++b) {
            if (!day.lacking[b].isEmpty())
                merged.lacking[b] << QFileInfo(path).fileName();
        }
    }
    MergeSameCodes(merged.rows);
    return merged;
}

bool IsShareOrEtf(const QString& code)
{
    static const QRegularExpression pattern(QStringLiteral("^([1-9][0-9]{3}[A-Z]?|91[0-9]{4}|00[0-9]{2,4}[LRUBKMSC]?)$"));
    return pattern.match(code).hasMatch();
}

RankedLists RankInstitutional(const QVector<InstitutionalRow>& rows, TradeBasis basis, int length, bool sharesOnly)
{
    RankedLists lists;
    for (const InstitutionalRow& row : rows) {
        const qint64 net = row.net[int(basis)];
        if (sharesOnly && !IsShareOrEtf(row.code))
            ++lists.leftOut;
        else if (net != 0)
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
