#pragma once

#include <QByteArray>
#include <QString>

namespace db {

// SQLCipher 3 derives the page key with PBKDF2-HMAC-SHA1, 64000 rounds, over the
// file's 16-byte salt. Deriving it once per (password, salt) and opening with the
// raw key saves that cost on every later connection.
QByteArray RawKeyPragmaValue(const QString& password, const QByteArray& salt);

// SQLCipher keeps the salt in the first bytes of the file.
constexpr int kSaltBytes = 16;

} // namespace db
