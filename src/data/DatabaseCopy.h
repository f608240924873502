#pragma once

#include <QString>

namespace db {

class Connection;

// Writes a complete copy of the open database, encrypted with `password`, to
// `targetPath`. The copy is built under a temporary name beside the target,
// opened and checked, and only then renamed over the target in one step, so a
// failure leaves whatever was at `targetPath` as it was.
void CopyDatabase(Connection& source, const QString& targetPath, const QString& password);

} // namespace db
