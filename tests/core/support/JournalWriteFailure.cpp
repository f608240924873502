#include "core/support/JournalWriteFailure.h"

#include <cstring>

#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

namespace {

// A file of the wrapping VFS: the real file behind it, and whether it is a journal.
struct WrappedFile {
    sqlite3_file base;
    sqlite3_file* real;
    bool journal;
};

sqlite3_vfs* gReal = nullptr;
sqlite3_vfs gWrapper;
int gWrites = 0;
int gFailAt = 0;

sqlite3_file* Real(sqlite3_file* file)
{
    return reinterpret_cast<WrappedFile*>(file)->real;
}

int Close(sqlite3_file* file)
{
    const int rc = Real(file)->pMethods->xClose(Real(file));
    sqlite3_free(Real(file));
    return rc;
}

int Write(sqlite3_file* file, const void* data, int bytes, sqlite3_int64 offset)
{
    if (reinterpret_cast<WrappedFile*>(file)->journal && ++gWrites == gFailAt)
        return SQLITE_IOERR_WRITE;
    return Real(file)->pMethods->xWrite(Real(file), data, bytes, offset);
}

const sqlite3_io_methods kMethods = {
    1,
    Close,
    [](sqlite3_file* f, void* d, int n, sqlite3_int64 o) { return Real(f)->pMethods->xRead(Real(f), d, n, o); },
    Write,
    [](sqlite3_file* f, sqlite3_int64 size) { return Real(f)->pMethods->xTruncate(Real(f), size); },
    [](sqlite3_file* f, int flags) { return Real(f)->pMethods->xSync(Real(f), flags); },
    [](sqlite3_file* f, sqlite3_int64* size) { return Real(f)->pMethods->xFileSize(Real(f), size); },
    [](sqlite3_file* f, int lock) { return Real(f)->pMethods->xLock(Real(f), lock); },
    [](sqlite3_file* f, int lock) { return Real(f)->pMethods->xUnlock(Real(f), lock); },
    [](sqlite3_file* f, int* out) { return Real(f)->pMethods->xCheckReservedLock(Real(f), out); },
    [](sqlite3_file* f, int op, void* arg) { return Real(f)->pMethods->xFileControl(Real(f), op, arg); },
    [](sqlite3_file* f) { return Real(f)->pMethods->xSectorSize(Real(f)); },
    [](sqlite3_file* f) { return Real(f)->pMethods->xDeviceCharacteristics(Real(f)); },
};

int Open(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags)
{
    auto* wrapped = reinterpret_cast<WrappedFile*>(file);
    wrapped->real = static_cast<sqlite3_file*>(sqlite3_malloc(gReal->szOsFile));
    std::memset(wrapped->real, 0, static_cast<size_t>(gReal->szOsFile));
    wrapped->journal = name && std::strstr(name, "-journal");
    const int rc = gReal->xOpen(gReal, name, wrapped->real, flags, outFlags);
    if (rc != SQLITE_OK) {
        sqlite3_free(wrapped->real);
        file->pMethods = nullptr;
        return rc;
    }
    file->pMethods = &kMethods;
    return rc;
}

} // namespace

JournalWriteFailure::JournalWriteFailure(int nth)
{
    gReal = sqlite3_vfs_find(nullptr);
    gWrapper = *gReal;
    gWrapper.zName = "quorvex_failing_journal";
    gWrapper.szOsFile = sizeof(WrappedFile);
    gWrapper.pNext = nullptr;
    gWrapper.pAppData = nullptr;
    gWrapper.xOpen = Open;
    gWrapper.xDelete = [](sqlite3_vfs*, const char* name, int sync) { return gReal->xDelete(gReal, name, sync); };
    gWrapper.xAccess = [](sqlite3_vfs*, const char* name, int flags, int* out) { return gReal->xAccess(gReal, name, flags, out); };
    gWrapper.xFullPathname = [](sqlite3_vfs*, const char* name, int size, char* out) {
        return gReal->xFullPathname(gReal, name, size, out);
    };
    gWrites = 0;
    gFailAt = nth;
    sqlite3_vfs_register(&gWrapper, 1);
}

JournalWriteFailure::~JournalWriteFailure()
{
    sqlite3_vfs_unregister(&gWrapper);
    sqlite3_vfs_register(gReal, 1);
}

int JournalWriteFailure::writes() const
{
    return gWrites;
}
