#pragma once

#include "gui/app/MenuIcons.h"

#include <QKeyCombination>

#include <vector>

class QWidget;

// The working screens the main menu opens.
enum class ScreenId {
    Entry, Stock, CountStats, NewBuy, NewSell, BuyToSell, SellToBuy, BuyStreak, SellStreak, AmountRanking, Maintenance
};

// Where the main menu offers a command.
enum class CommandPlace {
    Grid,             // a button of the home window, keys 1 to 8 in table order
    MenuBar,          // an action of the menu bar, between 離開 and 統計
    StatisticsMenu    // an action of the 統計 menu
};

// One command of the main menu and the screen it opens. A screen offered
// twice (both count statistics) has a row per command.
struct ScreenCommand {
    ScreenId id;
    const char16_t* caption;      // the command's text; its object name is cmd or m before it
    CommandPlace place;
    MenuGlyph glyph;              // on a grid button
    QKeyCombination shortcut;     // of a menu action
    const char16_t* statKind;     // set into gStatKind before the screen opens, or null
    // A new, not yet shown window, named by its class; it deletes itself when closed.
    QWidget* (*create)();
};

// Every command and screen, each written here once: the menus and the screen
// registry read them from this table.
const std::vector<ScreenCommand>& ScreenCommands();

QWidget* CreateScreen(ScreenId id);
