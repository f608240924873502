#include "core/data/KeyCache.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <openssl/evp.h>

namespace db {

namespace {
constexpr int kKeyBytes = 32;
constexpr int kKdfIterations = 64000;
}

QByteArray RawKeyPragmaValue(const QString& password, const QByteArray& salt)
{
    static QMutex mutex;
    static QHash<QByteArray, QByteArray> cache;

    const QByteArray secret = password.toUtf8();
    const QByteArray cacheKey = secret + '\0' + salt;
    QMutexLocker lock(&mutex);
    auto found = cache.constFind(cacheKey);
    if (found != cache.constEnd())
        return *found;

    unsigned char key[kKeyBytes];
    if (PKCS5_PBKDF2_HMAC_SHA1(secret.constData(), secret.size(),
                               reinterpret_cast<const unsigned char*>(salt.constData()), salt.size(),
                               kKdfIterations, kKeyBytes, key) != 1)
        return {};
    const QByteArray value = "x'" + QByteArray(reinterpret_cast<const char*>(key), kKeyBytes).toHex() + "'";
    cache.insert(cacheKey, value);
    return value;
}

} // namespace db
