// Linked into the second process on POSIX systems, with --wrap=fsync: with
// QUORVEX_FAIL_FOLDER_SYNC set, syncing a folder fails as on a disk that
// reports an I/O error.
#include <QtGlobal>

#include <cerrno>
#include <sys/stat.h>

// Linked with --wrap=fsync: the program's own fsync calls come here.
extern "C" int __real_fsync(int fd);
extern "C" int __wrap_fsync(int fd)
{
    struct stat info {};
    if (qEnvironmentVariableIsSet("QUORVEX_FAIL_FOLDER_SYNC") && ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        errno = EIO;
        return -1;
    }
    return __real_fsync(fd);
}
