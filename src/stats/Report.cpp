#include "stats/Report.h"

#include "uikit/RocDate.h"

#include <utility>

namespace {
// A text box is as high as its font's line, with a little air.
int TextHeight(FontRole font)
{
    return (font == FontRole::Title ? kTitlePointSize : kBodyPointSize) * 20 * 5 / 4;
}
}

Report::Report(ReportLayout layout, QVector<ReportRow> rows) : m_layout(std::move(layout)), m_rows(std::move(rows)) {}

QString Report::fieldText(const ReportElement& element, const ReportRow& row) const
{
    if (element.text == ReportSource::kPage)
        return QString::number(m_pageCounter);
    if (element.text == ReportSource::kTotal)
        return QString::number(m_rowCounter);
    if (element.text.startsWith(QLatin1Char('@')))
        return m_heading.value(element.text);
    return row.value(element.text);
}

void Report::placeSection(ReportPage& page, const ReportSection& section, int top, const ReportRow& row)
{
    const int left = m_layout.marginLeft;
    for (const ReportElement& e : section.elements) {
        if (e.kind == ReportElement::Kind::Line) {
            page.lines << QLineF(left + e.left, top + e.top, left + e.width, top + e.top);
            continue;
        }
        const QString text = e.kind == ReportElement::Kind::Label ? e.text : fieldText(e, row);
        if (!text.isEmpty())
            page.texts << PlacedText{text, QRectF(left + e.left, top + e.top, e.width, TextHeight(e.font)), e.align,
                                     e.font};
    }
}

PaginatedReport Report::paginate()
{
    PaginatedReport out;
    out.name = m_layout.name;
    m_pageCounter = 0;
    m_rowCounter = 0;
    const int pageTop = m_layout.marginTop;
    const int pageBottom = kA4HeightTwips - m_layout.marginBottom;
    int y = 0;

    const auto newPage = [&] {
        out.pages.push_back({});
        y = pageTop + m_layout.pageHeader.height;
        ++m_pageCounter;
        placeSection(out.pages.back(), m_layout.groupHeader, y, {});
        y += m_layout.groupHeader.height;
    };

    newPage();
    for (ReportRow row : m_rows) {
        const int lines = row.value(ReportSource::kKeepWithNext) == QLatin1String("1") ? 2 : 1;
        if (y + lines * m_layout.detail.height > pageBottom - m_layout.pageFooter.height)
            newPage();
        if (m_detailFormat)
            m_detailFormat(row);
        ++m_rowCounter;
        placeSection(out.pages.back(), m_layout.detail, y, row);
        y += m_layout.detail.height;
    }
    if (y + m_layout.groupFooter.height > pageBottom - m_layout.pageFooter.height)
        newPage();
    placeSection(out.pages.back(), m_layout.groupFooter, y, {});
    return out;
}

void SetStandardHeading(Report& report, const QString& dateFrom, const QString& dateTo, const QString& baseDate)
{
    report.setHeading(ReportSource::kDateFrom, RocDateDisplay(dateFrom));
    report.setHeading(ReportSource::kDateTo, RocDateDisplay(dateTo));
    report.setHeading(ReportSource::kBaseDate, RocDateDisplay(baseDate));
    report.setHeading(ReportSource::kPrintDate, TodayRocDateShort());
}
