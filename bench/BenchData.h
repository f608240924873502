#pragma once

#include <QString>

// Realistic data for the benchmarks: about 1,800 listed stocks with names and
// ratios, 250 trading days a year, and each day's net-buy and net-sell lists.
struct BenchDataShape {
    int stocks = 1800;
    int years = 10;
    int daysPerYear = 250;
    int minCodesPerList = 60;
    int maxCodesPerList = 140;
    unsigned seed = 20110125;
};

// Creates the program's database in `folder` and fills it. Returns the number
// of detail rows written.
long long GenerateBenchData(const QString& folder, const BenchDataShape& shape = {});

// The trading dates the generator wrote, oldest first (ROC texts).
QString BenchTradingDate(const BenchDataShape& shape, int index);
int BenchTradingDays(const BenchDataShape& shape);

// A temporary application folder with ten years of data, made once per
// process; the settings point at it.
const QString& TenYearFolder();

// main() of a benchmark without widgets: Google Benchmark's run inside a
// QCoreApplication.
int RunBenchmarks(int argc, char** argv);

// main() of a benchmark that needs widgets: an offscreen QApplication around
// Google Benchmark's own run.
int RunBenchmarksWithWidgets(int argc, char** argv);
