#include "stock/StockImportDialog.h"

#include "app/Settings.h"
#include "data/Connection.h"
#include "stock/StockImport.h"
#include "uikit/BusyCursor.h"
#include "uikit/FileDialog.h"
#include "uikit/FormHelpers.h"
#include "uikit/InputBehaviour.h"
#include "uikit/MessageBox.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {
const QString kIdle = QStringLiteral("請輸入欲匯入的Excel檔!!");
const QString kWorking = QStringLiteral("轉檔中請稍候!!");
}

frm資料匯入_股號::frm資料匯入_股號(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm資料匯入_股號"));
    setWindowTitle(QStringLiteral("股號匯入Excel"));

    auto* heading = new QLabel(QStringLiteral("將Excel檔匯入"), this);
    heading->setObjectName(QStringLiteral("lbl名稱"));
    heading->setStyleSheet(QStringLiteral("font-size: 16pt; font-weight: bold; color: #1f3a93;"));
    auto* label = new QLabel(QStringLiteral("請輸入欲匯入的Excel檔:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("txt存放Excel檔路徑"));
    m_path->setMinimumWidth(380);
    label->setBuddy(m_path);
    auto* browse = new QPushButton(QStringLiteral("..."), this);
    browse->setObjectName(QStringLiteral("cmd開啟舊資料庫檔案"));
    browse->setAccessibleName(QStringLiteral("瀏覽"));
    browse->setToolTip(QStringLiteral("選擇要匯入的檔案"));
    m_start = new QPushButton(QStringLiteral("開始匯入"), this);
    m_start->setObjectName(QStringLiteral("scmd開始"));
    m_leave = new QPushButton(QStringLiteral("回前畫面"), this);
    m_leave->setObjectName(QStringLiteral("scmd離開"));
    connect(browse, &QPushButton::clicked, this, &frm資料匯入_股號::Browse);
    connect(m_start, &QPushButton::clicked, this, &frm資料匯入_股號::Start);
    connect(m_leave, &QPushButton::clicked, this, &QDialog::reject);

    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    m_status = new QLabel(bar);
    m_status->setObjectName(QStringLiteral("StatusPanel1"));
    bar->addWidget(m_status, 1);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(m_path, 1);
    pathRow->addWidget(browse);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_start);
    buttons->addWidget(m_leave);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 0);
    layout->addWidget(heading);
    layout->addSpacing(6);
    layout->addWidget(label);
    layout->addLayout(pathRow);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->addWidget(bar);

    InstallScreenConventions(this);
    setStatus(kIdle);
    resize(sizeHint());
    CenterForm(this);
}

void frm資料匯入_股號::setStatus(const QString& text)
{
    m_status->setText(text);
    m_status->repaint();
}

void frm資料匯入_股號::Browse()
{
    const QString chosen = GetOpenFileName(this, QStringLiteral("股號匯入Excel"), m_path->text().trimmed(),
                                           QStringLiteral("Microsoft Excel 資料庫(*.csv)"));
    if (!chosen.isEmpty())
        m_path->setText(chosen);
}

void frm資料匯入_股號::Start()
{
    const QString path = m_path->text().trimmed();
    if (path.isEmpty()) {
        ShowError(QStringLiteral("請輸入欲匯入的Excel檔名!"), QStringLiteral("訊息"));
        return;
    }
    m_leave->setEnabled(false);
    m_start->setEnabled(false);
    setStatus(kWorking);
    Import(path);
    setStatus(kIdle);
    m_leave->setEnabled(true);
    m_start->setEnabled(true);
    if (m_completed)
        accept();
}

void frm資料匯入_股號::Import(const QString& path)
{
    if (!QFileInfo::exists(path)) {
        ShowMessage(QStringLiteral("找不到檔案!"), QStringLiteral("警告"), MsgIcon::Warning);
        return;
    }
    BusyCursor busy;
    QString error;
    const QVector<ImportedStock> stocks = ReadStockFile(path, &error);
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
