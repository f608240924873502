#include "stats/CountStatistics.h"
#include "stats/ReportPainter.h"
#include "support/FileSizeLimit.h"
#include "uikit/Clock.h"

#include <QDir>
#include <QFile>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString RunTool(const QString& tool, const QStringList& args)
{
    QProcess process;
    process.start(tool, args);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

TEST(ReportPdf, TextCanBeFoundAndFontsAreEmbedded)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    const QString pdffonts = QStandardPaths::findExecutable(QStringLiteral("pdffonts"));
    if (pdftotext.isEmpty() || pdffonts.isEmpty())
        GTEST_SKIP() << "poppler-utils not installed";
    SetFixedNow(QDateTime(QDate(2011, 1, 25), QTime(9, 0)));
    QVector<ReportRow> rows;
    for (int i = 0; i < 60; ++i)
        rows << ReportRow{{"股號", QString::number(2300 + i)}, {"名稱", QStringLiteral("台積電")}, {"筆數", "7"},
                          {"其他筆數", i % 2 ? "3" : ""}, {"本益比", "15.20"}};
    Report report(CountReportLayout(true), rows);
    SetStandardHeading(report, "1000103", "1000125", QString());
    const PaginatedReport pages = report.paginate();
    ClearFixedNow();

    QTemporaryDir dir;
    const QString path = dir.filePath("report.pdf");
    QString error;
    ASSERT_TRUE(WriteReportPdf(pages, path, &error)) << error.toStdString();

    const QString text = RunTool(pdftotext, {"-layout", path, "-"});
    EXPECT_EQ(text.count(QString::fromUtf8("買超統計表")), 2) << text.left(400).toStdString();
    EXPECT_TRUE(text.contains("100/01/03")) << text.left(600).toStdString();
    EXPECT_TRUE(text.contains("2359"));
    EXPECT_TRUE(text.contains("15.20"));
    EXPECT_EQ(text.count(QString::fromUtf8("合").normalized(QString::NormalizationForm_KC)), 1);

    const QString fonts = RunTool(pdffonts, {path});
    const QStringList fontLines = fonts.split('\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_FALSE(fontLines.isEmpty()) << fonts.toStdString();
    for (const QString& line : fontLines)
        EXPECT_TRUE(line.contains(" yes ")) << line.toStdString();
    EXPECT_TRUE(fonts.contains("UMing") || fonts.contains("Ming")) << fonts.toStdString();
}

// A full disk: the earlier file of that name stays, and the reason is the system's.
TEST(ReportPdf, AFailedExportKeepsTheEarlierFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("report.pdf");
    QFile earlier(path);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("%PDF earlier");
    earlier.close();
    QVector<ReportRow> rows;
    for (int i = 0; i < 200; ++i)
        rows << ReportRow{{"股號", QString::number(2300 + i)}, {"名稱", QStringLiteral("台積電")}};
    QString error;
    {
        const FileSizeLimit full(4096);
        EXPECT_FALSE(WriteReportPdf(Report(CountReportLayout(true), rows).paginate(), path, &error));
    }
    EXPECT_FALSE(error.isEmpty());
    EXPECT_NE(error, QStringLiteral("Unknown error"));
    EXPECT_EQ(earlier.size(), 12);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"report.pdf"});
}

} // namespace
