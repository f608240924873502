#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <Qt>

// A banded report described as data. Positions and sizes are twips (1/1440
// inch) from the left margin and from the top of the section.
enum class FontRole { Body, Title };

// Values a heading or footer field shows, filled by the report procedures.
namespace ReportSource {
inline const QString kPage = QStringLiteral("@page");
inline const QString kDateFrom = QStringLiteral("@from");
inline const QString kDateTo = QStringLiteral("@to");
inline const QString kBaseDate = QStringLiteral("@base");
inline const QString kPrintDate = QStringLiteral("@today");
inline const QString kTotal = QStringLiteral("@total");
inline const QString kCompany = QStringLiteral("@company");
inline const QString kDateCount = QStringLiteral("@dates");
inline const QString kMinDays = QStringLiteral("@days");
inline const QString kBasis = QStringLiteral("@basis");
inline const QString kSpan = QStringLiteral("@span");
inline const QString kSummary = QStringLiteral("@summary");
// Remarks on the span, one to a line under it, in the order they are set.
inline const QString kNote = QStringLiteral("@note");
inline const QString kSecondNote = QStringLiteral("@note2");
// A detail line whose field holds "1" starts a new page unless the line
// after it fits too (a group heading never ends a page).
inline const QString kKeepWithNext = QStringLiteral("@keep");
}

struct ReportElement {
    enum class Kind { Label, Field, Line };
    Kind kind = Kind::Label;
    QString text;      // a label's text, or a field's source: a column name or a ReportSource
    int left = 0;      // a line: x1
    int top = 0;       // a line: y
    int width = 0;     // a line: x2
    Qt::Alignment align = Qt::AlignLeft;
    FontRole font = FontRole::Body;
};

struct ReportSection {
    QString name;
    int height = 0;
    QVector<ReportElement> elements;
};

struct ReportLayout {
    QString name;               // rpt買超統計表 ...
    ReportSection pageHeader;   // empty in every layout, kept for the band order
    ReportSection groupHeader;  // the heading block, on every page
    ReportSection detail;       // one per result row
    ReportSection groupFooter;  // the total line, once at the end
    ReportSection pageFooter;
    // Detail fields that head or close a group of lines, alone on their line:
    // a spreadsheet gets them in its first column, on a row of their own.
    QStringList wholeLineFields;
    // A group's heading line (a line with @keep) is shown again at the top of
    // a page its lines go on to.
    bool repeatGroupHeading = false;
    // Margins in twips as the report sets them at its start.
    int marginLeft = 1000;
    int marginTop = 400;
    int marginRight = 400;
    int marginBottom = 200;
};

// Page geometry: A4 portrait.
constexpr int kA4WidthTwips = 11906;
constexpr int kA4HeightTwips = 16838;
constexpr int kBodyPointSize = 12;
constexpr int kTitlePointSize = 18;
// The body fonts and the title font, with their substitutes on machines without them.
QString ReportFontFamily(FontRole role);

// The six statistics, the stock list and the daily lists.
ReportLayout CountReportLayout(bool netBuy);              // rpt買超統計表 / rpt賣超統計表
ReportLayout TransitionReportLayout(bool sellToBuy);      // rpt賣超轉買超統計表 / rpt買超轉賣超統計表
ReportLayout NewDetailsReportLayout(bool newSell);        // rpt新增賣超明細表 / rpt新增買超明細表
ReportLayout StockListReportLayout();                     // rpt股號資料表
ReportLayout EntryListReportLayout();                     // rpt買賣超明細表
ReportLayout StreakReportLayout(bool netBuy);             // rpt連續買超統計表 / rpt連續賣超統計表
ReportLayout AmountRankingReportLayout();                 // rpt法人累計買賣超排行
