#pragma once

#include "core/data/ResultSet.h"
#include "core/records/GridQuery.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class GridWheelFilter;
class QButtonGroup;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTableView;
class QueryResultModel;

// The query panel of a record screen: the grid of the last query, the
// condition frame that lies behind it except while conditions are edited,
// and the buttons to edit conditions, open a row and go back. A screen adds
// its condition options and boxes; the frame runs the queries.
class QueryPanel : public QWidget {
    Q_OBJECT
public:
    QueryPanel(const QString& conditionFrameName, QWidget* parent);

    QTableView* grid() const { return m_grid; }
    QueryResultModel* model() const { return m_model; }

    // --- what a screen adds to the condition frame ---------------------
    QRadioButton* addConditionOption(const QString& caption);
    // A labelled box txt查詢內容_<n> in row `row` of the condition grid, at
    // grid column `column` (a box spans one column; its label the one before).
    QLineEdit* addConditionBox(const QString& label, int row, int column, int maxLength);
    QGridLayout* conditionLayout() const { return m_conditions; }
    QLabel* conditionLabel(int box) const { return m_labels.value(box); }
    const QList<QLineEdit*>& conditionBoxes() const { return m_boxes; }
    // A widget beside the grid (the stock screen's order options).
    void setSideWidget(QWidget* side);

    // Selects option `index`, paints the captions, and tells the screen.
    void chooseOption(int index);

    // Shows the condition frame in front (buttons off) or behind the grid.
    void showConditions(bool shown);
    bool conditionsShown() const;

    // Binds a result to the grid: the remembered row, or the last row of a
    // shorter result, selected whole; widths and alignment from the query.
    void showRows(db::ResultSet rows, const GridQuery& query);
    int rowCount() const;
    // The hidden key column of the current row.
    QString currentKey() const;

Q_SIGNALS:
    void optionChosen(int index);
    void runRequested();
    void openRequested(const QString& key);
    void backRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildGrid();
    QGroupBox* buildConditionFrame(const QString& name);
    void applyGridColours();
    void openCurrentIfKeyed();

    QStackedWidget* m_stack = nullptr;
    QTableView* m_grid = nullptr;
    QueryResultModel* m_model = nullptr;
    QGroupBox* m_frame = nullptr;
    QGridLayout* m_conditions = nullptr;
    QWidget* m_optionColumn = nullptr;
    QButtonGroup* m_options = nullptr;
    QList<QLineEdit*> m_boxes;
    QList<QLabel*> m_labels;
    QPushButton* m_editConditions = nullptr;
    QPushButton* m_view = nullptr;
    QPushButton* m_back = nullptr;
    QPointer<GridWheelFilter> m_wheel;
};
