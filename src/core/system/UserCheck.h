#pragma once

#include <QString>

// True when the first row of 使用者資料 for `name` (looked up literally,
// ignoring ASCII letter case) opens with `password`: its hash verifies, or
// a password an older version kept as typed equals it exactly (a null one
// equals the empty one). After such a login every password still kept as
// typed is replaced by its hash, in one transaction; a PC that cannot write
// the file logs in all the same. Throws db::DbError when the database fails.
bool PasswordMatches(const QString& connectionString, const QString& name, const QString& password);
