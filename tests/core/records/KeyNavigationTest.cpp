#include "core/records/KeyNavigation.h"
#include "core/support/TempDatabase.h"

#include <gtest/gtest.h>

namespace {

class KeyNavigationTest : public TempDatabase {
protected:
    void add(const QString& code)
    {
        c.execute(QStringLiteral("INSERT INTO 股號資料 (股號) VALUES (?)"), {code});
    }
    int move(MoveDirection d) { return MoveKey(c, keys, d, &key); }

    KeyTable keys{QStringLiteral("股號資料"), QStringLiteral("股號")};
    QString key;
};

TEST_F(KeyNavigationTest, NothingStoredMovesNowhereAndSucceeds)
{
    bool found = true;
    EXPECT_TRUE(HighestKey(c, keys, &found).isEmpty());
    EXPECT_FALSE(found);
    key = QStringLiteral("2330");
    EXPECT_EQ(move(MoveDirection::First), 0);
    EXPECT_EQ(move(MoveDirection::Next), 0);
    EXPECT_EQ(move(MoveDirection::Previous), 0);
    EXPECT_EQ(key, "2330");
}

TEST_F(KeyNavigationTest, StepsInTextOrderAndReportsTheEnds)
{
    for (const char* code : {"2330", "0050", "9904", "1101", "11011"})
        add(QString::fromLatin1(code));
    bool found = false;
    EXPECT_EQ(HighestKey(c, keys, &found), "9904");
    EXPECT_EQ(move(MoveDirection::First), 0);
    EXPECT_EQ(key, "0050");
    EXPECT_EQ(move(MoveDirection::Previous), 1);
    EXPECT_EQ(key, "0050");
    QStringList seen{key};
    while (move(MoveDirection::Next) == 0)
        seen << key;
    EXPECT_EQ(seen, (QStringList{"0050", "1101", "11011", "2330", "9904"}));
    EXPECT_EQ(move(MoveDirection::Last), 0);
    EXPECT_EQ(key, "9904");
}

TEST_F(KeyNavigationTest, AVanishedCurrentKeyStepsToItsNeighbour)
{
    for (const char* code : {"1101", "2330", "9904"})
        add(QString::fromLatin1(code));
    key = QStringLiteral("2000");
    EXPECT_EQ(move(MoveDirection::Next), 0);
    EXPECT_EQ(key, "2330");
    key = QStringLiteral("2000");
    EXPECT_EQ(move(MoveDirection::Previous), 0);
    EXPECT_EQ(key, "1101");
}

} // namespace
