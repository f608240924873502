#include "core/download/SiteTurns.h"

#include "core/data/FileMove.h"
#include "core/download/SharedFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLockFile>

#include <algorithm>

namespace {

const QString kTurnsFile = QStringLiteral("上次下載時間.txt");
// Another process holds the lock for a read and a write at the most.
constexpr int kLockWaitMs = 10000;
// A lock left by a process that died: taken over after this long.
constexpr int kStaleLockMs = 30000;

// One line per site: "<site> <milliseconds since 1970>".
QHash<QString, qint64> ReadTurns(const QString& path)
{
    QHash<QString, qint64> turns;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return turns;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(' ');
        bool ok = false;
        const qint64 at = fields.value(1).toLongLong(&ok);
        if (fields.size() == 2 && ok)
            turns.insert(QString::fromUtf8(fields.at(0)), at);
    }
    return turns;
}

} // namespace

SiteTurns::SiteTurns(const QString& downloadFolder) : m_folder(downloadFolder) {}

qint64 SiteTurns::take(const QString& site, qint64 intervalMs, QString* error)
{
    if (!MakeFolderSharedLikeItsParent(m_folder)) {
        *error = QStringLiteral("無法建立資料夾 %1").arg(QDir::toNativeSeparators(m_folder));
        return -1;
    }
    const QString path = QDir(m_folder).filePath(kTurnsFile);
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.setStaleLockTime(kStaleLockMs);
    if (!lock.tryLock(kLockWaitMs)) {
        *error = QStringLiteral("無法取得 %1 的鎖定").arg(QDir::toNativeSeparators(path));
        return -1;
    }
    QHash<QString, qint64> turns = ReadTurns(path);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const auto last = turns.constFind(site);
    if (last != turns.constEnd() && now - *last < intervalMs)
        return std::min(intervalMs, *last + intervalMs - now);
    turns.insert(site, now);
    QByteArray text;
    for (auto it = turns.constBegin(); it != turns.constEnd(); ++it)
        text += it.key().toUtf8() + ' ' + QByteArray::number(it.value()) + '\n';
    return SaveWholeFile(path, text, error) ? 0 : -1;
}
