#pragma once

#include <QString>

namespace db {
class Connection;
}

// Where a record screen's keys live. Both names are the program's own
// identifiers, never user input.
struct KeyTable {
    QString table;
    QString column;
};

enum class MoveDirection { First, Previous, Next, Last };

// The highest stored key, or an empty text with `found` false.
QString HighestKey(db::Connection& connection, const KeyTable& keys, bool* found);

// Moves `currentKey` in key order. 0: moved, or nothing is stored (the key is
// unchanged then); 1: already at the first (Previous) or last (Next) key.
// A current key no longer stored moves to its nearest neighbour.
int MoveKey(db::Connection& connection, const KeyTable& keys, MoveDirection direction, QString* currentKey);
