#include "core/support/TempAppFolder.h"

#include "core/data/Settings.h"
#include "core/support/TestServer.h"
#include "core/text/Clock.h"

TempAppFolder::TempAppFolder(const QDate& today)
{
    InitSettings(m_dir.path());
    if (UseTestServer())
        gConnectionString = FreshTestServer();
    SetFixedNow(QDateTime(today, QTime(9, 30)));
}

TempAppFolder::~TempAppFolder()
{
    ClearFixedNow();
}

QString TempAppFolder::databasePath() const
{
    return m_dir.filePath(kDatabaseFileName);
}
