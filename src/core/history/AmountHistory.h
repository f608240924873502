#pragma once

#include <QString>
#include <QVector>
#include <optional>

namespace db {
class Connection;
}

// The three institutions in the order the chart stacks and lists them.
constexpr int kAmountParts = 3;
// 外資, 投信, 自營商.
QString AmountPartName(int part);

// One stock's net shares on one trading date (or summed over a bar's dates);
// a basis the day's files had no column for is unknown.
struct AmountDay {
    QString date;        // the bar's last date
    QString firstDate;   // a bar of a week or a month: its first date; else empty
    std::optional<qint64> parts[kAmountParts];
    std::optional<qint64> total;   // 合計 as stored
    bool onBuyList = false;        // stood on the day's 買超 list
    bool onSellList = false;       // stood on the day's 賣超 list

    // 合計, or the known parts added when the file had no total; unknown
    // when nothing is known.
    std::optional<qint64> dayTotal() const;
};

// What one bar of the chart stands for.
enum class BarPeriod { Day, Week, Month };

struct AmountHistory {
    QString code;
    QString name;   // empty when 股號資料 does not hold the code
    QString from;
    QString to;
    // Trading dates of the range with amounts or with the stock on a list
    // (days typed by hand keep no amounts), oldest first.
    QVector<AmountDay> days;
    BarPeriod period = BarPeriod::Day;
};

// The last `count` trading dates with amounts, as {from, to}; both empty
// when no date has amounts.
struct DateRange {
    QString from;
    QString to;
};
DateRange LatestAmountDates(db::Connection& connection, int count);

// The stock's amounts over from..to with the dates it stood on either list,
// read from one state of the database. An empty `from` and `to` take the
// last `defaultCount` trading dates with amounts.
AmountHistory LoadAmountHistory(db::Connection& connection, const QString& code, const QString& from,
                                const QString& to, int defaultCount = 60);

// Long ranges read better with fewer bars: above kWeeklyBarsAbove dates one bar
// a week, above kMonthlyBarsAbove one a month, each holding its dates' sums
// and the lists any of them stood on. A shorter history comes back as it is.
constexpr int kWeeklyBarsAbove = 250;
constexpr int kMonthlyBarsAbove = 1250;
AmountHistory BarsForReading(AmountHistory daily);
