// The entry query panel on ten years of lists: from the OK button to the
// first rows painted, for the default two-month range and for a whole year;
// beside it the plain way, one table item per cell.
#include "BenchData.h"

#include "core/data/Connection.h"
#include "core/data/Settings.h"
#include "core/entry/EntryQuery.h"
#include "gui/entry/EntryScreen.h"
#include "gui/recordscreen/QueryPanel.h"
#include "gui/uikit/MessageBox.h"

#include <QLineEdit>
#include <QTableView>
#include <QTableWidget>

#include <benchmark/benchmark.h>

namespace {

const BenchDataShape kShape;
constexpr int kFirstDay = 1000;
constexpr int kTwoMonthsDays = 42;
constexpr int kYearDays = 250;

void ListDays(benchmark::State& state, int days)
{
    TenYearFolder();
    SetMessageHandler([](const MessageRequest&) { return MsgAnswer::Yes; });
    auto* screen = new frm買賣超輸入作業;
    screen->resize(900, 680);
    screen->show();
    QueryPanel* panel = screen->queryPanel();
    screen->runKey(QStringLiteral("search"));
    panel->conditionBoxes().at(1)->setText(BenchTradingDate(kShape, kFirstDay));
    panel->conditionBoxes().at(2)->setText(BenchTradingDate(kShape, kFirstDay + days - 1));
    for (auto _ : state) {
        screen->RunQuery();
        panel->grid()->viewport()->repaint();
    }
    state.counters["rows"] = panel->rowCount();
    delete screen;
}

void BM_EntryQueryTwoMonths(benchmark::State& state)
{
    ListDays(state, kTwoMonthsDays);
}
BENCHMARK(BM_EntryQueryTwoMonths)->Unit(benchmark::kMillisecond);

void BM_EntryQueryYear(benchmark::State& state)
{
    ListDays(state, kYearDays);
}
BENCHMARK(BM_EntryQueryYear)->Unit(benchmark::kMillisecond);

// The same year into a QTableWidget with an item for every cell.
void BM_EntryQueryYearItemPerCell(benchmark::State& state)
{
    TenYearFolder();
    QTableWidget table;
    table.resize(900, 600);
    table.show();
    const GridQuery query = BuildEntryQuery(QString(), BenchTradingDate(kShape, kFirstDay),
                                            BenchTradingDate(kShape, kFirstDay + kYearDays - 1));
    for (auto _ : state) {
        db::Connection connection(gConnectionString);
        const db::ResultSet rows = connection.query(query.sql, query.params);
        table.clear();
        table.setRowCount(rows.rowCount());
        table.setColumnCount(rows.columnCount());
        for (int r = 0; r < rows.rowCount(); ++r)
            for (int c = 0; c < rows.columnCount(); ++c)
                table.setItem(r, c, new QTableWidgetItem(rows.text(r, c)));
        table.viewport()->repaint();
    }
    state.counters["rows"] = table.rowCount();
}
BENCHMARK(BM_EntryQueryYearItemPerCell)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithWidgets(argc, argv);
}
