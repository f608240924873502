#include "core/stats/ReportLayout.h"

namespace {

using Kind = ReportElement::Kind;

ReportElement Label(const QString& text, int left, int top, int width, Qt::Alignment align = Qt::AlignLeft)
{
    return {Kind::Label, text, left, top, width, align, FontRole::Body};
}

ReportElement Field(const QString& source, int left, int top, int width, Qt::Alignment align = Qt::AlignLeft)
{
    return {Kind::Field, source, left, top, width, align, FontRole::Body};
}

ReportElement Title(const QString& text, int left, int top, int width)
{
    return {Kind::Label, text, left, top, width, Qt::AlignHCenter, FontRole::Title};
}

ReportElement Line(int x1, int x2, int y)
{
    return {Kind::Line, QString(), x1, y, x2, Qt::AlignLeft, FontRole::Body};
}

struct Column {
    QString heading;
    QString field;
    int left;
    int width;
    Qt::Alignment align;
};

// Headings centred over their columns, each underlined across its width; the
// detail fields at the same places.
void AddColumns(ReportLayout& layout, const QVector<Column>& columns, int headingTop, int underlineY)
{
    for (const Column& c : columns) {
        layout.groupHeader.elements << Label(c.heading, c.left, headingTop, c.width, Qt::AlignHCenter)
                                    << Line(c.left, c.left + c.width, underlineY);
        layout.detail.elements << Field(c.field, c.left, 71, c.width, c.align);
    }
}

ReportLayout Frame(const QString& name, int headerHeight)
{
    ReportLayout layout;
    layout.name = name;
    layout.pageHeader = {QStringLiteral("PageHeader"), 0, {}};
    layout.groupHeader = {QStringLiteral("GroupHeader1"), headerHeight, {}};
    layout.detail = {QStringLiteral("Detail"), 360, {}};
    layout.groupFooter = {QStringLiteral("GroupFooter1"), 525, {}};
    layout.pageFooter = {QStringLiteral("PageFooter"), 0, {}};
    return layout;
}

void CountStyleFooter(ReportLayout& layout)
{
    layout.groupFooter.elements << Line(855, 10140, 0) << Label(QStringLiteral("合　　計："), 850, 142, 1276)
                                << Field(ReportSource::kTotal, 2126, 142, 709, Qt::AlignHCenter)
                                << Label(QStringLiteral("件"), 2835, 142, 496) << Line(850, 10134, 496);
}

// The master's longest name, 10 characters of the body font, with a little room.
const int kWholeName = 10 * kBodyPointSize * 20 + 40;

const Qt::Alignment kCentre = Qt::AlignHCenter;
const Qt::Alignment kRight = Qt::AlignRight;

} // namespace

QString ReportFontFamily(FontRole role)
{
    return role == FontRole::Title ? QStringLiteral("標楷體") : QStringLiteral("新細明體");
}

ReportLayout CountReportLayout(bool netBuy)
{
    const QString kind = netBuy ? QStringLiteral("買超") : QStringLiteral("賣超");
    const QString other = netBuy ? QStringLiteral("賣超") : QStringLiteral("買超");
    ReportLayout layout = Frame(QStringLiteral("rpt") + kind + QStringLiteral("統計表"), 1815);
    layout.groupHeader.elements
        << Title(kind + QStringLiteral("統計表"), 4275, 180, 2430)
        << Label(QStringLiteral("頁　　次："), 7724, 780, 1418) << Field(ReportSource::kPage, 9000, 780, 1134)
        << Label(kind + QStringLiteral("日期："), 850, 1063, 1418)
        << Field(ReportSource::kDateFrom, 2126, 1063, 1063, kCentre)
        << Label(QStringLiteral("～"), 3189, 1063, 354, kCentre)
        << Field(ReportSource::kDateTo, 3543, 1063, 1063, kCentre)
        << Label(QStringLiteral("印表日期："), 7724, 1063, 1418) << Field(ReportSource::kPrintDate, 9000, 1063, 1134)
        << Line(850, 10134, 1417);
    AddColumns(layout,
               {{QStringLiteral("股  號"), QStringLiteral("股號"), 850, 1063, Qt::AlignLeft},
                {QStringLiteral("股票名稱"), QStringLiteral("名稱"), 1984, 1559, Qt::AlignLeft},
                {kind + QStringLiteral("次數"), QStringLiteral("筆數"), 3615, 1200, kCentre},
                {other + QStringLiteral("次數"), QStringLiteral("其他筆數"), 4890, 1200, kCentre},
                {QStringLiteral("本益比"), QStringLiteral("本益比"), 6165, 1276, kRight},
                {QStringLiteral("殖利率"), QStringLiteral("殖利率"), 7512, 1275, kRight},
                {QStringLiteral("淨值比"), QStringLiteral("股價淨值比"), 8858, 1276, kRight}},
               1488, 1772);
    CountStyleFooter(layout);
    return layout;
}

