#pragma once

#include <QString>

constexpr int kKeyBackspace = 8;
constexpr int kKeyEnter = 13;

// Stock codes as the stock master holds them (2330, 2881A, 00632R): digits
// and Latin letters, letters upper-cased.
constexpr int kStockCodeKind = 8;

// The character code to accept for a typed character under filter kind 1-7,
// or 0 to drop the keystroke; kStockCodeKind as above. Other kinds accept
// everything unchanged.
int KeyFilter(int code, int kind);

// Upper-cases letters; other characters unchanged.
int UpperKey(int code);

// Applies a filter kind to pasted or typed text; dropped characters vanish.
QString FilterText(const QString& text, int kind);
QString UpperText(const QString& text);
