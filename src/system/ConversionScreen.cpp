#include "system/ConversionScreen.h"

#include "app/Settings.h"
#include "data/DbError.h"
#include "system/Conversion.h"
#include "uikit/BusyCursor.h"
#include "uikit/FileDialog.h"
#include "uikit/FormHelpers.h"
#include "uikit/InputBehaviour.h"
#include "uikit/MessageBox.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

frm資料轉檔::frm資料轉檔(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm資料轉檔"));
    setWindowTitle(QStringLiteral("資料轉檔"));

    auto* heading = new QLabel(QStringLiteral("將舊資料庫轉換成目前資料庫格式"), this);
    heading->setObjectName(QStringLiteral("Label2"));
    heading->setStyleSheet(QStringLiteral("font-size: 15pt; font-weight: bold; color: #1f3a93;"));
    auto* label = new QLabel(QStringLiteral("來源檔路徑:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("txt舊資料庫路徑"));
    m_path->setMinimumWidth(360);
    label->setBuddy(m_path);
    auto* browse = new QPushButton(QStringLiteral("..."), this);
    browse->setObjectName(QStringLiteral("cmd開啟舊資料庫檔案"));
    browse->setAccessibleName(QStringLiteral("瀏覽"));
    browse->setToolTip(QStringLiteral("選擇舊資料庫檔案"));
    connect(browse, &QPushButton::clicked, this, &frm資料轉檔::Browse);

    auto* progress = new QGroupBox(QStringLiteral("完成進度"), this);
    m_bar = new QProgressBar(progress);
    m_bar->setObjectName(QStringLiteral("ProgressBar1"));
    m_bar->setTextVisible(false);
    m_bar->setMinimum(0);
    m_bar->setValue(0);
    m_percent = new QLabel(progress);
    m_percent->setObjectName(QStringLiteral("lbl總進度"));
    m_percent->setMinimumWidth(56);
    auto* progressRow = new QHBoxLayout(progress);
    progressRow->addWidget(m_bar, 1);
    progressRow->addWidget(m_percent);

    m_start = new QPushButton(QStringLiteral("開始轉檔"), this);
    m_start->setObjectName(QStringLiteral("scmd開始"));
    m_leave = new QPushButton(QStringLiteral("回前畫面"), this);
    m_leave->setObjectName(QStringLiteral("scmd離開"));
    connect(m_start, &QPushButton::clicked, this, &frm資料轉檔::Start);
    connect(m_leave, &QPushButton::clicked, this, &QDialog::reject);

    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    auto* warning = new QLabel(QStringLiteral("執行轉檔前請先確認其他電腦已經退出軟體!"), bar);
    warning->setObjectName(QStringLiteral("StatusPanel1"));
    warning->setStyleSheet(QStringLiteral("color: #b71c1c;"));
    m_table = new QLabel(bar);
    m_table->setObjectName(QStringLiteral("StatusPanel2"));
    m_rows = new QLabel(bar);
    m_rows->setObjectName(QStringLiteral("StatusPanel3"));
    bar->addWidget(warning, 1);
    bar->addWidget(m_table);
    bar->addWidget(m_rows);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(label);
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
    layout->addLayout(pathRow);
    layout->addWidget(progress);
    layout->addLayout(buttons);
    layout->addWidget(bar);

    InstallScreenConventions(this);
    resize(sizeHint());
    CenterForm(this);
}

void frm資料轉檔::Browse()
{
    const QString chosen = GetOpenFileName(this, QStringLiteral("資料轉檔"), m_path->text().trimmed(),
                                           QStringLiteral("Microsoft Access 資料庫(*.mdb)"));
    if (!chosen.isEmpty())
        m_path->setText(chosen);
}

void frm資料轉檔::Start()
{
    const QString path = m_path->text().trimmed();
    if (path.isEmpty()) {
        ShowError(QStringLiteral("請選擇來源檔路徑!"), QStringLiteral("訊息"));
        return;
    }
    m_leave->setEnabled(false);
    m_start->setEnabled(false);
    ConvertOldDatabase(path);
    m_leave->setEnabled(true);
    m_start->setEnabled(true);
    accept();
}

void frm資料轉檔::ConvertOldDatabase(const QString& path)
{
    m_percent->clear();
    BusyCursor busy;
    try {
        ::ConvertOldDatabase(gConnectionString, path, gDbPassword, [this](const ConversionProgress& now) {
            m_bar->setMaximum(now.tables);
            m_bar->setValue(now.table);
            m_percent->setText(QStringLiteral("%1 %").arg(qRound(now.table * 100.0 / now.tables)));
            m_table->setText(now.name);
            m_rows->setText(QStringLiteral("%1 %").arg(now.rowPercent));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    } catch (const db::DbError& error) {
        busy.release();
        ShowError(error.text(), QStringLiteral("資料庫轉檔錯誤"));
        return;
    }
    busy.release();
    ShowInfo(QStringLiteral("資料轉檔完畢！"), QStringLiteral("訊息"));
}
