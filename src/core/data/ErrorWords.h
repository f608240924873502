#pragma once

#include "core/data/DbError.h"

#include <QString>

namespace db {

// What a user is shown for a database error: a sentence of ours for the
// common cases (wrong password or not our file, another PC's lock, read-only
// file or folder, full disk, server out of reach, server login refused),
// then the engine's own text, which stays as the design wants it.
QString ErrorMessage(const DbError& error);

} // namespace db
