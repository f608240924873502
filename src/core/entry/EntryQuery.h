#pragma once

#include "core/records/GridQuery.h"

#include <QString>

// The list rows of both lists whose code begins with `codePrefix` (taken
// literally) dated from `from` to `to`, newest date first, then by list and
// sequence; the hidden last column is the date a row opens. An empty date
// lists nothing.
GridQuery BuildEntryQuery(const QString& codePrefix, const QString& from, const QString& to);

// The default range of the entry query: the first day of the month that holds
// the date 60 days back, and the last day of this month.
QString EntryQueryDefaultFrom();
QString EntryQueryDefaultTo();
