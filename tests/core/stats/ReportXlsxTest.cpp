#include "core/stats/ReportLayout.h"
#include "core/stats/ReportXlsx.h"

#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

// The tests read the workbook back through Info-ZIP's unzip, where it is installed.
bool HaveUnzip()
{
    return !QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty();
}

QByteArray Unzip(const QStringList& args)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), args);
    unzip.waitForFinished(30000);
    return unzip.exitCode() == 0 ? unzip.readAllStandardOutput() : QByteArray();
}

// The format's _xHHHH_ escapes, as a spreadsheet reads them.
QString Unescaped(QString text)
{
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-F]{4})_"));
    for (QRegularExpressionMatch m = escape.match(text); m.hasMatch(); m = escape.match(text, m.capturedStart() + 1))
        text.replace(m.capturedStart(), m.capturedLength(), QChar(m.captured(1).toUShort(nullptr, 16)));
    return text;
}

struct Cell {
    bool text = false;
    QString value;
    QString style;   // 1 bold, 2 two decimals, 3 thousands separated
};

// The written sheet read back as a spreadsheet reads it: shared texts looked
// up, a cell without a reference standing right of the one before.
class Sheet {
public:
    explicit Sheet(const QString& path)
    {
        m_tested = !Unzip({QStringLiteral("-t"), path}).isEmpty();
        QStringList shared;
        QXmlStreamReader texts(Unzip({QStringLiteral("-p"), path, QStringLiteral("xl/sharedStrings.xml")}));
        while (!texts.atEnd())
            if (texts.readNext() == QXmlStreamReader::StartElement && texts.name() == QLatin1String("t"))
                shared << Unescaped(texts.readElementText());
        QXmlStreamReader sheet(Unzip({QStringLiteral("-p"), path, QStringLiteral("xl/worksheets/sheet1.xml")}));
        int row = 0;
        int column = 0;
        QString at;
        Cell cell;
        while (!sheet.atEnd()) {
            sheet.readNext();
            if (!sheet.isStartElement())
                continue;
            if (sheet.name() == QLatin1String("row")) {
                ++row;
                column = 0;
            } else if (sheet.name() == QLatin1String("c")) {
                const QString reference = sheet.attributes().value(QLatin1String("r")).toString();
                at = reference.isEmpty() ? QString(QChar('A' + column)) + QString::number(row) : reference;
                column = at.at(0).unicode() - 'A' + 1;
                cell = {sheet.attributes().value(QLatin1String("t")) == QLatin1String("s"), {},
                        sheet.attributes().value(QLatin1String("s")).toString()};
            } else if (sheet.name() == QLatin1String("v")) {
                const QString v = sheet.readElementText();
                cell.value = cell.text ? shared.value(v.toInt()) : v;
                m_cells[at] = cell;
            }
        }
        m_wellFormed = !sheet.hasError() && !texts.hasError() && !m_cells.isEmpty();
    }
    bool readable() const { return m_tested && m_wellFormed; }
    Cell cell(const QString& reference) const { return m_cells.value(reference); }
    bool has(const QString& reference) const { return m_cells.contains(reference); }

private:
    bool m_tested = false;
    bool m_wellFormed = false;
    QMap<QString, Cell> m_cells;
};

