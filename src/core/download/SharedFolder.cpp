#include "core/download/SharedFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool MakeFolderSharedLikeItsParent(const QString& folder)
{
    if (QFileInfo(folder).isDir())
        return true;
    // Another process may make it at the same moment.
    if (!QDir().mkdir(folder) && !QFileInfo(folder).isDir())
        return false;
    if (QFileInfo(QFileInfo(folder).absolutePath()).permission(QFile::WriteGroup))
        QFile::setPermissions(folder, QFile::permissions(folder) | QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup);
    return true;
}
