#include "DbTestSupport.h"

#include "core/data/ErrorWords.h"

namespace {

using db::DbError;
using db::ErrorKind;

// The engines' own texts for the common cases get a sentence of ours above
// them; anything else is shown as the engine wrote it.
TEST_F(DbFolder, ErrorMessagesSayTheCommonCasesInChineseAboveTheEnginesText)
{
    const std::pair<DbError, const char*> cases[] = {
        {DbError(ErrorKind::Busy, "database is locked"), "其他電腦使用中"},
        {DbError(ErrorKind::Other, "attempt to write a readonly database"), "唯讀"},
        {DbError(ErrorKind::Other, "attempt to write a readonly database（資料庫檔案已被重整或取代，這次的變更未寫入，請重新操作）"),
         "另一部電腦剛重整"},
        {DbError(ErrorKind::Other, "database or disk is full"), "磁碟空間不足"},
        {DbError(ErrorKind::CannotOpen, "could not connect to server: Connection refused\nIs the server running"), "無法連線"},
        {DbError(ErrorKind::CannotOpen, "FATAL:  password authentication failed for user \"quorvex\""), "拒絕登入"},
    };
    for (const auto& [error, words] : cases) {
        const QString shown = db::ErrorMessage(error);
        EXPECT_TRUE(shown.contains(QString::fromUtf8(words)) && shown.endsWith(error.text())) << shown.toStdString();
    }
    EXPECT_EQ(db::ErrorMessage(DbError(ErrorKind::Other, "no such column: x")), "no such column: x");

    { db::Connection create(connectionString()); }
    try {
        db::Connection wrong(connectionString(QStringLiteral("Quorvex.mdb"), QStringLiteral("wrong")));
        ADD_FAILURE() << "opened with the wrong password";
    } catch (const DbError& error) {
        EXPECT_TRUE(db::ErrorMessage(error).startsWith(QString::fromUtf8("資料庫密碼不符"))) << error.what();
    }
}

} // namespace
