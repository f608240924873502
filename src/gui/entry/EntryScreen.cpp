#include "gui/entry/EntryScreen.h"

#include "core/data/Connection.h"
#include "core/data/ErrorWords.h"
#include "core/data/Settings.h"
#include "core/entry/EntryPrint.h"
#include "core/entry/InstitutionalAmounts.h"
#include "core/entry/TradingDays.h"
#include "core/stock/StockRecords.h"
#include "core/text/Clock.h"
#include "core/text/RocDate.h"
#include "gui/entry/EntrySheet.h"
#include "gui/history/AmountHistoryWindow.h"
#include "gui/recordscreen/PrintPanel.h"
#include "gui/recordscreen/PrintRun.h"
#include "gui/uikit/FormHelpers.h"
#include "gui/uikit/InputBehaviour.h"
#include "gui/uikit/MessageBox.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kDateKind = 1;
constexpr int kRowHeightTwips = 400;

RecordScreenTexts EntryTexts()
{
    return {QStringLiteral("買賣超輸入作業"), QStringLiteral("依買賣日期顯示資料發生錯誤!"),
            QStringLiteral("確定修改買賣日期?"), QStringLiteral("買賣日期重複!"),
            QStringLiteral("取得所有買賣日期錯誤"), QStringLiteral("frame查詢條件")};
}

RecordScreenBehaviour EntryBehaviour()
{
    RecordScreenBehaviour behaviour;
    behaviour.exitAsks = true;
    behaviour.unlockBeforeStep = false;
    behaviour.showSavedRecord = true;
    behaviour.addClearsCurrentKey = true;
    return behaviour;
}

QVector<QVector<QVariant>> SheetRows(const QVector<ListRow>& rows)
{
    QVector<QVector<QVariant>> table;
    table.reserve(rows.size());
    for (const ListRow& row : rows)
        table.push_back({row.sequence, row.code});
    return table;
}

} // namespace

frm買賣超輸入作業::frm買賣超輸入作業() : RecordScreen(EntryTexts(), EntryBehaviour(), TradingDayKeys())
{
    setObjectName(QStringLiteral("frm買賣超輸入作業"));
    QWidget* panel = buildRecordPanel();
    buildQueryConditions();
    setRecordPanel(panel, {m_date, m_weekday}, m_buys);
    for (EntrySheet* sheet : {m_buys, m_sells}) {
        sheet->SetSheetRowHeight(kRowHeightTwips);
        sheet->ClearSheet();
        connect(sheet, &EntrySheet::edited, this, [this] { markUnsaved(); });
        connect(sheet, &QTableWidget::cellDoubleClicked, this, [this, sheet](int row, int column) {
            if (column == EntrySheet::kNameColumn)
                showAmountHistory(sheet, row + 1);
        });
    }
    connect(qApp, &QApplication::focusChanged, this, [this] { showListFocus(); });
    showListFocus();
    resize(900, 680);
    CenterForm(this);
}

bool frm買賣超輸入作業::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        loadStockNames();
    return RecordScreen::event(event);
}

void frm買賣超輸入作業::loadStockNames()
{
    QString heading = QStringLiteral("名稱");
    QString problem;
    try {
        db::Connection connection(gConnectionString);
        QHash<QString, QString> names = StockNames(connection);
        for (const StockRecord& stock : m_pendingStocks)
            names.insert(stock.code.toUpper(), stock.name);
        m_buys->setStockNames(names);
        m_sells->setStockNames(names);
    } catch (const db::DbError& error) {
        // The names only help: the lists stay usable, and the heading says why
        // the names are missing.
        heading = QStringLiteral("名稱（無法讀取）");
        problem = db::ErrorMessage(error);
    }
    for (EntrySheet* sheet : {m_buys, m_sells}) {
        QTableWidgetItem* item = sheet->horizontalHeaderItem(EntrySheet::kNameColumn);
        item->setText(heading);
        item->setToolTip(problem.isEmpty() ? QStringLiteral("雙擊名稱或按 F6：這支股票的法人動向") : problem);
    }
}

