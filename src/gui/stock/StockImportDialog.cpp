#include "gui/stock/StockImportDialog.h"

#include "core/data/Connection.h"
#include "core/data/ErrorWords.h"
#include "core/data/Settings.h"
#include "core/stock/StockImport.h"
#include "gui/uikit/BusyCursor.h"
#include "gui/uikit/MessageBox.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QStatusBar>

namespace {
const QString kIdle = QStringLiteral("請輸入欲匯入的Excel檔!!");
const QString kWorking = QStringLiteral("轉檔中請稍候!!");
}

frm資料匯入_股號::frm資料匯入_股號(QWidget* parent)
    : FileTaskDialog({QStringLiteral("frm資料匯入_股號"), QStringLiteral("股號匯入Excel"), QStringLiteral("將Excel檔匯入"),
                      QStringLiteral("lbl名稱"), QStringLiteral("請輸入欲匯入的Excel檔:"),
                      QStringLiteral("txt存放Excel檔路徑"), QStringLiteral("開始匯入"),
                      QStringLiteral("Microsoft Excel 資料庫(*.csv)")},
                     parent)
{
    m_status = new QLabel(statusBar());
    m_status->setObjectName(QStringLiteral("StatusPanel1"));
    statusBar()->addWidget(m_status, 1);
    connect(m_start, &QPushButton::clicked, this, &frm資料匯入_股號::Start);
    setStatus(kIdle);
    finish();
}

void frm資料匯入_股號::setStatus(const QString& text)
{
    m_status->setText(text);
    m_status->repaint();
}

void frm資料匯入_股號::Start()
{
    if (path().isEmpty()) {
        ShowError(QStringLiteral("請輸入欲匯入的Excel檔名!"), QStringLiteral("訊息"));
        return;
    }
    setWorking(true);
    setStatus(kWorking);
    ImportFiles({path()});
    setStatus(kIdle);
    setWorking(false);
    if (m_completed)
        accept();
}

void frm資料匯入_股號::ImportFiles(const QStringList& files, NewCodes newCodes)
{
    for (const QString& file : files) {
        if (!QFileInfo::exists(file)) {
            ShowMessage(QStringLiteral("找不到檔案!"), QStringLiteral("警告"), MsgIcon::Warning);
            return;
        }
    }
    QString error;
    StockFile stocks;
    ImportPlan plan;
    {
        BusyCursor busy;
        for (const QString& file : files) {
            const StockFile read = ReadStockFile(file, &error);
            if (!error.isEmpty()) {
                if (files.size() > 1)
                    error = QFileInfo(file).fileName() + QStringLiteral("：") + error;
                break;
            }
            stocks.stocks += read.stocks;
            stocks.skipped += read.skipped;
        }
        if (error.isEmpty()) {
            try {
                db::Connection connection(gConnectionString);
                plan = PlanImport(connection, stocks.stocks);
            } catch (const db::DbError& failure) {
                error = db::ErrorMessage(failure);
            }
        }
    }
    if (!error.isEmpty()) {
        ShowError(error, QStringLiteral("資料匯入錯誤"));
        return;
    }
    int leftOut = 0;
    if (newCodes == NewCodes::Leave && !plan.added.isEmpty()) {
        QSet<QString> added;
        for (const ImportedStock& stock : plan.added)
            added.insert(stock.code);
        const auto kept = std::remove_if(stocks.stocks.begin(), stocks.stocks.end(),
                                         [&added](const ImportedStock& stock) { return added.contains(stock.code); });
        leftOut = static_cast<int>(added.size());
        stocks.stocks.erase(kept, stocks.stocks.end());
        plan.added.clear();
    }
    if (!confirm(plan, stocks.skipped, leftOut))
        return;
    int written = 0;
    {
        BusyCursor busy;
        try {
            db::Connection connection(gConnectionString);
            ImportStocks(connection, stocks.stocks, &written);
        } catch (const db::DbError& failure) {
            busy.release();
            ShowError(db::ErrorMessage(failure) + QStringLiteral("\n(已匯入 %1 筆資料)").arg(written), QStringLiteral("資料匯入錯誤"));
            return;
        }
    }
    ShowInfo(QStringLiteral("已成功匯入 %1 筆資料!").arg(written), QStringLiteral("訊息"));
    m_completed = true;
}

bool frm資料匯入_股號::confirm(const ImportPlan& plan, const QStringList& skipped, int leftOut)
{
    static constexpr int kShown = 5;
    const auto sample = [](const QVector<ImportedStock>& stocks) {
        QStringList shown;
        for (int i = 0; i < std::min<int>(kShown, static_cast<int>(stocks.size())); ++i)
            shown << (stocks.at(i).code + QLatin1Char(' ') + stocks.at(i).name).trimmed();
        return shown.join(QStringLiteral("、")) + (stocks.size() > kShown ? QStringLiteral("…") : QString());
    };
    QString text = QStringLiteral("將新增 %1 筆、更新 %2 筆，略過 %3 列不是股號的資料。")
                       .arg(plan.added.size())
                       .arg(plan.updated.size())
                       .arg(skipped.size());
    if (!plan.added.isEmpty())
        text += QStringLiteral("\n新增：") + sample(plan.added);
    if (!plan.updated.isEmpty())
        text += QStringLiteral("\n更新：") + sample(plan.updated);
    if (!skipped.isEmpty())
        text += QStringLiteral("\n略過：") + skipped.mid(0, kShown).join(QStringLiteral("、"))
                + (skipped.size() > kShown ? QStringLiteral("…") : QString());
    if (leftOut > 0)
        text += QStringLiteral("\n股號資料中沒有的 %1 檔不新增。").arg(leftOut);
    text += QStringLiteral("\n確定匯入嗎？");
    return AskYesNo(text, QStringLiteral("詢問"));
}
