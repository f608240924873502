#pragma once

#include "core/platform/Platform.h"

#include <QByteArray>
#include <QString>

#include <memory>

// A file under a hidden temporary name, removed when dropped unless kept.
class ScratchFile {
public:
    explicit ScratchFile(QString path);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const QString& fileName() const { return m_path; }
    void setAutoRemove(bool remove) { m_remove = remove; }

private:
    QString m_path;
    bool m_remove = true;
};

// An empty file under a hidden temporary name in the folder of `target`, for
// building a file that then moves into place; removed when dropped unless it
// moved. Null, with the reason in `error`, when the folder takes no files.
std::unique_ptr<ScratchFile> ScratchFileBeside(const QString& target, QString* error);

// Removes what ScratchFileBeside left for builds that were killed, in the
// folder of `freshScratch` (a scratch file just made there): scratch files
// an hour older than it by the folder's own clock (a newer one may belong
// to a copy another PC is making right now).
void RemoveStaleScratchFiles(const QString& freshScratch);

// Writes `bytes` as the whole file at `path`, through a temporary file
// renamed over it; refuses to put anything in place of the live database.
bool SaveWholeFile(const QString& path, const QByteArray& bytes, QString* error);
