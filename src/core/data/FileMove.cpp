#include "core/data/FileMove.h"

#include "core/data/Settings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryFile>

#include <utility>

namespace {

// Names our scratch files apart from anything else in a folder.
const QString kScratchMarker = QStringLiteral(".quorvex-");

} // namespace

bool SaveWholeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    if (IsLiveDatabaseFile(path)) {
        *error = QStringLiteral("不可覆蓋目前使用中的資料庫檔案 %1").arg(path);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *error = file.errorString();
        return false;
    }
    // A full disk first takes part of a write without a word; the next part
    // brings the system's reason.
    qint64 written = 0;
    for (qint64 part = 0; written < bytes.size(); written += part) {
        part = file.write(bytes.constData() + written, bytes.size() - written);
        if (part <= 0)
            break;
    }
    if (written < bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

ScratchFile::ScratchFile(QString path) : m_path(std::move(path)) {}

ScratchFile::~ScratchFile()
{
    if (m_remove)
        QFile::remove(m_path);
}

std::unique_ptr<ScratchFile> ScratchFileBeside(const QString& target, QString* error)
{
    const QFileInfo info(target);
    QString name;
    {
        // The unique name alone; the temporary file's handle is closed when it
        // goes (Windows moves no file that a handle holds).
        QTemporaryFile claim(info.absolutePath() + QStringLiteral("/.") + info.fileName() + kScratchMarker
                             + QStringLiteral("XXXXXX"));
        if (!claim.open()) {
            *error = claim.errorString();
            return nullptr;
        }
        claim.setAutoRemove(false);
        name = claim.fileName();
    }
    auto scratch = std::make_unique<ScratchFile>(name);
    // QTemporaryFile makes the file private (0600), and a database shared by
    // several accounts must not be: recreate it under the same name as any
    // new file of that folder is made, with the umask and the folder's
    // default permissions applied.
    QFile::remove(name);
    if (!CreateOrdinaryFile(name, error))
        return nullptr;
    return scratch;
}

void RemoveStaleScratchFiles(const QString& freshScratch)
{
    static const QRegularExpression kScratchName(QStringLiteral("^\\..+\\%1[A-Za-z0-9]{6}$").arg(kScratchMarker));
    const QFileInfo fresh(freshScratch);
    const QDateTime stale = fresh.lastModified().addSecs(-3600);
    for (const QFileInfo& file : fresh.absoluteDir().entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        if (file.fileName() != fresh.fileName() && kScratchName.match(file.fileName()).hasMatch()
            && file.lastModified() < stale)
            QFile::remove(file.absoluteFilePath());
    }
}
