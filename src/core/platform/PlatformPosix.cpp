#include "core/platform/Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>

// Any C library header defines __GLIBC__ there; without one first, the test
// below is always false and the tuning silently never happens.
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <vector>

namespace {

QString SystemErrorText(int error)
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
        *error = QStringLiteral("無法把原檔的存取權限給新檔：%1").arg(SystemErrorText(errno));
        return false;
    }
    return true;
}

} // namespace

MoveOutcome MoveWithoutReplacing(const QString& from, const QString& to, QString* error)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    const auto failed = [error](int code) {
        if (code == EEXIST)
            return MoveOutcome::TargetExists;
        *error = SystemErrorText(code);
        return MoveOutcome::Failed;
    };
    bool moved = renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0;
    if (!moved && errno != EINVAL && errno != ENOSYS)
        return failed(errno);
    // File systems without that flag (some network shares): a hard link fails
    // just as atomically when the target exists.
    if (!moved) {
        if (::link(source.constData(), target.constData()) != 0)
            return failed(errno);
        ::unlink(source.constData());
    }
    const int synced = SyncFolderOf(target);
    if (FolderSyncFailed(synced))
        return failed(synced);
    return MoveOutcome::Moved;
}

bool MoveReplacing(const QString& from, const QString& to, QString* error)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    struct stat original {};
    if (::stat(target.constData(), &original) == 0) {
        if (::chmod(source.constData(), original.st_mode & 07777) != 0) {
            *error = SystemErrorText(errno);
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
        *error = SystemErrorText(errno);
        return false;
    }
    const int synced = SyncFolderOf(target);
    if (FolderSyncFailed(synced)) {
        *error = QStringLiteral("檔案已移入，但資料夾無法寫入磁碟：%1").arg(SystemErrorText(synced));
        return false;
    }
    return true;
}

bool OpenFilesCanBeReplaced()
{
    return true;
}

bool CanGiveFileTheOwnerOf(const QString& path)
{
    struct stat file {};
    if (::stat(QFile::encodeName(path).constData(), &file) != 0)
        return true;
    if (::geteuid() == 0)
        return true;
    if (::geteuid() != file.st_uid)
        return false;
    if (::getegid() == file.st_gid)
        return true;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(size_t(std::max(count, 0)));
    const int listed = ::getgroups(count, groups.data());
    return listed > 0 && std::find(groups.begin(), groups.begin() + listed, file.st_gid) != groups.begin() + listed;
}

bool CreatePrivateFolder(const QString& path, QString* error)
{
    const QString absolute = QDir(path).absolutePath();
    if (!QDir().mkpath(QFileInfo(absolute).path())) {
        *error = SystemErrorText(errno);
        return false;
    }
    if (::mkdir(QFile::encodeName(absolute).constData(), 0700) == 0)
        return true;
    const int failure = errno;
    if (failure == EEXIST && QFileInfo(absolute).isDir())
        return true;
    *error = SystemErrorText(failure);
    return false;
}

bool CreateOrdinaryFile(const QString& path, QString* error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        *error = SystemErrorText(errno);
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
        *error = SystemErrorText(errno);
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

bool IsInstalledProgramFolder(const QString& folder)
{
    const QString path = QDir(folder).canonicalPath() + QLatin1Char('/');
    for (const char* prefix : {"/usr/", "/bin/", "/sbin/", "/lib/"})
        if (path.startsWith(QLatin1String(prefix)))
            return true;
    return false;
}

QString UserConfigBase()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString UserDataBase()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString CurrentAccountId()
{
    return QString::number(::getuid());
}

void KeepFreedMemoryForReuse()
{
#if defined(__GLIBC__)
    constexpr int kTrimThreshold = 256 << 20;
    constexpr int kMapThreshold = 32 << 20;
    mallopt(M_TRIM_THRESHOLD, kTrimThreshold);
    mallopt(M_MMAP_THRESHOLD, kMapThreshold);
#endif
}

void ConnectToParentConsole()
{
}

std::optional<QString> DecodeBig5(const QByteArray& bytes)
{
    QStringDecoder big5("Big5", QStringDecoder::Flag::Stateless);
    if (!big5.isValid())
        return std::nullopt;
    QString text = big5(bytes);
    if (big5.hasError())
        return std::nullopt;
    return text;
}

int Big5Bytes(QStringView character)
{
    QStringEncoder big5("Big5", QStringConverter::Flag::Stateless);
    if (!big5.isValid())
        return static_cast<int>(character.size()) * 2;
    const QByteArray bytes = big5.encode(character);
    return big5.hasError() ? 0 : static_cast<int>(bytes.size());
}
