#include "core/stats/ReportCsv.h"

#include "core/data/FileMove.h"

#include <QRegularExpression>

#include <algorithm>
#include <map>

namespace {

// A spreadsheet takes a cell that begins with one of these for a formula; a
// name such as =1+1 must stay a name. Numbers (-2.5, +1,234) stay numbers,
// and so does the lone "-" that marks a ratio without a value.
bool WouldBeAFormula(const QString& text)
{
    static const QString kFormulaStarts = QStringLiteral("=+-@\t\r");
    static const QRegularExpression kNumber(QStringLiteral("^[+-]?(\\d{1,3}(,\\d{3})+|\\d+)?(\\.\\d+)?%?$"));
    return text.size() > 1 && kFormulaStarts.contains(text.front())
           && !(kNumber.match(text).hasMatch() && text.contains(QRegularExpression(QStringLiteral("\\d"))));
}

QByteArray CsvField(const QString& text)
{
    QByteArray utf8 = WouldBeAFormula(text) ? "'" + text.toUtf8() : text.toUtf8();
    if (utf8.contains(',') || utf8.contains('"') || utf8.contains('\n') || utf8.contains('\r')) {
        utf8.replace("\"", "\"\"");
        return '"' + utf8 + '"';
    }
    return utf8;
}

void AddRecord(QByteArray& out, const QStringList& cells)
{
    for (int i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out += ',';
        out += CsvField(cells.at(i));
    }
    out += "\r\n";
}

// The texts of one part of a page, a record per printed line, left to right.
void AddLines(QByteArray& out, const ReportPage& page, TextPart part)
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
        AddRecord(out, cells);
    }
}

// Detail texts are placed line by line, fields in order; a field left
// blank placed nothing, so the cells come from the field numbers.
void AddDetailLines(QByteArray& out, const ReportPage& page, int columns)
{
    QStringList cells;
    qreal top = -1;
    const auto flush = [&] {
        if (top >= 0)
            AddRecord(out, cells);
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

QByteArray ReportCsv(const PaginatedReport& report)
{
    QByteArray out("\xEF\xBB\xBF");
    if (report.pages.isEmpty())
        return out;
    AddLines(out, report.pages.first(), TextPart::Heading);
    for (const ReportPage& page : report.pages)
        AddDetailLines(out, page, report.detailColumns);
    AddLines(out, report.pages.last(), TextPart::Total);
    return out;
}

bool WriteReportCsv(const PaginatedReport& report, const QString& path, QString* error)
{
    const QByteArray bytes = ReportCsv(report);
    return SaveWholeFile(path, bytes, error);
}

QString ReportCsvFileName(const PaginatedReport& report)
{
    QString name = report.caption();
    if (!report.headingDates.isEmpty())
        name += QLatin1Char(' ') + report.headingDates.join(QLatin1Char('-'));
    return name + QStringLiteral(".csv");
}
