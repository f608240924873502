#include "gui/entry/EntryScreen.h"

#include "core/data/Connection.h"
#include "core/data/ErrorWords.h"
#include "core/data/Settings.h"
#include "core/stock/StockRecords.h"
#include "core/text/Clock.h"
#include "core/text/RocDate.h"
#include "gui/download/DownloadProgress.h"
#include "gui/entry/EntrySheet.h"
#include "gui/entry/InstitutionalImportDialog.h"
#include "gui/uikit/BusyCursor.h"
#include "gui/uikit/FileDialog.h"
#include "gui/uikit/MessageBox.h"

#include <QDir>
#include <QLineEdit>

namespace {

const QString kTitle = QStringLiteral("匯入買賣超");
const QString kDownloadTitle = QStringLiteral("下載買賣超");

QVector<QVector<QVariant>> SheetRows(const QVector<RankedStock>& stocks)
{
    QVector<QVector<QVariant>> rows;
    for (int i = 0; i < stocks.size(); ++i)
        rows.push_back({i + 1, stocks.at(i).code});
    return rows;
}

} // namespace

bool frm買賣超輸入作業::readyToImport()
{
    // A code still in its cell editor counts among what the import replaces.
    if (!endOpenEdits())
        return false;
    if (mode() != kModeAdd && currentKey().isEmpty()) {
        ShowMessage(QStringLiteral("請先按「新增」，或顯示要填入的買賣日期。"), kTitle, MsgIcon::Information);
        return false;
    }
    return true;
}

void frm買賣超輸入作業::importLists()
{
    if (!readyToImport())
        return;
    const QStringList paths = GetOpenFileNames(this, kTitle, QDir::homePath(),
                                               QStringLiteral("三大法人買賣超檔案 (*.csv);;所有檔案 (*)"));
    if (!paths.isEmpty())
        importFiles(paths);
}

void frm買賣超輸入作業::downloadLists()
{
    if (!readyToImport())
        return;
    const QDate date = mode() == kModeAdd ? Now().date() : DateFromRoc(m_date->text().trimmed());
    const DownloadedDay day = DownloadWithProgress(this, QStringLiteral("三大法人買賣超"), date,
                                                   {ExchangeFile::TwseInstitutional, ExchangeFile::TpexInstitutional});
    if (day.outcome == DownloadedDay::Ready)
        importFiles(day.paths);
    else if (day.outcome == DownloadedDay::NoData)
        ShowMessage(day.message, kDownloadTitle, MsgIcon::Information);
    else if (day.outcome == DownloadedDay::Failed)
        ShowMessage(day.message, kDownloadTitle, MsgIcon::Warning);
}

void frm買賣超輸入作業::importFiles(const QStringList& paths)
{
    const bool adding = mode() == kModeAdd;
    QString error;
    InstitutionalDay day;
    QHash<QString, QString> names;
    {
        BusyCursor busy;
        day = ReadInstitutionalFiles(paths, &error);
        if (error.isEmpty()) {
            try {
                db::Connection connection(gConnectionString);
                names = StockNames(connection);
            } catch (const db::DbError& failure) {
                error = db::ErrorMessage(failure);
            }
        }
    }
    if (!error.isEmpty()) {
        ShowMessage(error, kTitle, MsgIcon::Warning);
        return;
    }
    if (!adding && day.date != m_date->text().trimmed()) {
        ShowMessage(QStringLiteral("檔案的資料日期 %1 與畫面上的買賣日期 %2 不同。")
                        .arg(RocDateDisplay(day.date), RocDateDisplay(m_date->text().trimmed())),
                    kTitle, MsgIcon::Warning);
        return;
    }

    InstitutionalImportDialog dialog(day, names, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if ((m_buys->lastUsedRow() > 0 || m_sells->lastUsedRow() > 0)
        && ShowMessage(QStringLiteral("畫面上的清單已有資料，確定以匯入的資料取代?"), kTitle, MsgIcon::Question,
                       MsgButtons::YesNo) != MsgAnswer::Yes)
        return;

    m_pendingAmounts = day;
    m_pendingStocks.clear();
    if (dialog.addMissingCodes()) {
        for (const RankedStock& s : dialog.missingStocks())
            m_pendingStocks.push_back(StockWithoutRatios(s.code, s.name));
    }

    if (adding) {
        m_date->setText(day.date);
        m_weekday->setText(WeekdayText(DateFromRoc(day.date)));
    }
    const RankedLists& lists = dialog.lists();
    for (auto [sheet, stocks] : {std::pair{m_buys, &lists.buys}, std::pair{m_sells, &lists.sells}}) {
        sheet->ClearSheet();
        sheet->RowsToSheet(SheetRows(*stocks));
        sheet->setUsedRowCount(static_cast<int>(stocks->size()));
    }
    loadStockNames();
    markUnsaved();
    m_buys->setFocus();
}
