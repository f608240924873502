#include "gui/stock/StockImportDialog.h"

#include "core/data/Connection.h"
#include "core/data/Settings.h"
#include "core/stock/StockImport.h"
#include "gui/uikit/BusyCursor.h"
#include "gui/uikit/MessageBox.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
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
    Import(path());
    setStatus(kIdle);
    setWorking(false);
    if (m_completed)
        accept();
}

void frm資料匯入_股號::Import(const QString& file)
{
    if (!QFileInfo::exists(file)) {
        ShowMessage(QStringLiteral("找不到檔案!"), QStringLiteral("警告"), MsgIcon::Warning);
        return;
    }
    BusyCursor busy;
    QString error;
    const QVector<ImportedStock> stocks = ReadStockFile(file, &error);
    if (!error.isEmpty()) {
        busy.release();
        ShowError(error, QStringLiteral("資料匯入錯誤"));
        return;
    }
    int written = 0;
    try {
        db::Connection connection(gConnectionString);
        ImportStocks(connection, stocks, &written);
    } catch (const db::DbError& failure) {
        busy.release();
        ShowError(failure.text() + QStringLiteral("\n(已匯入 %1 筆資料)").arg(written), QStringLiteral("資料匯入錯誤"));
        return;
    }
    busy.release();
    ShowInfo(QStringLiteral("已成功匯入 %1 筆資料!").arg(written), QStringLiteral("訊息"));
    m_completed = true;
}
