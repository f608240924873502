#pragma once

#include <QDate>
#include <QDateTime>

// "Today" for the whole program. Tests fix it; nothing else should ask the
// system clock for the date.
QDate Today();
QDateTime Now();

void SetFixedNow(const QDateTime& now);
void ClearFixedNow();
