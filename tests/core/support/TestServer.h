#pragma once

#include <QString>

// With QUORVEX_TEST_SERVER set (a libpq connection string; empty takes the
// PG* environment of a throw-away server), the database tests run against
// that server instead of a file.
bool UseTestServer();

// An emptied server database, for one test: its tables, views and functions
// gone, so the next connection builds the schema afresh.
QString FreshTestServer();
