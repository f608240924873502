// Saving and loading one trading day with 200 codes on each list, in a
// database that holds ten years of lists: the data layer alone, and the whole
// entry screen (sheets filled and read) on top of it.
#include "BenchData.h"

#include "core/data/Connection.h"
#include "core/data/Settings.h"
#include "core/entry/TradingDays.h"
#include "gui/entry/EntryScreen.h"
#include "gui/entry/EntrySheet.h"
#include "gui/uikit/MessageBox.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kCodes = 200;
const QString kDay = QStringLiteral("1100105");   // after the generated years

void Folder()
{
    TenYearFolder();
}

TradingDay BigDay()
{
    TradingDay day{kDay, QStringLiteral("三"), {}, {}};
    for (int i = 1; i <= kCodes; ++i) {
        day.buys.push_back({double(i), QString::number(1100 + i)});
        day.sells.push_back({double(i), QString::number(3100 + i)});
    }
    return day;
}

void SaveDay(bool isNew)
{
    db::Connection connection(gConnectionString);
    db::Transaction transaction(connection);
    SaveTradingDay(connection, isNew, kDay, BigDay());
    transaction.commit();
}

void BM_SaveDay200(benchmark::State& state)
{
    Folder();
    {
        // Left by an earlier run on the same server; a fresh file has none.
        db::Connection connection(gConnectionString);
        if (!connection.query(QStringLiteral("SELECT 1 FROM 買賣超資料 WHERE 買賣日期 = ?"), {kDay}).isEmpty())
            DeleteTradingDay(connection, kDay);
    }
    SaveDay(true);
    for (auto _ : state)
        SaveDay(false);
}
BENCHMARK(BM_SaveDay200)->Unit(benchmark::kMillisecond);

void BM_LoadDay200(benchmark::State& state)
{
    Folder();
    for (auto _ : state) {
        db::Connection connection(gConnectionString);
        benchmark::DoNotOptimize(LoadTradingDay(connection, kDay));
    }
}
BENCHMARK(BM_LoadDay200)->Unit(benchmark::kMillisecond);

// The screen's own load: connection, header, both lists into the two sheets.
void BM_ScreenLoadDay200(benchmark::State& state)
{
    Folder();
    SetMessageHandler([](const MessageRequest&) { return MsgAnswer::Yes; });
    auto* screen = new frm買賣超輸入作業;
    for (auto _ : state)
        benchmark::DoNotOptimize(screen->LoadRecord(kDay));
    if (screen->buySheet()->usedRowCount() != kCodes)
        state.SkipWithError("the day did not load");
    delete screen;
}
BENCHMARK(BM_ScreenLoadDay200)->Unit(benchmark::kMillisecond);

// The screen's own save of that day: sheets read, lists replaced, record shown again.
void BM_ScreenSaveDay200(benchmark::State& state)
{
    Folder();
    SetMessageHandler([](const MessageRequest&) { return MsgAnswer::Yes; });
    auto* screen = new frm買賣超輸入作業;
    screen->ShowRecord(kDay);
    for (auto _ : state)
        screen->Save();
    if (screen->sellSheet()->usedRowCount() != kCodes)
        state.SkipWithError("the day did not survive the save");
    delete screen;
}
BENCHMARK(BM_ScreenSaveDay200)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithWidgets(argc, argv);
}
