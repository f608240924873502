#include "core/data/ConnectionString.h"
#include "core/data/Settings.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(InitSettings, ConnectionStringNamesTheFileOnceAndEndsWithThePassword)
{
    InitSettings(QStringLiteral("/srv/apps"));
    EXPECT_EQ(gDbPassword, "kvew7315");
    EXPECT_TRUE(gConnectionString.contains(QStringLiteral("Data Source=/srv/apps/Quorvex.mdb;")));
    EXPECT_FALSE(gConnectionString.contains(QStringLiteral("//")));
    EXPECT_TRUE(gConnectionString.endsWith(QStringLiteral("kvew7315")));
    EXPECT_FALSE(gLoginOk);
    EXPECT_TRUE(gUserName.isEmpty());

    InitSettings(QStringLiteral("/srv/apps/"));
    EXPECT_TRUE(gConnectionString.contains(QStringLiteral("Data Source=/srv/apps/Quorvex.mdb;")));
}

TEST(InitSettings, GridColoursArePackedDecimalTexts)
{
    InitSettings(QStringLiteral("/tmp"));
    const QStringList expected = {"12632064", "15728381", "14221312", "16777215",
                                  "16747326", "16777215", "4868863"};
    EXPECT_EQ(gGridColors, expected);
}

TEST(Version, MenuTextHasTheVAboutBoxHasNot)
{
    EXPECT_EQ(VersionText(), QStringLiteral("v") + VersionNumber());
    EXPECT_EQ(VersionNumber().count(QLatin1Char('.')), 2);
    EXPECT_FALSE(VersionNumber().startsWith(QLatin1Char('v')));
}

} // namespace

namespace {

TEST(InitSettings, AConninfoFileBesideTheProgramChoosesTheServer)
{
    QTemporaryDir dir;
    InitSettings(dir.path());
    EXPECT_FALSE(db::IsServerConnectionString(gConnectionString));

    QFile file(dir.filePath("Quorvex.conninfo"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("# the office server\n\n  host=db.office dbname=quorvex user=clerk  \n");
    file.close();
    InitSettings(dir.path());
    EXPECT_TRUE(db::IsServerConnectionString(gConnectionString));
    EXPECT_EQ(db::ServerConninfo(gConnectionString), "host=db.office dbname=quorvex user=clerk");
}

} // namespace
