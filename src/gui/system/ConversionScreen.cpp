#include "gui/system/ConversionScreen.h"

#include "core/data/DbError.h"
#include "core/data/ErrorWords.h"
#include "core/data/Settings.h"
#include "core/system/Conversion.h"
#include "gui/uikit/BusyCursor.h"
#include "gui/uikit/MessageBox.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

frm資料轉檔::frm資料轉檔(QWidget* parent)
    : FileTaskDialog({QStringLiteral("frm資料轉檔"), QStringLiteral("資料轉檔"),
                      QStringLiteral("將舊資料庫轉換成目前資料庫格式"), QStringLiteral("Label2"),
                      QStringLiteral("來源檔路徑:"), QStringLiteral("txt舊資料庫路徑"), QStringLiteral("開始轉檔"),
                      // The old program's Access files first, then copies of our own.
                      QStringLiteral("Microsoft Access 資料庫(*.mdb);;Quorvex 資料庫(*.mdb)")},
                     parent)
{
    auto* progress = new QGroupBox(QStringLiteral("完成進度"), this);
    m_bar = new QProgressBar(progress);
    m_bar->setObjectName(QStringLiteral("ProgressBar1"));
    m_bar->setTextVisible(false);
    m_bar->setValue(0);
    m_percent = new QLabel(progress);
    m_percent->setObjectName(QStringLiteral("lbl總進度"));
    m_percent->setMinimumWidth(56);
    auto* progressRow = new QHBoxLayout(progress);
    progressRow->addWidget(m_bar, 1);
    progressRow->addWidget(m_percent);
    body()->addWidget(progress);

    auto* warning = new QLabel(QStringLiteral("執行轉檔前請先確認其他電腦已經退出軟體!"), statusBar());
    warning->setObjectName(QStringLiteral("StatusPanel1"));
    warning->setStyleSheet(QStringLiteral("color: #b71c1c;"));
    m_table = new QLabel(statusBar());
    m_table->setObjectName(QStringLiteral("StatusPanel2"));
    m_rows = new QLabel(statusBar());
    m_rows->setObjectName(QStringLiteral("StatusPanel3"));
    statusBar()->addWidget(warning, 1);
    statusBar()->addWidget(m_table);
    statusBar()->addWidget(m_rows);

    connect(m_start, &QPushButton::clicked, this, &frm資料轉檔::Start);
    finish();
}

void frm資料轉檔::Start()
{
    if (path().isEmpty()) {
        ShowError(QStringLiteral("請選擇來源檔路徑!"), QStringLiteral("訊息"));
        return;
    }
    setWorking(true);
    ConvertOldDatabase(path());
    setWorking(false);
    accept();
}

void frm資料轉檔::ConvertOldDatabase(const QString& file)
{
    m_percent->clear();
    BusyCursor busy;
    int refused = 0;
    try {
        refused = ::ConvertOldDatabase(gConnectionString, file, gDbPassword, [this](const ConversionProgress& now) {
            if (now.tables == 0) {
                m_table->setText(QStringLiteral("讀取來源檔..."));
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                return;
            }
            m_bar->setMaximum(now.tables);
            m_bar->setValue(now.table);
            m_percent->setText(QStringLiteral("%1 %").arg(qRound(now.table * 100.0 / now.tables)));
            m_table->setText(now.name);
            m_rows->setText(QStringLiteral("%1 %").arg(now.rowPercent));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    } catch (const db::DbError& error) {
        busy.release();
        ShowError(db::ErrorMessage(error), QStringLiteral("資料庫轉檔錯誤"));
        return;
    }
    busy.release();
    QString done = QStringLiteral("資料轉檔完畢！");
    if (refused > 0)
        done += QStringLiteral("\n有 %1 筆資料無法轉入（日期不是 7 位數字、數值無效、股號空白或資料重複），已略過。").arg(refused);
    ShowInfo(done, QStringLiteral("訊息"));
}
