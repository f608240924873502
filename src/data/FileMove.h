#pragma once

#include <QString>

#include <memory>

class QTemporaryFile;

// An empty file under a hidden temporary name in the folder of `target`, for
// building a file that then moves into place; removed when dropped unless it
// moved. Null, with the reason in `error`, when the folder takes no files.
std::unique_ptr<QTemporaryFile> ScratchFileBeside(const QString& target, QString* error);

// Moves `from` to `to` only if nothing exists at `to`, in one step: a file
// another process put there first is never overwritten. False with the
// system's reason in `error` otherwise (EEXIST when `to` already existed).
bool MoveWithoutReplacing(const QString& from, const QString& to, int* error);

// Moves `from` over `to` in one step; whatever was at `to` is replaced whole.
bool MoveReplacing(const QString& from, const QString& to, int* error);

// A new empty file with the permissions any new file of its folder gets
// (the umask and the folder's defaults), never replacing one that exists.
bool CreateOrdinaryFile(const QString& path, QString* error);

// Flushes the file's contents to the disk.
bool SyncFile(const QString& path, QString* error);