void frm買賣超輸入作業::showListFocus()
{
    const QWidget* focus = QApplication::focusWidget();
    EntrySheet* sheets[2] = {m_buys, m_sells};
    for (int i = 0; i < 2; ++i) {
        const bool focused = focus && (focus == sheets[i] || sheets[i]->isAncestorOf(focus));
        if (m_listFrames[i]->property("listFocus") == QVariant(focused))
            continue;
        m_listFrames[i]->setProperty("listFocus", focused);
        const QString name = m_listFrames[i]->objectName();
        m_listFrames[i]->setStyleSheet(
            focused ? QStringLiteral("QGroupBox#%1 { border: 3px solid %2; border-radius: 6px; }").arg(name, m_listColours[i])
                    : QStringLiteral("QGroupBox#%1 { border: 1px solid #c4c4c4; border-radius: 6px; margin: 2px; }").arg(name));
        QPalette palette = sheets[i]->palette();
        palette.setColor(QPalette::Highlight, focused ? QColor(m_listColours[i]) : QColor(0xd6, 0xd6, 0xd6));
        palette.setColor(QPalette::HighlightedText, focused ? QColor(Qt::white) : QColor(Qt::black));
        sheets[i]->setPalette(palette);
    }
}

QWidget* frm買賣超輸入作業::buildRecordPanel()
{
    auto* panel = new QWidget;
    auto* dateLabel = new QLabel(QStringLiteral("買賣日期:"), panel);
    dateLabel->setObjectName(QStringLiteral("Label1_2"));
    m_date = new QLineEdit(panel);
    m_date->setObjectName(QStringLiteral("txt買賣日期"));
    m_date->setMaxLength(7);
    m_date->setFixedWidth(110);
    InstallKeyFilter(m_date, kDateKind);
    dateLabel->setBuddy(m_date);
    m_weekday = new QLineEdit(panel);
    m_weekday->setObjectName(QStringLiteral("txt買賣星期"));
    m_weekday->setMaxLength(1);
    m_weekday->setFixedWidth(44);
    m_weekday->setAlignment(Qt::AlignCenter);
    auto* weekdayLabel = new QLabel(QStringLiteral("星期"), panel);

    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(dateLabel);
    dateRow->addWidget(m_date);
    dateRow->addSpacing(8);
    dateRow->addWidget(weekdayLabel);
    dateRow->addWidget(m_weekday);
    dateRow->addStretch();
    auto* import = new QPushButton(QStringLiteral("匯入買賣超"), panel);
    import->setObjectName(QStringLiteral("scmd匯入買賣超"));
    import->setToolTip(QStringLiteral("從證交所、櫃買中心的三大法人買賣超檔案填入兩張清單 (Ctrl+I)"));
    connect(import, &QPushButton::clicked, this, [this] { importLists(); });
    dateRow->addWidget(import);
    auto* download = new QPushButton(QStringLiteral("下載..."), panel);
    download->setObjectName(QStringLiteral("scmd下載買賣超"));
    download->setToolTip(QStringLiteral("從證交所、櫃買中心下載這一天的三大法人買賣超檔案並填入兩張清單 (Ctrl+D)"));
    connect(download, &QPushButton::clicked, this, [this] { downloadLists(); });
    dateRow->addWidget(download);

    m_buys = new EntrySheet(panel);
    m_buys->setObjectName(QStringLiteral("fml買超"));
    m_sells = new EntrySheet(panel);
    m_sells->setObjectName(QStringLiteral("fml賣超"));
    auto* lists = new QHBoxLayout;
    lists->setSpacing(18);
    lists->addWidget(buildList(m_buys, QStringLiteral("買:"), 0, QStringLiteral("#c62828")));
    lists->addWidget(buildList(m_sells, QStringLiteral("賣:"), 1, QStringLiteral("#2e7d32")));

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(18, 12, 18, 12);
    layout->addLayout(dateRow);
    layout->addSpacing(6);
    layout->addLayout(lists, 1);
    return panel;
}

QWidget* frm買賣超輸入作業::buildList(EntrySheet* sheet, const QString& caption, int index, const QString& colour)
{
    auto* frame = new QGroupBox(sheet->parentWidget());
    frame->setObjectName(index == 0 ? QStringLiteral("SSFrame1") : QStringLiteral("SSFrame3"));
    m_listFrames[index] = frame;
    m_listColours[index] = colour;
    auto* label = new QLabel(caption, frame);
    label->setObjectName(QStringLiteral("Label1_%1").arg(index));
    label->setStyleSheet(QStringLiteral("font-size: 14pt; font-weight: bold; color: %1;").arg(colour));
    sheet->setParent(frame);
    sheet->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background: %1; color: white; padding: 4px; border: 0; }").arg(colour));
    auto* remove = new QPushButton(QStringLiteral("明細刪除"), frame);
    remove->setObjectName(QStringLiteral("scmd刪除_%1").arg(index));
    remove->setFocusPolicy(Qt::NoFocus);
    sheet->attachDeleteButton(remove);
    const int panel = index == 0 ? 1 : 3;
    connect(sheet, &EntrySheet::usedRowCountChanged, this,
            [this, panel](int count) { setStatusPanel(panel, QString::number(count), kPanelInset); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(label);
    buttons->addStretch();
    buttons->addWidget(remove);
    auto* layout = new QVBoxLayout(frame);
    layout->addLayout(buttons);
    layout->addWidget(sheet, 1);
    return frame;
}

// Sees every event of the window before its controls (the frame's filter).
bool frm買賣超輸入作業::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_date) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !m_date->text().isEmpty())
                updateWeekday();
        } else if (event->type() == QEvent::FocusOut) {
            PadDateField(m_date, 0);
        }
    } else if ((watched == m_queryFrom || watched == m_queryTo) && event->type() == QEvent::FocusOut) {
        PadDateField(static_cast<QLineEdit*>(watched), 0);
    }
    return RecordScreen::eventFilter(watched, event);
}

bool frm買賣超輸入作業::screenShortcut(int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_F6 && modifiers == Qt::NoModifier) {
        const QWidget* focus = QApplication::focusWidget();
        for (EntrySheet* sheet : {m_buys, m_sells}) {
            if (focus && (focus == sheet || sheet->isAncestorOf(focus))) {
                showAmountHistory(sheet, sheet->activeRow());
                return true;
            }
        }
        return false;
    }
    if (modifiers != Qt::ControlModifier || (key != Qt::Key_I && key != Qt::Key_D))
        return false;
    if (key == Qt::Key_I)
        importLists();
    else
        downloadLists();
    return true;
}

void frm買賣超輸入作業::showAmountHistory(EntrySheet* sheet, int row)
{
    const QString code = sheet->cellText(row, EntrySheet::kCodeColumn).trimmed();
    if (!code.isEmpty())
        AmountHistoryWindow::Open(this, code);
}

void frm買賣超輸入作業::updateWeekday()
{
    // Read as three year digits, then month and day, whatever the length.
    const QString text = m_date->text();
    const QDate date = DateFromRoc(text.size() == 7 ? text : QString());
    if (date.isValid())
        m_weekday->setText(WeekdayText(date));
}

void frm買賣超輸入作業::clearRecordExtras()
{
    m_pendingStocks.clear();
    m_pendingAmounts.reset();
    for (EntrySheet* sheet : {m_buys, m_sells}) {
        sheet->ClearSheet();
        sheet->setUsedRowCount(0);
    }
}

void frm買賣超輸入作業::focusAfterAdd()
{
    m_date->setText(TodayRocDate());
    m_weekday->setText(WeekdayText(Today()));
    setEnabled(true);
    m_buys->setFocus();
}

void frm買賣超輸入作業::focusAfterLoad()
{
    m_buys->setFocus();
}

void frm買賣超輸入作業::showRecordStatus()
{
    setStatusPanel(0, QStringLiteral("買超筆數"), kPanelRaised);
    setStatusPanel(1, QString(), kPanelInset);
    setStatusPanel(2, QStringLiteral("賣超筆數"), kPanelRaised);
    setStatusPanel(3, QString(), kPanelInset);
}

