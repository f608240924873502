#include "core/stock/StockImport.h"

#include "core/data/Connection.h"
#include "core/stock/CsvReader.h"
#include "core/stock/StockRecords.h"

#include <QSet>

#include <algorithm>

namespace {

constexpr int kFieldLength = 10;
constexpr qint64 kLargestFile = 64 * 1024 * 1024;

enum Field { kCode, kName, kPriceEarnings, kYield, kPriceBook, kFields };

// The headings that name each field, the preferred first: the company list
// has both 公司名稱 and the shorter 公司簡稱 that fits the name column.
const QVector<QStringList>& Headings()
{
    static const QVector<QStringList> headings = {
        {QStringLiteral("公司代號"), QStringLiteral("證券代號"), QStringLiteral("股票代號"), QStringLiteral("代號"),
         QStringLiteral("股號")},
        {QStringLiteral("公司簡稱"), QStringLiteral("證券名稱"), QStringLiteral("股票名稱"), QStringLiteral("名稱")},
        {QStringLiteral("本益比")},
        {QStringLiteral("殖利率")},
        {QStringLiteral("股價淨值比")}};
    return headings;
}

QString Clean(QStringView field)
{
    return CsvCell(field).left(kFieldLength).toString();
}

bool IsNumber(QStringView text)
{
    // [+-]?(\d{1,3}(,\d{3})+|\d+|)(\.\d+)? with a digit somewhere.
    qsizetype i = (text.startsWith(u'+') || text.startsWith(u'-')) ? 1 : 0;
    qsizetype run = 0;       // digits since the last comma or the start
    bool grouped = false;    // a thousands comma was met
    bool digits = false;
    for (; i < text.size() && text.at(i) != u'.'; ++i) {
        const QChar c = text.at(i);
        if (c >= u'0' && c <= u'9') {
            ++run;
            digits = true;
        } else if (c == u',' && run >= 1 && (grouped ? run == 3 : run <= 3)) {
            grouped = true;
            run = 0;
        } else {
            return false;
        }
    }
    if (grouped && run != 3)
        return false;
    if (i < text.size()) {   // the fraction
        if (++i == text.size())
            return false;
        for (; i < text.size(); ++i) {
            if (text.at(i) < u'0' || text.at(i) > u'9')
                return false;
            digits = true;
        }
    }
    return digits;
}

// A ratio as the screening reads it: a number without thousands separators,
// "-" for anything that is no number; nothing for nothing, unless the empty
// field is in an exchange's file with ratio headings, which gives no value so.
QString Ratio(QStringView field, bool headed)
{
    const QStringView text = CsvCell(field);
    if (text.isEmpty())
        return headed ? kNoRatio : QString();
    if (!IsNumber(text))
        return kNoRatio;
    return text.toString().remove(QLatin1Char(',')).left(kFieldLength);
}

QString HeadingText(QStringView cell)
{
    return CsvCell(cell).toString().simplified().remove(QLatin1Char(' '));
}

int FilledCells(const CsvRecord& record)
{
    return static_cast<int>(std::count_if(record.begin(), record.end(), [](QStringView cell) { return !CsvCell(cell).isEmpty(); }));
}

bool IsCode(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9')
        ++i;
    if (i == 0)
        return false;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!(c >= u'A' && c <= u'Z') && !(c >= u'a' && c <= u'z'))
            return false;
    }
    return true;
}

// A row that names columns: two fields or more, none a code, one at least
// a heading the exchanges use. (A title line is one field.)
bool IsHeadingRow(const CsvRecord& record)
{
    bool known = false;
    for (QStringView cell : record) {
        const QString text = HeadingText(cell);
        if (IsCode(text))
            return false;
        known = known || std::any_of(Headings().begin(), Headings().end(), [&text](const QStringList& names) {
                    return std::any_of(names.begin(), names.end(), [&text](const QString& name) { return text.contains(name); });
                });
    }
    return known && FilledCells(record) >= 2;
}

// The column of each field in a heading row, -1 where there is none.
QVector<int> HeadingColumns(const CsvRecord& record)
{
    QVector<int> columns(kFields, -1);
    const int size = static_cast<int>(record.size());
    for (int field = 0; field < kFields; ++field) {
        for (const QString& name : Headings().at(field)) {
            for (int c = 0; c < size && columns[field] < 0; ++c) {
                if (HeadingText(record.at(c)).contains(name) && !columns.contains(c))
                    columns[field] = c;
            }
            if (columns[field] >= 0)
                break;
        }
    }
    // A heading that names nothing but the code and the name, over the
    // design's own layout, still has the ratios in the next three columns.
    if (columns[kCode] == 0 && columns[kName] == 1 && FilledCells(record) == 2)
        columns = {kCode, kName, kPriceEarnings, kYield, kPriceBook};
    return columns;
}

bool IsEmptyRecord(const CsvRecord& record)
{
    return std::all_of(record.begin(), record.end(), [](QStringView cell) { return CsvCell(cell).isEmpty(); });
}

