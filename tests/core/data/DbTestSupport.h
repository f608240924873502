#pragma once

#include "core/data/Connection.h"
#include "core/data/ConnectionString.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "core/support/TestPlatform.h"

// A temporary folder with the program's database file path in it (not yet created).
class DbFolder : public ::testing::Test {
protected:
    QString path(const QString& name = QStringLiteral("Quorvex.mdb")) const { return dir.filePath(name); }
    QString connectionString(const QString& name = QStringLiteral("Quorvex.mdb"),
                             const QString& password = QStringLiteral("kvew7315")) const
    {
        return db::BuildConnectionString(path(name), password);
    }
    qlonglong count(db::Connection& c, const QString& sql, const QVariantList& params = {})
    {
        return c.query(sql, params).value(0, 0).toLongLong();
    }

    // The second process as another account (user, group), with `args` after
    // the database path. The account may not reach the build folder, so it
    // runs a copy in this folder, which everyone may then enter and write.
    // Exit code and error output; nothing when this machine cannot switch
    // accounts (it takes root and setpriv).
    std::optional<std::pair<int, std::string>> runWriterAs(int user, int group, const QStringList& args)
    {
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (!RunningAsRoot() || setpriv.isEmpty())
            return std::nullopt;
        QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777));
        const QString program = dir.filePath(QStringLiteral("concurrent_writer"));
        if (!QFile::exists(program)) {
            QFile::copy(QStringLiteral(QUORVEX_CONCURRENT_WRITER), program);
            QFile::setPermissions(program, QFileDevice::Permissions(0x7555));
        }
        QProcess writer;
        writer.start(setpriv, QStringList{QStringLiteral("--reuid=%1").arg(user), QStringLiteral("--regid=%1").arg(group),
                                          "--clear-groups", "--", program, path()}
                                  + args);
        writer.waitForFinished(60000);
        return std::make_pair(writer.exitCode(), writer.readAllStandardError().toStdString());
    }

    QTemporaryDir dir;
};

#define SKIP_WITHOUT_SECOND_ACCOUNT(result) \
    if (!(result))                          \
    GTEST_SKIP() << "needs root and setpriv to act as a second account"

// Runs `action` and returns the kind of the DbError it throws; fails the test if none.
template <typename Action>
db::ErrorKind ErrorKindOf(Action action)
{
    try {
        action();
    } catch (const db::DbError& error) {
        EXPECT_FALSE(error.text().isEmpty());
        return error.kind();
    }
    ADD_FAILURE() << "no DbError thrown";
    return db::ErrorKind::Other;
}
