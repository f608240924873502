#pragma once

#include "core/system/OldDatabase.h"

// One of our own encrypted files, read as one snapshot.
std::unique_ptr<OldDatabase> OpenCipherSource(const QString& path, const QString& password);
