#pragma once

#include <QString>

// True when the first row of 使用者資料 for `name` (looked up literally,
// ignoring ASCII letter case) holds exactly `password`; a null password
// equals the empty one. Throws db::DbError when the database fails.
bool PasswordMatches(const QString& connectionString, const QString& name, const QString& password);
