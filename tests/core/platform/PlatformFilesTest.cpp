#include "core/platform/Platform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The moves every copy, compaction and new data file rests on, as each
// system's implementation makes them.
namespace {

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

TEST(PlatformFiles, AMoveThatMustNotReplaceLeavesAnExistingTargetAndItsSourceAlone)
{
    QTemporaryDir dir;
    const QString from = dir.filePath(QStringLiteral("new.mdb"));
    const QString to = dir.filePath(QStringLiteral("Quorvex.mdb"));
    Write(from, "new");
    Write(to, "theirs");
    QString error;
    EXPECT_EQ(MoveWithoutReplacing(from, to, &error), MoveOutcome::TargetExists);
    EXPECT_EQ(Read(to), "theirs");
    EXPECT_EQ(Read(from), "new");

    QFile::remove(to);
    EXPECT_EQ(MoveWithoutReplacing(from, to, &error), MoveOutcome::Moved) << error.toStdString();
    EXPECT_EQ(Read(to), "new");
    EXPECT_FALSE(QFile::exists(from));

    EXPECT_EQ(MoveWithoutReplacing(dir.filePath(QStringLiteral("none")), dir.filePath(QStringLiteral("x")), &error),
              MoveOutcome::Failed);
    EXPECT_FALSE(error.isEmpty());
}

TEST(PlatformFiles, AReplacingMoveTakesTheOldNameWholeAndTellsWhyItCannot)
{
    QTemporaryDir dir;
    const QString from = dir.filePath(QStringLiteral("copy.mdb"));
    const QString to = dir.filePath(QStringLiteral("Quorvex.mdb"));
    Write(from, "compacted");
    Write(to, "original");
    QString error;
    ASSERT_TRUE(MoveReplacing(from, to, &error)) << error.toStdString();
    EXPECT_EQ(Read(to), "compacted");
    EXPECT_FALSE(QFile::exists(from));

    EXPECT_FALSE(MoveReplacing(dir.filePath(QStringLiteral("none")), to, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(Read(to), "compacted");
}

TEST(PlatformFiles, AFileIsKnownUnderAnotherSpellingOfItsPathAndNewFilesAreNeverReplaced)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Quorvex.mdb"));
    QString error;
    ASSERT_TRUE(CreateOrdinaryFile(path, &error)) << error.toStdString();
    Write(path, "data");
    EXPECT_FALSE(CreateOrdinaryFile(path, &error));
    EXPECT_EQ(Read(path), "data");
    EXPECT_TRUE(SyncFile(path, &error)) << error.toStdString();

    const QString other = dir.filePath(QStringLiteral("sub/../Quorvex.mdb"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    EXPECT_TRUE(IsSameFile(path, other));
    Write(dir.filePath(QStringLiteral("copy.mdb")), "data");
    EXPECT_FALSE(IsSameFile(path, dir.filePath(QStringLiteral("copy.mdb"))));
    EXPECT_FALSE(IsSameFile(path, dir.filePath(QStringLiteral("none.mdb"))));
    EXPECT_FALSE(CurrentAccountId().isEmpty());
}

} // namespace
