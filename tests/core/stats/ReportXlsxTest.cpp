#include "core/stats/ReportLayout.h"
#include "core/stats/ReportXlsx.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A cell of the written sheet as its XML stands, read back with unzip.
class Sheet {
public:
    explicit Sheet(const QString& path)
    {
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, QStringLiteral("xl/worksheets/sheet1.xml")});
        unzip.waitForFinished(30000);
        m_xml = QString::fromUtf8(unzip.readAllStandardOutput());
    }
    bool isEmpty() const { return m_xml.isEmpty(); }
    QString cell(const QString& reference) const
    {
        const QRegularExpression pattern(QStringLiteral("<c r=\"%1\"[^>]*>.*?</c>").arg(reference));
        return pattern.match(m_xml).captured(0);
    }

private:
    QString m_xml;
};

// Codes and dates stay text (0050 keeps its zero), counts are numbers, the
// column headings are bold, and the total line comes last.
TEST(ReportXlsx, CodesAreTextCountsAreNumbersAndTheHeadingsBold)
{
    Report report(CountReportLayout(true), {ReportRow{{"股號", "0050"}, {"名稱", "元大台灣50"}, {"筆數", "3"}},
                                            ReportRow{{"股號", "2330"}, {"名稱", "=1+1"}, {"筆數", "1,200"}}});
    SetStandardHeading(report, QStringLiteral("1000103"), QStringLiteral("1000125"), QString());
    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(WriteReportXlsx(report.paginate(), dir.filePath("out.xlsx"), &error)) << error.toStdString();
    const Sheet sheet(dir.filePath("out.xlsx"));
    ASSERT_FALSE(sheet.isEmpty()) << "unzip could not read the workbook";
    EXPECT_TRUE(sheet.cell("A4").contains("inlineStr") && sheet.cell("A4").contains("<t>0050</t>")) << sheet.cell("A4").toStdString();
    EXPECT_TRUE(sheet.cell("C4").contains("<v>3</v>")) << sheet.cell("C4").toStdString();
    EXPECT_TRUE(sheet.cell("C5").contains("<v>1200</v>")) << sheet.cell("C5").toStdString();
    EXPECT_TRUE(sheet.cell("B5").contains("<t>=1+1</t>")) << sheet.cell("B5").toStdString();
    EXPECT_TRUE(sheet.cell("A3").contains(QStringLiteral("s=\"1\""))) << sheet.cell("A3").toStdString();
    EXPECT_TRUE(sheet.cell("B2").contains("100/01/03")) << sheet.cell("B2").toStdString();
    EXPECT_TRUE(sheet.cell("A6").contains(QString::fromUtf8("合"))) << sheet.cell("A6").toStdString();
}

} // namespace
