#pragma once

#include <QList>
#include <QString>

namespace db {

// A statement written for the file, in the server's words:
// - each parameter mark numbered as the server wants it (? and ?NNN become $n);
// - a unary + before a column, the file's way to keep an index out of a
//   plan, dropped (the server has no unary + for texts);
// - rowid, the file's row address, as the server's (ctid), good until the
//   row is next updated;
// - a name mixing capital letters with Chinese (H股號) quoted, so it keeps
//   its case;
// - emptying a whole scratch table (…_tmp) as TRUNCATE.
// Quoted texts, quoted names and comments stay as they are. `used`, when
// given, receives the parameter numbers the statement refers to.
QString InServerDialect(const QString& sql, QList<int>* used = nullptr);

} // namespace db
