#include "core/stats/Report.h"

#include "core/text/RocDate.h"

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

void Report::placeSection(ReportPage& page, const ReportSection& section, int top, const ReportRow& row,
                          TextPart part)
{
    const int left = m_layout.marginLeft;
    qint16 column = 0;
    const auto isPageNumber = [&section](int i) {
        return i < section.elements.size() && section.elements.at(i).kind == ReportElement::Kind::Field
               && section.elements.at(i).text == ReportSource::kPage;
    };
    for (int i = 0; i < section.elements.size(); ++i) {
        const ReportElement& e = section.elements.at(i);
        if (e.kind == ReportElement::Kind::Line) {
            page.lines << QLineF(left + e.left, top + e.top, left + e.width, top + e.top);
            continue;
        }
        const bool field = e.kind == ReportElement::Kind::Field;
        const QString text = field ? fieldText(e, row) : e.text;
        // The page number and its caption belong to the paper, not to the data.
        const TextPart placed = isPageNumber(i) || (!field && isPageNumber(i + 1)) ? TextPart::PageNumber : part;
        if (!text.isEmpty())
            page.texts << PlacedText{text,    QRectF(left + e.left, top + e.top, e.width, TextHeight(e.font)),
                                     e.align, e.font,
                                     placed,  static_cast<qint16>(part == TextPart::Detail ? column : -1)};
        if (field)
            ++column;
    }
}

PaginatedReport Report::paginate()
{
    PaginatedReport out;
    out.name = m_layout.name;
    for (const ReportElement& e : m_layout.detail.elements)
        if (e.kind == ReportElement::Kind::Field)
            out.detailFields << e.text;
    out.wholeLineFields = m_layout.wholeLineFields;
    for (const QString& source : {ReportSource::kBaseDate, ReportSource::kDateFrom, ReportSource::kDateTo}) {
        const QString shown = m_heading.value(source);
        if (!shown.isEmpty())
            out.headingDates << QString(shown).remove(QLatin1Char('/'));
    }
    m_pageCounter = 0;
    m_rowCounter = 0;
    const int pageTop = m_layout.marginTop;
    const int pageBottom = kA4HeightTwips - m_layout.marginBottom;
    int y = 0;

    const auto newPage = [&] {
        out.pages.push_back({});
        y = pageTop + m_layout.pageHeader.height;
        ++m_pageCounter;
        placeSection(out.pages.back(), m_layout.groupHeader, y, {}, TextPart::Heading);
        y += m_layout.groupHeader.height;
    };

    newPage();
    ReportRow groupHeading;
    bool inGroup = false;
    for (ReportRow row : m_rows) {
        const bool heading = row.value(ReportSource::kKeepWithNext) == QLatin1String("1");
        const int lines = heading ? 2 : 1;
        if (y + lines * m_layout.detail.height > pageBottom - m_layout.pageFooter.height) {
            newPage();
            if (inGroup && !heading) {
                placeSection(out.pages.back(), m_layout.detail, y, groupHeading, TextPart::Repeated);
                y += m_layout.detail.height;
            }
        }
        if (m_detailFormat)
            m_detailFormat(row);
        if (heading && m_layout.repeatGroupHeading) {
            groupHeading = row;
            inGroup = true;
        }
        ++m_rowCounter;
        placeSection(out.pages.back(), m_layout.detail, y, row, TextPart::Detail);
        y += m_layout.detail.height;
    }
    if (y + m_layout.groupFooter.height > pageBottom - m_layout.pageFooter.height)
        newPage();
    placeSection(out.pages.back(), m_layout.groupFooter, y, {}, TextPart::Total);
    return out;
}

void SetStandardHeading(Report& report, const QString& dateFrom, const QString& dateTo, const QString& baseDate)
{
    report.setHeading(ReportSource::kDateFrom, RocDateDisplay(dateFrom));
    report.setHeading(ReportSource::kDateTo, RocDateDisplay(dateTo));
    report.setHeading(ReportSource::kBaseDate, RocDateDisplay(baseDate));
    report.setHeading(ReportSource::kPrintDate, TodayRocDateShort());
}
