#pragma once

#include "core/system/OldDatabase.h"

// An Access (Jet 3 or Jet 4) database file, read with mdbtools' libmdb where
// the program was built with it; refused with a sentence of its own where not.
// `waiting` is called now and then while the file is read through first.
std::unique_ptr<OldDatabase> OpenJetSource(const QString& path, const QString& password,
                                           const std::function<void()>& waiting);

