#include "core/data/DataFolder.h"
#include "core/data/Settings.h"
#include "core/platform/Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The user's folders are the test mode's own (under ~/.qttest; on Windows a
// roaming folder of the test's own), emptied of what the tests leave.
class DataFolderTest : public ::testing::Test {
protected:
    static QString Roaming()
    {
#ifdef Q_OS_WIN
        static QTemporaryDir roaming;
        qputenv("APPDATA", QDir::toNativeSeparators(roaming.path()).toLocal8Bit());
#endif
        return UserDataBase();
    }
    void TearDown() override
    {
        QDir(userData).removeRecursively();
        QDir(QFileInfo(namingIni).path()).removeRecursively();
    }
    QString choose(const QString& program, const QStringList& args = {})
    {
        error.clear();
        return ChooseDataFolder(program, QStringList{"quorvex"} + args, &error);
    }

    QTemporaryDir home;
    const QString userData = Roaming() + QStringLiteral("/Quorvex");
    const QString namingIni = UserConfigBase() + QStringLiteral("/Quorvex/Quorvex.ini");
    // Where an installer puts programs.
#ifdef Q_OS_WIN
    const QString installed = QDir::fromNativeSeparators(qEnvironmentVariable("ProgramFiles"));
#else
    const QString installed = QStringLiteral("/usr/bin");
#endif
    QString error;
};

// A copy on a shared folder keeps its data beside it; an installed program
// uses the folder the user names, else the user's own; --data wins.
TEST_F(DataFolderTest, TheProgramsFolderThenTheNamedFolderThenTheUsersOwn)
{
    EXPECT_EQ(choose(home.path()), home.path());
    EXPECT_EQ(choose(installed), userData);
    EXPECT_TRUE(QDir(userData).exists());
#ifndef Q_OS_WIN
    // The user's own, for the user alone; one made earlier keeps its modes.
    // (Windows: %APPDATA% is private already.)
    const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther
                        | QFile::ExeOther;
    EXPECT_FALSE(QFileInfo(userData).permissions() & others);
    QDir(userData).removeRecursively();
    QDir().mkpath(userData);
    QFile::setPermissions(userData, QFile::permissions(userData) | QFile::ReadOther | QFile::ExeOther);
    EXPECT_EQ(choose(installed), userData);
    EXPECT_TRUE(QFileInfo(userData).permissions().testFlag(QFile::ReadOther));
#endif

    QDir().mkpath(QFileInfo(namingIni).path());
    QFile ini(namingIni);
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(("[data]\nfolder=" + home.filePath("shared") + "\n").toUtf8());
    ini.close();
    EXPECT_EQ(choose(installed), home.filePath("shared"));
    EXPECT_EQ(choose(installed, {"--data", home.filePath("given")}), home.filePath("given"));
    EXPECT_TRUE(QDir(home.filePath("given")).exists());

    EXPECT_TRUE(choose(installed, {"--data"}).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}

// A folder that holds the data keeps it, writable or not: a read-only share
// that names a server.
TEST_F(DataFolderTest, AFolderHoldingTheDataKeepsIt)
{
    const QString program = home.filePath("share");
    QDir().mkpath(program);
    QFile conninfo(QDir(program).filePath(kServerFileName));
    ASSERT_TRUE(conninfo.open(QIODevice::WriteOnly));
    conninfo.close();
    QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(choose(program), program);
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace
