#include "gui/stock/StockScreen.h"

#include "core/data/Connection.h"
#include "core/data/ErrorWords.h"
#include "core/data/Settings.h"
#include "core/download/DayFetch.h"
#include "core/stock/StockPrint.h"
#include "core/text/Clock.h"
#include "core/stock/StockRecords.h"
#include "gui/recordscreen/PrintPanel.h"
#include "gui/recordscreen/PrintRun.h"
#include "gui/download/DownloadProgress.h"
#include "gui/history/AmountHistoryWindow.h"
#include "gui/stock/StockImportDialog.h"
#include "gui/uikit/InputBehaviour.h"
#include "gui/uikit/MessageBox.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr int kFieldLength = 10;
constexpr int kRatioKind = 7;
const QString kDownloadRatiosTitle = QStringLiteral("下載本益比");

RecordScreenTexts StockTexts()
{
    return {QStringLiteral("股號資料"), QStringLiteral("依股號顯示資料發生錯誤!"), QStringLiteral("確定修改股號?"),
            QStringLiteral("股號重複!"), QStringLiteral("取得所有股號錯誤"), QStringLiteral("span查詢條件")};
}

QLineEdit* Field(QWidget* parent, const QString& name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMaxLength(kFieldLength);
    box->setMinimumWidth(180);
    box->setMaximumWidth(220);
    return box;
}

} // namespace

frm股號資料::frm股號資料() : RecordScreen(StockTexts(), RecordScreenBehaviour{}, StockKeys())
{
    setObjectName(QStringLiteral("frm股號資料"));
    QWidget* panel = buildRecordPanel();
    buildQueryConditions();
    setRecordPanel(panel, {m_code}, m_name);
    printPanel()->choose(PrintPanel::All);
    printPanel()->setRangeLength(20);
    resize(860, 460);
}

QWidget* frm股號資料::buildRecordPanel()
{
    auto* panel = new QWidget;
    auto* group = new QGroupBox(QStringLiteral("股票基本資料"), panel);
    auto* form = new QFormLayout(group);
    form->setLabelAlignment(Qt::AlignRight);
    form->setHorizontalSpacing(14);
    form->setVerticalSpacing(12);

    m_code = Field(group, QStringLiteral("txt股號"));
    InstallUpperCase(m_code);
    m_name = Field(group, QStringLiteral("txt名稱"));
    m_priceEarnings = Field(group, QStringLiteral("txt本益比"));
    m_yield = Field(group, QStringLiteral("txt殖利率"));
    m_priceBook = Field(group, QStringLiteral("txt股價淨值比"));
    for (QLineEdit* ratio : {m_priceEarnings, m_yield, m_priceBook})
        InstallKeyFilter(ratio, kRatioKind);

    form->addRow(QStringLiteral("股　　號:"), m_code);
    form->addRow(QStringLiteral("名　　稱:"), m_name);
    form->addRow(QStringLiteral("本  益  比:"), m_priceEarnings);
    form->addRow(QStringLiteral("殖  利  率:"), m_yield);
    form->addRow(QStringLiteral("股價淨值比:"), m_priceBook);

    m_import = new QPushButton(QStringLiteral("  匯入Excel  "), panel);
    m_import->setObjectName(QStringLiteral("scmd資料匯入"));
    connect(m_import, &QPushButton::clicked, this, [this] {
        // A completed import shows the master afresh over what was typed.
        if (!mayDropTypedWork())
            return;
        frm資料匯入_股號 import(this);
        import.exec();
        // The highest code, afresh, after an import that ran through.
        if (import.importCompleted() && FindLastKey() == 0)
            ShowRecord(currentKey());
    });

    auto* download = new QPushButton(QStringLiteral("  下載本益比  "), panel);
    download->setObjectName(QStringLiteral("scmd下載本益比"));
    download->setToolTip(QStringLiteral("從證交所、櫃買中心下載最近交易日的本益比、殖利率及股價淨值比，經確認後更新股號資料"));
    connect(download, &QPushButton::clicked, this, [this] { downloadRatios(); });

    auto* history = new QPushButton(QStringLiteral("  法人動向  "), panel);
    history->setObjectName(QStringLiteral("scmd法人動向"));
    history->setToolTip(QStringLiteral("以圖表顯示這支股票每天的三大法人買賣超 (F6)"));
    connect(history, &QPushButton::clicked, this, [this] { showAmountHistory(); });

    auto* importRow = new QHBoxLayout;
    importRow->setSpacing(6);
    importRow->addStretch();
    importRow->addWidget(history);
    importRow->addWidget(download);
    importRow->addWidget(m_import);
    form->addRow(importRow);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(group, 0, Qt::AlignLeft);
    layout->addStretch();
    return panel;
}

