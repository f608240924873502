#pragma once

#include "core/entry/InstitutionalTrades.h"
#include "core/entry/TradingDays.h"
#include "core/stock/StockRecords.h"
#include "gui/recordscreen/RecordScreen.h"

#include <optional>

class EntrySheet;
class QLineEdit;
class QPushButton;

// 買賣超輸入作業: one trading date with its net-buy and net-sell lists.
// No Q_OBJECT: moc cannot read the Chinese class name, and lambdas serve as slots.
class frm買賣超輸入作業 : public RecordScreen {
public:
    frm買賣超輸入作業();

    EntrySheet* buySheet() const { return m_buys; }
    // 匯入買賣超 (Ctrl+I): fills the day's lists from the exchanges' files, as
    // if typed; nothing is saved until 儲存.
    void importLists();
    // 下載... (Ctrl+D): the same with the day's files downloaded from the
    // exchanges, for the shown date (today in 新增).
    void downloadLists();
    EntrySheet* sellSheet() const { return m_sells; }
    // 法人動向 of a list row's stock: F6 on the row, or a double click on its
    // 名稱; nothing for a row without a code.
    void showAmountHistory(EntrySheet* sheet, int row);

protected:
    bool fillFields(db::Connection& connection, const QString& key) override;
    bool readyToSave() override;
    void writeRecord(db::Connection& connection, bool isNew, const QString& currentKey) override;
    void deleteRecord(db::Connection& connection, const QString& key) override;
    GridQuery BuildQuery() override;
    void conditionOptionChosen(int index) override;
    void PrintList(bool preview) override;
    void clearRecordExtras() override;
    void focusAfterAdd() override;
    void focusAfterLoad() override;
    void showRecordStatus() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    bool screenShortcut(int key, Qt::KeyboardModifiers modifiers) override;

private:
    // Inside the save's or delete's transaction.
    void refuseIfChangedElsewhere(db::Connection& connection, const QString& key, bool deleting);
    bool readyToImport();
    void importFiles(const QStringList& paths);
    QWidget* buildRecordPanel();
    void buildQueryConditions();
    QWidget* buildList(EntrySheet* sheet, const QString& caption, int index, const QString& colour);
    void updateWeekday();
    // Read once per activation: another screen may have added stocks.
    void loadStockNames();
    // The list that has the keyboard wears its colour.
    void showListFocus();

    QLineEdit* m_date = nullptr;
    QLineEdit* m_weekday = nullptr;
    EntrySheet* m_buys = nullptr;
    EntrySheet* m_sells = nullptr;
    QWidget* m_listFrames[2] = {nullptr, nullptr};
    QString m_listColours[2];
    QLineEdit* m_queryFrom = nullptr;
    QLineEdit* m_queryTo = nullptr;
    // Codes an import would add to 股號資料: written with the day's save and
    // only then, dropped with the unsaved day.
    QVector<StockRecord> m_pendingStocks;
    // Every stock's amounts of imported files, saved with the lists.
    std::optional<InstitutionalDay> m_pendingAmounts;
    // The day as read (again after every save): an update over anything
    // else would drop another PC's save.
    TradingDay m_loaded;
};
