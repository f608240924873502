#pragma once

#include <QString>
#include <QVariant>

namespace db {

// How 使用者資料.密碼 is kept: a self-describing Argon2id hash with its own
// salt, so that nobody who copies the file can read a password back. Files
// of older versions and converted ones may still hold passwords as typed;
// those are compared as text until a login replaces them.

// A hash of `password` under a fresh salt. Throws DbError when the memory
// the hash needs cannot be had.
QString HashPassword(const QString& password);

// The hash of the empty password every new database starts with.
QString EmptyPasswordHash();

// A stored value that is a hash rather than a password as typed.
bool IsPasswordHash(const QString& stored);

// The typed password opens the stored value: a hash is checked in time that
// does not tell where the two differ; a password kept as typed must match
// letter for letter; null stands for the empty password.
bool StoredPasswordMatches(const QVariant& stored, const QString& typed);

} // namespace db
