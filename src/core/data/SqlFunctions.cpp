#include "core/data/SqlFunctions.h"

#include <charconv>

#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

namespace db {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void ValFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    sqlite3_value* arg = argv[0];
    switch (sqlite3_value_type(arg)) {
    case SQLITE_INTEGER:
        sqlite3_result_int64(context, sqlite3_value_int64(arg));
        return;
    case SQLITE_FLOAT:
        sqlite3_result_double(context, sqlite3_value_double(arg));
        return;
    case SQLITE_NULL:
        sqlite3_result_double(context, 0.0);
        return;
    default: {
        const char* text = reinterpret_cast<const char*>(sqlite3_value_text(arg));
        const int bytes = sqlite3_value_bytes(arg);
        sqlite3_result_double(context, LeadingNumber(std::string_view(text ? text : "", text ? bytes : 0)));
        return;
    }
    }
}

} // namespace

double LeadingNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n'))
        ++i;
    const size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const size_t digitsStart = i;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    size_t mantissaDigits = i - digitsStart;
    if (i < text.size() && text[i] == '.') {
        const size_t fractionStart = ++i;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
        mantissaDigits += i - fractionStart;
    }
    if (mantissaDigits == 0)
        return 0.0;
    size_t end = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j]))
                ++j;
            end = j;
        }
    }
    size_t parseFrom = start;
    if (text[parseFrom] == '+')
        ++parseFrom;
    double value = 0.0;
    std::from_chars(text.data() + parseFrom, text.data() + end, value);
    return value;
}

void RegisterSqlFunctions(sqlite3* db)
{
    sqlite3_create_function(db, "val", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, ValFunction, nullptr,
                            nullptr);
}

} // namespace db
