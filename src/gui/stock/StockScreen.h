#pragma once

#include "core/stock/StockRecords.h"
#include "gui/recordscreen/RecordScreen.h"

#include <optional>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;

// 股號資料: the stock master on the record frame.
// No Q_OBJECT: moc cannot read the Chinese class name, and lambdas serve as slots.
class frm股號資料 : public RecordScreen {
public:
    frm股號資料();

protected:
    bool fillFields(db::Connection& connection, const QString& key) override;
    bool readyToSave() override;
    void writeRecord(db::Connection& connection, bool isNew, const QString& currentKey) override;
    void deleteRecord(db::Connection& connection, const QString& key) override;
    void recordSaved() override;
    GridQuery BuildQuery() override;
    void conditionOptionChosen(int index) override;
    void fillConditionDefaults() override;
    void PrintList(bool preview) override;
    bool screenShortcut(int key, Qt::KeyboardModifiers modifiers) override;

private:
    // Inside the save's or delete's transaction.
    void refuseIfChangedElsewhere(db::Connection& connection, const QString& key, bool deleting);
    // 下載本益比: the exchanges' ratio files of the last trading date stored,
    // through the import's review.
    void downloadRatios();
    // 法人動向 (F6): the shown stock's institutional nets as a chart.
    void showAmountHistory();
    QWidget* buildRecordPanel();
    void buildQueryConditions();

    QLineEdit* m_code = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_priceEarnings = nullptr;
    QLineEdit* m_yield = nullptr;
    QLineEdit* m_priceBook = nullptr;
    QPushButton* m_import = nullptr;
    QCheckBox* m_priceEarningsOn = nullptr;
    QCheckBox* m_yieldOn = nullptr;
    QButtonGroup* m_order = nullptr;
    // The record as read, or as this screen last saved it (the screen does
    // not read it again): an update over anything else would drop another
    // PC's save. What writeRecord wrote becomes it once committed.
    StockRecord m_loaded;
    std::optional<StockRecord> m_written;
};
