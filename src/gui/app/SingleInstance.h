#pragma once

#include <QLockFile>
#include <QString>

// One running program per machine and user. The lock lives in the machine's
// temporary folder, never in the application folder that other PCs share.
class SingleInstance {
public:
    explicit SingleInstance(const QString& lockPath = defaultLockPath());
    // False when another instance holds the lock.
    bool acquire();

    static QString defaultLockPath();

private:
    QLockFile m_lock;
};
