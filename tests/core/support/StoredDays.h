#pragma once

#include "core/data/Connection.h"
#include "core/data/Settings.h"

#include <QStringList>

// The trading dates stored in the settings' database, in order.
inline QStringList StoredTradingDates()
{
    db::Connection c(gConnectionString);
    const db::ResultSet rows = c.query(QStringLiteral("SELECT 買賣日期 FROM 買賣超資料 ORDER BY 買賣日期"));
    QStringList days;
    for (int r = 0; r < rows.rowCount(); ++r)
        days << rows.text(r, 0);
    return days;
}
