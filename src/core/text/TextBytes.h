#pragma once

#include <QString>

// Length of a text in Big5 (code page 950) bytes: a Chinese character 2, an
// ASCII character 1, and 1 for a character Big5 cannot hold (it would be '?').
int Big5Length(const QString& text);

// The longest leading part of the text whose Big5 length is at most `limit`.
QString LeftBytes(const QString& text, int limit);
