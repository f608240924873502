#pragma once

#include <QWidget>

class AmountChartView;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// 法人動向: one stock's institutional nets over a range of dates as a chart,
// with the range boxes, the bar layout toggle, the picture export and printing.
class AmountHistoryWindow : public QWidget {
public:
    // Opens the window for `code` over the last 60 dates with amounts; null,
    // after showing the database's reason, when reading failed.
    static AmountHistoryWindow* Open(QWidget* parent, const QString& code);

    AmountChartView* chart() const { return m_chart; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    AmountHistoryWindow(QWidget* parent, const QString& code);

    // Reads the range typed (both boxes empty: the default one); false when
    // the database refused, its reason shown.
    bool load(const QString& from, const QString& to);
    // The 查詢 key: checks the boxes, then loads.
    void requery();
    bool checkDateBox(QLineEdit* box, const QString& what);
    void showSelection();
    void exportPicture();
    void print();
    // Export and print need something to show; refused with NoAmountsText otherwise.
    bool haveAmounts(const QString& title);

    QString m_code;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
    QCheckBox* m_stacked = nullptr;
    AmountChartView* m_chart = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_print = nullptr;
    QLabel* m_selection = nullptr;
    QLabel* m_status = nullptr;
};
