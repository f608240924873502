#include "core/download/DayStore.h"

#include "core/data/Connection.h"
#include "core/entry/InstitutionalAmounts.h"
#include "core/entry/TradingDays.h"
#include "core/stock/StockRecords.h"
#include "core/text/RocDate.h"

#include <stdexcept>

StoredDay StoreInstitutionalDay(db::Connection& connection, const InstitutionalDay& day, TradeBasis basis, int length,
                                bool sharesOnly, bool replace)
{
    if (!day.lacking[int(basis)].isEmpty())
        throw std::invalid_argument(QStringLiteral("%1 沒有%2的買賣超欄位。")
                                        .arg(day.lacking[int(basis)].join(QStringLiteral("、")), BasisName(basis))
                                        .toStdString());
    const RankedLists lists = RankInstitutional(day.rows, basis, length, sharesOnly);
    TradingDay trading;
    trading.date = day.date;
    trading.weekday = WeekdayText(DateFromRoc(day.date));
    QVector<StockRecord> listed;
    for (auto [stocks, rows] : {std::pair{&lists.buys, &trading.buys}, std::pair{&lists.sells, &trading.sells}}) {
        for (int i = 0; i < stocks->size(); ++i) {
            rows->push_back({double(i + 1), stocks->at(i).code});
            listed.push_back(StockWithoutRatios(stocks->at(i).code, stocks->at(i).name));
        }
    }

    db::Transaction transaction(connection);
    const bool there = IsDayStored(connection, day.date);
    if (there && !replace) {
        // A day stored before amounts were kept gets them; its lists stay.
        if (HasInstitutionalAmounts(connection, day.date))
            return {false, 0, 0};
        SaveInstitutionalAmounts(connection, day);
        transaction.commit();
        return {false, 0, 0, true};
    }
    SaveTradingDay(connection, !there, day.date, trading);
    SaveInstitutionalAmounts(connection, day);
    AddMissingStocks(connection, listed);
    transaction.commit();
    return {true, int(trading.buys.size()), int(trading.sells.size())};
}

bool IsDayStored(db::Connection& connection, const QString& date)
{
    return connection.query(QStringLiteral("SELECT count(*) FROM 買賣超資料 WHERE 買賣日期 = ?"), {date}).value(0, 0).toInt() > 0;
}
