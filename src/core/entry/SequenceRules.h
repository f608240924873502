#pragma once

#include <QString>
#include <QStringList>

// The numeric value of a typed sequence text: its leading number, 0 when none.
double SequenceValue(const QString& text);

// One more than the largest sequence value among `sequenceTexts`, rounded to a
// whole number with halves going to the even neighbour (4.5 -> 6, 1.5 -> 2).
int NextSequenceNumber(const QStringList& sequenceTexts);
