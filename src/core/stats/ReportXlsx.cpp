#include "core/stats/ReportXlsx.h"

#include "core/data/FileMove.h"
#include "core/stats/ReportLines.h"
#include "core/text/TextBytes.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>
#include <optional>

namespace {

// Fields that hold codes, names and dates: text, whatever they look like.
bool IsTextField(const QString& source)
{
    static const QStringList words = {QStringLiteral("股號"), QStringLiteral("名稱"), QStringLiteral("日期"),
                                      QStringLiteral("星期"), QStringLiteral("類別")};
    return std::any_of(words.begin(), words.end(), [&source](const QString& word) { return source.contains(word); });
}

// "1,234", "-2.5", "15": a number; anything else (blank, "-") is not.
std::optional<double> Number(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = text.contains(QLatin1Char(',')) ? QString(text).remove(QLatin1Char(',')).toDouble(&ok)
                                                          : text.toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

// A sheet's name: at most 31 characters, none of []:*?/\ .
QString SheetName(const QString& caption)
{
    QString name = caption;
    name.remove(QRegularExpression(QStringLiteral("[\\[\\]:*?/\\\\]")));
    return name.isEmpty() ? QStringLiteral("Quorvex") : name.left(31);
}

} // namespace

bool WriteReportXlsx(const PaginatedReport& report, const QString& path, QString* error)
{
    // Widths first: the columns are set before the rows stream out.
    QVector<int> widths;
    int headingLines = 0;
    ForEachReportLine(report, [&](ReportLinePart part, const QStringList& cells) {
        headingLines += part == ReportLinePart::Heading ? 1 : 0;
        if (part == ReportLinePart::Heading && cells.size() < 2)
            return;   // a title line spans the sheet
        if (widths.size() < cells.size())
            widths.resize(cells.size());
        for (int c = 0; c < cells.size(); ++c)
            widths[c] = std::max(widths[c], Big5Length(cells.at(c)));
    });

    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        *error = scratch.errorString();
        return false;
    }
    const QByteArray file = QFile::encodeName(scratch.filePath(QStringLiteral("report.xlsx")));
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(file.constData(), &options);
    if (!book) {
        *error = QStringLiteral("無法建立 Excel 檔案");
        return false;
    }
    const QByteArray sheetName = SheetName(report.caption()).toUtf8();
    lxw_worksheet* sheet = workbook_add_worksheet(book, sheetName.constData());
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    for (int c = 0; c < widths.size(); ++c)
        worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), widths.at(c) + 2.0, nullptr);

    QVector<bool> textColumns;
    for (const QString& source : report.detailFields)
        textColumns << IsTextField(source);
    lxw_row_t row = 0;
    int headingLine = 0;
    ForEachReportLine(report, [&](ReportLinePart part, const QStringList& cells) {
        const bool columnHeadings = part == ReportLinePart::Heading && ++headingLine == headingLines;
        for (int c = 0; c < cells.size(); ++c) {
            const QString& text = cells.at(c);
            if (text.isEmpty())
                continue;
            const auto col = static_cast<lxw_col_t>(c);
            const std::optional<double> number = part == ReportLinePart::Heading ? std::nullopt : Number(text);
            const bool asText = part == ReportLinePart::Detail && c < textColumns.size() && textColumns.at(c);
            if (number && !asText)
                worksheet_write_number(sheet, row, col, *number, nullptr);
            else
                worksheet_write_string(sheet, row, col, text.toUtf8().constData(), columnHeadings ? bold : nullptr);
        }
        ++row;
    });
    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR) {
        *error = QString::fromUtf8(lxw_strerror(closed));
        return false;
    }
    QFile written(QFile::decodeName(file));
    if (!written.open(QIODevice::ReadOnly)) {
        *error = written.errorString();
        return false;
    }
    return SaveWholeFile(path, written.readAll(), error);
}