ReportLayout TransitionReportLayout(bool sellToBuy)
{
    const QString base = sellToBuy ? QStringLiteral("買超") : QStringLiteral("賣超");
    const QString compared = sellToBuy ? QStringLiteral("賣超") : QStringLiteral("買超");
    ReportLayout layout = Frame(QStringLiteral("rpt") + compared + QStringLiteral("轉") + base + QStringLiteral("統計表"), 1935);
    layout.groupHeader.elements
        << Title(compared + QStringLiteral("轉") + base + QStringLiteral("統計表"), 3765, 210, 3465)
        << Label(base + QStringLiteral("日期："), 850, 921, 1418)
        << Field(ReportSource::kBaseDate, 2055, 921, 1063, kCentre)
        << Label(QStringLiteral("頁　　次："), 7724, 921, 1418) << Field(ReportSource::kPage, 9000, 921, 1134)
        << Label(compared + QStringLiteral("日期："), 850, 1205, 1418)
        << Field(ReportSource::kDateFrom, 2055, 1205, 1063, kCentre)
        << Label(QStringLiteral("～"), 3118, 1205, 354, kCentre)
        << Field(ReportSource::kDateTo, 3472, 1205, 1063, kCentre)
        << Label(QStringLiteral("印表日期："), 7724, 1205, 1418) << Field(ReportSource::kPrintDate, 9000, 1205, 1134)
        << Line(850, 10134, 1559);
    AddColumns(layout,
               {{QStringLiteral("股  號"), QStringLiteral("股號"), 1559, 1063, Qt::AlignLeft},
                {QStringLiteral("股票名稱"), QStringLiteral("名稱"), 3402, 1559, Qt::AlignLeft},
                {compared + QStringLiteral("次數"), compared + QStringLiteral("次數"), 5740, 1417, kCentre},
                {base + QStringLiteral("次數"), base + QStringLiteral("次數"), 7937, 1417, kCentre}},
               1630, 1913);
    CountStyleFooter(layout);
    return layout;
}

ReportLayout NewDetailsReportLayout(bool newSell)
{
    const QString kind = newSell ? QStringLiteral("賣超") : QStringLiteral("買超");
    const QString other = newSell ? QStringLiteral("買超") : QStringLiteral("賣超");
    ReportLayout layout = Frame(QStringLiteral("rpt新增") + kind + QStringLiteral("明細表"), 1935);
    layout.groupHeader.elements
        << Title(QStringLiteral("新增") + kind + QStringLiteral("明細表"), 3885, 210, 3120)
        << Label(kind.left(2) + QStringLiteral("日："), 496, 921, 1417)
        << Field(ReportSource::kBaseDate, 1488, 921, 1063, kCentre)
        << Label(QStringLiteral("頁　　次："), 8008, 921, 1417) << Field(ReportSource::kPage, 9283, 921, 1134)
        << Label(QStringLiteral("比較日："), 496, 1205, 1417)
        << Field(ReportSource::kDateFrom, 1488, 1205, 1063, kCentre)
        << Label(QStringLiteral("～"), 2551, 1205, 355, kCentre)
        << Field(ReportSource::kDateTo, 2906, 1205, 1063, kCentre)
        << Label(QStringLiteral("印表日期："), 8008, 1205, 1417) << Field(ReportSource::kPrintDate, 9283, 1205, 1134)
        << Line(496, 10417, 1559);
    AddColumns(layout,
               {{QStringLiteral("股  號"), QStringLiteral("股號"), 496, 1063, Qt::AlignLeft},
                {QStringLiteral("股票名稱"), QStringLiteral("名稱"), 1630, 1559, Qt::AlignLeft},
                {kind + QStringLiteral("次數"), kind + QStringLiteral("次數"), 3260, 1134, kCentre},
                {other + QStringLiteral("次數"), other + QStringLiteral("次數"), 4465, 1134, kCentre},
                {QStringLiteral("累積") + other, QStringLiteral("累積") + other + QStringLiteral("次數"), 5669, 1134, kCentre},
                {QStringLiteral("本益比"), QStringLiteral("本益比"), 6874, 1134, kRight},
                {QStringLiteral("殖利率"), QStringLiteral("殖利率"), 8079, 1134, kRight},
                {QStringLiteral("淨值比"), QStringLiteral("股價淨值比"), 9283, 1134, kRight}},
               1630, 1913);
    layout.groupFooter.elements << Line(495, 10410, 0) << Label(QStringLiteral("合　　計："), 496, 142, 1276)
                                << Field(ReportSource::kTotal, 1772, 142, 708, kCentre)
                                << Label(QStringLiteral("件"), 2480, 142, 496) << Line(495, 10410, 495);
    return layout;
}

