#include "core/stats/ReportLines.h"

#include <algorithm>
#include <map>

namespace {

using Visit = std::function<void(ReportLinePart, const QStringList&)>;

// The texts of one part of a page, a record per printed line, left to right.
void VisitLines(const ReportPage& page, TextPart part, ReportLinePart as, const Visit& visit)
{
    std::map<qreal, std::vector<const PlacedText*>> lines;
    for (const PlacedText& t : page.texts)
        if (t.part == part)
            lines[t.box.top()].push_back(&t);
    for (auto& [top, texts] : lines) {
        std::sort(texts.begin(), texts.end(),
                  [](const PlacedText* a, const PlacedText* b) { return a->box.left() < b->box.left(); });
        QStringList cells;
        for (const PlacedText* t : texts)
            cells << t->text;
        visit(as, cells);
    }
}

// Detail texts are placed line by line, fields in order; a field left
// blank placed nothing, so the cells come from the field numbers.
void VisitDetailLines(const ReportPage& page, int columns, const Visit& visit)
{
    QStringList cells;
    qreal top = -1;
    const auto flush = [&] {
        if (top >= 0)
            visit(ReportLinePart::Detail, cells);
    };
    for (const PlacedText& t : page.texts) {
        if (t.part != TextPart::Detail)
            continue;
        if (t.box.top() != top) {
            flush();
            top = t.box.top();
            cells = QStringList(columns, QString());
        }
        if (t.column >= 0 && t.column < columns)
            cells[t.column] = t.text;
    }
    flush();
}

} // namespace

void ForEachReportLine(const PaginatedReport& report, const Visit& visit)
{
    if (report.pages.isEmpty())
        return;
    VisitLines(report.pages.first(), TextPart::Heading, ReportLinePart::Heading, visit);
    const int columns = static_cast<int>(report.detailFields.size());
    for (const ReportPage& page : report.pages)
        VisitDetailLines(page, columns, visit);
    VisitLines(report.pages.last(), TextPart::Total, ReportLinePart::Total, visit);
}
