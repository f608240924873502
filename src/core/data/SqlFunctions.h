#pragma once

#include <string_view>

struct sqlite3;

namespace db {

// The leading number of a text: blanks before it skipped, an optional sign,
// digits with an optional decimal part and exponent; 0 when there is none
// ("-", "", "abc"). It is what val() means inside SQL.
double LeadingNumber(std::string_view text);

// val() and whatever else every connection needs.
void RegisterSqlFunctions(sqlite3* db);

} // namespace db
