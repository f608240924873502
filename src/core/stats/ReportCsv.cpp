#include "core/stats/ReportCsv.h"

#include "core/data/FileMove.h"
#include "core/stats/ReportLines.h"

#include <QRegularExpression>

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

} // namespace

QByteArray ReportCsv(const PaginatedReport& report)
{
    QByteArray out("\xEF\xBB\xBF");
    ForEachReportLine(report, [&out](ReportLinePart, const QStringList& cells) { AddRecord(out, cells); });
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
