#include "core/system/JetSource.h"

#include "core/data/DbError.h"

std::unique_ptr<OldDatabase> OpenJetSource(const QString&, const QString&, const std::function<void()>&)
{
    throw db::DbError(db::ErrorKind::Other,
                      QStringLiteral("這個版本的程式不能讀取 Microsoft Access 資料庫檔案(*.mdb)，請在能讀取的電腦上轉檔"));
}
