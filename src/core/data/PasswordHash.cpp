#include "core/data/PasswordHash.h"

#include "core/data/DbError.h"

#include <sodium.h>

#include <cstring>

namespace db {

namespace {

// No password a user can type is this long: the boxes and the old
// program's column take 20 characters.
constexpr int kLongestTypedPassword = 20;

void StartSodium()
{
    static const bool started = sodium_init() >= 0;
    if (!started)
        throw DbError(ErrorKind::Other, QStringLiteral("無法啟用密碼加密元件 (libsodium)"));
}

} // namespace

QString HashPassword(const QString& password)
{
    StartSodium();
    const QByteArray typed = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, typed.constData(), static_cast<unsigned long long>(typed.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE)
        != 0)
        throw DbError(ErrorKind::Other, QStringLiteral("記憶體不足，無法計算密碼的雜湊值"));
    return QString::fromLatin1(hash);
}

QString EmptyPasswordHash()
{
    // Everyone knows a new file's password is empty: its own salt would hide
    // nothing, so one hash serves every file this process creates.
    static const QString hash = HashPassword(QString());
    return hash;
}

bool IsPasswordHash(const QString& stored)
{
    return stored.size() > kLongestTypedPassword
           && (stored.startsWith(QLatin1String("$argon2id$")) || stored.startsWith(QLatin1String("$argon2i$")));
}

bool StoredPasswordMatches(const QVariant& stored, const QString& typed)
{
    const QString text = stored.isNull() ? QString() : stored.toString();
    if (!IsPasswordHash(text))
        return text == typed;
    // A hash is never compared as text: whoever read it from the file could type it.
    StartSodium();
    const QByteArray stored8 = text.toLatin1();
    if (stored8.size() >= crypto_pwhash_STRBYTES)
        return false;
    char hash[crypto_pwhash_STRBYTES] = {};
    std::memcpy(hash, stored8.constData(), size_t(stored8.size()));
    const QByteArray password = typed.toUtf8();
    return crypto_pwhash_str_verify(hash, password.constData(), static_cast<unsigned long long>(password.size())) == 0;
}

} // namespace db
