#pragma once

#include <QString>
#include <QUrl>

// Where the exchanges' daily files come from, from the [download] section of
// Quorvex.ini beside the data file: twse= and tpex= (scheme, host and port,
// such as http://127.0.0.1:8080; the real sites by default) and interval=
// (seconds between two requests to one site; at least 3, 5 by default).
struct DownloadSettings {
    QUrl twse;
    QUrl tpex;
    int intervalSeconds = 5;
};

inline constexpr int kLeastInterval = 3;

extern const QString kIniFileName;

// A value that cannot be used falls back to its default, with a line in
// `warnings` saying so.
DownloadSettings ReadDownloadSettings(const QString& folder, QStringList* warnings = nullptr);

// The folder beside the data file that keeps every downloaded file as it came.
QString DownloadFolder(const QString& folder);
