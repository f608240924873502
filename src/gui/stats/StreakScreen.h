#pragma once

#include "gui/stats/StatScreenFrame.h"

class QLineEdit;

// 連續買超統計表 and 連續賣超統計表: the runs of consecutive trading dates on
// a list up to a base date, at least a typed number of days long.
// No Q_OBJECT in the screens: moc cannot read their Chinese names.
class StreakScreen : public StatScreenFrame {
public:
    void run(bool preview) override;

protected:
    explicit StreakScreen(bool netBuy);
    void setDefaultDates() override;
    QLineEdit* firstDateBox() const override { return m_base; }

private:
    bool m_netBuy;
    QLineEdit* m_base = nullptr;
    QLineEdit* m_days = nullptr;
};

class frm連續買超統計表 : public StreakScreen {
public:
    frm連續買超統計表();
};

class frm連續賣超統計表 : public StreakScreen {
public:
    frm連續賣超統計表();
};
