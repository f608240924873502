#include "gui/app/Screens.h"

#include "gui/entry/EntryScreen.h"
#include "gui/stats/AmountRankingScreen.h"
#include "gui/stats/BaseDateScreen.h"
#include "gui/stats/CountStatsScreen.h"
#include "gui/stats/StreakScreen.h"
#include "gui/stock/StockScreen.h"
#include "gui/system/MaintenanceScreen.h"

#include <QWidget>

#include <algorithm>

namespace {

template <typename Screen>
QWidget* Create()
{
    return new Screen;
}

const ScreenCommand& RowOf(ScreenId id)
{
    const std::vector<ScreenCommand>& rows = ScreenCommands();
    return *std::find_if(rows.begin(), rows.end(), [id](const ScreenCommand& row) { return row.id == id; });
}

} // namespace

const std::vector<ScreenCommand>& ScreenCommands()
{
    using P = CommandPlace;
    using G = MenuGlyph;
    static const std::vector<ScreenCommand> rows = {
        {ScreenId::Entry, u"輸入作業", P::Grid, G::Entry, {}, nullptr, Create<frm買賣超輸入作業>},
        {ScreenId::Stock, u"股號資料", P::Grid, G::Stock, {}, nullptr, Create<frm股號資料>},
        {ScreenId::CountStats, u"買超統計表", P::Grid, G::BuyCount, {}, u"買超統計表", Create<frm買賣超統計表>},
        {ScreenId::CountStats, u"賣超統計表", P::Grid, G::SellCount, {}, u"賣超統計表", Create<frm買賣超統計表>},
        {ScreenId::NewBuy, u"新增買超明細", P::Grid, G::NewBuy, {}, nullptr, Create<frm新增買超明細>},
        {ScreenId::NewSell, u"新增賣超明細", P::Grid, G::NewSell, {}, nullptr, Create<frm新增賣超明細>},
        {ScreenId::BuyToSell, u"買超轉賣超", P::Grid, G::BuyToSell, {}, nullptr, Create<frm買超轉賣超統計表>},
        {ScreenId::SellToBuy, u"賣超轉買超", P::Grid, G::SellToBuy, {}, nullptr, Create<frm賣超轉買超統計表>},
        {ScreenId::Maintenance, u"維護", P::MenuBar, {}, Qt::CTRL | Qt::Key_M, nullptr, Create<frm系統維護作業>},
        {ScreenId::BuyStreak, u"連續買超統計表", P::StatisticsMenu, {}, Qt::CTRL | Qt::Key_B, nullptr,
         Create<frm連續買超統計表>},
        {ScreenId::SellStreak, u"連續賣超統計表", P::StatisticsMenu, {}, Qt::CTRL | Qt::Key_S, nullptr,
         Create<frm連續賣超統計表>},
        {ScreenId::AmountRanking, u"法人累計買賣超排行", P::StatisticsMenu, {}, Qt::CTRL | Qt::Key_R, nullptr,
         Create<frm法人累計買賣超排行>},
    };
    return rows;
}

QWidget* CreateScreen(ScreenId id)
{
    return RowOf(id).create();
}
