#include "core/data/PasswordHash.h"
#include "core/support/TempDatabase.h"
#include "core/support/TestServer.h"
#include "core/system/UserCheck.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

class UserCheckTest : public TempDatabase {
protected:
    bool login(const QString& password, const QString& name = QStringLiteral("admin"))
    {
        return PasswordMatches(connectionString, name, password);
    }
    QVariant stored(const QString& name)
    {
        return c.query(QStringLiteral("SELECT 密碼 FROM 使用者資料 WHERE 使用者 = ?"), {name}).value(0, 0);
    }
};

TEST_F(UserCheckTest, ANewDatabaseKeepsItsEmptyPasswordAsAHashMadeWithTheInteractiveLimits)
{
    const QString hash = stored(QStringLiteral("admin")).toString();
    EXPECT_TRUE(hash.startsWith(QLatin1String("$argon2id$v=19$m=65536,t=2,p=1$"))) << hash.toStdString();
    EXPECT_FALSE(login(QStringLiteral(" ")));
    EXPECT_TRUE(login(QString()));
    EXPECT_EQ(stored(QStringLiteral("admin")).toString(), hash);
    // Whoever read the hash cannot log in by typing it.
    EXPECT_FALSE(login(hash));
}

// Passwords an older version kept as typed open once as typed; from then on
// every one is a hash, and two users with the same password store different ones.
TEST_F(UserCheckTest, PasswordsKeptAsTypedAreReplacedByTheirHashesAtTheFirstLogin)
{
    c.executeScript(QStringLiteral("UPDATE 使用者資料 SET 使用者 = 'ADMIN', 密碼 = 'Secret';"
                                   "INSERT INTO 使用者資料 (使用者, 密碼) VALUES ('guest', 'Secret'), ('nobody', NULL);"));
    EXPECT_FALSE(login(QStringLiteral("secret")));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 使用者資料 WHERE 密碼 = 'Secret'")), 2);

    EXPECT_TRUE(login(QStringLiteral("Secret")));
    const QString admin = stored(QStringLiteral("admin")).toString();
    const QString guest = stored(QStringLiteral("guest")).toString();
    EXPECT_TRUE(db::IsPasswordHash(admin)) << admin.toStdString();
    EXPECT_TRUE(db::IsPasswordHash(guest)) << guest.toStdString();
    EXPECT_NE(admin, guest);
    EXPECT_TRUE(stored(QStringLiteral("nobody")).isNull());

    EXPECT_FALSE(login(QStringLiteral("secret")));
    EXPECT_TRUE(login(QStringLiteral("Secret")));
    EXPECT_TRUE(login(QStringLiteral("Secret"), QStringLiteral("guest")));
    EXPECT_TRUE(login(QString(), QStringLiteral("nobody")));
    EXPECT_FALSE(login(QStringLiteral("Secret"), QStringLiteral("someone")));
}

// What anyone who copies the file sees of it, through the engine's own shell.
TEST_F(UserCheckTest, AFileOfAnOlderVersionHoldsNoReadablePasswordAfterItsFirstLogin)
{
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlcipher"));
    if (UseTestServer() || shell.isEmpty())
        GTEST_SKIP() << "needs the file and the sqlcipher shell";
    const auto passwords = [&](const QByteArray& before) {
        QProcess process;
        process.start(shell, {dir.filePath(QStringLiteral("Quorvex.mdb"))});
        process.write("PRAGMA key='kvew7315';\n" + before + "SELECT 密碼 FROM 使用者資料;\n.quit\n");
        process.closeWriteChannel();
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    };
    EXPECT_EQ(passwords("UPDATE 使用者資料 SET 密碼 = 'kvew1234'; INSERT INTO 使用者資料 (使用者, 密碼) VALUES ('guest', 'Tw2330');"
                        "DROP TABLE 法人買賣超; PRAGMA user_version = 1;\n"),
              (QStringList{"kvew1234", "Tw2330"}));
    EXPECT_FALSE(login(QStringLiteral("kvew")));
    EXPECT_TRUE(login(QStringLiteral("kvew1234")));
    const QStringList after = passwords({});
    ASSERT_EQ(after.size(), 2);
    for (const QString& value : after) {
        EXPECT_TRUE(value.startsWith(QLatin1String("$argon2id$"))) << value.toStdString();
        EXPECT_FALSE(value.contains(QLatin1String("kvew1234")) || value.contains(QLatin1String("Tw2330")));
    }
    EXPECT_TRUE(login(QStringLiteral("kvew1234")));
    EXPECT_TRUE(login(QStringLiteral("Tw2330"), QStringLiteral("guest")));
}

// Another PC in the middle of a save: the login waits as long as it may,
// lets the user in, and leaves the hash to a later login.
TEST_F(UserCheckTest, ALoginWhileAnotherPcSavesLetsTheUserInAndHashesLater)
{
    c.execute(QStringLiteral("UPDATE 使用者資料 SET 密碼 = 'kvew'"));
    QProcess writer;
    writer.start(QStringLiteral(QUORVEX_CONCURRENT_WRITER), {connectionString, "hold", "8000"});
    ASSERT_TRUE(writer.waitForStarted());
    ASSERT_TRUE(writer.waitForReadyRead(30000));
    db::SetBusyTimeout(200);
    db::CloseIdleServerConnections();
    EXPECT_TRUE(login(QStringLiteral("kvew")));
    db::SetBusyTimeout(10000);
    db::CloseIdleServerConnections();
    EXPECT_EQ(stored(QStringLiteral("admin")).toString(), "kvew");
    ASSERT_TRUE(writer.waitForFinished(30000));
    EXPECT_EQ(writer.exitCode(), 0);
    EXPECT_TRUE(login(QStringLiteral("kvew")));
    EXPECT_TRUE(db::IsPasswordHash(stored(QStringLiteral("admin")).toString()));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 股號資料 WHERE 股號 = 'HOLD'")), 1);
}

} // namespace
