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
// blank placed nothing, so the cells come from the field numbers. A field
// standing alone on its line (a group's heading) makes a record of its own.
void VisitDetailLines(const ReportPage& page, const QVector<int>& cellOfField, int cellCount, const Visit& visit)
{
    QStringList cells;
    QStringList wholeLines;
    qreal top = -1;
    const auto flush = [&] {
        for (const QString& text : wholeLines)
            visit(ReportLinePart::Detail, {text});
        const bool columnsUsed = std::any_of(cells.begin(), cells.end(), [](const QString& c) { return !c.isEmpty(); });
        if (top >= 0 && (wholeLines.isEmpty() || columnsUsed))
            visit(ReportLinePart::Detail, cells);
    };
    for (const PlacedText& t : page.texts) {
        if (t.part != TextPart::Detail)
            continue;
        if (t.box.top() != top) {
            flush();
            top = t.box.top();
            cells = QStringList(cellCount, QString());
            wholeLines.clear();
        }
        if (t.column < 0 || t.column >= cellOfField.size())
            continue;
        const int cell = cellOfField.at(t.column);
        if (cell < 0)
            wholeLines << t.text;
        else
            cells[cell] = t.text;
    }
    flush();
}

} // namespace

void ForEachReportLine(const PaginatedReport& report, const Visit& visit)
{
    if (report.pages.isEmpty())
        return;
    VisitLines(report.pages.first(), TextPart::Heading, ReportLinePart::Heading, visit);
    QVector<int> cellOfField;
    int cellCount = 0;
    for (const QString& field : report.detailFields)
        cellOfField << (report.wholeLineFields.contains(field) ? -1 : cellCount++);
    for (const ReportPage& page : report.pages)
        VisitDetailLines(page, cellOfField, cellCount, visit);
    VisitLines(report.pages.last(), TextPart::Total, ReportLinePart::Total, visit);
}
