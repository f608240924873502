#include "gui/recordscreen/PrintRun.h"

#include "core/data/Connection.h"
#include "core/data/ErrorWords.h"
#include "core/data/Settings.h"
#include "gui/stats/ReportOutput.h"
#include "gui/uikit/BusyCursor.h"

void RunPrintList(QWidget* parent, bool preview,
                  const std::function<std::optional<PaginatedReport>(db::Connection&)>& build,
                  const PrintRunTexts& texts)
{
    std::optional<PaginatedReport> report;
    {
        BusyCursor busy;
        try {
            db::Connection connection(gConnectionString);
            const db::ReadTransaction snapshot(connection);
            report = build(connection);
        } catch (const db::DbError& error) {
            busy.release();
            ShowMessage(db::ErrorMessage(error), QStringLiteral("印表錯誤"), texts.failureIcon);
            return;
        }
    }
    if (!report) {
        ShowMessage(texts.nothingSelected, QStringLiteral("訊息"), texts.nothingIcon);
        return;
    }
    const QString failure =
        OutputReport(*report, preview ? ReportDestination::Preview : ReportDestination::Printer, parent);
    if (!failure.isEmpty())
        ShowMessage(failure, QStringLiteral("印表錯誤"), texts.failureIcon);
}
