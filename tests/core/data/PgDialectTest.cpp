#include "core/data/PgDialect.h"

#include <gtest/gtest.h>

namespace {

TEST(InServerDialect, NumbersMarksOutsideQuotesAndDropsTheIndexHidingPlus)
{
    QList<int> used;
    EXPECT_EQ(db::InServerDialect("SELECT * FROM t WHERE a = ? AND b = '?' AND \"c?\" = ? -- ?\n", &used),
              "SELECT * FROM t WHERE a = $1 AND b = '?' AND \"c?\" = $2 -- ?\n");
    EXPECT_EQ(used, QList<int>({1, 2}));

    used.clear();
    EXPECT_EQ(db::InServerDialect("WHERE +買賣日期 BETWEEN ?2 AND ?3 AND x = 1 + y AND z = 'it''s ?'", &used),
              "WHERE 買賣日期 BETWEEN $2 AND $3 AND x = 1 + y AND z = 'it''s ?'");
    EXPECT_EQ(used, QList<int>({2, 3}));
    EXPECT_EQ(db::InServerDialect("SELECT count(+股號), +1, a+b FROM t"), "SELECT count(股號), +1, a+b FROM t");
    EXPECT_EQ(db::InServerDialect("SELECT rowid, myrowid, 'rowid' FROM t WHERE ROWID = ?"),
              "SELECT ctid, myrowid, 'rowid' FROM t WHERE ctid = $1");
    EXPECT_EQ(db::InServerDialect("DELETE FROM 基準日股號_tmp"), "TRUNCATE 基準日股號_tmp");
    EXPECT_EQ(db::InServerDialect("SELECT 股號 AS H股號, CAST(x AS INTEGER) FROM t"),
              "SELECT 股號 AS \"H股號\", CAST(x AS INTEGER) FROM t");
    EXPECT_EQ(db::InServerDialect("DELETE FROM 基準日股號_tmp WHERE 股號 = ?"), "DELETE FROM 基準日股號_tmp WHERE 股號 = $1");
}

} // namespace
