#include "data/FileMove.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A rename is durable only once the folder's entry is on disk.
void SyncFolderOf(const QByteArray& path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(path)).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

bool MoveWithoutReplacing(const QString& from, const QString& to, int* error)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0) {
        SyncFolderOf(target);
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        *error = errno;
        return false;
    }
    // File systems without that flag (some network shares): a hard link fails
    // just as atomically when the target exists.
    if (::link(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        SyncFolderOf(target);
        return true;
    }
    *error = errno;
    return false;
}

bool MoveReplacing(const QString& from, const QString& to, int* error)
{
    const QByteArray target = QFile::encodeName(to);
    if (std::rename(QFile::encodeName(from).constData(), target.constData()) == 0) {
        SyncFolderOf(target);
        return true;
    }
    *error = errno;
    return false;
}

bool CreateOrdinaryFile(const QString& path, QString* error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    ::close(fd);
    return true;
}

bool SyncFile(const QString& path, QString* error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (!synced)
        *error = QString::fromLocal8Bit(std::strerror(errno));
    if (fd >= 0)
        ::close(fd);
    return synced;
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
    // QTemporaryFile makes the file private (0600), and a database shared by
    // several accounts must not be: recreate it under the same name as any
    // new file of that folder is made, with the umask and the folder's
    // default permissions applied.
    QFile::remove(scratch->fileName());
    if (!CreateOrdinaryFile(scratch->fileName(), error))
        return nullptr;
    return scratch;
}