ReportLayout StockListReportLayout()
{
    ReportLayout layout = Frame(QStringLiteral("rpt股號資料表"), 1935);
    layout.groupHeader.elements
        << Field(ReportSource::kCompany, 850, 0, 9284, kCentre) << Title(QStringLiteral("股號資料表"), 3765, 330, 3465)
        << Label(QStringLiteral("頁　　次："), 7724, 921, 1418) << Field(ReportSource::kPage, 9000, 921, 1134)
        << Label(QStringLiteral("印表日期："), 7724, 1205, 1418) << Field(ReportSource::kPrintDate, 9000, 1205, 1134)
        << Line(850, 10134, 1559);
    AddColumns(layout,
               {{QStringLiteral("股  號"), QStringLiteral("股號"), 850, 1276, Qt::AlignLeft},
                {QStringLiteral("股票名稱"), QStringLiteral("名稱"), 2268, kWholeName, Qt::AlignLeft},
                {QStringLiteral("本益比"), QStringLiteral("本益比"), 4800, 1600, kRight},
                {QStringLiteral("殖利率"), QStringLiteral("殖利率"), 6520, 1600, kRight},
                {QStringLiteral("股價淨值比"), QStringLiteral("股價淨值比"), 8361, 1773, kRight}},
               1630, 1913);
    CountStyleFooter(layout);
    return layout;
}

ReportLayout EntryListReportLayout()
{
    ReportLayout layout = Frame(QStringLiteral("rpt買賣超明細表"), 1935);
    layout.groupHeader.elements
        << Title(QStringLiteral("買賣超明細表"), 3765, 210, 3465)
        << Label(QStringLiteral("買賣日期："), 850, 921, 1418) << Field(ReportSource::kDateFrom, 2055, 921, 1063, kCentre)
        << Label(QStringLiteral("～"), 3118, 921, 354, kCentre) << Field(ReportSource::kDateTo, 3472, 921, 1063, kCentre)
        << Label(QStringLiteral("頁　　次："), 7724, 921, 1418) << Field(ReportSource::kPage, 9000, 921, 1134)
        << Label(QStringLiteral("印表日期："), 7724, 1205, 1418) << Field(ReportSource::kPrintDate, 9000, 1205, 1134)
        << Line(850, 10134, 1559);
    // The two lists of a date side by side, each under its own headings.
    AddColumns(layout,
               {{QStringLiteral("序"), QStringLiteral("買超序"), 850, 500, kRight},
                {QStringLiteral("買超股號"), QStringLiteral("買超股號"), 1460, 1020, Qt::AlignLeft},
                {QStringLiteral("股票名稱"), QStringLiteral("買超名稱"), 2560, kWholeName, Qt::AlignLeft},
                {QStringLiteral("序"), QStringLiteral("賣超序"), 5160, 500, kRight},
                {QStringLiteral("賣超股號"), QStringLiteral("賣超股號"), 5770, 1020, Qt::AlignLeft},
                {QStringLiteral("股票名稱"), QStringLiteral("賣超名稱"), 6870, kWholeName, Qt::AlignLeft}},
               1630, 1913);
    // A date's heading and its counts use the same line as the lists.
    layout.detail.elements << Field(QStringLiteral("日期"), 850, 71, 4677)
                           << Field(QStringLiteral("筆數"), 850, 71, 9284);
    layout.wholeLineFields = {QStringLiteral("日期"), QStringLiteral("筆數")};
    layout.groupFooter.elements << Line(855, 10140, 0) << Label(QStringLiteral("合　　計："), 850, 142, 1276)
                                << Field(ReportSource::kDateCount, 2126, 142, 709, Qt::AlignHCenter)
                                << Label(QStringLiteral("個交易日"), 2835, 142, 1417) << Line(850, 10134, 496);
    return layout;
}

