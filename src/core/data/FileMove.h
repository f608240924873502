#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QTemporaryFile;

// An empty file under a hidden temporary name in the folder of `target`, for
// building a file that then moves into place; removed when dropped unless it
// moved. Null, with the reason in `error`, when the folder takes no files.
std::unique_ptr<QTemporaryFile> ScratchFileBeside(const QString& target, QString* error);

// Removes what ScratchFileBeside left for builds that were killed, in the
// folder of `freshScratch` (a scratch file just made there): scratch files
// an hour older than it by the folder's own clock (a newer one may belong
// to a copy another PC is making right now).
void RemoveStaleScratchFiles(const QString& freshScratch);

// Moves `from` to `to` only if nothing exists at `to`, in one step: a file
// another process put there first is never overwritten. False with the
// system's reason in `error` otherwise (EEXIST when `to` already existed).
bool MoveWithoutReplacing(const QString& from, const QString& to, int* error);

// Moves `from` over `to` in one step; whatever was at `to` is replaced whole.
// The moved file first takes the mode and access list of the one it
// replaces, and its owner and group where the process may set them, so the
// accounts that shared the old file go on sharing the new one. False with
// the reason in `error`, also when the move was made but the folder could
// not be synced to the disk.
bool MoveReplacing(const QString& from, const QString& to, QString* error);

// A new empty file with the permissions any new file of its folder gets
// (the umask and the folder's defaults), never replacing one that exists.
bool CreateOrdinaryFile(const QString& path, QString* error);

// Flushes the file's contents to the disk.
bool SyncFile(const QString& path, QString* error);

// Writes `bytes` as the whole file at `path`, through a temporary file
// renamed over it; refuses to put anything in place of the live database.
bool SaveWholeFile(const QString& path, const QByteArray& bytes, QString* error);

// The file `path` names: the path itself, or where its links end, whether
// or not a file is there yet. Never opens it.
QString WhereNameLeads(const QString& path);

// Both names lead to the same file (the same device and inode: a hard link,
// a symbolic link or another spelling of the path). Never opens either.
bool IsSameFile(const QString& first, const QString& second);
