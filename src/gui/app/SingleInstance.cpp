#include "gui/app/SingleInstance.h"

#include <QDir>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

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
#ifdef Q_OS_UNIX
    const QString user = QString::number(getuid());
#else
    const QString user = qEnvironmentVariable("USERNAME");
#endif
    return QDir::temp().filePath(QStringLiteral("Quorvex-%1.lock").arg(user));
}