bool frm買賣超輸入作業::fillFields(db::Connection& connection, const QString& key)
{
    m_buys->freeze(true);
    m_sells->freeze(true);
    std::optional<TradingDay> day;
    try {
        day = LoadTradingDay(connection, key);
    } catch (...) {
        m_buys->freeze(false);
        m_sells->freeze(false);
        throw;
    }
    if (day) {
        m_loaded = *day;
        m_date->setText(day->date);
        m_weekday->setText(day->weekday);
        m_buys->RowsToSheet(SheetRows(day->buys));
        m_sells->RowsToSheet(SheetRows(day->sells));
    }
    m_buys->freeze(false);
    m_sells->freeze(false);
    if (!day)
        return false;
    m_buys->setUsedRowCount(static_cast<int>(day->buys.size()));
    m_sells->setUsedRowCount(static_cast<int>(day->sells.size()));
    return true;
}

bool frm買賣超輸入作業::readyToSave()
{
    // The frame has committed any code still in a cell editor.
    PadDateField(m_date, 0);
    if (m_date->text().trimmed().isEmpty()) {
        ShowError(QStringLiteral("「買賣日期」欄位不可為空白!"), QStringLiteral("錯誤"));
        m_date->setFocus();
        return false;
    }
    if (CheckRocDate(m_date->text()) == 9) {
        ShowMessage(QStringLiteral("「買賣日期」輸入錯誤!"), QStringLiteral("錯誤"), MsgIcon::Warning);
        m_date->setFocus();
        SelectAllText(m_date);
        return false;
    }
    // Imported amounts belong to their files' date: under another date they
    // would be another day's, and the day would have none.
    if (m_pendingAmounts && m_pendingAmounts->date != m_date->text().trimmed()) {
        ShowMessage(QStringLiteral("匯入檔案的資料日期是 %1，與買賣日期 %2 不同，請改回 %1 再儲存。")
                        .arg(RocDateDisplay(m_pendingAmounts->date), RocDateDisplay(m_date->text().trimmed())),
                    QStringLiteral("錯誤"), MsgIcon::Warning);
        m_date->setFocus();
        SelectAllText(m_date);
        return false;
    }
    // A date left with Tab or the mouse kept the weekday of the date before.
    m_weekday->setText(WeekdayText(DateFromRoc(m_date->text().trimmed())));
    return true;
}

void frm買賣超輸入作業::writeRecord(db::Connection& connection, bool isNew, const QString& currentKey)
{
    TradingDay day;
    day.date = m_date->text().trimmed();
    day.weekday = m_weekday->text().trimmed();
    day.buys = ListRowsFromTexts(m_buys->SheetToRows());
    day.sells = ListRowsFromTexts(m_sells->SheetToRows());
    if (!isNew)
        refuseIfChangedElsewhere(connection, currentKey, false);
    SaveTradingDay(connection, isNew, currentKey, day);
    if (m_pendingAmounts)
        SaveInstitutionalAmounts(connection, *m_pendingAmounts);
    AddMissingStocks(connection, m_pendingStocks);
}

void frm買賣超輸入作業::deleteRecord(db::Connection& connection, const QString& key)
{
    refuseIfChangedElsewhere(connection, key, true);
    DeleteTradingDay(connection, key);
}

void frm買賣超輸入作業::refuseIfChangedElsewhere(db::Connection& connection, const QString& key, bool deleting)
{
    const std::optional<TradingDay> stored = ReadTradingDay(connection, key);
    if (stored && !SameTradingDay(*stored, m_loaded)) {
        m_loaded = *stored;
        RefuseChangedElsewhere(deleting);
    }
}

void frm買賣超輸入作業::PrintList(bool preview)
{
    const PrintSelection selection = printPanel()->selection();
    RunPrintList(
        this, preview,
        [&selection](db::Connection& connection) -> std::optional<PaginatedReport> {
            EntryPrintout printout = EntryPrintRows(connection, selection);
            if (printout.lines.isEmpty())
                return std::nullopt;
            return EntryListReport(std::move(printout));
        },
        {QStringLiteral("資料庫中沒有符合條件的資料!"), MsgIcon::Information, MsgIcon::Information});
}
