#pragma once

#include <QString>

class QWidget;

// The working screens the main menu opens.
enum class ScreenId {
    Entry,          // frm買賣超輸入作業
    Stock,          // frm股號資料
    CountStats,     // frm買賣超統計表, both kinds
    NewBuy,         // frm新增買超明細
    NewSell,        // frm新增賣超明細
    BuyToSell,      // frm買超轉賣超統計表
    SellToBuy,      // frm賣超轉買超統計表
    BuyStreak,      // frm連續買超統計表
    SellStreak,     // frm連續賣超統計表
    Maintenance     // frm系統維護作業
};

QString ScreenObjectName(ScreenId id);
QString ScreenCaption(ScreenId id);

// A new, not yet shown, top-level window for the screen; it deletes itself when closed.
QWidget* CreateScreen(ScreenId id);
