#include "data/FileMove.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

bool MoveWithoutReplacing(const QString& from, const QString& to, int* error)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) {
        *error = errno;
        return false;
    }
    // File systems without that flag (some network shares): a hard link fails
    // just as atomically when the target exists.
    if (::link(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        return true;
    }
    *error = errno;
    return false;
}

bool MoveReplacing(const QString& from, const QString& to, int* error)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    *error = errno;
    return false;
}

std::unique_ptr<QTemporaryFile> ScratchFileBeside(const QString& target, QString* error)
{
    const QFileInfo info(target);
    auto scratch = std::make_unique<QTemporaryFile>(info.absolutePath() + QStringLiteral("/.") + info.fileName()
                                                    + QStringLiteral(".XXXXXX"));
    if (!scratch->open()) {
        *error = scratch->errorString();
        return nullptr;
    }
    scratch->close();
    return scratch;
}
