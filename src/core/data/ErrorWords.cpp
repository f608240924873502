#include "core/data/ErrorWords.h"

#include <QStringList>

#include <vector>

namespace db {

namespace {

// One row per case: the error kind it needs (Other for any), the words of
// the engine's text that tell it (any of them; none for the kind alone),
// and the sentence shown above that text. The first row that fits wins.
struct Case {
    ErrorKind kind;
    QStringList words;
    QString sentence;
};

const std::vector<Case>& Cases()
{
    static const std::vector<Case> cases = {
        {ErrorKind::Other, {QStringLiteral("password authentication failed"), QStringLiteral("no pg_hba.conf entry"),
                            QStringLiteral("role \""), QStringLiteral("認證失敗")},
         QStringLiteral("資料庫伺服器拒絕登入，請檢查帳號與密碼（~/.pgpass）。")},
        {ErrorKind::Other, {QStringLiteral("could not connect"), QStringLiteral("Connection refused"),
                            QStringLiteral("could not translate host name"), QStringLiteral("timeout expired"),
                            QStringLiteral("server closed the connection")},
         QStringLiteral("無法連線到資料庫伺服器，請檢查網路與伺服器是否啟動。")},
        {ErrorKind::Other, {QStringLiteral("disk is full"), QStringLiteral("No space left"), QStringLiteral("File too large"),
                            QStringLiteral("Disk quota")},
         QStringLiteral("磁碟空間不足，資料未寫入。")},
        {ErrorKind::Other, {QStringLiteral("已被重整或取代")}, QStringLiteral("另一部電腦剛重整或取代了資料庫檔案。")},
        {ErrorKind::Other, {QStringLiteral("readonly database"), QStringLiteral("read-only"), QStringLiteral("Permission denied")},
         QStringLiteral("檔案或資料夾是唯讀的，或這個帳號沒有寫入的權限。")},
        {ErrorKind::Busy, {}, QStringLiteral("資料庫檔案正由其他電腦使用中, 請稍後再試!")},
        {ErrorKind::NotADatabase, {}, QStringLiteral("資料庫密碼不符，或這不是本系統的資料庫檔案（也可能已損壞）。")},
    };
    return cases;
}

bool Fits(const Case& c, const DbError& error)
{
    if (c.kind != ErrorKind::Other && c.kind != error.kind())
        return false;
    if (c.words.isEmpty())
        return true;
    for (const QString& word : c.words) {
        if (error.text().contains(word, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

QString ErrorMessage(const DbError& error)
{
    for (const Case& c : Cases()) {
        if (Fits(c, error))
            return c.sentence + QLatin1Char('\n') + error.text();
    }
    return error.text();
}

} // namespace db
