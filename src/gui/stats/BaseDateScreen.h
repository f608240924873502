#pragma once

#include "core/stats/ListStatistics.h"
#include "gui/stats/StatScreenFrame.h"

class QCheckBox;
class QLineEdit;

// The words a base-date statistics screen shows in its own terms.
struct BaseDateTexts {
    QString caption;         // window caption
    QString baseCaption;     // beside txt基準日期
    QString rangeCaption;    // beside the comparison range
    QString skipCaption;     // chk僅一次不印, empty for screens without it
    QString baseName;        // 買超日期 / 賣超日 ... in the messages
    QString rangeName;       // 賣超日期 / 比較日 ... in the messages
};

// The transition and new-details screens: a required base date, a comparison
// range that may be empty, and (new details) the option box.
class BaseDateScreen : public StatScreenFrame {
    Q_OBJECT
public:
    void run(bool preview) override;

protected:
    explicit BaseDateScreen(const BaseDateTexts& texts);

    // The statistic: rebuilds its tables and returns this run's result lines.
    virtual QVector<ReportRow> prepare(db::Connection& connection, const BaseDateQuery& query) = 0;
    virtual ReportLayout layout() const = 0;
    virtual void formatDetail(ReportRow&) {}

    void setDefaultDates() override;
    QLineEdit* firstDateBox() const override { return m_base; }

private:
    BaseDateTexts m_texts;
    QLineEdit* m_base = nullptr;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
    QCheckBox* m_skip = nullptr;
};

// 賣超轉買超統計表 and 買超轉賣超統計表.
// No Q_OBJECT in the screens: moc cannot read their Chinese names.
class TransitionScreen : public BaseDateScreen {
protected:
    explicit TransitionScreen(bool sellToBuy);
    QVector<ReportRow> prepare(db::Connection& connection, const BaseDateQuery& query) override;
    ReportLayout layout() const override;

private:
    bool m_sellToBuy;
};

class frm賣超轉買超統計表 : public TransitionScreen {
public:
    frm賣超轉買超統計表();
};

class frm買超轉賣超統計表 : public TransitionScreen {
public:
    frm買超轉賣超統計表();
};

// 新增賣超明細 and 新增買超明細.
class NewDetailsScreen : public BaseDateScreen {
protected:
    explicit NewDetailsScreen(bool newSell);
    QVector<ReportRow> prepare(db::Connection& connection, const BaseDateQuery& query) override;
    ReportLayout layout() const override;
    void formatDetail(ReportRow& row) override;

private:
    bool m_newSell;
};

class frm新增賣超明細 : public NewDetailsScreen {
public:
    frm新增賣超明細();
};

class frm新增買超明細 : public NewDetailsScreen {
public:
    frm新增買超明細();
};
