#include "core/download/DownloadSettings.h"

#include <QDir>
#include <QSettings>
#include <QStringList>

#include <algorithm>

const QString kIniFileName = QStringLiteral("Quorvex.ini");

namespace {

// Beyond an hour is a slip of the finger, and its milliseconds must fit an int.
constexpr int kLongestInterval = 3600;

const QUrl kTwse(QStringLiteral("https://www.twse.com.tw"));
const QUrl kTpex(QStringLiteral("https://www.tpex.org.tw"));

QUrl SiteSetting(const QSettings& ini, const QString& key, const QUrl& fallback, QStringList* warnings)
{
    const QString text = ini.value(QStringLiteral("download/") + key).toString().trimmed();
    if (text.isEmpty())
        return fallback;
    QUrl url(text, QUrl::StrictMode);
    const bool usable = url.isValid() && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"))
                        && !url.host().isEmpty() && url.query().isEmpty() && url.fragment().isEmpty();
    if (!usable) {
        if (warnings)
            *warnings << QStringLiteral("%1 的 %2= 不是網站位址（%3），改用 %4。").arg(kIniFileName, key, text, fallback.toString());
        return fallback;
    }
    // The files' paths are the sites' own: a mirror keeps them under its root.
    url.setPath(url.path().endsWith(QLatin1Char('/')) ? url.path().chopped(1) : url.path());
    return url;
}

} // namespace

DownloadSettings ReadDownloadSettings(const QString& folder, QStringList* warnings)
{
    const QSettings ini(QDir(folder).filePath(kIniFileName), QSettings::IniFormat);
    DownloadSettings settings;
    settings.twse = SiteSetting(ini, QStringLiteral("twse"), kTwse, warnings);
    settings.tpex = SiteSetting(ini, QStringLiteral("tpex"), kTpex, warnings);
    const QString interval = ini.value(QStringLiteral("download/interval")).toString().trimmed();
    if (!interval.isEmpty()) {
        bool ok = false;
        const int seconds = interval.toInt(&ok);
        const int used = !ok ? settings.intervalSeconds : std::clamp(seconds, kLeastInterval, kLongestInterval);
        if (warnings && used != seconds)
            *warnings << QStringLiteral("%1 的 interval=%2 不可用（須為 %3 到 %4 秒），改用 %5 秒。")
                             .arg(kIniFileName, interval)
                             .arg(kLeastInterval)
                             .arg(kLongestInterval)
                             .arg(used);
        settings.intervalSeconds = used;
    }
    return settings;
}

QString DownloadFolder(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("下載"));
}
