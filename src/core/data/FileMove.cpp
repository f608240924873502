#include "core/data/FileMove.h"

#include "core/data/Settings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// Names our scratch files apart from anything else in a folder.
const QString kScratchMarker = QStringLiteral(".quorvex-");

QString SystemText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// A rename is durable only once the folder's entry is on disk. 0 or the
// errno of a failed sync.
int SyncFolderOf(const QByteArray& path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(path)).absolutePath());
    // A folder this account may write but not read cannot be synced; the
    // engine goes on without that too.
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    const int result = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return result;
}

// The folder sync may fail on file systems that cannot sync a folder at all;
// only a real I/O failure says the rename may not last.
bool FolderSyncFailed(int error)
{
    return error != 0 && error != EINVAL && error != EROFS && error != EBADF;
}

// The access list (setfacl) of `from`, given to `to`; true when `from` has none.
bool CopyAccessList(const QByteArray& from, const QByteArray& to, QString* error)
{
    static const char kName[] = "system.posix_acl_access";
    const ssize_t size = ::getxattr(from.constData(), kName, nullptr, 0);
    if (size <= 0)
        return true;   // none, or a file system without access lists
    QByteArray list(size, '\0');
    const ssize_t read = ::getxattr(from.constData(), kName, list.data(), size_t(list.size()));
    if (read < 0 || ::setxattr(to.constData(), kName, list.constData(), size_t(read), 0) != 0) {
        *error = QStringLiteral("無法把原檔的存取權限給新檔：%1").arg(SystemText(errno));
        return false;
    }
    return true;
}

} // namespace

bool MoveWithoutReplacing(const QString& from, const QString& to, int* error)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    bool moved = renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0;
    if (!moved && errno != EINVAL && errno != ENOSYS) {
        *error = errno;
        return false;
    }
    // File systems without that flag (some network shares): a hard link fails
    // just as atomically when the target exists.
    if (!moved) {
        if (::link(source.constData(), target.constData()) != 0) {
            *error = errno;
            return false;
        }
        ::unlink(source.constData());
    }
    const int synced = SyncFolderOf(target);
    if (FolderSyncFailed(synced)) {
        *error = synced;
        return false;
    }
    return true;
}

bool MoveReplacing(const QString& from, const QString& to, QString* error)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    struct stat original {};
    if (::stat(target.constData(), &original) == 0) {
        if (::chmod(source.constData(), original.st_mode & 07777) != 0) {
            *error = SystemText(errno);
            return false;
        }
        // Only root may give a file away; anyone may pass it to a group of theirs.
        if (::chown(source.constData(), original.st_uid, original.st_gid) != 0)
            (void)::chown(source.constData(), static_cast<uid_t>(-1), original.st_gid);
        // Accounts let in by the old file's access list must not be shut out.
        if (!CopyAccessList(target, source, error))
            return false;
    }
    if (std::rename(source.constData(), target.constData()) != 0) {
        *error = SystemText(errno);
        return false;
    }
    const int synced = SyncFolderOf(target);
    if (FolderSyncFailed(synced)) {
        *error = QStringLiteral("檔案已移入，但資料夾無法寫入磁碟：%1").arg(SystemText(synced));
        return false;
    }
    return true;
}

bool CreateOrdinaryFile(const QString& path, QString* error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        *error = SystemText(errno);
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
        *error = SystemText(errno);
    if (fd >= 0)
        ::close(fd);
    return synced;
}

QString WhereNameLeads(const QString& path)
{
    // Link by link while the end is not there yet: a relative link is read
    // from the folder it really lies in, as the system reads it.
    QString name = path;
    for (int hop = 0; hop < 40; ++hop) {
        const QFileInfo info(name);
        if (!info.isSymLink())
            return name;
        const QString end = info.canonicalFilePath();
        if (!end.isEmpty())
            return end;
        char target[4096];
        const ssize_t size = ::readlink(QFile::encodeName(name).constData(), target, sizeof target);
        if (size <= 0 || size == ssize_t(sizeof target))
            return name;
        const QString next = QFile::decodeName(QByteArray(target, int(size)));
        const QString realFolder = QFileInfo(info.absolutePath()).canonicalFilePath();
        const QString folder = realFolder.isEmpty() ? info.absolutePath() : realFolder;
        name = next.startsWith(QLatin1Char('/')) ? next : folder + QLatin1Char('/') + next;
    }
    return name;
}

bool IsSameFile(const QString& first, const QString& second)
{
    struct stat a {};
    struct stat b {};
    return ::stat(QFile::encodeName(first).constData(), &a) == 0 && ::stat(QFile::encodeName(second).constData(), &b) == 0
           && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool SaveWholeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    if (IsLiveDatabaseFile(path)) {
        *error = QStringLiteral("不可覆蓋目前使用中的資料庫檔案 %1").arg(path);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *error = file.errorString();
        return false;
    }
    // A full disk first takes part of a write without a word; the next part
    // brings the system's reason.
    qint64 written = 0;
    for (qint64 part = 0; written < bytes.size(); written += part) {
        part = file.write(bytes.constData() + written, bytes.size() - written);
        if (part <= 0)
            break;
    }
    if (written < bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

std::unique_ptr<QTemporaryFile> ScratchFileBeside(const QString& target, QString* error)
{
    const QFileInfo info(target);
    auto scratch = std::make_unique<QTemporaryFile>(info.absolutePath() + QStringLiteral("/.") + info.fileName()
                                                    + kScratchMarker + QStringLiteral("XXXXXX"));
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

void RemoveStaleScratchFiles(const QString& freshScratch)
{
    static const QRegularExpression kScratchName(QStringLiteral("^\\..+\\%1[A-Za-z0-9]{6}$").arg(kScratchMarker));
    const QFileInfo fresh(freshScratch);
    const QDateTime stale = fresh.lastModified().addSecs(-3600);
    for (const QFileInfo& file : fresh.absoluteDir().entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        if (file.fileName() != fresh.fileName() && kScratchName.match(file.fileName()).hasMatch()
            && file.lastModified() < stale)
            QFile::remove(file.absoluteFilePath());
    }
}
