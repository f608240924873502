#pragma once

#include <QString>

constexpr int kKeyBackspace = 8;
constexpr int kKeyEnter = 13;

// The character code to accept for a typed character under filter kind 1-7,
// or 0 to drop the keystroke. Other kinds accept everything unchanged.
int KeyFilter(int code, int kind);

// Upper-cases letters; other characters unchanged.
int UpperKey(int code);

// Applies a filter kind to pasted or typed text; dropped characters vanish.
QString FilterText(const QString& text, int kind);
QString UpperText(const QString& text);
