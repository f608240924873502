#include "core/data/DataFolder.h"

#include "core/data/Settings.h"
#include "core/platform/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

bool HoldsData(const QString& folder)
{
    const QDir dir(folder);
    return QFileInfo::exists(dir.filePath(kDatabaseFileName)) || QFileInfo::exists(dir.filePath(kServerFileName));
}

QString Usable(const QString& folder, QString* error)
{
    const QString path = QDir(folder).absolutePath();
    if (!QDir().mkpath(path)) {
        *error = QStringLiteral("無法建立資料夾 %1").arg(QDir::toNativeSeparators(path));
        return {};
    }
    return path;
}

// The user's own folder is made for the user alone: the file's key ships
// with the program, so its folder is what keeps other accounts out.
QString UsableForTheUserAlone(const QString& folder, QString* error)
{
    const QString path = QDir(folder).absolutePath();
    QString reason;
    if (!CreatePrivateFolder(path, &reason)) {
        *error = QStringLiteral("無法建立資料夾 %1：%2").arg(QDir::toNativeSeparators(path), reason);
        return {};
    }
    return path;
}

} // namespace

QString DataOption(const QStringList& arguments)
{
    const int at = static_cast<int>(arguments.indexOf(QStringLiteral("--data")));
    return at >= 0 ? arguments.value(at + 1) : QString();
}

QString ChooseDataFolder(const QString& programFolder, const QStringList& arguments, QString* error)
{
    if (arguments.contains(QStringLiteral("--data"))) {
        const QString given = DataOption(arguments);
        if (given.isEmpty() || given.startsWith(QLatin1String("--"))) {
            *error = QStringLiteral("--data 後面須是資料夾。");
            return {};
        }
        return Usable(given, error);
    }
    if (HoldsData(programFolder) || (QFileInfo(programFolder).isWritable() && !IsInstalledProgramFolder(programFolder)))
        return QDir(programFolder).absolutePath();
    const QSettings named(QDir(UserConfigBase()).filePath(QStringLiteral("Quorvex/Quorvex.ini")), QSettings::IniFormat);
    const QString folder = named.value(QStringLiteral("data/folder")).toString().trimmed();
    if (!folder.isEmpty())
        return Usable(QDir::fromNativeSeparators(folder), error);
    return UsableForTheUserAlone(QDir(UserDataBase()).filePath(QStringLiteral("Quorvex")), error);
}
