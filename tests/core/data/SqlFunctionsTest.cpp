#include "DbTestSupport.h"

#include "core/data/SqlFunctions.h"

namespace {

TEST(LeadingNumber, TakesTheLeadingNumericPart)
{
    EXPECT_DOUBLE_EQ(db::LeadingNumber("12.5"), 12.5);
    EXPECT_DOUBLE_EQ(db::LeadingNumber("  7.25abc"), 7.25);
    EXPECT_DOUBLE_EQ(db::LeadingNumber("-3.5"), -3.5);
    EXPECT_DOUBLE_EQ(db::LeadingNumber("+4"), 4.0);
    EXPECT_DOUBLE_EQ(db::LeadingNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(db::LeadingNumber("8."), 8.0);
    EXPECT_DOUBLE_EQ(db::LeadingNumber("1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(db::LeadingNumber("2e"), 2.0);
    EXPECT_DOUBLE_EQ(db::LeadingNumber("1.2.3"), 1.2);
}

TEST(LeadingNumber, NothingNumericIsZero)
{
    EXPECT_DOUBLE_EQ(db::LeadingNumber("-"), 0.0);
    EXPECT_DOUBLE_EQ(db::LeadingNumber(""), 0.0);
    EXPECT_DOUBLE_EQ(db::LeadingNumber("."), 0.0);
    EXPECT_DOUBLE_EQ(db::LeadingNumber("-."), 0.0);
    EXPECT_DOUBLE_EQ(db::LeadingNumber("abc12"), 0.0);
    EXPECT_DOUBLE_EQ(db::LeadingNumber("   "), 0.0);
}

class ValInSql : public DbFolder {};

TEST_F(ValInSql, WorksInConditionsAndOrder)
{
    db::Connection c(connectionString());
    const char* rows[][2] = {{"A", "15"}, {"B", "-"}, {"C", "9.5"}, {"D", ""}, {"E", "100"}};
    for (const auto& row : rows)
        c.execute(QStringLiteral("INSERT INTO 股號資料 (股號, 本益比) VALUES (?, ?)"),
                  {QString::fromLatin1(row[0]), QString::fromLatin1(row[1])});
    c.execute(QStringLiteral("INSERT INTO 股號資料 (股號, 本益比) VALUES ('F', NULL)"));

    const db::ResultSet inRange = c.query(QStringLiteral(
        "SELECT 股號 FROM 股號資料 WHERE 本益比 <> '-' AND val(本益比) BETWEEN ? AND ? ORDER BY val(本益比)"),
        {5, 20});
    ASSERT_EQ(inRange.rowCount(), 2);
    EXPECT_EQ(inRange.text(0, 0), "C");
    EXPECT_EQ(inRange.text(1, 0), "A");   // text order would put "100" and "15" first

    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 股號資料 WHERE val(本益比) = 0")), 3);
    const db::ResultSet ordered = c.query(QStringLiteral("SELECT 股號 FROM 股號資料 ORDER BY val(本益比) DESC, 股號"));
    EXPECT_EQ(ordered.text(0, 0), "E");
    EXPECT_DOUBLE_EQ(c.query(QStringLiteral("SELECT val(42)")).value(0, 0).toDouble(), 42.0);
}

} // namespace
