#pragma once

#include "core/stats/ReportLayout.h"

#include <QHash>
#include <QLineF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

// The named values of one report line. A handful of fields, so a flat list:
// a hash per line costs kilobytes, and long reports have hundreds of
// thousands of lines.
class ReportRow {
public:
    ReportRow() = default;
    ReportRow(std::initializer_list<std::pair<QString, QString>> fields) : m_fields(fields) {}

    QString value(const QString& name) const
    {
        for (const auto& field : m_fields)
            if (field.first == name)
                return field.second;
        return {};
    }
    void insert(const QString& name, const QString& value) { (*this)[name] = value; }
    QString& operator[](const QString& name)
    {
        for (auto& field : m_fields)
            if (field.first == name)
                return field.second;
        m_fields.emplace_back(name, QString());
        return m_fields.back().second;
    }

private:
    std::vector<std::pair<QString, QString>> m_fields;
};

// Where a placed text came from, for exports that want the lines back.
// A group heading shown again on a later page is Repeated: printed, not data.
enum class TextPart : qint8 { Heading, Detail, Total, PageNumber, Repeated };

// One text or line placed on a page, in twips from the paper's top-left corner.
struct PlacedText {
    QString text;
    QRectF box;
    Qt::Alignment align;
    FontRole font;
    TextPart part = TextPart::Heading;
    qint16 column = -1;   // a detail text: its field among the detail fields
};

struct ReportPage {
    QVector<PlacedText> texts;
    QVector<QLineF> lines;
};

struct PaginatedReport {
    QString name;
    int pageWidth = kA4WidthTwips;
    int pageHeight = kA4HeightTwips;
    QVector<ReportPage> pages;
    QStringList detailFields;   // the sources of a detail line's fields, in order
    QStringList wholeLineFields;   // those among them alone on their line
    QStringList headingDates;   // the dates the heading shows, as typed (1000103)

    // What the user calls the report: the name without its "rpt" prefix.
    QString caption() const { return name.startsWith(QLatin1String("rpt")) ? name.mid(3) : name; }
};

// One run of a report: the layout, the result rows of its query, and the
// heading values, laid out page by page. The report procedures run in their
// order: report start (page counter 0), the heading block on every page (page
// counter + 1), before each detail line the per-line work and then row counter
// + 1, and the total line once after the last line.
class Report {
public:
    Report(ReportLayout layout, QVector<ReportRow> rows);

    // The values the heading fields show (ReportSource keys), already formatted.
    void setHeading(const QString& source, const QString& text) { m_heading.insert(source, text); }
    // Runs before each detail line is laid out; may change the line's fields.
    void setDetailFormat(std::function<void(ReportRow&)> format) { m_detailFormat = std::move(format); }

    PaginatedReport paginate();

    int pageCounter() const { return m_pageCounter; }
    int rowCounter() const { return m_rowCounter; }

private:
    void placeSection(ReportPage& page, const ReportSection& section, int top, const ReportRow& row, TextPart part);
    QString fieldText(const ReportElement& element, const ReportRow& row) const;

    ReportLayout m_layout;
    QVector<ReportRow> m_rows;
    QHash<QString, QString> m_heading;
    std::function<void(ReportRow&)> m_detailFormat;
    int m_pageCounter = 0;
    int m_rowCounter = 0;
};

// The heading values every layout shows: the dates through "###/##/##" and
// today's date in its short form.
void SetStandardHeading(Report& report, const QString& dateFrom, const QString& dateTo, const QString& baseDate);