// Codes and dates stay text (0050 keeps its zero), counts and ratios are
// numbers shown as printed, the column headings are bold, a blank cell keeps
// the next one in its column,
// texts come back as they went in, and the total line comes last.
TEST(ReportXlsx, CodesAreTextCountsAreNumbersAndTheHeadingsBold)
{
    Report report(CountReportLayout(true),
                  {ReportRow{{"股號", "0050"}, {"名稱", "元大台灣50"}, {"筆數", "3"}, {"本益比", "15.20"}},
                   ReportRow{{"股號", "2330"}, {"名稱", "=1+1"}, {"筆數", "1,200"}},
                   ReportRow{{"股號", "2331"}, {"名稱", QStringLiteral("A&B <c>_x0041_\x01")}, {"筆數", "-"}}});
    SetStandardHeading(report, QStringLiteral("1000103"), QStringLiteral("1000125"), QString());
    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(WriteReportXlsx(report.paginate(), dir.filePath("out.xlsx"), &error)) << error.toStdString();
    const Sheet sheet(dir.filePath("out.xlsx"));
    if (!HaveUnzip())
        GTEST_SKIP() << "no unzip here to read the workbook back";
    ASSERT_TRUE(sheet.readable()) << "unzip could not test or read the workbook";

    EXPECT_TRUE(sheet.cell("A4").text);
    EXPECT_EQ(sheet.cell("A4").value, "0050");
    EXPECT_FALSE(sheet.cell("C4").text);
    EXPECT_EQ(sheet.cell("C4").value, "3");
    EXPECT_FALSE(sheet.has("D4"));
    EXPECT_EQ(sheet.cell("E4").value, "15.20");
    EXPECT_FALSE(sheet.cell("E4").text);
    EXPECT_EQ(sheet.cell("E4").style, "2");
    EXPECT_EQ(sheet.cell("C5").value, "1200");
    EXPECT_EQ(sheet.cell("C5").style, "3");
    EXPECT_EQ(sheet.cell("B5").value, "=1+1");
    EXPECT_EQ(sheet.cell("B6").value, QStringLiteral("A&B <c>_x0041_\x01"));
    EXPECT_TRUE(sheet.cell("C6").text);
    EXPECT_EQ(sheet.cell("A3").style, "1");
    EXPECT_EQ(sheet.cell("A4").style, "");
    EXPECT_TRUE(sheet.cell("B2").value.contains("100/01/03")) << sheet.cell("B2").value.toStdString();
    EXPECT_TRUE(sheet.cell("A7").value.contains(QString::fromUtf8("合"))) << sheet.cell("A7").value.toStdString();
}

// A side's heading of the ranking stands alone in column A; its lines end
// with their last column.
TEST(ReportXlsx, AGroupHeadingHasARowOfItsOwn)
{
    Report report(AmountRankingReportLayout(),
                  {ReportRow{{"段落", QString::fromUtf8("買超排行（前 1 名）")}, {ReportSource::kKeepWithNext, "1"}},
                   ReportRow{{"股號", "2330"}, {"累計張數", "1,235"}, {"股價淨值比", "4.5"}}});
    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(WriteReportXlsx(report.paginate(), dir.filePath("out.xlsx"), &error)) << error.toStdString();
    const Sheet sheet(dir.filePath("out.xlsx"));
    if (!HaveUnzip())
        GTEST_SKIP() << "no unzip here to read the workbook back";
    ASSERT_TRUE(sheet.readable()) << "unzip could not test or read the workbook";
    int row = 1;
    while (row < 12 && sheet.cell(QStringLiteral("A%1").arg(row)).value != QString::fromUtf8("買超排行（前 1 名）"))
        ++row;
    ASSERT_LT(row, 12);
    for (const char* column : {"B", "C", "H", "I"})
        EXPECT_FALSE(sheet.has(QStringLiteral("%1%2").arg(column).arg(row))) << column;
    EXPECT_EQ(sheet.cell(QStringLiteral("A%1").arg(row + 1)).value, "2330");
    EXPECT_EQ(sheet.cell(QStringLiteral("C%1").arg(row + 1)).value, "1235");
    EXPECT_EQ(sheet.cell(QStringLiteral("H%1").arg(row + 1)).value, "4.5");
    EXPECT_FALSE(sheet.has(QStringLiteral("I%1").arg(row + 1)));
}

} // namespace

namespace {

// A sheet larger than one packed slice: the slices join into one stream
// whose checksum and rows come back whole.
TEST(ReportXlsx, ALargeSheetPackedInSlicesReadsBackWhole)
{
    QVector<ReportRow> rows;
    for (int i = 0; i < 60000; ++i)
        rows << ReportRow{{"股號", QString::number(100000 + i)}, {"名稱", QStringLiteral("股票%1").arg(i)}, {"筆數", QString::number(i)}};
    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(WriteReportXlsx(Report(CountReportLayout(true), rows).paginate(), dir.filePath("big.xlsx"), &error))
        << error.toStdString();
    const Sheet sheet(dir.filePath("big.xlsx"));
    if (!HaveUnzip())
        GTEST_SKIP() << "no unzip here to read the workbook back";
    ASSERT_TRUE(sheet.readable());
    EXPECT_EQ(sheet.cell("A60003").value, "159999");
    EXPECT_EQ(sheet.cell("B60003").value, QStringLiteral("股票59999"));
    EXPECT_EQ(sheet.cell("C30003").value, "29999");
}

} // namespace
