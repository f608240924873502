#pragma once

#include <QByteArray>
#include <QString>

namespace db {

// SQLCipher 3 derives the page key with PBKDF2-HMAC-SHA1, 64000 rounds, over the
// file's 16-byte salt. Deriving it once per (password, salt) and opening with the
// raw key saves that cost on every later connection.
QByteArray RawKeyPragmaValue(const QString& password, const QByteArray& salt);

// The salt SQLCipher keeps in the first 16 bytes of the file; empty when the file
// is shorter than that.
QByteArray ReadFileSalt(const QString& path);

} // namespace db
