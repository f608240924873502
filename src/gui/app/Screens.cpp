#include "gui/app/Screens.h"

#include "gui/entry/EntryScreen.h"
#include "gui/stats/BaseDateScreen.h"
#include "gui/stats/CountStatsScreen.h"
#include "gui/stats/StreakScreen.h"
#include "gui/stock/StockScreen.h"
#include "gui/system/MaintenanceScreen.h"

#include <QWidget>

QString ScreenObjectName(ScreenId id)
{
    switch (id) {
    case ScreenId::Entry:
        return QStringLiteral("frm買賣超輸入作業");
    case ScreenId::Stock:
        return QStringLiteral("frm股號資料");
    case ScreenId::CountStats:
        return QStringLiteral("frm買賣超統計表");
    case ScreenId::NewBuy:
        return QStringLiteral("frm新增買超明細");
    case ScreenId::NewSell:
        return QStringLiteral("frm新增賣超明細");
    case ScreenId::BuyToSell:
        return QStringLiteral("frm買超轉賣超統計表");
    case ScreenId::SellToBuy:
        return QStringLiteral("frm賣超轉買超統計表");
    case ScreenId::BuyStreak:
        return QStringLiteral("frm連續買超統計表");
    case ScreenId::SellStreak:
        return QStringLiteral("frm連續賣超統計表");
    case ScreenId::Maintenance:
        return QStringLiteral("frm系統維護作業");
    }
    return {};
}

QString ScreenCaption(ScreenId id)
{
    switch (id) {
    case ScreenId::Entry:
        return QStringLiteral("輸入作業");
    case ScreenId::Stock:
        return QStringLiteral("股號資料");
    case ScreenId::CountStats:
        return QStringLiteral("買賣超統計表");
    case ScreenId::NewBuy:
        return QStringLiteral("新增買超明細");
    case ScreenId::NewSell:
        return QStringLiteral("新增賣超明細");
    case ScreenId::BuyToSell:
        return QStringLiteral("買超轉賣超");
    case ScreenId::SellToBuy:
        return QStringLiteral("賣超轉買超");
    case ScreenId::BuyStreak:
        return QStringLiteral("連續買超統計表");
    case ScreenId::SellStreak:
        return QStringLiteral("連續賣超統計表");
    case ScreenId::Maintenance:
        return QStringLiteral("系統維護作業");
    }
    return {};
}

QWidget* CreateScreen(ScreenId id)
{
    switch (id) {
    case ScreenId::Entry:
        return new frm買賣超輸入作業;
    case ScreenId::Stock:
        return new frm股號資料;
    case ScreenId::CountStats:
        return new frm買賣超統計表;
    case ScreenId::SellToBuy:
        return new frm賣超轉買超統計表;
    case ScreenId::BuyToSell:
        return new frm買超轉賣超統計表;
    case ScreenId::NewSell:
        return new frm新增賣超明細;
    case ScreenId::NewBuy:
        return new frm新增買超明細;
    case ScreenId::BuyStreak:
        return new frm連續買超統計表;
    case ScreenId::SellStreak:
        return new frm連續賣超統計表;
    case ScreenId::Maintenance:
        return new frm系統維護作業;
    }
    return nullptr;
}
