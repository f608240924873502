#pragma once

#include <QString>

namespace db {

class Connection;

// Writes a complete copy of the open database, encrypted with `password`, to
// `targetName` (or, when that is a link, where the link leads). The copy is
// built under a temporary name beside the target, checked (it opens with the
// password, passes the integrity check and holds as many rows in every table
// as the one state of the source it was read from), and only then renamed
// over the target in one step, so a failure leaves whatever was at the target
// as it was. A server's database becomes
// such a file too, to be carried home and opened without the server.
void CopyDatabase(Connection& source, const QString& targetName, const QString& password);

// Compacts the database of `connectionString` in place: while no other
// connection can write it, a compacted copy is written to `scratchName` in
// its folder (a stale file of that name is replaced), checked as above and
// renamed over the live file in one step. At every instant a complete
// database exists under the live name. Where the file may not be replaced
// while open (Windows), or the copy could not be given the file's owner,
// the engine rebuilds the file in place under its journal instead, all or
// nothing, and the file stays its owner's. Throws DbError, of kind Busy when
// another process holds the file past the busy timeout; nothing has changed
// then. On a server it is the server's own VACUUM.
void CompactDatabase(const QString& connectionString, const QString& scratchName);

} // namespace db
