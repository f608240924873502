#pragma once

#include <QIcon>

// Pictures of the main menu's commands. Red stands for net buying and green for
// net selling, as on Taiwan's market screens.
enum class MenuGlyph { Entry, Stock, BuyCount, SellCount, NewBuy, NewSell, BuyToSell, SellToBuy };

QIcon MenuIcon(MenuGlyph glyph);