void frm股號資料::downloadRatios()
{
    // The refreshed master is shown afresh over what was typed.
    if (!mayDropTypedWork())
        return;
    QDate date;
    try {
        db::Connection connection(gConnectionString);
        date = LastStoredTradingDate(connection);
    } catch (const db::DbError& failure) {
        ShowError(db::ErrorMessage(failure), kDownloadRatiosTitle);
        return;
    }
    if (!date.isValid())
        date = Now().date();
    const DownloadedDay files =
        DownloadWithProgress(this, QStringLiteral("本益比、殖利率及股價淨值比"), date, {ExchangeFile::TwseRatios, ExchangeFile::TpexRatios});
    if (files.outcome == DownloadedDay::NoData)
        ShowMessage(files.message, kDownloadRatiosTitle, MsgIcon::Information);
    else if (files.outcome == DownloadedDay::Failed)
        ShowMessage(files.message, kDownloadRatiosTitle, MsgIcon::Warning);
    if (files.outcome != DownloadedDay::Ready)
        return;
    frm資料匯入_股號 import(this);
    import.ImportFiles(files.paths, frm資料匯入_股號::NewCodes::Leave);
    if (import.importCompleted() && FindLastKey() == 0)
        ShowRecord(currentKey());
}

void frm股號資料::showAmountHistory()
{
    // The stored record's code: a code being typed has no amounts yet.
    if (mode() != kModeEdit || currentKey().isEmpty()) {
        ShowMessage(QStringLiteral("請先顯示一筆股號資料!"), QStringLiteral("法人動向"), MsgIcon::Information);
        return;
    }
    AmountHistoryWindow::Open(this, currentKey());
}

bool frm股號資料::screenShortcut(int key, Qt::KeyboardModifiers modifiers)
{
    if (key != Qt::Key_F6 || modifiers != Qt::NoModifier)
        return false;
    showAmountHistory();
    return true;
}

bool frm股號資料::fillFields(db::Connection& connection, const QString& key)
{
    const std::optional<StockRecord> record = LoadStock(connection, key);
    if (!record)
        return false;
    m_loaded = *record;
    m_written.reset();
    m_code->setText(record->code);
    m_name->setText(record->name);
    m_priceEarnings->setText(record->priceEarnings);
    m_yield->setText(record->yield);
    m_priceBook->setText(record->priceBook);
    return true;
}

bool frm股號資料::readyToSave()
{
    if (m_code->text().trimmed().isEmpty() || m_name->text().trimmed().isEmpty()) {
        ShowError(QStringLiteral("「股號」、「名稱」欄位不可為空白!"), QStringLiteral("錯誤"));
        return false;
    }
    return true;
}

void frm股號資料::writeRecord(db::Connection& connection, bool isNew, const QString& currentKey)
{
    const StockRecord record{m_code->text(), m_name->text(), m_priceEarnings->text(), m_yield->text(),
                             m_priceBook->text()};
    if (isNew) {
        InsertStock(connection, record);
    } else {
        refuseIfChangedElsewhere(connection, currentKey, false);
        UpdateStock(connection, currentKey, record);
    }
    m_written = LoadStock(connection, record.code);
}

void frm股號資料::recordSaved()
{
    if (m_written)
        m_loaded = *std::exchange(m_written, std::nullopt);
}

void frm股號資料::deleteRecord(db::Connection& connection, const QString& key)
{
    refuseIfChangedElsewhere(connection, key, true);
    DeleteStock(connection, key);
}

void frm股號資料::refuseIfChangedElsewhere(db::Connection& connection, const QString& key, bool deleting)
{
    const std::optional<StockRecord> stored = LoadStock(connection, key);
    if (stored && *stored != m_loaded) {
        m_loaded = *stored;
        RefuseChangedElsewhere(deleting);
    }
}

void frm股號資料::PrintList(bool preview)
{
    const PrintSelection selection = printPanel()->selection();
    RunPrintList(
        this, preview,
        [&selection](db::Connection& connection) -> std::optional<PaginatedReport> {
            QVector<ReportRow> rows = StockPrintRows(connection, selection);
            if (rows.isEmpty())
                return std::nullopt;
            return StockListReport(std::move(rows), CompanyName(connection));
        },
        {QStringLiteral("查無任何資料!"), MsgIcon::Warning, MsgIcon::Critical});
}
