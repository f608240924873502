#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// Whose net buying ranks the lists.
enum class TradeBasis { AllThree = 0, Foreign = 1, InvestmentTrust = 2, Dealers = 3 };

// One stock of an exchange's daily institutional-trading file: net shares
// bought (negative: sold) by each basis.
struct InstitutionalRow {
    QString code;
    QString name;
    qint64 net[4] = {0, 0, 0, 0};   // indexed by TradeBasis
};

struct InstitutionalDay {
    QString date;   // 7-digit ROC date from the title line
    QVector<InstitutionalRow> rows;
};

// TWSE's 三大法人買賣超日報 or TPEx's 三大法人買賣明細 in any of their column
// eras, from parsed records: the date from a title line, the columns found by
// their headings, notes after the data ignored. Sets `error` (and returns
// nothing) for a file of another layout, without a date or without data rows.
InstitutionalDay InstitutionalDayFromRecords(const QVector<QStringList>& records, QString* error);

// Reads and merges the files of one day (TWSE and TPEx together); the dates
// must agree. `error` names the file at fault.
InstitutionalDay ReadInstitutionalFiles(const QStringList& paths, QString* error);

struct RankedStock {
    QString code;
    QString name;
    qint64 net = 0;
};

// The day's largest net buys and net sells for a basis, at most `length`
// each: the largest amount first, ties by code; a zero net is never listed.
struct RankedLists {
    QVector<RankedStock> buys;
    QVector<RankedStock> sells;
};
RankedLists RankInstitutional(const QVector<InstitutionalRow>& rows, TradeBasis basis, int length);
