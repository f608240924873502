#include "gui/app/SingleInstance.h"

#include "core/platform/Platform.h"

#include <QDir>

SingleInstance::SingleInstance(const QString& lockPath) : m_lock(lockPath)
{
    m_lock.setStaleLockTime(0);
}

bool SingleInstance::acquire()
{
    return m_lock.tryLock(0);
}

QString SingleInstance::defaultLockPath()
{
    return QDir::temp().filePath(QStringLiteral("Quorvex-%1.lock").arg(CurrentAccountId()));
}