// Reads the stocks of one record after another; the first error ends it.
class StockReader {
public:
    bool read(const CsvRecord& record, StockFile& file, QString* error)
    {
        if (IsEmptyRecord(record))
            return true;
        if (IsHeadingRow(record)) {
            m_columns = HeadingColumns(record);
            if (m_columns[kCode] < 0) {
                QStringList cells;
                for (QStringView cell : record)
                    cells << cell.toString();
                *error = QStringLiteral("檔案的標題列沒有股號欄（公司代號、證券代號、股票代號或代號）：%1")
                             .arg(cells.join(QLatin1Char(',')).left(80));
                return false;
            }
            m_headed = true;
            return true;
        }
        const auto field = [&record, this](int which) {
            const int column = m_columns[which];
            return column < 0 || column >= static_cast<int>(record.size()) ? QStringView() : record.at(column);
        };
        const QString code = Clean(field(kCode)).toUpper();
        if (!IsStockCode(code)) {
            file.skipped << CsvCell(record.empty() ? QStringView() : record.front()).left(40).toString();
            return true;
        }
        const bool hasRatios = m_columns[kPriceEarnings] >= 0 && m_columns[kYield] >= 0 && m_columns[kPriceBook] >= 0;
        const bool exchangeRatios = m_headed && hasRatios;
        file.stocks.push_back({code, Clean(field(kName)), Ratio(field(kPriceEarnings), exchangeRatios),
                               Ratio(field(kYield), exchangeRatios), Ratio(field(kPriceBook), exchangeRatios), hasRatios});
        return true;
    }

private:
    QVector<int> m_columns = {kCode, kName, kPriceEarnings, kYield, kPriceBook};
    bool m_headed = false;
};

} // namespace

StockFile StocksFromText(QStringView text, QString* error)
{
    StockFile file;
    StockReader reader;
    ForEachCsvRecord(text, [&](const CsvRecord& record) { return reader.read(record, file, error); });
    return error->isEmpty() ? file : StockFile();
}

StockFile StocksFromRecords(const QVector<QStringList>& records, QString* error)
{
    StockFile file;
    StockReader reader;
    CsvRecord views;
    for (const QStringList& record : records) {
        views.assign(record.begin(), record.end());
        if (!reader.read(views, file, error))
            return {};
    }
    return file;
}

StockFile ReadStockFile(const QString& path, QString* error)
{
    const QString text = ReadCsvText(path, kLargestFile, QStringLiteral("檔案太大，不是股號資料檔"), error);
    return error->isEmpty() ? StocksFromText(text, error) : StockFile();
}

ImportPlan PlanImport(db::Connection& connection, const QVector<ImportedStock>& stocks)
{
    QSet<QString> stored;
    const db::ResultSet rows = connection.query(QStringLiteral("SELECT upper(股號) FROM 股號資料"));
    for (int r = 0; r < rows.rowCount(); ++r)
        stored.insert(rows.text(r, 0));
    ImportPlan plan;
    QSet<QString> seen;
    for (const ImportedStock& stock : stocks) {
        if (seen.contains(stock.code))
            continue;
        seen.insert(stock.code);
        (stored.contains(stock.code) ? plan.updated : plan.added).push_back(stock);
    }
    return plan;
}

void ImportStocks(db::Connection& connection, const QVector<ImportedStock>& stocks, int* written)
{
    *written = 0;
    db::Transaction transaction(connection);
    // The engine predates INSERT ... ON CONFLICT: update, and insert when no row had the code.
    db::Statement update(connection, QStringLiteral(
        "UPDATE 股號資料 SET 股號 = ?1, 名稱 = ?2, 本益比 = ?3, 殖利率 = ?4, 股價淨值比 = ?5 WHERE 股號 = ?1"));
    db::Statement updateName(connection, QStringLiteral("UPDATE 股號資料 SET 股號 = ?1, 名稱 = ?2 WHERE 股號 = ?1"));
    db::Statement insert(connection, QStringLiteral(
        "INSERT INTO 股號資料 (股號, 名稱, 本益比, 殖利率, 股價淨值比) VALUES (?, ?, ?, ?, ?)"));
    for (const ImportedStock& stock : stocks) {
        const QVariantList values = {stock.code, stock.name, stock.priceEarnings, stock.yield, stock.priceBook};
        try {
            const int updated = stock.hasRatios ? update.execute(values) : updateName.execute({stock.code, stock.name});
            if (updated == 0)
                insert.execute(values);
        } catch (const db::DbError&) {
            // A refused row keeps the rows before it. A failing disk or engine
            // may have undone the transaction already: then none is kept, and
            // the failure to report is the first one.
            try {
                transaction.commit();
            } catch (const db::DbError&) {
                *written = 0;
            }
            throw;
        }
        ++*written;
    }
    transaction.commit();
}
