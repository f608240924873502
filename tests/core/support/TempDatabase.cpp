#include "core/support/TempDatabase.h"

#include "core/data/ConnectionString.h"
#include "core/support/TestServer.h"

TempDatabase::TempDatabase()
    : connectionString(UseTestServer() ? FreshTestServer()
                                       : db::BuildConnectionString(dir.filePath(QStringLiteral("Quorvex.mdb")),
                                                                   QStringLiteral("kvew7315"))),
      c(connectionString)
{
}

qlonglong TempDatabase::count(const QString& sql, const QVariantList& params)
{
    return c.query(sql, params).value(0, 0).toLongLong();
}
