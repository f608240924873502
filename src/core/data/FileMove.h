#pragma once

#include "core/platform/Platform.h"

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

// Writes `bytes` as the whole file at `path`, through a temporary file
// renamed over it; refuses to put anything in place of the live database.
bool SaveWholeFile(const QString& path, const QByteArray& bytes, QString* error);
