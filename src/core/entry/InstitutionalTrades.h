#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

// Whose net buying ranks the lists.
enum class TradeBasis { AllThree = 0, Foreign = 1, InvestmentTrust = 2, Dealers = 3 };

// The basis as the user reads it: 三大法人合計, 外資, 投信, 自營商.
QString BasisName(TradeBasis basis);

// One stock of an exchange's daily institutional-trading file: net shares
// bought (negative: sold) by each basis.
struct InstitutionalRow {
    QString code;
    QString name;
    qint64 net[4] = {0, 0, 0, 0};   // indexed by TradeBasis
    // False for a basis the row's file has no column for: no figure, not 0.
    bool known[4] = {true, true, true, true};
};

struct InstitutionalDay {
    QString date;   // 7-digit ROC date from the title line
    // One row per code: a code in several rows or files has their nets added.
    QVector<InstitutionalRow> rows;
    // For each basis, the files without a column for it (their names once
    // read through ReadInstitutionalFiles).
    QStringList lacking[4];
    // How one file read by InstitutionalDayFromText ends: the rows its
    // closing "共N筆" counts (-1 without one), the data rows it held, and
    // whether notes (說明, 備註) follow them.
    int statedRows = -1;
    int rowsRead = 0;
    bool notesAfter = false;
};

// TWSE's 三大法人買賣超日報 or TPEx's 三大法人買賣明細 in any of their column
// eras: the date from a title line, the columns found by their headings (net
// columns say 買賣超, 淨買 or 買賣差), notes after the data ignored. Sets
// `error` (and returns nothing) for a file of another layout (no heading in
// its first lines), without a date, with a row cut short, or whose rows do
// not add up (a heading without rows is no error here: the sites' empty day): 外資 + 投信 + 自營商 must make the total, a group's parts its own
// total, and no buy or sell count is negative. 外資 is the exchanges' figure
// without the foreign dealers (外陸資, 外資及陸資(不含外資自營商)), whose
// trades are inside 自營商; the older layouts have only the one 外資.
InstitutionalDay InstitutionalDayFromText(QStringView text, QString* error);

// Reads and merges the files of one day (TWSE and TPEx together); the dates
// must agree, each file must hold rows, and a "共N筆" must count them.
// `error` names the file at fault.
InstitutionalDay ReadInstitutionalFiles(const QStringList& paths, QString* error);

// What is wrong with a file whose "共N筆" does not count its rows.
QString RowCountProblem(const InstitutionalDay& day);

// Shares and ETFs, not warrants and other securities: four digits (2330),
// a lettered class (2881A), a TDR (910861), an ETF (0050, 006208, 00632R,
// 00679B, and in a foreign currency 00625K, 00636M).
bool IsShareOrEtf(const QString& code);

struct RankedStock {
    QString code;
    QString name;
    qint64 net = 0;
};

// The day's largest net buys and net sells for a basis, at most `length`
// each: the largest amount first, ties by code; a zero net is never listed.
// With `sharesOnly`, only shares and ETFs; `leftOut` counts the others.
struct RankedLists {
    QVector<RankedStock> buys;
    QVector<RankedStock> sells;
    int leftOut = 0;
};
RankedLists RankInstitutional(const QVector<InstitutionalRow>& rows, TradeBasis basis, int length, bool sharesOnly = false);
