#pragma once

#include "gui/stats/StatScreenFrame.h"

class QCheckBox;
class QLabel;
class QLineEdit;

// 買賣超統計表: how often each stock stood on the net-buy (or net-sell) list
// in a date range. gStatKind says which, read at load and at every run.
// No Q_OBJECT: moc cannot read the Chinese class name, and lambdas serve as slots.
class frm買賣超統計表 : public StatScreenFrame {
public:
    frm買賣超統計表();

    void run(bool preview) override;

protected:
    bool event(QEvent* event) override;
    void setDefaultDates() override;
    QLineEdit* firstDateBox() const override { return m_from; }

private:
    // One window serves both kinds: the caption and labels follow gStatKind.
    void showKindTexts();

    QLabel* m_dateCaption = nullptr;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
    QCheckBox* m_skipSingle = nullptr;
};

// True when gStatKind names the net-buy count; any other value is the net-sell one.
bool StatKindIsNetBuy();
