#pragma once

#include <QString>

// The time of the last request to each site, kept in a file of the download
// folder under a lock, so that the polite interval holds between all the
// processes (and PCs) that download for one data folder.
class SiteTurns {
public:
    explicit SiteTurns(const QString& downloadFolder);

    // Takes the turn of `site` if `intervalMs` has passed since the last one
    // anybody took (its time is then now): 0. Otherwise the milliseconds
    // still to wait, at most the interval (a clock of another PC ahead of
    // ours delays no more). -1, with `error` set, when the times cannot be
    // read or kept: the caller keeps its own.
    qint64 take(const QString& site, qint64 intervalMs, QString* error);

private:
    QString m_folder;
};
