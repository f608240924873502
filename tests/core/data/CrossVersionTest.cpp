#include "core/data/Connection.h"
#include "core/data/ConnectionString.h"
#include "core/data/DatabaseCopy.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// With QUORVEX_OTHER_WRITER naming the writer of a build on the other
// SQLCipher (3.4 beside 4.x): a file made by either is opened, written and
// compacted by the other, and read back by the first.
namespace {

const QString kPassword = QStringLiteral("kvew7315");

class CrossVersion : public ::testing::Test {
protected:
    void SetUp() override
    {
        other = qEnvironmentVariable("QUORVEX_OTHER_WRITER");
        if (other.isEmpty())
            GTEST_SKIP() << "QUORVEX_OTHER_WRITER names no writer of another SQLCipher build";
        path = dir.filePath(QStringLiteral("Quorvex.mdb"));
    }
    QString runOther(const QStringList& args)
    {
        QProcess writer;
        writer.start(other, QStringList{path} + args);
        EXPECT_TRUE(writer.waitForFinished(60000));
        EXPECT_EQ(writer.exitCode(), 0) << writer.readAllStandardError().constData();
        return QString::fromUtf8(writer.readAllStandardOutput()).trimmed();
    }
    QString countHere()
    {
        db::Connection c(db::BuildConnectionString(path, kPassword));
        return QStringLiteral("%1 %2 %3")
            .arg(c.query(QStringLiteral("SELECT count(*) FROM 買賣超資料")).value(0, 0).toLongLong())
            .arg(c.query(QStringLiteral("SELECT count(*) FROM 買超明細資料")).value(0, 0).toLongLong())
            .arg(c.query(QStringLiteral("SELECT count(*) FROM 股號資料")).value(0, 0).toLongLong());
    }
    void saveHere(const QString& date)
    {
        db::Connection c(db::BuildConnectionString(path, kPassword));
        db::Transaction t(c);
        c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES (?, '一')"), {date});
        c.execute(QStringLiteral("INSERT INTO 買超明細資料 VALUES (1, '2330', ?)"), {date});
        t.commit();
    }

    QTemporaryDir dir;
    QString other;
    QString path;
};

TEST_F(CrossVersion, AFileOfTheOtherBuildIsWrittenAndCompactedHereAndReadBackThere)
{
    runOther({QStringLiteral("create")});
    runOther({QStringLiteral("1"), QStringLiteral("3")});
    EXPECT_EQ(countHere(), "3 15 1");
    saveHere(QStringLiteral("1151208"));
    db::CompactDatabase(db::BuildConnectionString(path, kPassword), QStringLiteral("Tmp.mdb"));
    db::Connection c(db::BuildConnectionString(path, kPassword));
    db::CopyDatabase(c, dir.filePath(QStringLiteral("copy.mdb")), kPassword);
    EXPECT_EQ(runOther({QStringLiteral("count")}), "4 16 1");
    path = dir.filePath(QStringLiteral("copy.mdb"));
    EXPECT_EQ(runOther({QStringLiteral("count")}), "4 16 1");
}

TEST_F(CrossVersion, AFileMadeHereIsWrittenAndCompactedThereAndReadBackHere)
{
    saveHere(QStringLiteral("1151208"));
    runOther({QStringLiteral("5"), QStringLiteral("2")});
    runOther({QStringLiteral("compact")});
    EXPECT_EQ(countHere(), "3 11 0");
}

} // namespace
