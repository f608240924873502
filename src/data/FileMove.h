#pragma once

#include <QString>

// Moves `from` to `to` only if nothing exists at `to`, in one step: a file
// another process put there first is never overwritten. False with the
// system's reason in `error` otherwise (EEXIST when `to` already existed).
bool MoveWithoutReplacing(const QString& from, const QString& to, int* error);

// Moves `from` over `to` in one step; whatever was at `to` is replaced whole.
bool MoveReplacing(const QString& from, const QString& to, int* error);
