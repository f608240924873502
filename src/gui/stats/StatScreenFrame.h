#pragma once

#include "core/stats/Report.h"

#include <QMainWindow>
#include <functional>

class QGridLayout;
class QLineEdit;
class QPushButton;

namespace db {
class Connection;
}

// How many days back the last weekday before `today` lies: 2 on a Sunday, 3 on
// a Monday, 1 on any other day.
int DaysBackToLastWeekday(const QDate& today);

// The frame of the statistics screens: the "條件設定" area with the date boxes,
// the print, preview and close buttons, a toolbar with its single exit key,
// the status bar with the date, default dates on the first activation, and
// the run skeleton shared by every statistic.
class StatScreenFrame : public QMainWindow {
    Q_OBJECT
public:
    // Runs the print (false) or preview (true) button's checks and report.
    virtual void run(bool preview) = 0;

protected:
    explicit StatScreenFrame(const QString& caption);

    // A date box: 7 digits at most, digits only, whole text selected on entry,
    // padded to 7 digits when left.
    QLineEdit* makeDateBox(const QString& objectName);
    QGridLayout* conditions() const { return m_conditions; }
    // Called once the screen has built its inputs, in tab order.
    void finishLayout(const QList<QWidget*>& inputsInTabOrder);

    // Puts the default dates into the boxes (first activation only).
    virtual void setDefaultDates() = 0;
    virtual QLineEdit* firstDateBox() const = 0;

    // Checks a padded date box; shows "「<what>」輸入錯誤!" and focuses it when invalid.
    bool checkDateBox(QLineEdit* box, const QString& what);
    // A date that may not be blank: "「<what>」不可為空白!" before it is padded,
    // then as checkDateBox.
    bool checkRequiredDateBox(QLineEdit* box, const QString& what);

    // The common run: busy pointer, the query on its own connection, "查無任何
    // 資料!" when it returns nothing, else the report printed or previewed. A
    // failure of the query is shown under `queryFailureTitle` and stops the run;
    // any later one under "印表錯誤".
    void RunStatReport(bool preview, const std::function<QVector<ReportRow>(db::Connection&)>& query,
                       const std::function<PaginatedReport(QVector<ReportRow>)>& report,
                       const QString& queryFailureTitle = QStringLiteral("印表錯誤"));

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QGridLayout* m_conditions = nullptr;
    QList<QLineEdit*> m_dateBoxes;
    QPushButton* m_print = nullptr;
    QPushButton* m_preview = nullptr;
    QPushButton* m_close = nullptr;
};
