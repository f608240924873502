#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// What the program needs of the operating system, with one implementation
// per system (PlatformPosix.cpp, PlatformWindows.cpp).

enum class MoveOutcome { Moved, TargetExists, Failed };

// Moves `from` to `to` only if nothing exists at `to`, in one step: a file
// another process put there first is never overwritten. On Failed, the
// system's reason is in `error`.
MoveOutcome MoveWithoutReplacing(const QString& from, const QString& to, QString* error);

// Moves `from` over `to` in one step; whatever was at `to` is replaced whole.
// The moved file first takes the mode and access list of the one it
// replaces, and its owner and group where the process may set them, so the
// accounts that shared the old file go on sharing the new one. False with
// the reason in `error`, also when the move was made but could not be
// flushed to the disk.
bool MoveReplacing(const QString& from, const QString& to, QString* error);

// A file that another handle holds open can be replaced by a rename
// (POSIX); Windows refuses that while the engine has the file open.
bool OpenFilesCanBeReplaced();

// A file this account writes can be given the owner and group of the file
// at `path` (it owns that one and is in its group, or may give files away),
// so a copy renamed over it leaves it to the same account; true when there
// is no file there.
bool CanGiveFileTheOwnerOf(const QString& path);

// A new empty file with the permissions any new file of its folder gets
// (the umask and the folder's defaults, or the folder's inherited access
// list), never replacing one that exists.
bool CreateOrdinaryFile(const QString& path, QString* error);

// Flushes the file's contents to the disk.
bool SyncFile(const QString& path, QString* error);

// The file `path` names: the path itself, or where its links end, whether
// or not a file is there yet. Never opens it.
QString WhereNameLeads(const QString& path);

// Both names lead to the same file (a hard link, a symbolic link or another
// spelling of the path). Never opens either for reading or writing.
bool IsSameFile(const QString& first, const QString& second);

// Makes the folder, with any missing parents, for the running account
// alone (POSIX mode 0700); one that exists is left as it is. On Windows the
// user's application data is private already. False with the system's
// reason in `error`.
bool CreatePrivateFolder(const QString& path, QString* error);

// A folder an installer put the program in: the system's, whoever may
// write it, so the data goes to the user's own folder instead.
bool IsInstalledProgramFolder(const QString& folder);

// The folders holding the user's own Quorvex/ folders: of settings
// (Quorvex.ini) and of data.
QString UserConfigBase();
QString UserDataBase();

// Names the running account on this machine, for what must be one per user.
QString CurrentAccountId();

// Lets the C library keep freed memory for reuse instead of handing it back
// to the system at once. A long report frees and allocates page buffers
// thousands of times; each fresh page of memory costs a fault, which made
// ten years of lists several times slower to print.
void KeepFreedMemoryForReuse();

// A window program started from a command prompt writes its output there
// (a Windows program without a console of its own has nowhere else to
// write); output already sent to a file or pipe stays there.
void ConnectToParentConsole();

// Text in Big5 as Windows writes it (code page 950): the exchanges' files.
// Nothing when `bytes` are not such text.
std::optional<QString> DecodeBig5(const QByteArray& bytes);

// The bytes one character takes in Big5; 0 when Big5 has no such character.
int Big5Bytes(QStringView character);
