#pragma once

#include <QString>

// Which records the print panel chose: the one shown, all, or a range of
// keys compared as text, both ends included.
struct PrintSelection {
    enum Kind { Single = 0, All = 1, Range = 2 };
    Kind kind = Single;
    QString single;   // the key shown when the panel was entered
    QString from;
    QString to;
};