ReportLayout StreakReportLayout(bool netBuy)
{
    const QString kind = netBuy ? QStringLiteral("買超") : QStringLiteral("賣超");
    const QString other = netBuy ? QStringLiteral("賣超") : QStringLiteral("買超");
    ReportLayout layout = Frame(QStringLiteral("rpt連續") + kind + QStringLiteral("統計表"), 1935);
    layout.groupHeader.elements
        << Title(QStringLiteral("連續") + kind + QStringLiteral("統計表"), 3765, 210, 3465)
        << Label(QStringLiteral("基準日期："), 850, 921, 1418) << Field(ReportSource::kBaseDate, 2055, 921, 1063, kCentre)
        << Label(QStringLiteral("頁　　次："), 7724, 921, 1418) << Field(ReportSource::kPage, 9000, 921, 1134)
        << Label(QStringLiteral("連續天數："), 850, 1205, 1418) << Field(ReportSource::kMinDays, 2055, 1205, 1063, kCentre)
        << Label(QStringLiteral("印表日期："), 7724, 1205, 1418) << Field(ReportSource::kPrintDate, 9000, 1205, 1134)
        << Line(850, 10134, 1559);
    AddColumns(layout,
               {{QStringLiteral("股  號"), QStringLiteral("股號"), 850, 900, Qt::AlignLeft},
                {QStringLiteral("股票名稱"), QStringLiteral("名稱"), 1800, 1650, Qt::AlignLeft},
                {QStringLiteral("連續天數"), QStringLiteral("連續天數"), 3500, 1050, kCentre},
                {QStringLiteral("起始日期"), QStringLiteral("起始日期"), 4600, 1250, kCentre},
                {other + QStringLiteral("次數"), QStringLiteral("其他次數"), 5900, 1050, kCentre},
                {QStringLiteral("本益比"), QStringLiteral("本益比"), 7000, 1000, kRight},
                {QStringLiteral("殖利率"), QStringLiteral("殖利率"), 8050, 1000, kRight},
                {QStringLiteral("淨值比"), QStringLiteral("股價淨值比"), 9100, 1034, kRight}},
               1630, 1913);
    CountStyleFooter(layout);
    return layout;
}

ReportLayout AmountRankingReportLayout()
{
    ReportLayout layout = Frame(QStringLiteral("rpt法人累計買賣超排行"), 2503);
    layout.groupHeader.elements
        << Title(QStringLiteral("法人累計買賣超排行"), 2765, 210, 5465)
        << Label(QStringLiteral("基準日期："), 850, 921, 1418) << Field(ReportSource::kBaseDate, 2055, 921, 1063, kCentre)
        << Label(QStringLiteral("法　　人："), 3500, 921, 1418) << Field(ReportSource::kBasis, 4750, 921, 2800)
        << Label(QStringLiteral("頁　　次："), 7724, 921, 1418) << Field(ReportSource::kPage, 9000, 921, 1134)
        << Label(QStringLiteral("累計期間："), 850, 1205, 1418) << Field(ReportSource::kSpan, 2055, 1205, 5600)
        << Label(QStringLiteral("印表日期："), 7724, 1205, 1418) << Field(ReportSource::kPrintDate, 9000, 1205, 1134)
        << Field(ReportSource::kNote, 2055, 1489, 8079) << Field(ReportSource::kSecondNote, 2055, 1773, 8079)
        << Line(850, 10134, 2127);
    AddColumns(layout,
               {{QStringLiteral("股  號"), QStringLiteral("股號"), 850, 850, Qt::AlignLeft},
                {QStringLiteral("股票名稱"), QStringLiteral("名稱"), 1750, 2000, Qt::AlignLeft},
                {QStringLiteral("累計張數"), QStringLiteral("累計張數"), 3800, 1300, kRight},
                {QStringLiteral("買超天數"), QStringLiteral("買超天數"), 5150, 1000, kCentre},
                {QStringLiteral("連續天數"), QStringLiteral("連續天數"), 6200, 1000, kCentre},
                {QStringLiteral("本益比"), QStringLiteral("本益比"), 7250, 950, kRight},
                {QStringLiteral("殖利率"), QStringLiteral("殖利率"), 8250, 950, kRight},
                {QStringLiteral("淨值比"), QStringLiteral("股價淨值比"), 9250, 884, kRight}},
               2198, 2481);
    // A side's heading uses the same line as its stocks.
    layout.detail.elements << Field(QStringLiteral("段落"), 850, 71, 9284);
    layout.wholeLineFields = {QStringLiteral("段落")};
    layout.repeatGroupHeading = true;
    layout.groupFooter.elements << Line(855, 10140, 0) << Label(QStringLiteral("合　　計："), 850, 142, 1276)
                                << Field(ReportSource::kSummary, 2126, 142, 5000) << Line(850, 10134, 496);
    return layout;
}
