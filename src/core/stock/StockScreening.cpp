#include "core/stock/StockScreening.h"

#include "core/data/SqlFunctions.h"
#include "core/data/SqlText.h"

namespace {

double BoundValue(const QString& text)
{
    return db::LeadingNumber(text.toUtf8().toStdString());
}

const char* OrderClause(StockScreening::Order order)
{
    switch (order) {
    case StockScreening::ByPriceEarnings:
        return "ORDER BY val(本益比), 股號";
    case StockScreening::ByYieldDescending:
        return "ORDER BY val(殖利率) DESC, 股號";
    case StockScreening::ByPriceBook:
        return "ORDER BY val(股價淨值比), 股號";
    case StockScreening::ByCode:
        break;
    }
    return "ORDER BY 股號";
}

} // namespace

GridQuery BuildStockQuery(const StockScreening& screening)
{
    GridQuery query;
    const QString prefix = db::LikePrefix(screening.prefix.trimmed());
    query.sql = QStringLiteral(
        "SELECT 股號, 名稱, 本益比, 殖利率, 股價淨值比, 股號 AS H股號 FROM 股號資料 "
        "WHERE (股號 LIKE ? ESCAPE '\\' OR 名稱 LIKE ? ESCAPE '\\') ");
    query.params = {prefix, prefix};
    if (screening.priceEarningsOn) {
        query.sql += QStringLiteral("AND val(本益比) >= ? AND val(本益比) <= ? AND 本益比 <> '-' ");
        query.params << BoundValue(screening.priceEarningsFrom) << BoundValue(screening.priceEarningsTo);
    }
    if (screening.yieldOn) {
        query.sql += QStringLiteral("AND val(殖利率) >= ? AND val(殖利率) <= ? ");
        query.params << BoundValue(screening.yieldFrom) << BoundValue(screening.yieldTo);
    }
    query.sql += QString::fromUtf8(OrderClause(screening.order));
    query.widthsTwips = {1200, 1500, 1200, 1200, 1500, 0};
    query.rightAligned = {2, 3, 4};
    return query;
}
